#include "package_builder.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "bitmap_intake.h"
#include "build_test_support.h"
#include "byte_order.h"
#include "library_sound_codec.h"
#include "package_reader.h"
#include "sound_fixtures.h"
#include "stdio_build_files.h"
#include "walk_cases.h"
#include "wave_format.h"

namespace {

// What the build said, as the tools print it.
struct Reports {
  OutcomeRecorder recorder = MakeOutcomeRecorder();
  std::vector<std::string> text;
  void Take() { text = OutcomeLines("b", recorder.heard); }
  void clear() {
    recorder.heard.clear();
    text.clear();
  }
};

// One build in a scratch folder: a recognisable player image, relative names resolved there.
class BuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    player.resize(kPlayerImageSize);
    for (size_t i = 0; i < player.size(); ++i) player[i] = static_cast<uint8_t>(i * 7 + 3);
    WriteFileBytes(folder.Path("player.scr"), player);
  }

  void Build(const std::string& output, bool readBack = true, bool wholeOnly = false) {
    StdioBuildFiles files;
    std::string playerPath = folder.Path("player.scr");
    TrailingPlayerImage image(&files, playerPath.c_str());
    OpenLibrarySoundCodec(&soundCodec);
    BuildSources sources = {&settings,           &image,  &files,    folder.path().c_str(), &reports.recorder.base,
                            nullptr,             wholeOnly, decodeSounds ? &soundCodec.base : nullptr};
    status = kBuildSucceeded;
    written = BuildPackagedSaver(sources, output.c_str(), &status);
    reports.Take();
    bytes = readBack ? ReadFileBytes(output) : std::vector<uint8_t>();
  }

  // Builds into the scratch folder and reads the package back; fails the test when it cannot.
  void BuildAndRead() {
    Build(folder.Path("out.scr"));
    ASSERT_GE(bytes.size(), kPlayerImageSize);
    ASSERT_TRUE(std::equal(player.begin(), player.end(), bytes.begin()));
    PackageError error = {0, nullptr};
    ASSERT_TRUE(ReadScenePackage(bytes.data() + kPlayerImageSize, bytes.size() - kPlayerImageSize, &view, &error))
        << error.reason << " at " << error.offset;
  }

  void Bitmap(const std::string& name, const std::vector<uint8_t>& file) { WriteFileBytes(folder.Path(name), file); }

  ScratchFolder folder;
  TableSettings settings;
  Reports reports;
  std::vector<uint8_t> player;
  std::vector<uint8_t> bytes;
  ScenePackageView view;
  char status = kBuildSucceeded;
  bool written = false;
  LibrarySoundCodec soundCodec;
  bool decodeSounds = true;
};

TEST_F(BuildTest, EmptySettingsGiveThe60ByteDefaultPackageAndReadInOrder) {
  Build(folder.Path("out.scr"));
  EXPECT_EQ(status, '0');
  ASSERT_EQ(bytes.size(), 49212u);
  const uint8_t package[60] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               'T', 50, 0, 0, 0, 10, 0, 0, 0, 0,
                               'G', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               'S', 0, 0, 0, 0};
  EXPECT_TRUE(std::equal(package, package + 60, bytes.begin() + kPlayerImageSize));
  EXPECT_TRUE(std::equal(player.begin(), player.end(), bytes.begin()));

  std::vector<std::string> expected = {"Module/Memo1", "Module/Memo2", "Module/Memo3", "Module/Memo4", "Module/Memo5",
                                       "Initial/Timer1", "Initial/Timer2", "Initial/Crear"};
  // Every slot of a character without a first frame is looked at, so that a file named in a
  // later one is reported as left out rather than passed over in silence.
  for (char letter = 'A'; letter <= 'T'; ++letter)
    for (char slot = '0'; slot <= '9'; ++slot) expected.push_back(std::string("Character/") + letter + slot);
  for (const char* key : {"Erase", "ColorR", "ColorG", "ColorB", "BmpOpt1", "BmpOpt2", "SoundOpt"})
    expected.push_back(std::string("BackGround/") + key);
  EXPECT_EQ(settings.reads, expected);
}

