#include "picture_fixtures.h"

#include <gif_lib.h>
#include <png.h>

#include <cstdio>  // jpeglib.h needs FILE
#include <jpeglib.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "scene_art.h"

namespace {

struct Rgba {
  uint8_t r, g, b, a;
};

// An RGBA drawing, top row first.
struct Art {
  int width, height;
  std::vector<Rgba> pixels;
  Art(int w, int h, Rgba fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
  Rgba& at(int x, int y) { return pixels[size_t(y) * width + x]; }
  void Disc(int cx, int cy, int radius, Rgba colour) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) at(x, y) = colour;
  }
  void Rect(int left, int top, int right, int bottom, Rgba colour) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) at(x, y) = colour;
  }
};

// ---- PNG ----

struct PngForm {
  int colourType;
  int depth;
  bool interlaced;
  std::vector<png_color> palette;
  std::vector<uint8_t> paletteAlpha;  // tRNS of a palette
  bool keyColour;                     // tRNS of grey or RGB
  png_color_16 key;
};

// Each row, from the top, as `row(y)` gives it, packed as the form's colour type and depth
// expect: a picture of any size is written without being held. level: zlib's, or -1 for its own.
bool WritePngRows(const std::string& path, int width, int height, const PngForm& form, int level,
                  const std::function<const uint8_t*(int)>& row) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, form.depth, form.colourType,
               form.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (level >= 0) png_set_compression_level(png, level);
  if (!form.palette.empty()) png_set_PLTE(png, info, form.palette.data(), int(form.palette.size()));
  if (!form.paletteAlpha.empty())
    png_set_tRNS(png, info, form.paletteAlpha.data(), int(form.paletteAlpha.size()), nullptr);
  if (form.keyColour) png_set_tRNS(png, info, nullptr, 0, const_cast<png_color_16*>(&form.key));
  png_write_info(png, info);
  // An interlaced picture is written whole once for each of its passes.
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < height; ++y) png_write_row(png, const_cast<png_bytep>(row(y)));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

bool WritePng(const std::string& path, int width, int height, const PngForm& form,
              std::vector<std::vector<uint8_t>>& rows) {
  return WritePngRows(path, width, height, form, -1, [&rows](int y) { return rows[size_t(y)].data(); });
}

bool WriteRgbaPng(const std::string& path, Art& art) {
  std::vector<std::vector<uint8_t>> rows;
  for (int y = 0; y < art.height; ++y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < art.width; ++x) {
      const Rgba& p = art.at(x, y);
      row.insert(row.end(), {p.r, p.g, p.b, p.a});
    }
    rows.push_back(row);
  }
  return WritePng(path, art.width, art.height, PngForm{PNG_COLOR_TYPE_RGB_ALPHA, 8, false, {}, {}, false, {}}, rows);
}

bool WriteRgbPng(const std::string& path, Art& art, bool interlaced, const png_color_16* key) {
  std::vector<std::vector<uint8_t>> rows;
  for (int y = 0; y < art.height; ++y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < art.width; ++x) row.insert(row.end(), {art.at(x, y).r, art.at(x, y).g, art.at(x, y).b});
    rows.push_back(row);
  }
  PngForm form{PNG_COLOR_TYPE_RGB, 8, interlaced, {}, {}, key != nullptr, key ? *key : png_color_16{}};
  return WritePng(path, art.width, art.height, form, rows);
}

// A figure with soft edges on a transparent background whose hidden colours vary, so that only
// alpha may decide; white rim pixels touch the transparent area.
Art AlphaSprite(bool withHole, bool coverCorner) {
  Art art(41, 33, Rgba{0, 0, 0, 0});
  for (int y = 0; y < art.height; ++y)
    for (int x = 0; x < art.width; ++x) art.at(x, y) = Rgba{uint8_t(x * 6), uint8_t(y * 7), 200, uint8_t((x + y) % 100)};
  art.Disc(20, 16, 15, Rgba{255, 255, 255, 90});   // faint halo: below 128, transparent
  art.Disc(20, 16, 14, Rgba{255, 255, 255, 160});  // white rim: opaque
  for (int y = 0; y < art.height; ++y)
    for (int x = 0; x < art.width; ++x)
      if ((x - 20) * (x - 20) + (y - 16) * (y - 16) <= 12 * 12)
        art.at(x, y) = Rgba{uint8_t(80 + x * 4), uint8_t(40 + y * 5), 30, 255};
  art.Disc(20, 16, 3, Rgba{255, 0, 255, 255});  // the usual key colour, inside the figure
  if (withHole) art.Disc(14, 12, 3, Rgba{9, 9, 9, 0});
  if (coverCorner) art.Rect(0, 0, 6, 4, Rgba{30, 60, 90, 255});
  return art;
}

