// The designer's playback against the player: the same settings and files, loaded once as
// settings (through the picture loading the designer ships) and once as the package the builder
// makes of them, must give the same scene and the same pictures, frame after frame, and leave out
// the same files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <sndfile.h>

#include "build_test_support.h"
#include "byte_stream.h"
#include "engine.h"
#include "host_soft.h"
#include "library_picture_codec.h"
#include "library_sound_codec.h"
#include "sound_fixtures.h"
#include "wave_format.h"
#include "package_builder.h"
#include "package_reader.h"
#include "package_records.h"
#include "package_source.h"
#include "picture_fixtures.h"
#include "scene_art.h"
#include "settings_scene_source.h"
#include "size_limits.h"
#include "sound_decoding.h"
#include "stdio_build_files.h"
#include "surface.h"
#include "surface_soft.h"
#include "walk_cases.h"

namespace {

const SceneGeometry kScreen = {320, 240, 0, 0, 320, 240, 0, 0, 0, {}};
const uint32_t kSeed = 4711;
const uint32_t kMagenta = 0x00FF00FF, kRed = 0x000000FF, kBlue = 0x00FF0000;

// The builder tests' settings table, with settings set one after another.
class MapStore : public TableSettings {
 public:
  MapStore& Set(const std::string& section, const std::string& key, const std::string& value) {
    TableSettings::Set(section, key, value);
    return *this;
  }
};

class BlankPlayerImage : public PlayerImageSource {
 public:
  BlankPlayerImage() : PlayerImageSource{Image} {}

 private:
  static const uint8_t* Image(PlayerImageSource* source, const char**) {
    return static_cast<BlankPlayerImage*>(source)->image_;
  }
  uint8_t image_[kPlayerImageSize] = {};
};

// The designer's own file access, noting which files the playback opens.
class RecordingFiles : public StdioBuildFiles {
 public:
  RecordingFiles() : openFile_(openForReading) { openForReading = Open; }
  std::vector<std::string> pictures;

 private:
  static Handle Open(BuildFiles* files, const char* path) {
    RecordingFiles* self = static_cast<RecordingFiles*>(files);
    self->pictures.push_back(path);
    return self->openFile_(files, path);
  }
  Handle (*openFile_)(BuildFiles* files, const char* path);
};

LibrarySoundCodec MakeSoundCodec() {
  LibrarySoundCodec codec;
  OpenLibrarySoundCodec(&codec);
  return codec;
}

struct RecordingSound {
  SceneSound base;
  std::vector<std::string> files;
  // Decoded waves go into memory sinks, as a player's would into its files.
  std::vector<std::unique_ptr<MemoryWaveSink>> sinks;
  std::vector<uint8_t> kept;  // the last whole one, played again by a later load
  std::string keptPath;
  int dropped = 0;
  bool full = false;  // the sinks refuse every write, as a full disk does
};

bool PlaySound(SceneSound* sound, EngineHost*, const char* path) {
  reinterpret_cast<RecordingSound*>(sound)->files.push_back(path);
  return true;
}

WaveSink* OpenSink(SceneSound* base, const char*) {
  RecordingSound* sound = reinterpret_cast<RecordingSound*>(base);
  sound->sinks.emplace_back(new MemoryWaveSink);
  OpenMemoryWaveSink(sound->sinks.back().get(), kMaxSoundBytes);
  if (sound->full)
    sound->sinks.back()->base.write = [](WaveSink*, uint64_t, const void*, size_t, const char** why) {
      *why = "No space left on device";
      return false;
    };
  return &sound->sinks.back()->base;
}

bool EndSink(SceneSound* base, EngineHost* host, WaveSink* sink, const char* path, size_t whole) {
  RecordingSound* sound = reinterpret_cast<RecordingSound*>(base);
  MemoryWaveSink* memory = reinterpret_cast<MemoryWaveSink*>(sink);
  if (whole) {
    sound->kept.assign(memory->bytes, memory->bytes + whole);
    sound->keptPath = path;
    host->playSound(host, sound->kept.data(), static_cast<int32_t>(sound->kept.size()));
  } else {
    ++sound->dropped;
  }
  std::free(memory->bytes);
  memory->bytes = nullptr;
  return whole != 0;
}

bool PlayKept(SceneSound* base, EngineHost* host, const char* path) {
  RecordingSound* sound = reinterpret_cast<RecordingSound*>(base);
  if (sound->kept.empty() || sound->keptPath != path) return false;
  host->playSound(host, sound->kept.data(), static_cast<int32_t>(sound->kept.size()));
  return true;
}

// A figure on a plain corner colour; `outline` draws a white ring around the disc that touches
// the corner area, the case where a second load of the file would differ from the player.
std::string WriteFrame(const ScratchFolder& folder, const std::string& name, int w, int h, uint32_t corner, uint32_t figure,
                       bool outline) {
  Picture32 picture(w, h, corner);
  if (outline) picture.Disc(w / 2, h / 2, h / 2 - 1, 0x00FFFFFF);
  picture.Disc(w / 2, h / 2, h / 2 - 4, figure);
  picture.Fill(2, 2, 5, 5, 0x00FFFFFF);  // a white spot inside the corner area
  EXPECT_TRUE(WriteBmp24(folder.Path(name), picture));
  return folder.Path(name);
}

struct Pictures {
  std::vector<std::vector<uint32_t>> frames;
  int characters = 0;
  std::vector<int> frameCounts;
};

// Several paints with frame ticks between them, as the two timers would deliver them.
Pictures Play(SceneModel* scene, int paints) {
  Pictures out;
  out.characters = scene->characterCount;
  for (int i = 0; i < scene->characterCount; ++i) out.frameCounts.push_back(scene->characters[i].frameCount);
  const size_t size = size_t(kScreen.screenWidth) * kScreen.screenHeight;
  for (int i = 0; i < paints; ++i) {
    MoveCharacters(scene);
    ComposePicture(scene);
    const uint32_t* pixels = SoftSurfacePixels(scene->workBuffer);
    out.frames.emplace_back(pixels, pixels + size);
    if (i % 3 == 2) AdvanceFrames(scene);
  }
  return out;
}

class Playback : public testing::Test {
 protected:
  void TearDown() override {
    ReleaseScene(&scene);
    EXPECT_EQ(SoftLiveSurfaces(), 0) << "a surface outlived the scene";
  }

