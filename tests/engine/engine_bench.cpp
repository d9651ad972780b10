// Paint and load costs on the pixel-buffer surfaces, next to the one full-screen copy that
// every paint has to make at the least.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "byte_stream.h"
#include "engine.h"
#include "host_soft.h"
#include "package_source.h"
#include "scene_bytes.h"
#include "surface.h"

namespace {

const int32_t kWidth = 1920, kHeight = 1080;

// 20 characters of 10 masked 96 x 96 frames: a disc on a white corner area.
std::vector<uint8_t> BenchPackage() {
  std::vector<std::string> rows(96, std::string(96, '.'));
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 96; ++x)
      if ((x - 48) * (x - 48) + (y - 48) * (y - 48) < 40 * 40) rows[y][x] = (x + y) % 7 ? 'r' : 'b';
  std::vector<uint8_t> frame = FrameRecordBody(rows);
  PackageBytes p;
  p.Memo().Timing(50, 10, 1);
  for (int i = 0; i < 20; ++i) {
    for (int j = 0; j < 10; ++j) p.Frame(frame);
    Motion m;
    m.speedX = 3 + i;
    m.speedY = 2 + i;
    m.speedDepth = 0;
    p.Motion(m);
  }
  p.Background(false, 0x00402010).NoWallpaper().Sound({});
  return p.bytes();
}

// The scene and the headless host it plays in.
struct BenchScene {
  SoftHost host;
  SceneModel scene;
};

void LoadBench(BenchScene* bench, const std::vector<uint8_t>& bytes) {
  MemoryStream stream;
  OpenMemoryStream(&stream, bytes.data(), static_cast<uint32_t>(bytes.size()));
  PackageSource source;
  OpenPackageSource(&source, &stream.base);
  OpenSoftHost(&bench->host);
  LoadScene(&bench->scene, &bench->host.base, &source.base, SceneGeometry{kWidth, kHeight, 0, 0, kWidth, kHeight}, 1);
}

void BM_FullScreenCopy(benchmark::State& state) {
  std::vector<uint32_t> from(kWidth * kHeight, 0x123456), to(kWidth * kHeight);
  for (auto _ : state) {
    memcpy(to.data(), from.data(), from.size() * 4);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}
BENCHMARK(BM_FullScreenCopy)->Unit(benchmark::kMicrosecond);

// One WM_PAINT: motion, the background copy, 20 masked characters (every other one scaled to
// 150 %), and the 1:1 transfer to the window.
void BM_Paint20MaskedCharacters(benchmark::State& state) {
  std::vector<uint8_t> bytes = BenchPackage();
  BenchScene bench;
  LoadBench(&bench, bytes);
  SceneModel& scene = bench.scene;
  for (int i = 0; i < scene.characterCount; ++i) {
    scene.characters[i].visibleRate = 10;
    scene.characters[i].depth = i % 2 ? 150 : 100;
  }
  Surface* window = CreateSurface(nullptr, kWidth, kHeight);
  for (auto _ : state) {
    PaintScene(&scene, window);
    benchmark::ClobberMemory();
  }
  ReleaseSurface(window);
  ReleaseScene(&scene);
}
BENCHMARK(BM_Paint20MaskedCharacters)->Unit(benchmark::kMicrosecond);

// The parts of a paint: composing (background restore and the characters) and presenting.
void BM_ComposeOnly(benchmark::State& state) {
  std::vector<uint8_t> bytes = BenchPackage();
  BenchScene bench;
  LoadBench(&bench, bytes);
  SceneModel& scene = bench.scene;
  for (int i = 0; i < scene.characterCount; ++i) {
    scene.characters[i].visibleRate = 10;
    scene.characters[i].depth = i % 2 ? 150 : 100;
  }
  for (auto _ : state) {
    MoveCharacters(&scene);
    ComposePicture(&scene);
    benchmark::ClobberMemory();
  }
  ReleaseScene(&scene);
}
BENCHMARK(BM_ComposeOnly)->Unit(benchmark::kMicrosecond);

void BM_PresentOnly(benchmark::State& state) {
  std::vector<uint8_t> bytes = BenchPackage();
  BenchScene bench;
  LoadBench(&bench, bytes);
  SceneModel& scene = bench.scene;
  Surface* window = CreateSurface(nullptr, kWidth, kHeight);
  for (auto _ : state) {
    PresentPicture(&scene, window);
    benchmark::ClobberMemory();
  }
  ReleaseSurface(window);
  ReleaseScene(&scene);
}
BENCHMARK(BM_PresentOnly)->Unit(benchmark::kMicrosecond);

// The load sequence of a package of 200 masked 96 x 96 frames, from memory.
void BM_Load200FramePackage(benchmark::State& state) {
  std::vector<uint8_t> bytes = BenchPackage();
  BenchScene bench;
  for (auto _ : state) {
    LoadBench(&bench, bytes);
    state.PauseTiming();
    ReleaseScene(&bench.scene);
    state.ResumeTiming();
  }
  state.counters["package_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_Load200FramePackage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