bool WritePngFixtures(const std::string& dir) {
  Art sprite = AlphaSprite(false, false);
  Art ring = AlphaSprite(true, false);
  Art corner = AlphaSprite(false, true);
  if (!WriteRgbaPng(dir + "sprite-alpha.png", sprite) || !WriteRgbaPng(dir + "ring-alpha.png", ring) ||
      !WriteRgbaPng(dir + "corner-figure.png", corner))
    return false;

  // Palette with a transparent entry 0 and a half-transparent entry 1 (above 128: opaque).
  {
    PngForm form{PNG_COLOR_TYPE_PALETTE, 8, false, {{0, 0, 0}, {250, 250, 250}, {200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {255, 255, 0}},
                 {0, 140}, false, {}};
    std::vector<std::vector<uint8_t>> rows;
    for (int y = 0; y < 29; ++y) {
      std::vector<uint8_t> row;
      for (int x = 0; x < 37; ++x) {
        bool inside = x > 5 && x < 31 && y > 4 && y < 24;
        row.push_back(inside ? uint8_t(1 + (x / 5 + y / 5) % 5) : 0);
      }
      rows.push_back(row);
    }
    if (!WritePng(dir + "palette-trns.png", 37, 29, form, rows)) return false;
  }

  // RGB with a key colour in tRNS: pure green is transparent.
  {
    Art art(23, 17, Rgba{0, 255, 0, 255});
    art.Disc(11, 8, 6, Rgba{120, 20, 160, 255});
    png_color_16 key = {0, 0, 255, 0, 0};
    if (!WriteRgbPng(dir + "rgb-trns.png", art, false, &key)) return false;
  }

  // 16-bit grey and RGBA with distinct low bytes, 2-bit grey, and an interlaced picture.
  {
    std::vector<std::vector<uint8_t>> grey, rgba, grey2;
    for (int y = 0; y < 13; ++y) {
      std::vector<uint8_t> g, c;
      for (int x = 0; x < 19; ++x) {
        uint16_t v = uint16_t(x * 3000 + y * 977);
        g.insert(g.end(), {uint8_t(v >> 8), uint8_t(v)});
        uint16_t a = (x + y) % 3 == 0 ? 0x1234 : 0xF0F0;
        c.insert(c.end(), {uint8_t(v >> 8), uint8_t(v), uint8_t(y * 19), uint8_t(x * 7), 0x80, 0x55, uint8_t(a >> 8), uint8_t(a)});
      }
      grey.push_back(g);
      rgba.push_back(c);
    }
    for (int y = 0; y < 11; ++y) {
      std::vector<uint8_t> row((21 * 2 + 7) / 8, 0);
      for (int x = 0; x < 21; ++x) row[x / 4] = uint8_t(row[x / 4] | (((x + y) & 3) << (6 - 2 * (x % 4))));
      grey2.push_back(row);
    }
    if (!WritePng(dir + "gray16.png", 19, 13, PngForm{PNG_COLOR_TYPE_GRAY, 16, false, {}, {}, false, {}}, grey) ||
        !WritePng(dir + "rgba16.png", 19, 13, PngForm{PNG_COLOR_TYPE_RGB_ALPHA, 16, false, {}, {}, false, {}}, rgba) ||
        !WritePng(dir + "gray2.png", 21, 11, PngForm{PNG_COLOR_TYPE_GRAY, 2, false, {}, {}, false, {}}, grey2))
      return false;
    Art art(29, 23, Rgba{10, 20, 30, 255});
    for (int y = 0; y < 23; ++y)
      for (int x = 0; x < 29; ++x) art.at(x, y) = Rgba{uint8_t(x * 8), uint8_t(y * 11), uint8_t((x ^ y) * 9), 255};
    if (!WriteRgbPng(dir + "interlaced.png", art, true, nullptr)) return false;
  }

  // The wallpaper: a calm gradient with a few shapes.
  Art wall(160, 120, Rgba{0, 0, 0, 255});
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x) wall.at(x, y) = Rgba{uint8_t(20 + x / 2), uint8_t(40 + y), uint8_t(120 + (x + y) / 4), 255};
  wall.Disc(40, 30, 18, Rgba{250, 240, 200, 255});
  wall.Rect(90, 70, 150, 110, Rgba{30, 90, 40, 255});
  return WriteRgbPng(dir + "wallpaper.png", wall, false, nullptr);
}

