// The build of a full scene (20 characters of 10 frames, 128x128 at 24 bits, and a 1 MiB wave)
// next to a plain copy of the same bytes from the same files: the build should cost at most
// half as much again as the copy; and the same walk measuring the saver without writing it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "build_test_support.h"
#include "package_builder.h"
#include "profile_snapshot_store.h"
#include "stdio_build_files.h"

namespace {

struct Scene {
  ScratchFolder folder;
  std::vector<std::string> inputs;  // every file the build reads, in its order

  Scene() {
    inputs.push_back(folder.Path("player.scr"));
    WriteFileBytes(inputs.back(), std::vector<uint8_t>(49152, 0x90));
    std::string ini = "[Initial]\r\nTimer2=10\r\nCrear=1\r\n[Character]\r\n";
    for (int c = 0; c < 20; ++c) {
      for (int k = 0; k < 10; ++k) {
        std::string name = std::string(1, static_cast<char>('A' + c)) + std::to_string(k);
        WriteFileBytes(folder.Path(name + ".bmp"), MakeBmp(128, 128, 24, 0, 0, static_cast<uint8_t>(c * 10 + k)));
        inputs.push_back(folder.Path(name + ".bmp"));
        ini += name + "=" + name + ".bmp\r\n";
      }
    }
    ini += "[Speed]\r\n";
    for (int c = 0; c < 20; ++c) ini += std::string(1, static_cast<char>('A' + c)) + "X=" + std::to_string(c - 10) + "\r\n";
    ini += "[BackGround]\r\nSoundOpt=1\r\nSound=loop.wav\r\n";
    std::vector<uint8_t> wave(1 << 20, 0x80);
    std::copy_n("RIFF", 4, wave.begin());
    WriteFileBytes(folder.Path("loop.wav"), wave);
    inputs.push_back(folder.Path("loop.wav"));
    WriteFileBytes(folder.Path("MORVANE.INI"), std::vector<uint8_t>(ini.begin(), ini.end()));
  }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void BM_BuildPackagedSaver(benchmark::State& state) {
  Scene& scene = TheScene();
  std::string output = scene.folder.Path("built.scr");
  std::string settingsPath = scene.folder.Path("MORVANE.INI");
  for (auto _ : state) {
    StdioBuildFiles files;
    ProfileSnapshotStore settings;
    settings.Load(settingsPath.c_str());
    TrailingPlayerImage player(&files, scene.inputs[0].c_str());
    BuildSources sources = {&settings, &player, &files, scene.folder.path().c_str(), nullptr, nullptr};
    char status = kBuildSucceeded;
    BuildPackagedSaver(sources, output.c_str(), &status);
    if (status != kBuildSucceeded) state.SkipWithError("build failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(ReadFileBytes(output).size()));
}

// What the Module page pays to show the saver's size: the same walk, nothing written.
void BM_MeasurePackagedSaver(benchmark::State& state) {
  Scene& scene = TheScene();
  std::string settingsPath = scene.folder.Path("MORVANE.INI");
  uint64_t size = 0;
  for (auto _ : state) {
    StdioBuildFiles files;
    ProfileSnapshotStore settings;
    settings.Load(settingsPath.c_str());
    TrailingPlayerImage player(&files, scene.inputs[0].c_str());
    BuildSources sources = {&settings, &player, &files, scene.folder.path().c_str(), nullptr, nullptr};
    size = MeasurePackagedSaver(sources);
  }
  state.counters["saver_bytes"] = static_cast<double>(size);
}

void BM_CopySameBytes(benchmark::State& state) {
  Scene& scene = TheScene();
  std::string output = scene.folder.Path("copied.scr");
  std::vector<char> buffer(64 * 1024);
  int64_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    FILE* out = std::fopen(output.c_str(), "wb");
    for (const std::string& path : scene.inputs) {
      FILE* in = std::fopen(path.c_str(), "rb");
      size_t got;
      while ((got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) bytes += std::fwrite(buffer.data(), 1, got, out);
      std::fclose(in);
    }
    std::fclose(out);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

BENCHMARK(BM_BuildPackagedSaver)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeasurePackagedSaver)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopySameBytes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
