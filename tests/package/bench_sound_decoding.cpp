// A scene whose sound is a 10-minute stereo MP3 (44.1 kHz, 128 kbit/s): the build decodes it to
// a PCM wave of about 101 MiB, and should take under 2 s on the project's machine.
#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <string>
#include <vector>

#include "build_test_support.h"
#include "library_sound_codec.h"
#include "package_builder.h"
#include "profile_snapshot_store.h"
#include "sound_fixtures.h"
#include "stdio_build_files.h"

namespace {

const int kRate = 44100;
const int kSeconds = 600;

struct LongSound {
  ScratchFolder folder;
  LongSound() {
    WriteFileBytes(folder.Path("player.scr"), std::vector<uint8_t>(49152, 0x90));
    WriteFileBytes(folder.Path("long.mp3"), EncodeTone(SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 2, kRate, kRate * kSeconds));
    const std::string ini = "[BackGround]\r\nSoundOpt=1\r\nSound=long.mp3\r\n";
    WriteFileBytes(folder.Path("MORVANE.INI"), std::vector<uint8_t>(ini.begin(), ini.end()));
  }
};

LongSound& TheSound() {
  static LongSound sound;
  return sound;
}

void BM_BuildWithTenMinuteMp3(benchmark::State& state) {
  LongSound& sound = TheSound();
  ProfileSnapshotStore settings;
  settings.Load(sound.folder.Path("MORVANE.INI").c_str());
  StdioBuildFiles files;
  const std::string player = sound.folder.Path("player.scr");
  TrailingPlayerImage image(&files, player.c_str());
  LibrarySoundCodec codec;
  OpenLibrarySoundCodec(&codec);
  const std::string output = sound.folder.Path("out.scr");
  BuildSources sources = {&settings, &image, &files, sound.folder.path().c_str(), nullptr, nullptr, false, &codec.base};
  for (auto _ : state) {
    char status = kBuildSucceeded;
    if (!BuildPackagedSaver(sources, output.c_str(), &status) || status != kBuildSucceeded)
      state.SkipWithError("build failed");
  }
  const int64_t waveBytes = 44 + int64_t{4} * kRate * kSeconds;
  if (ReadFileBytes(output).size() < static_cast<size_t>(waveBytes)) state.SkipWithError("the sound is not in the saver");
  state.SetBytesProcessed(state.iterations() * waveBytes);
}

BENCHMARK(BM_BuildWithTenMinuteMp3)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