  // firstPictureDue: the host's, as a player with a clock answers it; null waits for the whole wallpaper.
  // decodeApart: a sound to decode goes into a sink of the sound's own, as in a player.
  void LoadSettings(MapStore* store, const SceneGeometry& geometry = kScreen,
                    bool (*firstPictureDue)(EngineHost*) = nullptr, bool decodeApart = false) {
    OpenSoftHost(&host);
    host.base.firstPictureDue = firstPictureDue;
    files_.pictures.clear();
    sound_.files.clear();
    sound_.base = SceneSound{PlaySound, decodeApart ? OpenSink : nullptr, EndSink, PlayKept};
    heard_ = MakeOutcomeRecorder();
    OpenSettingsSceneSource(&source_, store, &files_, folder_.path().c_str(), &sound_.base, codecs_, &heard_.base,
                            &sounds_.base);
    LoadScene(&scene, &host.base, &source_.base, geometry, kSeed);
  }

  void LoadPackage(MapStore* store, const SceneGeometry& geometry = kScreen) {
    std::string output = folder_.Path("built.scr");
    StdioBuildFiles files;
    BlankPlayerImage player;
    built_ = MakeOutcomeRecorder();
    BuildSources sources = {store, &player, &files, folder_.path().c_str(), &built_.base, codecs_, false, &sounds_.base};
    char status = kBuildSucceeded;
    ASSERT_TRUE(BuildPackagedSaver(sources, output.c_str(), &status));
    package_ = ReadFileBytes(output);
    ASSERT_GT(package_.size(), kPlayerImageSize);
    OpenSoftHost(&host);
    OpenMemoryStream(&stream_, package_.data() + kPlayerImageSize,
                     static_cast<uint32_t>(package_.size() - kPlayerImageSize));
    PackageSource source;
    OpenPackageSource(&source, &stream_.base);
    LoadScene(&scene, &host.base, &source.base, geometry, kSeed);
  }

  // Plays the settings, then the package built from them: the same characters and frames, and
  // the same picture paint after paint. Returns what the settings played.
  Pictures PlayBothAlike(MapStore* store, int paints) {
    LoadSettings(store);
    Pictures settings = Play(&scene, paints);
    ReleaseScene(&scene);
    LoadPackage(store);
    Pictures package = Play(&scene, paints);
    EXPECT_EQ(package.characters, settings.characters);
    EXPECT_EQ(package.frameCounts, settings.frameCounts);
    for (size_t i = 0; i < settings.frames.size(); ++i)
      if (settings.frames[i] != package.frames[i]) {
        ADD_FAILURE() << "picture " << i << " differs";
        break;
      }
    return settings;
  }

