#include "agreement_scene.h"

#include <string>

#include "byte_stream.h"
#include "engine.h"
#include "package_records.h"
#include "package_source.h"
#include "scene_bytes.h"
#include "surface.h"

namespace {

std::vector<uint8_t> PaletteRecordBody(const std::vector<std::string>& rows) {
  // An 8-bit picture with a four-entry colour table, bottom-up.
  const uint32_t colours[] = {0xFFFFFF, 0x2080C0, 0x00FF00, 0x101010};
  const char letters[] = {'.', 'o', 'g', '#'};
  const uint32_t w = static_cast<uint32_t>(rows[0].size()), h = static_cast<uint32_t>(rows.size());
  const uint32_t stride = (w + 3) & ~3u;
  std::vector<uint8_t> body;
  auto put = [&body](uint32_t v) {
    for (int i = 0; i < 4; ++i) body.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  put(40 + 16);
  put(stride * h);
  put(40);
  put(w);
  put(h);
  body.push_back(1);
  body.push_back(0);
  body.push_back(8);
  body.push_back(0);
  put(0);
  put(stride * h);
  put(0);
  put(0);
  put(4);
  put(0);
  for (uint32_t c : colours) {
    body.push_back(static_cast<uint8_t>(c));  // blue
    body.push_back(static_cast<uint8_t>(c >> 8));
    body.push_back(static_cast<uint8_t>(c >> 16));  // red
    body.push_back(0);
  }
  for (uint32_t y = h; y-- > 0;) {
    for (uint32_t x = 0; x < stride; ++x) {
      uint8_t index = 0;
      for (uint8_t k = 0; x < w && k < 4; ++k)
        if (rows[y][x] == letters[k]) index = k;
      body.push_back(index);
    }
  }
  return body;
}

std::vector<uint8_t> AgreementPackage(int32_t growth) {
  PackageBytes p;
  p.Memo({"agreement"}).Timing(50, 3, 1);
  // 0: a ring on white with a white hole and a black dot, bouncing.
  p.Frame(FrameRecordBody(Picture({"..........", "...rrrr...", "..rr..rr..", ".rr.#..rr.",
                                   ".rr....rr.", "..rr..rr..", "...rrrr...", ".........."})));
  p.Frame(FrameRecordBody(Picture({"..........", "...bbbb...", "..bb..bb..", ".bb.#..bb.",
                                   ".bb....bb.", "..bb..bb..", "...bbbb...", ".........."})));
  Motion ring;
  ring.speedX = 7;
  ring.speedY = 5;
  ring.speedDepth = 0;
  p.Motion(ring);
  // 1: a magenta-cornered frame with a white outline touching the corner area, wrapping.
  p.Frame(FrameRecordBody(Picture({"mmmmmmm", "m.....m", "m.ggg.m", "m.g#g.m", "m.ggg.m",
                                   "m.....m", "mmmmmmm"})));
  Motion wraps;
  wraps.speedX = -11;
  wraps.speedY = 13;
  wraps.speedDepth = 0;
  wraps.bounceX = wraps.bounceY = 0;
  p.Motion(wraps);
  // 2: palette frames in ping-pong, growing and shrinking: drawn scaled except at depth 100.
  for (int k = 0; k < 3; ++k) {
    std::vector<std::string> rows(12, std::string(12, '.'));
    for (int y = 2; y < 10; ++y)
      for (int x = 2; x < 10; ++x) rows[y][x] = ((x + y + k) % 3) ? 'o' : 'g';
    rows[5][5] = '#';
    p.Frame(PaletteRecordBody(rows));
  }
  Motion grows;
  grows.speedX = 3;
  grows.speedY = -4;
  grows.speedDepth = growth;
  grows.pingPong = 1;
  p.Motion(grows);
  // 3: a large opaque frame partly off the screen edge, wider than high.
  p.Frame(SolidFrameRecordBody(90, 30, 0x00C0C0C0)).Motion(ring);
  std::vector<std::string> wall(60, std::string(80, 'y'));
  for (int y = 0; y < 60; ++y) wall[y][y] = 'b';
  p.Background(false, 0x00503010).Wallpaper(FrameRecordBody(wall), false).Sound({});
  return p.bytes();
}

}  // namespace

std::vector<uint8_t> SamePixelsSaver() {
  std::vector<uint8_t> saver(kPlayerImageSize, 0);
  saver[0] = 'M';
  saver[1] = 'Z';
  std::vector<uint8_t> package = AgreementPackage(0);
  saver.insert(saver.end(), package.begin(), package.end());
  return saver;
}

void LoadAgreementScene(SceneModel* scene, EngineHost* host) {
  std::vector<uint8_t> bytes = AgreementPackage(50);
  MemoryStream stream;
  OpenMemoryStream(&stream, bytes.data(), static_cast<uint32_t>(bytes.size()));
  PackageSource source;
  OpenPackageSource(&source, &stream.base);
  LoadScene(scene, host, &source.base,
            SceneGeometry{kAgreementWidth, kAgreementHeight, 0, 0, kAgreementWidth, kAgreementHeight, 0, 0, 0, {}},
            20261208);
}

std::vector<RenderedPicture> RenderAgreementScene(EngineHost* host, ReadPixels read) {
  SceneModel scene;
  LoadAgreementScene(&scene, host);
  Surface* window = CreateSurface(scene.referenceContext, kAgreementWidth, kAgreementHeight);
  std::vector<RenderedPicture> pictures;
  for (int paint = 0; paint < kAgreementPaints; ++paint) {
    if (paint % 3 == 2) AdvanceFrames(&scene);
    PaintScene(&scene, window);
    RenderedPicture picture;
    picture.scaled = false;
    for (int i = 0; i < scene.characterCount; ++i) {
      const CharacterState& c = scene.characters[i];
      if (c.appearanceRoll < c.visibleRate && c.depth != 100) picture.scaled = true;
    }
    read(window, &picture.pixels);
    pictures.push_back(picture);
  }
  ReleaseSurface(window);
  ReleaseScene(&scene);
  return pictures;
}