TEST_F(BuildTest, LeftOutCharacterKeepsLettersOfThoseThatFollow) {
  Bitmap("a.bmp", MakeBmp(4, 3, 24, 0, 0, 1));
  settings.Set("Character", "A0", "a.bmp");
  settings.Set("Character", "C0", "a.bmp");
  settings.Set("Speed", "CX", "-7");
  settings.Set("Speed", "CY", "3");
  settings.Set("Speed", "CZ", "0");
  settings.Set("Speed", "CA", "2");
  settings.Set("Pattern", "CX", "0");
  settings.Set("Pattern", "CA", "1");
  settings.Set("Visible", "CA", "6");
  settings.Set("Speed", "BX", "99");
  BuildAndRead();
  EXPECT_EQ(status, '0');
  ASSERT_EQ(view.characterCount, 2u);
  const MotionRecord& a = view.characters[0].motion;
  EXPECT_EQ(a.speedX, 10);
  EXPECT_EQ(a.frameStep, 1);
  EXPECT_EQ(a.bounceX, 1);
  EXPECT_EQ(a.pingPong, 0);
  EXPECT_EQ(a.visibleRate, 10);
  const MotionRecord& c = view.characters[1].motion;
  EXPECT_EQ(c.speedX, -7);
  EXPECT_EQ(c.speedY, 3);
  EXPECT_EQ(c.speedDepth, 0);
  EXPECT_EQ(c.frameStep, 2);
  EXPECT_EQ(c.bounceX, 0);
  EXPECT_EQ(c.bounceY, 1);
  EXPECT_EQ(c.pingPong, 1);
  EXPECT_EQ(c.visibleRate, 6);
}

TEST_F(BuildTest, FramesAreTheUnbrokenRunOfOpenablePaths) {
  Bitmap("a.bmp", MakeBmp(2, 2, 24, 0, 0, 1));
  struct Case {
    const char* name;
    std::vector<std::string> slots;  // "" empty, "missing" a file that does not exist
    uint32_t frames;
  } cases[] = {
      {"gap at slot 2", {"a.bmp", "a.bmp", "", "a.bmp"}, 2},
      {"unopenable slot 1", {"a.bmp", "missing.bmp", "a.bmp"}, 1},
      {"all ten", std::vector<std::string>(10, "a.bmp"), 10},
      {"first slot unopenable", {"missing.bmp", "a.bmp"}, 0},
  };
  for (const Case& c : cases) {
    settings = TableSettings();
    for (size_t k = 0; k < c.slots.size(); ++k) settings.Set("Character", "B" + std::to_string(k), c.slots[k]);
    BuildAndRead();
    EXPECT_EQ(status, '0') << c.name;
    EXPECT_EQ(view.characterCount, c.frames > 0 ? 1u : 0u) << c.name;
    EXPECT_EQ(view.characters[0].frameCount, c.frames) << c.name;
  }
}

TEST_F(BuildTest, SettingValuesTakeTheirIntegerAndLowByte) {
  Bitmap("a.bmp", MakeBmp(2, 2, 24, 0, 0, 1));
  struct Case {
    const char* section;
    const char* key;
    const char* value;
    int32_t redraw, multiplier, transparent, characters, rate;
  } cases[] = {
      {"Initial", "Crear", "257", 50, 10, 1, 1, 10},
      {"Initial", "Timer1", "abc", 0, 10, 0, 1, 10},
      {"Initial", "Timer2", " -12x", 50, -12, 0, 1, 10},
      {"Visible", "AA", "0", 50, 10, 0, 0, 0},
      {"Visible", "AA", "256", 50, 10, 0, 1, 0},
      {"Visible", "AA", "", 50, 10, 0, 0, 0},
  };
  for (const Case& c : cases) {
    settings = TableSettings();
    settings.Set("Character", "A0", "a.bmp");
    settings.Set(c.section, c.key, c.value);
    BuildAndRead();
    EXPECT_EQ(view.timing.redrawPeriod, c.redraw) << c.key << "=" << c.value;
    EXPECT_EQ(view.timing.frameMultiplier, c.multiplier) << c.key << "=" << c.value;
    EXPECT_EQ(view.timing.transparent, c.transparent) << c.key << "=" << c.value;
    ASSERT_EQ(view.characterCount, static_cast<uint32_t>(c.characters)) << c.key << "=" << c.value;
    if (c.characters > 0) {
      EXPECT_EQ(view.characters[0].motion.visibleRate, c.rate) << c.key << "=" << c.value;
    }
  }
}