// ---- JPEG ----

bool WriteJpeg(const std::string& path, int width, int height, int components, J_COLOR_SPACE space, bool progressive,
               const std::vector<uint8_t>& samples) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&samples[size_t(info.next_scanline) * width * components]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

std::vector<uint8_t> PhotoSamples(int width, int height, int components) {
  std::vector<uint8_t> samples;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int d = (x - width / 2) * (x - width / 2) + (y - height / 2) * (y - height / 2);
      uint8_t r = uint8_t(d < 100 ? 230 : x * 255 / width), g = uint8_t(y * 255 / height), b = uint8_t(d < 100 ? 40 : 160);
      if (components == 1) samples.push_back(uint8_t((r + g + b) / 3));
      if (components == 3) samples.insert(samples.end(), {r, g, b});
      if (components == 4) samples.insert(samples.end(), {uint8_t(255 - r), uint8_t(255 - g), uint8_t(255 - b), uint8_t(x * 4)});
    }
  return samples;
}

bool WriteJpegFixtures(const std::string& dir) {
  return WriteJpeg(dir + "photo.jpg", 64, 48, 3, JCS_RGB, false, PhotoSamples(64, 48, 3)) &&
         WriteJpeg(dir + "gray.jpg", 33, 21, 1, JCS_GRAYSCALE, false, PhotoSamples(33, 21, 1)) &&
         WriteJpeg(dir + "progressive.jpg", 40, 30, 3, JCS_RGB, true, PhotoSamples(40, 30, 3)) &&
         WriteJpeg(dir + "cmyk.jpg", 24, 16, 4, JCS_CMYK, false, PhotoSamples(24, 16, 4));
}

// ---- GIF ----

struct GifFrame {
  int left, top, width, height;
  bool interlaced;
  std::vector<GifColorType> localColours;
  int transparent;  // -1 for none
  int disposal;
  std::vector<uint8_t> indices;  // top row first
  bool withoutControl = false;   // no graphic control block: no transparency, disposal 0
};

bool WriteGif(const std::string& path, int width, int height, const std::vector<GifColorType>& colours,
              const std::vector<GifFrame>& frames) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  if (!gif) return false;
  EGifSetGifVersion(gif, true);
  ColorMapObject* global = GifMakeMapObject(int(colours.size()), colours.data());
  bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, global) != GIF_ERROR;
  GifFreeMapObject(global);
  if (frames.size() > 1) {
    // The looping block viewers expect of an animation.
    const uint8_t loop[3] = {1, 0, 0};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") != GIF_ERROR && EGifPutExtensionBlock(gif, 3, loop) != GIF_ERROR &&
         EGifPutExtensionTrailer(gif) != GIF_ERROR;
  }
  for (const GifFrame& frame : frames) {
    GraphicsControlBlock control = {frame.disposal, false, 10, frame.transparent};
    GifByteType block[4];
    EGifGCBToExtension(&control, block);
    if (!frame.withoutControl) ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block) != GIF_ERROR;
    ColorMapObject* local =
        frame.localColours.empty() ? nullptr : GifMakeMapObject(int(frame.localColours.size()), frame.localColours.data());
    ok = ok && EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced, local) != GIF_ERROR;
    if (local) GifFreeMapObject(local);
    // An interlaced frame's rows go out in the order of its four passes.
    static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < (frame.interlaced ? 4 : 1); ++pass)
      for (int y = frame.interlaced ? kStart[pass] : 0; y < frame.height; y += frame.interlaced ? kStep[pass] : 1)
        ok = ok && EGifPutLine(gif, const_cast<GifPixelType*>(&frame.indices[size_t(y) * frame.width]), frame.width) != GIF_ERROR;
    // giflib forgets its copy of a local table when the next frame has none.
    GifFreeMapObject(gif->Image.ColorMap);
    gif->Image.ColorMap = nullptr;
  }
  return EGifCloseFile(gif, &error) != GIF_ERROR && ok;
}