  SoftHost host;
  SceneModel scene = {};
  SettingsSceneSource source_;  // a scene whose wallpaper is still to come reads on from it
  ScratchFolder folder_;
  LibrarySoundCodec sounds_ = MakeSoundCodec();
  PictureCodec* codecs_ = nullptr;  // the playback and the builder read PNG, JPEG and GIF through the same
  RecordingFiles files_;
  RecordingSound sound_;
  OutcomeRecorder heard_ = MakeOutcomeRecorder(), built_ = MakeOutcomeRecorder();
  std::vector<uint8_t> package_;
  MemoryStream stream_;
};

TEST_F(Playback, SameScenePixelForPixelAsThePackagedSaver) {
  MapStore store;
  store.Set("Initial", "Timer1", "40").Set("Initial", "Timer2", "3").Set("Initial", "Crear", "1");
  store.Set("BackGround", "ColorR", "48").Set("BackGround", "ColorG", "128").Set("BackGround", "ColorB", "32");
  store.Set("BackGround", "BmpOpt1", "1").Set("BackGround", "Bmp", "wall.bmp");
  Picture32 wall(120, 80, 0x00C0C0C0);
  wall.Disc(60, 40, 30, kBlue);
  ASSERT_TRUE(WriteBmp24(folder_.Path("wall.bmp"), wall));
  // A: two frames on white, moving and growing; B: one frame on magenta with a white outline;
  // C: nothing in slot 0, so it takes no slot; D: wraps around on every axis, ping-pong.
  store.Set("Character", "A0", WriteFrame(folder_, "a0.bmp", 40, 30, 0x00FFFFFF, kRed, false));
  store.Set("Character", "A1", WriteFrame(folder_, "a1.bmp", 40, 30, 0x00FFFFFF, kBlue, false));
  store.Set("Speed", "AX", "7").Set("Speed", "AY", "-5").Set("Speed", "AZ", "4");
  store.Set("Character", "B0", "b0.bmp");  // relative: the package resolves it in its base folder
  WriteFrame(folder_, "b0.bmp", 50, 50, kMagenta, kRed, true);
  store.Set("Speed", "BX", "-3").Set("Speed", "BY", "6").Set("Speed", "BZ", "0");
  store.Set("Character", "C1", folder_.Path("a0.bmp"));
  store.Set("Character", "D0", folder_.Path("a0.bmp")).Set("Character", "D1", folder_.Path("a1.bmp"));
  store.Set("Character", "D2", folder_.Path("b0.bmp"));
  store.Set("Pattern", "DX", "0").Set("Pattern", "DY", "0").Set("Pattern", "DZ", "0").Set("Pattern", "DA", "1");
  store.Set("Speed", "DX", "29").Set("Speed", "DY", "-31").Set("Speed", "DZ", "-6").Set("Visible", "DA", "6");

  // Both resolve B0's relative name in the same base folder, wherever the current folder is.
  const Pictures settings = PlayBothAlike(&store, 40);
  EXPECT_EQ(settings.characters, 3);
  EXPECT_EQ(settings.frameCounts, (std::vector<int>{2, 1, 3}));
  EXPECT_EQ(host.redrawPeriod, 40);
  EXPECT_EQ(host.framePeriod, 120);
}

TEST_F(Playback, PicturesAndAnimationsPlayFrameForFrameAsThePackagedSaver) {
  LibraryPictureCodec codecs;
  OpenLibraryPictureCodec(&codecs);
  codecs_ = &codecs.base;
  ASSERT_TRUE(WritePictureFixtures(folder_.path()));
  MapStore store;
  store.Set("Initial", "Timer2", "2").Set("Initial", "Crear", "1").Set("BackGround", "ColorG", "90");
  store.Set("BackGround", "BmpOpt1", "1").Set("BackGround", "BmpOpt2", "1").Set("BackGround", "Bmp", "animated.gif");
  // A: an animation's five frames, then a still GIF; B: a PNG on a transparent background, then
  // a JPEG; C: twelve frames, of which ten fit.
  store.Set("Character", "A0", "animated.gif").Set("Character", "A1", "still.gif");
  store.Set("Character", "B0", "sprite-alpha.png").Set("Character", "B1", "photo.jpg");
  store.Set("Character", "C0", "anim12.gif");
  for (const char* axis : {"AX", "AY", "BX", "BY", "CX", "CY"}) store.Set("Speed", axis, "9");

  EXPECT_EQ(PlayBothAlike(&store, 60).frameCounts, (std::vector<int>{6, 2, 10}));
}

TEST_F(Playback, PreviewShrinksTheSamePictureAsThePackagedSaver) {
  MapStore store;
  store.Set("Initial", "Crear", "1").Set("BackGround", "ColorB", "200");
  store.Set("Character", "A0", WriteFrame(folder_, "b0.bmp", 90, 70, kMagenta, kRed, true));
  store.Set("Character", "B0", WriteFrame(folder_, "a0.bmp", 50, 40, 0x00FFFFFF, kBlue, false));
  const SceneGeometry preview = {320, 240, 0, 0, 152, 112, 0, 0, 0, {}};
  std::vector<std::vector<uint32_t>> shown[2];
  for (int run = 0; run < 2; ++run) {
    if (run == 0) {
      LoadSettings(&store, preview);
    } else {
      ReleaseScene(&scene);
      LoadPackage(&store, preview);
    }
    ASSERT_EQ(scene.characterCount, 2);
    Surface* window = CreateSurface(nullptr, 152, 112);
    for (int paint = 0; paint < 12; ++paint) {
      PaintScene(&scene, window);
      const uint32_t* pixels = SoftSurfacePixels(window);
      shown[run].emplace_back(pixels, pixels + 152 * 112);
    }
    ReleaseSurface(window);
  }
  EXPECT_TRUE(shown[0] == shown[1]) << "the previews differ";
  size_t blue = 0;
  for (uint32_t p : shown[0][0]) blue += p == 0x00C80000;
  EXPECT_GT(blue, shown[0][0].size() / 3) << "the whole screen's colour, shrunk";
}

TEST_F(Playback, WhiteOutlineTouchingAMagentaCornerIsTransparentAsInThePlayer) {
  MapStore store;
  store.Set("Initial", "Crear", "1").Set("BackGround", "ColorG", "128");
  store.Set("Character", "A0", WriteFrame(folder_, "b0.bmp", 60, 40, kMagenta, kRed, true));
  store.Set("Speed", "AX", "0").Set("Speed", "AY", "0").Set("Speed", "AZ", "0");
  LoadSettings(&store);
  ASSERT_EQ(scene.characterCount, 1);
  const CharacterState& a = scene.characters[0];
  ASSERT_TRUE(a.frames[0].hasMask);
  MoveCharacters(&scene);
  ComposePicture(&scene);
  const uint32_t background = 0x00008000;
  // The outline at the top of the ring, the corner, the corner's white spot: all background.
  EXPECT_EQ(ReadSurfacePixel(scene.workBuffer, a.x + 30, a.y + 0), background);
  EXPECT_EQ(ReadSurfacePixel(scene.workBuffer, a.x, a.y), background);
  EXPECT_EQ(ReadSurfacePixel(scene.workBuffer, a.x + 3, a.y + 3), background);
  EXPECT_EQ(ReadSurfacePixel(scene.workBuffer, a.x + 30, a.y + 20), kRed);
}

TEST_F(Playback, EmptyStoreIsABlackScreenWithDefaultTimers) {
  MapStore store;
  LoadSettings(&store);
  EXPECT_EQ(scene.characterCount, 0);
  EXPECT_EQ(host.redrawPeriod, 50);
  EXPECT_EQ(host.framePeriod, 500);
  EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 160, 120), 0u);
  EXPECT_TRUE(files_.pictures.empty());
  EXPECT_TRUE(sound_.files.empty());
}

