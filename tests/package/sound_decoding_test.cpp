#include "sound_decoding.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "byte_order.h"
#include "library_sound_codec.h"
#include "sound_fixtures.h"
#include "sound_length.h"
#include "wave_format.h"

namespace {

std::vector<uint8_t> WaveHead(uint16_t code, uint32_t formatLength = 16, uint16_t subCode = 0) {
  std::vector<uint8_t> head = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                               static_cast<uint8_t>(formatLength), 0, 0, 0};
  head.resize(20 + formatLength);
  head[20] = static_cast<uint8_t>(code);
  head[21] = static_cast<uint8_t>(code >> 8);
  if (formatLength >= 40) {
    head[20 + 24] = static_cast<uint8_t>(subCode);
    head[20 + 25] = static_cast<uint8_t>(subCode >> 8);
  }
  for (char c : std::string("data\4\0\0\0\1\2\3\4")) head.push_back(static_cast<uint8_t>(c));
  return head;
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

TEST(SoundFormat, FirstBytesTellWhatIsStoredAsItIsAndWhatIsDecoded) {
  struct Case {
    const char* name;
    std::vector<uint8_t> head;
    SoundFormat format;
  } cases[] = {
      {"PCM wave", WaveHead(1), SoundPlayableWave},
      {"float wave", WaveHead(3), SoundPlayableWave},
      {"A-law wave", WaveHead(6), SoundPlayableWave},
      {"mu-law wave", WaveHead(7), SoundPlayableWave},
      {"extensible PCM", WaveHead(0xFFFE, 40, 1), SoundPlayableWave},
      {"MS ADPCM wave", WaveHead(2), SoundCompressedWave},
      {"IMA ADPCM wave", WaveHead(0x11), SoundCompressedWave},
      {"MP3 in a wave", WaveHead(0x55), SoundCompressedWave},
      {"extensible ADPCM", WaveHead(0xFFFE, 40, 2), SoundCompressedWave},
      {"extensible header cut short", WaveHead(0xFFFE, 18), SoundCompressedWave},
      {"wave without a format chunk", Bytes(std::string("RIFF\0\0\0\0WAVEdata\0\0\0\0", 20)), SoundCompressedWave},
      {"Ogg", Bytes("OggS\0\2"), SoundOgg},
      {"FLAC", Bytes("fLaC\0\0\0\x22"), SoundFlac},
      {"MP3 with a tag", Bytes("ID3\4\0\0\0\0\0\0"), SoundMp3},
      {"MP3 frame", {0xFF, 0xFB, 0x90, 0x64}, SoundMp3},
      {"sync with a bad bit rate", {0xFF, 0xFB, 0xF0, 0x64}, SoundUnknown},
      {"sync with no layer", {0xFF, 0xF9, 0x90, 0x64}, SoundUnknown},
      {"RIFF of another kind", Bytes("RIFF\0\0\0\0AVI LIST"), SoundUnknown},
      {"text", Bytes("hello, world"), SoundUnknown},
      {"nothing", {}, SoundUnknown},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SniffSoundFormat(c.head.data(), c.head.size()), c.format) << c.name;
}

double Rms(const int16_t* samples, size_t count) {
  double sum = 0;
  for (size_t i = 0; i < count; ++i) sum += static_cast<double>(samples[i]) * samples[i];
  return std::sqrt(sum / static_cast<double>(count));
}

TEST(SoundDecoding, EachFormatGivesAPcmWaveOfItsSoundThatThePlayersTake) {
  struct Case {
    const char* name;
    int format;
    int channels, rate;
    SoundFormat sniffed;
    double maxErrorShare;  // of the tone's own level; 0: every sample as encoded
  } cases[] = {
      {"MS ADPCM wave", SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 2, 22050, SoundCompressedWave, 0.05},
      {"IMA ADPCM wave", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 1, 22050, SoundCompressedWave, 0.05},
      {"GSM 6.10 wave", SF_FORMAT_WAV | SF_FORMAT_GSM610, 1, 8000, SoundCompressedWave, 0.5},
      {"MP3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 2, 44100, SoundMp3, 0.1},
      {"Ogg Vorbis", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 44100, SoundOgg, 0.1},
      {"FLAC", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 48000, SoundFlac, 0},
  };
  LibrarySoundCodec codec;
  OpenLibrarySoundCodec(&codec);
  for (const Case& c : cases) {
    const int frames = c.rate;
    const std::vector<uint8_t> file = EncodeTone(c.format, c.channels, c.rate, frames);
    ASSERT_FALSE(file.empty()) << c.name << ": libsndfile cannot write it";
    ASSERT_EQ(SniffSoundFormat(file.data(), file.size()), c.sniffed) << c.name;
    MemoryByteSource source(file.data(), file.size());
    DecodedWave wave;
    const char* why = nullptr;
    ASSERT_EQ(DecodeToWave(&codec.base, c.sniffed, source.Whole(), 1u << 28, &wave, &why), SoundDecoded)
        << c.name << ": " << (why ? why : "");
    WaveSound sound;
    ASSERT_TRUE(ParseWave(wave.bytes, wave.size, &sound, &why)) << c.name << ": " << why;
    EXPECT_EQ(sound.format, WaveS16) << c.name;
    EXPECT_EQ(sound.channels, c.channels) << c.name;
    EXPECT_EQ(sound.rate, static_cast<uint32_t>(c.rate)) << c.name;
    EXPECT_EQ(sound.data + sound.size, wave.bytes + wave.size) << c.name << ": the wave is its header and samples";
    const size_t decodedFrames = sound.size / sound.frameBytes;
    // Block codecs pad their last block; nothing may go missing.
    EXPECT_GE(decodedFrames, static_cast<size_t>(frames)) << c.name;
    EXPECT_LE(decodedFrames, static_cast<size_t>(frames) + 2048) << c.name;
    const std::vector<int16_t> tone = ToneSamples(c.channels, c.rate, frames);
    std::vector<int16_t> decoded(tone.size()), error(tone.size());
    for (size_t i = 0; i < tone.size(); ++i) {
      decoded[i] = static_cast<int16_t>(ReadU16LE(sound.data + 2 * i));
      error[i] = static_cast<int16_t>(decoded[i] - tone[i]);
    }
    if (c.maxErrorShare == 0) {
      EXPECT_EQ(decoded, tone) << c.name;
    } else {
      // Lossy codecs blur the first and last of their blocks; the middle must be the tone, in place.
      const size_t from = tone.size() / 10, count = tone.size() * 8 / 10;
      EXPECT_LT(Rms(error.data() + from, count), c.maxErrorShare * Rms(tone.data() + from, count)) << c.name;
    }
    ReleaseDecodedWave(&wave);
  }
}

TEST(SoundDecoding, AWaveOverTheLimitIsRefusedAndNothingIsHeld) {
  LibrarySoundCodec codec;
  OpenLibrarySoundCodec(&codec);
  const std::vector<uint8_t> file = EncodeTone(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 8000, 8000);
  MemoryByteSource source(file.data(), file.size());
  const size_t whole = 44 + 8000 * 4;
  struct Case {
    uint64_t limit;
    SoundDecoding outcome;
  } cases[] = {{whole, SoundDecoded}, {whole - 1, SoundTooLong}, {44, SoundTooLong}, {0, SoundTooLong}};
  for (const Case& c : cases) {
    DecodedWave wave;
    const char* why = nullptr;
    EXPECT_EQ(DecodeToWave(&codec.base, SoundFlac, source.Whole(), c.limit, &wave, &why), c.outcome)
        << c.limit;
    EXPECT_EQ(wave.size, c.outcome == SoundDecoded ? whole : 0u) << c.limit;
    EXPECT_EQ(wave.bytes != nullptr, c.outcome == SoundDecoded) << c.limit;
    ReleaseDecodedWave(&wave);
  }
  DecodedWave wave;
  const char* why = nullptr;
  EXPECT_EQ(DecodeToWave(nullptr, SoundFlac, source.Whole(), 1u << 20, &wave, &why), SoundNoDecoder);
  EXPECT_NE(why, nullptr);
}

// A file that gives at most a reader's buffer at a time, as a long file read where it lies does,
// and counts what is asked of it.
class PieceByteSource : public ByteSource {
 public:
  explicit PieceByteSource(const std::vector<uint8_t>& file)
      : ByteSource{ReadAt}, file_(file.data(), file.size()), size_(file.size()) {}
  SourceBytes Whole() { return SourceBytes{this, 0, size_}; }
  uint64_t read = 0;

 private:
  static size_t ReadAt(ByteSource* source, uint64_t offset, void* data, size_t size) {
    PieceByteSource* self = static_cast<PieceByteSource*>(source);
    EXPECT_LE(size, kSourceReadBuffer) << "read whole at " << offset;
    if (size > kSourceReadBuffer) return 0;
    self->read += size;
    return self->file_.readAt(&self->file_, offset, data, size);
  }

  MemoryByteSource file_;
  size_t size_;
};

TEST(SoundDecoding, DecodersReadTheFileInPiecesIntoTheSameWave) {
  struct Case {
    const char* name;
    int format;
    SoundFormat sniffed;
  } cases[] = {
      {"MP3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, SoundMp3},
      {"FLAC", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, SoundFlac},
      {"IMA ADPCM wave", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, SoundCompressedWave},
  };
  LibrarySoundCodec codec;
  OpenLibrarySoundCodec(&codec);
  for (const Case& c : cases) {
    const std::vector<uint8_t> file = EncodeTone(c.format, 2, 22050, 10 * 22050);
    ASSERT_GT(file.size(), 2 * kSourceReadBuffer) << c.name << ": too short to need more than one read";
    MemoryByteSource whole(file.data(), file.size());
    PieceByteSource pieces(file);
    DecodedWave fromMemory, fromPieces;
    const char* why = nullptr;
    ASSERT_EQ(DecodeToWave(&codec.base, c.sniffed, whole.Whole(), 1u << 28, &fromMemory, &why), SoundDecoded) << c.name;
    ASSERT_EQ(DecodeToWave(&codec.base, c.sniffed, pieces.Whole(), 1u << 28, &fromPieces, &why), SoundDecoded) << c.name;
    EXPECT_TRUE(fromPieces.size == fromMemory.size && std::memcmp(fromPieces.bytes, fromMemory.bytes, fromMemory.size) == 0)
        << c.name;
    ReleaseDecodedWave(&fromMemory);
    ReleaseDecodedWave(&fromPieces);
    if (c.sniffed != SoundMp3) continue;
    // A tag of a megabyte before the first frame is passed over, not read, for its Xing count.
    std::vector<uint8_t> tagged = {'I', 'D', '3', 4, 0, 0, 0x00, 0x40, 0x00, 0x00};
    tagged.resize(10 + (1u << 20));
    tagged.insert(tagged.end(), file.begin(), file.end());
    PieceByteSource tag(tagged);
    EXPECT_EQ(AnnouncedSoundFrames(SoundMp3, tag.Whole()), AnnouncedSoundFrames(SoundMp3, whole.Whole()));
    EXPECT_NE(AnnouncedSoundFrames(SoundMp3, whole.Whole()), 0u);
    EXPECT_LT(tag.read, 200u);
  }
}

}  // namespace