GifFrame Pattern(int left, int top, int width, int height, int disposal, int transparent, int (*index)(int x, int y)) {
  GifFrame frame{left, top, width, height, false, {}, transparent, disposal, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) frame.indices.push_back(uint8_t(index(x, y)));
  return frame;
}

// The disposals in the orders that trip composers up: "restore previous" on the first frame
// (back to the empty screen) and twice in a row (the second restores what the first restored),
// "restore previous" and "clear" on frames with holes and reaching past the screen, an undefined
// disposal (kept, as 1 is), local tables shorter than the global one, one with its own
// transparent index, and a last frame without a control block, which inherits no transparency.
bool WriteGifDisposalFixtures(const std::string& dir, const std::vector<GifColorType>& colours) {
  std::vector<GifFrame> frames;
  frames.push_back(Pattern(4, 3, 12, 10, 3, 0, [](int x, int y) { return (x + y) % 4 == 0 ? 0 : 2; }));
  frames.push_back(Pattern(0, 0, 40, 30, 0, 5, [](int x, int y) { return x < 6 || y > 24 ? 5 : 1 + (x / 5 + y / 5) % 3; }));
  frames.push_back(Pattern(10, 8, 16, 12, 3, -1, [](int x, int) { return 4 + x % 2; }));
  frames.push_back(Pattern(14, 10, 16, 12, 3, 2, [](int x, int y) { return (x * y) % 3 == 0 ? 2 : 6; }));
  frames.push_back(Pattern(30, 22, 16, 12, 2, 1, [](int x, int y) { return (x + 2 * y) % 5 == 0 ? 1 : 7; }));
  GifFrame undefined = Pattern(0, 20, 8, 10, 6, 3, [](int x, int y) { return (x + y) % 4; });
  undefined.localColours = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
  frames.push_back(undefined);
  GifFrame local = Pattern(20, 0, 20, 6, 2, -1, [](int x, int) { return x % 2; });
  local.localColours = {{33, 66, 99}, {200, 100, 50}};
  frames.push_back(local);
  frames.push_back(Pattern(2, 2, 36, 26, 1, 0, [](int x, int y) { return x == y ? 3 : 0; }));
  GifFrame bare = Pattern(30, 0, 6, 6, 0, -1, [](int x, int y) { return (x + y) % 2 ? 0 : 5; });
  bare.withoutControl = true;
  frames.push_back(bare);
  return WriteGif(dir + "disposals.gif", 40, 30, colours, frames);
}

// Interlaced frames of every height below the passes' step and beyond it, so that a short pass
// or an empty one is met, each at its own offset and kept under the next.
bool WriteGifInterlaceFixture(const std::string& dir, const std::vector<GifColorType>& colours) {
  std::vector<GifFrame> frames;
  const int heights[] = {1, 2, 3, 5, 8, 13};
  for (int i = 0; i < 6; ++i) {
    GifFrame frame = Pattern(i * 3, i, 7, heights[i], i % 2 ? 1 : 3, 0, [](int x, int y) { return (x + 3 * y) % 8; });
    frame.interlaced = true;
    frames.push_back(frame);
  }
  return WriteGif(dir + "interlace.gif", 24, 20, colours, frames);
}

// A GIF of no frame at all, and one of ten thousand (the builder takes what a character holds).
bool WriteGifCountFixtures(const std::string& dir, const std::vector<GifColorType>& colours) {
  std::vector<GifFrame> many;
  for (int i = 0; i < 10000; ++i) many.push_back(Pattern(i % 4, i / 4 % 4, 1, 1, 1, -1, [](int, int) { return 1; }));
  return WriteGif(dir + "empty.gif", 4, 4, colours, {}) && WriteGif(dir + "frames10000.gif", 4, 4, colours, many);
}