TEST_F(Playback, LeavesOutWhatThePackageLeavesOutAndSaysSoInTheSameWords) {
  MapStore store;
  const std::vector<ExpectedOutcome> expected = WriteLeftOutScene(folder_, &store);
  // Rate 0, a missing first or later frame, a damaged or foreign first file, a gap, a missing
  // wallpaper and an empty sound: the same characters, frames and pictures either way.
  const Pictures settings = PlayBothAlike(&store, 30);
  EXPECT_EQ(settings.frameCounts, (std::vector<int>{1, 1, 1, 1}));
  EXPECT_TRUE(SameOutcomes(heard_.heard, expected)) << "playing the settings";
  EXPECT_TRUE(SameOutcomes(built_.heard, expected)) << "building the saver";
  EXPECT_EQ(OutcomeLines("x", heard_.heard), OutcomeLines("x", built_.heard));
  EXPECT_TRUE(sound_.files.empty()) << "an empty wave is not played";
}

TEST_F(Playback, SoundPlaysFromItsFileAndStopsWithTheWindow) {
  MapStore store;
  store.Set("BackGround", "SoundOpt", "1").Set("BackGround", "Sound", "chord.wav");
  std::vector<uint8_t> wave(64, 0x80);
  std::memcpy(wave.data(), "RIFF\x38\x00\x00\x00WAVEfmt \x10\0\0\0\1\0\1\0\x40\x1f\0\0\x40\x1f\0\0\1\0\x08\0", 36);
  WriteFileBytes(folder_.Path("chord.wav"), wave);
  LoadSettings(&store);
  ASSERT_EQ(sound_.files, std::vector<std::string>{folder_.Path("chord.wav")}) << "found where the builder finds it";
  EXPECT_EQ(host.soundStarts, 0) << "nothing is played from memory";
  ReleaseScene(&scene);
  EXPECT_EQ(host.soundStops, 1);

  // A sound the players cannot play as it is plays from memory, as the wave the saver holds.
  store.Set("BackGround", "Sound", "chord.flac");
  WriteFileBytes(folder_.Path("chord.flac"), EncodeTone(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 8000, 800));
  LoadSettings(&store);
  EXPECT_TRUE(sound_.files.empty()) << "not handed to the system by name";
  ASSERT_EQ(host.soundStarts, 1);
  ASSERT_EQ(host.soundSize, 44 + 1600);
  WaveSound played;
  const char* why = nullptr;
  EXPECT_TRUE(ParseWave(host.soundData, static_cast<size_t>(host.soundSize), &played, &why)) << why;
  ReleaseScene(&scene);
  EXPECT_EQ(host.soundStops, 1);

  MapStore silent;
  silent.Set("BackGround", "SoundOpt", "1").Set("BackGround", "BmpOpt1", "1").Set("BackGround", "BmpOpt2", "1");
  LoadSettings(&silent);
  EXPECT_TRUE(sound_.files.empty()) << "a sound flag without a file plays nothing";
  EXPECT_TRUE(files_.pictures.empty()) << "a wallpaper flag without a file loads nothing";
  ReleaseScene(&scene);
  EXPECT_EQ(host.soundStops, 0);
}