TEST_F(BuildTest, MemoLinesAreStoredWholeUpTo259Bytes) {
  settings.Set("Module", "Memo1", "");
  settings.Set("Module", "Memo2", std::string(259, 'x'));
  settings.Set("Module", "Memo3", std::string(300, 'y'));
  settings.Set("Module", "Memo5", "\x93\xfa\x96\x7b");  // Shift-JIS bytes pass untouched
  BuildAndRead();
  EXPECT_EQ(view.memo[0].length, 0u);
  EXPECT_EQ(view.memo[1].length, 259u);
  EXPECT_EQ(view.memo[2].length, 259u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(view.memo[2].text), 259), std::string(259, 'y'));
  EXPECT_EQ(view.memo[3].length, 0u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(view.memo[4].text), view.memo[4].length), "\x93\xfa\x96\x7b");
}

TEST_F(BuildTest, FrameRecordsCopyHeaderTableAndBitsOfPlainFiles) {
  struct Case {
    uint16_t bitCount;
    uint32_t clrUsed, tableEntries, headerSize;
  } cases[] = {{24, 0, 0, 40}, {8, 0, 256, 1064}, {8, 16, 16, 104}, {1, 0, 2, 48}, {4, 0, 16, 104}};
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    const Case& c = cases[i];
    std::vector<uint8_t> file = MakeBmp(13, 5, c.bitCount, c.clrUsed, c.tableEntries, static_cast<uint8_t>(i));
    // Plain: the pixels use only the colours the table holds.
    if (c.clrUsed != 0)
      for (size_t at = 14 + 40 + 4 * c.tableEntries; at < file.size(); ++at) file[at] %= c.clrUsed;
    std::string name = "f" + std::to_string(i) + ".bmp";
    Bitmap(name, file);
    settings.Set("Character", std::string("A") + static_cast<char>('0' + i), name);
  }
  BuildAndRead();
  EXPECT_EQ(status, '0');
  ASSERT_EQ(view.characters[0].frameCount, 5u);
  for (size_t i = 0; i < 5; ++i) {
    const FrameRecordView& frame = view.characters[0].frames[i];
    EXPECT_EQ(frame.headerSize, cases[i].headerSize) << i;
    std::vector<uint8_t> file = ReadFileBytes(folder.Path("f" + std::to_string(i) + ".bmp"));
    std::vector<uint8_t> record(frame.header, frame.header + frame.headerSize);
    record.insert(record.end(), frame.bits, frame.bits + frame.bitsSize);
    EXPECT_EQ(record, std::vector<uint8_t>(file.begin() + 14, file.end())) << i;
  }
}

TEST_F(BuildTest, UncompressedFileWithoutPixelSizeGetsItComputed) {
  std::vector<uint8_t> file = MakeBmp(3, 2, 24, 0, 0, 5);
  WriteU32LE(&file[34], 0);
  Bitmap("a.bmp", file);
  settings.Set("Character", "A0", "a.bmp");
  BuildAndRead();
  EXPECT_EQ(status, '0');
  ASSERT_EQ(view.characters[0].frameCount, 1u);
  EXPECT_EQ(view.characters[0].frames[0].bitsSize, 24u);
  EXPECT_EQ(ReadU32LE(view.characters[0].frames[0].header + 20), 24u);
}

TEST_F(BuildTest, FrameThatCannotBeTakenFailsButKeepsItsCharacter) {
  std::vector<uint8_t> cut = MakeBmp(2, 2, 24, 0, 0, 1);
  cut.resize(30);
  std::vector<uint8_t> rle = MakeBmp(4, 4, 8, 0, 256, 1);
  WriteU32LE(&rle[30], 1);  // RLE8 ...
  WriteU32LE(&rle[34], 0);  // ... without a pixel data size
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    const char* reason;
  } cases[] = {
      {"text file", std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'}, "not a picture"},
      {"cut in header", cut, "cut short"},
      {"too wide", MakeBmp(16385, 1, 1, 0, 2, 1), "16384"},
      {"compressed without size", rle, "biSizeImage"},
  };
  for (const Case& c : cases) {
    settings = TableSettings();
    reports.clear();
    Bitmap("bad.bmp", c.file);
    settings.Set("Character", "A0", "bad.bmp");
    settings.Set("Speed", "AX", "4");
    BuildAndRead();
    EXPECT_EQ(status, '1') << c.name;
    ASSERT_EQ(view.characterCount, 1u) << c.name;
    EXPECT_EQ(view.characters[0].frameCount, 0u) << c.name;
    EXPECT_EQ(view.characters[0].motion.speedX, 4) << c.name;
    ASSERT_EQ(reports.text.size(), 1u) << c.name;
    EXPECT_NE(reports.text[0].find("frame A0"), std::string::npos) << reports.text[0];
    EXPECT_NE(reports.text[0].find("bad.bmp"), std::string::npos) << reports.text[0];
    EXPECT_NE(reports.text[0].find(c.reason), std::string::npos) << reports.text[0];
  }
}