// The first three quarters of a file, as an interrupted copy leaves it: for the disposal GIF,
// inside one of its later frames.
bool WriteCutCopy(const std::string& from, const std::string& to) {
  FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) return false;
  std::vector<uint8_t> bytes;
  uint8_t chunk[4096];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, in)) > 0;) bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(in);
  FILE* out = std::fopen(to.c_str(), "wb");
  if (!out) return false;
  const size_t kept = bytes.size() * 3 / 4;
  const bool written = std::fwrite(bytes.data(), 1, kept, out) == kept;
  return std::fclose(out) == 0 && written;
}

bool WriteGifFixtures(const std::string& dir) {
  const std::vector<GifColorType> colours = {{0, 0, 0},     {240, 240, 230}, {200, 40, 40},  {40, 160, 60},
                                             {50, 70, 210}, {250, 200, 0},   {120, 0, 140}, {255, 255, 255}};
  // A still sprite: index 0 transparent around a figure.
  GifFrame still = Pattern(0, 0, 31, 27, 0, 0, [](int x, int y) {
    int d = (x - 15) * (x - 15) + (y - 13) * (y - 13);
    return d < 40 ? 2 : d < 120 ? 4 + (x + y) % 2 : 0;
  });
  if (!WriteGif(dir + "still.gif", 31, 27, colours, {still})) return false;

  // An animation on a transparent screen that uses every disposal: a figure kept; a striped
  // square cleared to transparent after it shows; an interlaced striped frame with a local
  // table, restored to what was before it; a block at the bottom left; a frame that reaches
  // beyond the screen. Its transparent stripes always reach the transparent surround.
  std::vector<GifFrame> frames;
  frames.push_back(Pattern(0, 0, 48, 40, 1, 0, [](int x, int y) {
    return x >= 10 && x < 38 && y >= 8 && y < 32 ? ((x / 6 + y / 5) % 2 ? 1 : 3) : 0;
  }));
  frames.push_back(Pattern(8, 6, 20, 16, 2, 0, [](int x, int) { return x % 5 == 2 ? 0 : 2; }));
  GifFrame restored = Pattern(20, 14, 24, 20, 3, 3, [](int x, int y) { return x % 4 == 3 ? 3 : (x + y) % 3; });
  restored.interlaced = true;
  restored.localColours = {{10, 10, 10}, {90, 200, 250}, {250, 120, 200}, {0, 0, 0}, {160, 160, 30}, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  frames.push_back(restored);
  frames.push_back(Pattern(2, 30, 10, 10, 0, -1, [](int x, int) { return 4 + x % 3; }));
  frames.push_back(Pattern(47, 39, 2, 2, 1, -1, [](int, int) { return 6; }));
  if (!WriteGif(dir + "animated.gif", 48, 40, colours, frames)) return false;

  // More frames than a character may have.
  std::vector<GifFrame> many;
  for (int i = 0; i < 12; ++i) {
    GifFrame frame = Pattern(0, 0, 16, 16, 1, -1, [](int, int) { return 0; });
    for (int p = 0; p < 16 * 16; ++p) frame.indices[size_t(p)] = uint8_t(p / 16 == i ? 7 : i % 7);
    many.push_back(frame);
  }
  if (!WriteGif(dir + "anim12.gif", 16, 16, colours, many)) return false;
  return WriteGifDisposalFixtures(dir, colours) && WriteGifInterlaceFixture(dir, colours) &&
         WriteGifCountFixtures(dir, colours) && WriteCutCopy(dir + "disposals.gif", dir + "disposals-cut.gif");
}

// ---- Bitmaps wrapping PNG and JPEG ----

bool WriteWrapped(const std::string& dir, const std::string& inner, const std::string& name, uint32_t compression,
                  int width, int height) {
  FILE* in = std::fopen((dir + inner).c_str(), "rb");
  if (!in) return false;
  std::vector<uint8_t> data;
  int c;
  while ((c = std::fgetc(in)) != EOF) data.push_back(uint8_t(c));
  std::fclose(in);
  std::vector<uint8_t> out = {'B', 'M'};
  auto u16 = [&out](uint32_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  u32(uint32_t(54 + data.size()));
  u32(0);
  u32(54);
  u32(40);
  u32(uint32_t(width));
  u32(uint32_t(height));
  u16(1);
  u16(0);  // the bit count of a wrapped picture is 0
  u32(compression);
  u32(uint32_t(data.size()));
  u32(0);
  u32(0);
  u32(0);
  u32(0);
  out.insert(out.end(), data.begin(), data.end());
  FILE* file = std::fopen((dir + name).c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  return std::fclose(file) == 0 && ok;
}

bool WriteScenes(const std::string& dir) {
  // PNG and GIF only: Linux and Windows must give the same bytes.
  SettingsText pictures;
  pictures.Set(kTransparency, 1)
      .Set(kColourRed, 20).Set(kColourGreen, 40).Set(kColourBlue, 90)
      .Set(kWallpaperShown, 1).Set(kWallpaperPath, "wallpaper.png")
      .SetFrame(0, 0, "sprite-alpha.png").SetFrame(0, 1, "palette-trns.png")
      .SetFrame(1, 0, "animated.gif").SetFrame(1, 1, "still.gif")
      .SetFrame(2, 0, "rgb-trns.png").SetFrame(2, 1, "gray16.png").SetFrame(2, 2, "interlaced.png")
      .SetFrame(2, 3, "rgba16.png").SetFrame(2, 4, "gray2.png")
      .SetFrame(3, 0, "wrapped-png.bmp").SetFrame(4, 0, "anim12.gif")
      .SetFrame(5, 0, "ring-alpha.png").SetFrame(6, 0, "corner-figure.png");
  // PNG, GIF and JPEG frames on a PNG wallpaper.
  SettingsText mixed;
  mixed.Set(kTransparency, 1)
      .Set(kColourRed, 0).Set(kColourGreen, 0).Set(kColourBlue, 0)
      .Set(kWallpaperShown, 1).Set(kWallpaperStretched, 1).Set(kWallpaperPath, "wallpaper.png")
      .SetFrame(0, 0, "sprite-alpha.png").SetFrame(1, 0, "animated.gif")
      .SetFrame(2, 0, "photo.jpg").SetFrame(2, 1, "progressive.jpg").SetFrame(2, 2, "gray.jpg")
      .SetFrame(3, 0, "cmyk.jpg").SetFrame(4, 0, "wrapped-jpeg.bmp");
  // GIFs on a scene without key-colour transparency, so that every frame with a transparent
  // pixel carries its own pixels, alpha and all, and both systems' composition shows in the bytes.
  SettingsText gifs;
  gifs.Set(kTransparency, 0)
      .Set(kColourRed, 10).Set(kColourGreen, 20).Set(kColourBlue, 30)
      .SetFrame(0, 0, "disposals.gif").SetFrame(1, 0, "interlace.gif").SetFrame(2, 0, "animated.gif")
      .SetFrame(3, 0, "still.gif").SetFrame(3, 1, "empty.gif").SetFrame(3, 2, "still.gif")
      .SetFrame(4, 0, "frames10000.gif").SetFrame(5, 0, "disposals-cut.gif");
  return pictures.Write(dir + "pictures.ini") && mixed.Write(dir + "mixed.ini") && gifs.Write(dir + "gifs.ini");
}

}  // namespace

bool WritePictureFixtures(const std::string& folder) {
  std::string dir = folder;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return WritePngFixtures(dir) && WriteJpegFixtures(dir) && WriteGifFixtures(dir) &&
         WriteWrapped(dir, "sprite-alpha.png", "wrapped-png.bmp", 5, 41, 33) &&
         WriteWrapped(dir, "photo.jpg", "wrapped-jpeg.bmp", 4, 64, 48) && WriteScenes(dir);
}

bool WriteScreenPictureScene(const std::string& folder, int width, int height) {
  std::string dir = folder;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  // A figure with a white rim on a transparent background, in the left third.
  Art sprite(width, height, Rgba{200, 100, 50, 0});
  sprite.Disc(width / 4, height / 2, height / 5 + 6, Rgba{255, 255, 255, 255});
  sprite.Disc(width / 4, height / 2, height / 5, Rgba{220, 30, 40, 255});
  // A GIF figure in the right third; its second frame never shows at the scene's pace.
  std::vector<GifFrame> frames;
  for (int f = 0; f < 2; ++f) {
    GifFrame frame{0, 0, width, height, false, {}, 0, 1, std::vector<uint8_t>(size_t(width) * height, 0)};
    for (int y = height / 3; y < 2 * height / 3; ++y)
      for (int x = 3 * width / 4 - 40 + 30 * f; x < 3 * width / 4 + 40 + 30 * f; ++x) frame.indices[size_t(y) * width + x] = 4;
    frames.push_back(frame);
  }
  const std::vector<GifColorType> colours = {{0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {40, 90, 230}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
  // A photograph on white: the player takes the white around the corner away, as for a bitmap.
  std::vector<uint8_t> photo(size_t(width) * height * 3, 255);
  for (int y = 3 * height / 4; y < height - 20; ++y)
    for (int x = width / 3; x < 2 * width / 3; ++x) {
      uint8_t* p = &photo[(size_t(y) * width + x) * 3];
      p[0] = 30;
      p[1] = uint8_t(120 + x % 60);
      p[2] = 60;
    }
  Art wall(64, 48, Rgba{0, 0, 0, 255});
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) wall.at(x, y) = Rgba{uint8_t(x * 3), uint8_t(100 + y), 90, 255};

  SettingsText scene;
  scene.Set(kTransparency, 1).Set(kFrameMultiplier, 1000)
      .Set(kWallpaperShown, 1).Set(kWallpaperStretched, 1).Set(kWallpaperPath, "screen-wall.png")
      .SetFrame(0, 0, "screen-sprite.png").SetFrame(1, 0, "screen-anim.gif")
      .SetFrame(2, 0, "screen-photo.jpg");
  for (int character = 0; character < 3; ++character)
    for (SettingId axis : {kSpeedX, kSpeedY, kSpeedDepth}) scene.SetFor(axis, character, 0);
  return WriteRgbaPng(dir + "screen-sprite.png", sprite) && WriteGif(dir + "screen-anim.gif", width, height, colours, frames) &&
         WriteJpeg(dir + "screen-photo.jpg", width, height, 3, JCS_RGB, false, photo) &&
         WriteRgbPng(dir + "screen-wall.png", wall, false, nullptr) && scene.Write(dir + "playback.ini");
}

bool WriteNoisePng(const std::string& path, int width, int height) {
  std::vector<uint8_t> row(size_t(width) * 3);
  uint64_t state = 0x9E3779B97F4A7C15ull;
  const auto noise = [&row, &state](int) {
    for (size_t i = 0; i < row.size(); ++i) {
      state ^= state << 13, state ^= state >> 7, state ^= state << 17;
      row[i] = uint8_t(state >> 24);
    }
    return row.data();
  };
  return WritePngRows(path, width, height, PngForm{PNG_COLOR_TYPE_RGB, 8, false, {}, {}, false, {}}, 0, noise);
}

bool WriteLargeWallpaper(const std::string& path, int width, int height, bool bitmap) {
  std::vector<uint8_t> row(size_t(width) * 3 + 3);
  // Red, green, blue of row y; a bitmap stores blue first.
  const auto gradient = [&row, width, bitmap](int y) {
    for (int x = 0; x < width; ++x) {
      row[3 * size_t(x) + (bitmap ? 2 : 0)] = uint8_t(x >> 5);
      row[3 * size_t(x) + 1] = uint8_t(y >> 5);
      row[3 * size_t(x) + (bitmap ? 0 : 2)] = uint8_t((x ^ y) & 0xFF);
    }
    return row.data();
  };
  if (!bitmap)
    return WritePngRows(path, width, height, PngForm{PNG_COLOR_TYPE_RGB, 8, false, {}, {}, false, {}}, 1, gradient);
  const uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
  const uint64_t bits = uint64_t(stride) * uint64_t(height);
  if (bits > 0xFFFFFFFFull - 54) return false;
  uint8_t head[54] = {'B', 'M'};
  const auto put = [&head](int at, uint32_t value) {
    for (int i = 0; i < 4; ++i) head[at + i] = uint8_t(value >> (8 * i));
  };
  put(2, uint32_t(54 + bits)), put(10, 54), put(14, 40), put(18, uint32_t(width)), put(22, uint32_t(height));
  head[26] = 1, head[28] = 24;
  put(34, uint32_t(bits));
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(head, sizeof head, 1, file) == 1;
  for (int y = height - 1; written && y >= 0; --y) written = std::fwrite(gradient(y), stride, 1, file) == 1;
  return (std::fclose(file) == 0) && written;
}