// A PNG wallpaper is decoded once, as its rows are drawn: one cut past its first bands of rows is
// left out whole all the same, by the playback as by the builder, in the words of a picture
// refused at once (a large one without the note of its fitting), the rows drawn wiped again.
TEST_F(Playback, AWallpaperCutPastItsFirstRowsIsLeftOutWholeAsInThePackagedSaver) {
  LibraryPictureCodec codecs;
  OpenLibraryPictureCodec(&codecs);
  codecs_ = &codecs.base;
  const std::string wall = folder_.Path("wall.png");
  ASSERT_TRUE(WriteLargeWallpaper(wall, 7700, 300, false));
  std::vector<uint8_t> cut = ReadFileBytes(wall);
  cut.resize(cut.size() * 3 / 4);
  WriteFileBytes(wall, cut);
  const std::vector<std::string> said = {"x: wallpaper wall.png: left out: the file cannot be read (PNG file ends early)\n"};
  for (const char* stretched : {"1", "0"}) {
    MapStore store;
    store.Set("BackGround", "ColorG", "90").Set("BackGround", "BmpOpt1", "1").Set("BackGround", "Bmp", "wall.png");
    PlayBothAlike(&store.Set("BackGround", "BmpOpt2", stretched), 2);
    EXPECT_EQ(OutcomeLines("x", heard_.heard), said) << "playing the settings, stretched " << stretched;
    EXPECT_EQ(OutcomeLines("x", built_.heard), said) << "building the saver, stretched " << stretched;
    ScenePackageView view;
    PackageError error = {0, nullptr};
    EXPECT_TRUE(ReadScenePackage(package_.data() + kPlayerImageSize, package_.size() - kPlayerImageSize, &view, &error));
    EXPECT_EQ(view.background.wallpaper, 0) << "a whole package without the wallpaper";
    ReleaseScene(&scene);
  }
}