TEST_F(BuildTest, BackgroundRecordAndWallpaper) {
  Bitmap("wall.bmp", MakeBmp(3, 3, 24, 0, 0, 9));
  struct Case {
    const char* name;
    const char* erase;
    const char* bmpOpt1;
    const char* bmp;
    int32_t wallpaper;
    size_t backgroundBytes;  // from "G" to "S"
  } cases[] = {
      {"colour, no wallpaper", "0", "0", "wall.bmp", 0, 25},
      {"no colour", "1", "0", "", 0, 13},
      {"wallpaper missing", "0", "1", "missing.bmp", 0, 25},
      {"wallpaper empty path", "0", "1", "", 0, 25},
      {"wallpaper", "1", "1", "wall.bmp", 1, 13 + 9 + 40 + 36},
  };
  for (const Case& c : cases) {
    settings = TableSettings();
    settings.Set("BackGround", "Erase", c.erase);
    settings.Set("BackGround", "ColorR", "300");
    settings.Set("BackGround", "ColorB", "-1");
    settings.Set("BackGround", "BmpOpt1", c.bmpOpt1);
    settings.Set("BackGround", "BmpOpt2", "1");
    settings.Set("BackGround", "Bmp", c.bmp);
    BuildAndRead();
    EXPECT_EQ(status, '0') << c.name;
    EXPECT_EQ(view.background.wallpaper, c.wallpaper) << c.name;
    EXPECT_EQ(view.background.stretch, 1) << c.name;
    if (c.erase[0] == '0') {
      EXPECT_EQ(view.background.red, 300) << c.name;
      EXPECT_EQ(view.background.blue, -1) << c.name;
    }
    EXPECT_EQ(bytes.size() - kPlayerImageSize - 30 - 5, c.backgroundBytes) << c.name;
  }
}

TEST_F(BuildTest, SoundRecordHoldsTheWholeWaveOnlyWhenSwitchedOnAndNothingElseGoesIn) {
  std::vector<uint8_t> wave(70000);
  for (size_t i = 0; i < wave.size(); ++i) wave[i] = static_cast<uint8_t>(i % 251);
  // A PCM format chunk; the samples after it are stored as they are, whatever they hold.
  std::memcpy(wave.data(), "RIFF\x60\x11\x01\x00WAVEfmt \x10\0\0\0\1\0\1\0\x40\x1f\0\0\x40\x1f\0\0\1\0\x08\0", 36);
  WriteFileBytes(folder.Path("s.wav"), wave);
  WriteFileBytes(folder.Path("noise.wav"), std::vector<uint8_t>(wave.begin() + 12, wave.end()));
  struct Case {
    const char* opt;
    const char* path;
    uint32_t length;
    const char* said;
  } cases[] = {{"0", "s.wav", 0, ""},
               {"1", "s.wav", 70000, ""},
               {"1", "missing.wav", 0, "no file of that name"},
               {"1", "", 0, ""},
               {"1", "noise.wav", 0, "not a wave, MP3, Ogg or FLAC file"}};
  for (const Case& c : cases) {
    settings = TableSettings();
    reports.clear();
    settings.Set("BackGround", "SoundOpt", c.opt);
    settings.Set("BackGround", "Sound", c.path);
    BuildAndRead();
    EXPECT_EQ(status, '0');
    ASSERT_EQ(view.soundSize, c.length) << c.opt << " " << c.path;
    if (*c.said) {
      ASSERT_EQ(reports.text.size(), 1u) << c.path;
      EXPECT_NE(reports.text[0].find(c.said), std::string::npos) << reports.text[0];
    } else {
      EXPECT_TRUE(reports.text.empty()) << c.path;
    }
    if (c.length) {
      EXPECT_TRUE(std::equal(wave.begin(), wave.end(), view.sound));
    }
  }
}

