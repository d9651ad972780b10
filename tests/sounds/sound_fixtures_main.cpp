// morvane-sound-fixtures FOLDER: writes a short tone in each format the builder decodes, damaged
// and cut-short copies, and one settings file per sound (NAME.ini), for the Windows tests to
// build with morvane-pack.exe and compare with the native morvane-pack.
// morvane-sound-fixtures --long-flac SECONDS FILE: one long tone, for the players' memory bound.
#include <sndfile.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sound_fixtures.h"

namespace {

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool whole = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && whole;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--long-flac") {
    // A stereo tone of SECONDS at 44.1 kHz: a FLAC of a few megabytes that decodes to a wave
    // larger than the players may hold in memory.
    const int seconds = std::atoi(argv[2]);
    if (seconds <= 0 || seconds > 1500 || !Write(argv[3], EncodeTone(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 44100, seconds * 44100))) {
      std::fprintf(stderr, "morvane-sound-fixtures: cannot write %s\n", argv[3]);
      return 1;
    }
    return 0;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: morvane-sound-fixtures FOLDER | --long-flac SECONDS FILE\n");
    return 2;
  }
  const std::string folder = argv[1];
  struct Sound {
    const char* name;
    int format, channels, rate;
  } sounds[] = {
      {"tone.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 2, 44100},
      {"tone.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 44100},
      {"tone.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 44100},
      {"ima.wav", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 1, 22050},
      {"msadpcm.wav", SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 2, 22050},
      {"gsm.wav", SF_FORMAT_WAV | SF_FORMAT_GSM610, 1, 8000},
  };
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  for (const Sound& s : sounds) {
    std::vector<uint8_t> bytes = EncodeTone(s.format, s.channels, s.rate, s.rate);
    if (bytes.empty()) {
      std::fprintf(stderr, "morvane-sound-fixtures: cannot encode %s\n", s.name);
      return 1;
    }
    files.push_back({s.name, bytes});
    // Cut short, and (MP3 and FLAC) noise over a stretch in the middle.
    files.push_back({std::string("half-") + s.name, std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2)});
    const int major = s.format & SF_FORMAT_TYPEMASK;
    if (major == SF_FORMAT_MPEG || major == SF_FORMAT_FLAC) {
      for (size_t i = bytes.size() / 3; i < bytes.size() / 3 + 2000 && i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 37);
      files.push_back({std::string("bad-") + s.name, bytes});
    }
  }
  files.push_back({"mp3-named.wav", files[0].second});
  files.push_back({"garbage.wav", std::vector<uint8_t>(5000, 0x5A)});
  files.push_back({"empty.mp3", {}});
  for (const auto& file : files) {
    const std::string ini = "[BackGround]\r\nSoundOpt=1\r\nSound=" + file.first + "\r\n";
    if (!Write(folder + "/" + file.first, file.second) ||
        !Write(folder + "/" + file.first + ".ini", std::vector<uint8_t>(ini.begin(), ini.end()))) {
      std::fprintf(stderr, "morvane-sound-fixtures: cannot write %s in %s\n", file.first.c_str(), folder.c_str());
      return 1;
    }
  }
  return 0;
}