// A wallpaper still being decoded when the first picture is due: that picture shows the colour
// alone, the rest of the wallpaper comes between paints, and from the paint after its last band
// the pictures are those of a load that waited for it; one found damaged on the way leaves the
// colour, as the load that waited does.
TEST_F(Playback, AWallpaperThatComesAfterTheFirstPictureEndsAsTheLoadThatWaitedForIt) {
  LibraryPictureCodec codecs;
  OpenLibraryPictureCodec(&codecs);
  codecs_ = &codecs.base;
  ASSERT_TRUE(WriteLargeWallpaper(folder_.Path("wall.png"), 7700, 300, false));
  std::vector<uint8_t> cut = ReadFileBytes(folder_.Path("wall.png"));
  cut.resize(cut.size() * 3 / 4);
  WriteFileBytes(folder_.Path("cut.png"), cut);
  for (const char* wall : {"wall.png", "cut.png"}) {
    SCOPED_TRACE(wall);
    MapStore store;
    store.Set("BackGround", "ColorG", "90").Set("BackGround", "BmpOpt1", "1").Set("BackGround", "BmpOpt2", "1");
    store.Set("BackGround", "Bmp", wall).Set("Character", "A0", WriteFrame(folder_, "a0.bmp", 40, 30, 0x00FFFFFF, kRed, false));
    store.Set("Speed", "AX", "7").Set("Speed", "AY", "-5");
    LoadSettings(&store);
    const Pictures waited = Play(&scene, 3);
    ReleaseScene(&scene);

    LoadSettings(&store, kScreen, [](EngineHost*) { return true; });
    ASSERT_TRUE(WallpaperPending(&scene)) << "the first band was drawn before the host was asked";
    const Pictures first = Play(&scene, 1);
    int bands = 0;
    for (; WallpaperPending(&scene); ++bands) ContinueWallpaper(&scene);
    EXPECT_GT(bands, 1);
    const Pictures later = Play(&scene, 2);
    ASSERT_EQ(later.frames.size(), 2u);
    EXPECT_TRUE(later.frames[0] == waited.frames[1] && later.frames[1] == waited.frames[2]);
    // The colour alone under the character: its corner is no wallpaper.
    const uint32_t colour = first.frames[0].back();
    const size_t coloured = std::count(first.frames[0].begin(), first.frames[0].end(), colour);
    EXPECT_GT(coloured, first.frames[0].size() * 9 / 10);
    if (std::string(wall) == "wall.png") EXPECT_NE(first.frames[0], waited.frames[0]);
    ReleaseScene(&scene);
  }
}

// A sound decoded between paints, once the first picture was due, plays the wave of the load
// that waited for it; one still decoding goes with its load; a later load plays the kept one.
TEST_F(Playback, ASoundDecodedAfterTheFirstPictureIsTheWaveOfTheLoadThatWaitedForIt) {
  MapStore store;
  store.Set("BackGround", "SoundOpt", "1").Set("BackGround", "Sound", "long.flac");
  WriteFileBytes(folder_.Path("long.flac"), EncodeTone(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 8000, 100000));
  LoadSettings(&store);
  ASSERT_EQ(host.soundStarts, 1);
  const std::vector<uint8_t> waited(host.soundData, host.soundData + host.soundSize);
  ReleaseScene(&scene);

  bool (*due)(EngineHost*) = [](EngineHost*) { return true; };
  LoadSettings(&store, kScreen, due, true);
  ASSERT_TRUE(SoundPending(&scene));
  EXPECT_EQ(host.soundStarts, 0);
  int steps = 0;
  for (; SoundPending(&scene); ++steps) ContinueSound(&scene);
  EXPECT_GT(steps, 2);
  ASSERT_EQ(host.soundStarts, 1);
  EXPECT_TRUE(std::vector<uint8_t>(host.soundData, host.soundData + host.soundSize) == waited);
  ReleaseScene(&scene);
  EXPECT_EQ(host.soundStops, 1) << "stopped with the window, as any sound";

  LoadSettings(&store, kScreen, due, true);
  EXPECT_FALSE(SoundPending(&scene));
  EXPECT_EQ(host.soundStarts, 1);
  EXPECT_EQ(sound_.sinks.size(), 1u) << "decoded once";
  ReleaseScene(&scene);

  sound_.kept.clear();
  LoadSettings(&store, kScreen, due, true);
  ContinueSound(&scene);
  ReleaseScene(&scene);
  EXPECT_EQ(sound_.dropped, 1);
  EXPECT_EQ(host.soundStarts, 0);

  sound_.full = true;
  LoadSettings(&store, kScreen, due, true);
  while (SoundPending(&scene)) ContinueSound(&scene);
  EXPECT_EQ(host.soundStarts, 0);
  const std::vector<std::string> said = OutcomeLines("morvane-play", heard_.heard);
  ASSERT_EQ(said.size(), 1u);
  EXPECT_NE(said[0].find("No space left on device"), std::string::npos) << said[0];
}

}  // namespace