// Every sound that is not a wave the players play is decoded into one, or left out with a
// message that names the file and says what is wrong with it; nothing raw goes in.
TEST_F(BuildTest, OtherSoundsAreStoredAsPcmWavesOrLeftOutByName) {
  const std::vector<uint8_t> mp3 = EncodeTone(SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 2, 44100, 44100);
  const std::vector<uint8_t> ogg = EncodeTone(SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1, 22050, 22050);
  const std::vector<uint8_t> flac = EncodeTone(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 8000, 8000);
  const std::vector<uint8_t> adpcm = EncodeTone(SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 1, 11025, 11025);
  ASSERT_FALSE(mp3.empty() || ogg.empty() || flac.empty() || adpcm.empty());
  auto half = [](std::vector<uint8_t> bytes) {
    bytes.resize(bytes.size() / 2);
    return bytes;
  };
  // Noise over a stretch in the middle, as a bad copy leaves it. Which of its reasons a decoder
  // gives for damage is the library's; the message names the format either way.
  auto damaged = [](std::vector<uint8_t> bytes) {
    for (size_t i = bytes.size() / 3; i < bytes.size() / 3 + 2000 && i < bytes.size(); ++i)
      bytes[i] = static_cast<uint8_t>(i * 37);
    return bytes;
  };
  std::vector<uint8_t> unknownForm = adpcm;
  unknownForm[20] = 0x99;  // a format code no decoder knows
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    uint16_t channels;  // of the stored wave; 0: left out
    WalkReason reason;
    const char* said;
  } cases[] = {
      {"tone.mp3", mp3, 2, LeftMissing, ""},
      {"song.wav", mp3, 2, LeftMissing, ""},  // an MP3 named as a wave is still an MP3
      {"tone.ogg", ogg, 1, LeftMissing, ""},
      {"tone.flac", flac, 2, LeftMissing, ""},
      {"adpcm.wav", adpcm, 1, LeftMissing, ""},
      {"half.mp3", half(mp3), 0, LeftDamaged, "(MP3 cut short or damaged: 0.5 of its 1.0 seconds decode"},
      {"bad.mp3", damaged(mp3), 0, LeftDamaged, "(MP3"},
      {"half.ogg", half(ogg), 0, LeftDamaged, "(Ogg"},
      {"bad.ogg", damaged(ogg), 0, LeftDamaged, "(Ogg"},
      {"half.flac", half(flac), 0, LeftDamaged, "(FLAC"},
      {"bad.flac", damaged(flac), 0, LeftDamaged, "(FLAC"},
      // Refused by the builder itself before a decoder allocates what the cut header asks for.
      {"header.flac", std::vector<uint8_t>(flac.begin(), flac.begin() + 30), 0, LeftDamaged,
       "(FLAC: its headers run past the end of the file"},
      {"half.wav", half(adpcm), 0, LeftDamaged, "(compressed wave cut short"},
      {"odd.wav", unknownForm, 0, LeftDamaged, "(compressed wave: its headers cannot be read"},
      {"tag-only.mp3", {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, LeftDamaged, "(MP3: no MP3 frame"},
      {"garbage.wav", std::vector<uint8_t>(5000, 0x5A), 0, LeftSoundNotStorable, "not a wave, MP3, Ogg or FLAC"},
      {"empty.mp3", {}, 0, LeftNotTaken, "the file is empty"},
  };
  for (const Case& c : cases) {
    settings = TableSettings();
    reports.clear();
    WriteFileBytes(folder.Path(c.name), c.bytes);
    settings.Set("BackGround", "SoundOpt", "1");
    settings.Set("BackGround", "Sound", c.name);
    BuildAndRead();
    EXPECT_EQ(status, '0') << c.name;
    if (c.channels) {
      EXPECT_TRUE(reports.text.empty()) << c.name << ": " << (reports.text.empty() ? "" : reports.text[0]);
      WaveSound wave;
      const char* why = nullptr;
      ASSERT_TRUE(ParseWave(view.sound, view.soundSize, &wave, &why)) << c.name << ": " << why;
      EXPECT_EQ(wave.format, WaveS16) << c.name;
      EXPECT_EQ(wave.channels, c.channels) << c.name;
      continue;
    }
    EXPECT_EQ(view.soundSize, 0u) << c.name;
    ASSERT_EQ(reports.recorder.heard.size(), 1u) << c.name;
    EXPECT_EQ(reports.recorder.heard[0].outcome.reason, c.reason) << c.name << ": " << reports.text[0];
    EXPECT_NE(reports.text[0].find(std::string("sound ") + c.name + ": left out: "), std::string::npos)
        << reports.text[0];
    EXPECT_NE(reports.text[0].find(c.said), std::string::npos) << reports.text[0];
  }
  // Without a decoder such a sound is refused by its format, never stored raw.
  decodeSounds = false;
  reports.clear();
  BuildAndRead();
  settings.Set("BackGround", "Sound", "tone.ogg");
  reports.clear();
  BuildAndRead();
  EXPECT_EQ(view.soundSize, 0u);
  ASSERT_EQ(reports.text.size(), 1u);
  EXPECT_NE(reports.text[0].find("a sound in Ogg form, which this program cannot store"), std::string::npos)
      << reports.text[0];
}

TEST_F(BuildTest, AbsolutePathsIgnoreTheBaseFolder) {
  Bitmap("a.bmp", MakeBmp(2, 2, 24, 0, 0, 1));
  settings.Set("Character", "A0", folder.Path("a.bmp"));
  BuildAndRead();
  EXPECT_EQ(view.characters[0].frameCount, 1u);
}

TEST_F(BuildTest, OutputThatCannotBeWrittenIsAFailure) {
  Build(folder.Path("no/such/folder/out.scr"));
  EXPECT_EQ(status, '1');
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(written);
  ASSERT_EQ(reports.text.size(), 1u);
  EXPECT_NE(reports.text[0].find("not written"), std::string::npos) << reports.text[0];

  // A device that accepts the file but not its bytes: the failure must not pass for success.
  reports.clear();
  Build("/dev/full", false);
  EXPECT_EQ(status, '1');
  EXPECT_FALSE(written);
  EXPECT_FALSE(reports.text.empty());
  // A device is written in place, never replaced by a file of its name.
  struct stat device;
  ASSERT_EQ(stat("/dev/full", &device), 0);
  EXPECT_TRUE(S_ISCHR(device.st_mode));
}

TEST_F(BuildTest, MissingPlayerImageFailsButKeepsThePackageOffset) {
  std::remove(folder.Path("player.scr").c_str());
  Build(folder.Path("out.scr"));
  EXPECT_EQ(status, '1');
  ASSERT_EQ(bytes.size(), 49212u);
  EXPECT_EQ(bytes[kPlayerImageSize + 20], 'T');
}

TEST_F(BuildTest, RepairedPicturesAreNotedByFileAndStoredPutRight) {
  std::vector<uint8_t> bent = MakeBmp(3, 2, 24, 0, 0, 4);
  WriteU16LE(&bent[26], 3);                                           // three planes
  WriteU32LE(&bent[2], static_cast<uint32_t>(bent.size() + 100));  // and a size it does not have
  Bitmap("bent.bmp", bent);
  settings.Set("Character", "A0", "bent.bmp");
  BuildAndRead();
  EXPECT_EQ(status, '0');
  ASSERT_EQ(view.characters[0].frameCount, 1u);
  EXPECT_EQ(ReadU16LE(view.characters[0].frames[0].header + 12), 1);
  std::vector<std::string> expected = {std::string("b: frame A0 bent.bmp: note: ") + BitmapRepairText(RepairPlanes) + "\n",
                                       std::string("b: frame A0 bent.bmp: note: ") + BitmapRepairText(RepairFileSize) + "\n"};
  EXPECT_EQ(reports.text, expected);
}

TEST_F(BuildTest, EveryFileLeftOutIsNamedAndOnlyAWholeSceneIsWrittenWhenAsked) {
  const std::vector<ExpectedOutcome> expected = WriteLeftOutScene(folder, &settings);
  BuildAndRead();
  EXPECT_TRUE(written) << "files left out still leave a saver";
  EXPECT_TRUE(SameOutcomes(reports.recorder.heard, expected));
  EXPECT_EQ(status, '1') << "a picture that cannot be read is a failure, as it always was";
  // A with one frame, B without any (its first file is no picture), D with its second, G.
  ASSERT_EQ(view.characterCount, 4u);
  EXPECT_EQ(view.characters[0].frameCount, 1u);
  EXPECT_EQ(view.characters[1].frameCount, 1u);
  EXPECT_EQ(view.characters[2].frameCount, 1u);
  EXPECT_EQ(view.characters[3].motion.speedX, -9);
  EXPECT_EQ(view.background.wallpaper, 0);
  EXPECT_EQ(view.soundSize, 0u);

  // Asked for a whole scene, the build writes nothing and leaves the saver before as it was.
  const std::vector<uint8_t> before = bytes;
  Build(folder.Path("out.scr"), true, true);
  EXPECT_FALSE(written);
  EXPECT_EQ(status, '1');
  EXPECT_EQ(bytes, before);
}

}  // namespace
