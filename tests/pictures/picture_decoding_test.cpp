// The Linux decoders read every fixture as ImageMagick reads it, animated GIFs composed frame by
// frame; damaged and unsupported pictures of each format are refused with a reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <cstring>

#include "library_picture_codec.h"
#include "picture_frames.h"
#include "picture_test_support.h"
#include "wrapped_bitmap_picture.h"

namespace {

// ImageMagick's frames of the file as 8-bit RGBA, animations coalesced as a viewer shows them.
std::vector<uint8_t> ImageMagickRgba(const std::string& path) {
  std::string command = "convert '" + path + "' -coalesce -depth 8 rgba:- 2>/dev/null";
  std::vector<uint8_t> bytes;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  pclose(pipe);
  return bytes;
}

struct ReadCase {
  const char* file;
  size_t frames;
  int tolerance;  // largest channel difference allowed
};

// 16-bit samples: ImageMagick rounds to 8 bits where libpng (and WIC) keep the high byte; the
// CMYK conversion rounds its own way. Everything else must agree exactly.
const ReadCase kReadCases[] = {
    {"sprite-alpha.png", 1, 0}, {"ring-alpha.png", 1, 0}, {"palette-trns.png", 1, 0}, {"rgb-trns.png", 1, 0},
    {"gray16.png", 1, 1},       {"rgba16.png", 1, 1},     {"gray2.png", 1, 0},        {"interlaced.png", 1, 0},
    {"wallpaper.png", 1, 0},    {"photo.jpg", 1, 0},      {"gray.jpg", 1, 0},         {"progressive.jpg", 1, 0},
    {"cmyk.jpg", 1, 1},         {"still.gif", 1, 0},      {"animated.gif", 5, 0},     {"anim12.gif", 12, 0},
    {"disposals.gif", 9, 0},    {"interlace.gif", 6, 0},
};

TEST(PictureDecoding, EveryFixtureReadsAsImageMagickReadsIt) {
  for (const ReadCase& c : kReadCases) {
    SCOPED_TRACE(c.file);
    std::vector<uint8_t> bytes = FixtureBytes(c.file);
    DecodedPicture picture = DecodeWithLibraries(bytes);
    ASSERT_TRUE(picture.ok) << picture.why;
    ASSERT_EQ(picture.frames.size(), c.frames);
    std::vector<uint8_t> reference = ImageMagickRgba(PictureFixtures() + c.file);
    const size_t frameBytes = size_t(picture.width) * picture.height * 4;
    ASSERT_EQ(reference.size(), frameBytes * c.frames) << "ImageMagick's frames have another size";

    int largest = 0;
    size_t alphaDisagreements = 0;
    for (size_t f = 0; f < c.frames; ++f) {
      const uint8_t* ours = picture.frames[f].data();
      const uint8_t* theirs = reference.data() + f * frameBytes;
      for (size_t p = 0; p < frameBytes; p += 4) {
        // Alpha decides transparency on both sides; the hidden colour of a transparent pixel
        // is nobody's business.
        if ((ours[p + 3] < 128) != (theirs[p + 3] < 128)) ++alphaDisagreements;
        if (ours[p + 3] < 128) continue;
        for (int k = 0; k < 3; ++k) largest = std::max(largest, std::abs(int(ours[p + k]) - int(theirs[p + k])));
      }
    }
    EXPECT_EQ(alphaDisagreements, 0u);
    EXPECT_LE(largest, c.tolerance);
  }
}

// A still picture read row by row gives the rows of its whole frame, prepared as a wallpaper's
// (a transparent pixel takes the background colour); interlaced PNGs and GIFs are read whole,
// and a picture cut inside its pixels is damaged by the last row at the latest.
TEST(PictureDecoding, StillPicturesReadRowByRowGiveTheRowsOfTheirWholeFrame) {
  const PictureLook look = {false, 0x00123456, false};
  for (const ReadCase& c : kReadCases) {
    SCOPED_TRACE(c.file);
    const std::vector<uint8_t> bytes = FixtureBytes(c.file);
    const bool whole = std::string(c.file) == "interlaced.png" || std::string(c.file).find(".gif") != std::string::npos;
    DecodedPicture picture = DecodeWithLibraries(bytes);
    ASSERT_TRUE(picture.ok) << picture.why;
    std::vector<uint8_t> expected = picture.frames[0];
    PrepareTransparency(expected.data(), picture.width, picture.height, look);
    LibraryPictureCodec decoder;
    OpenLibraryPictureCodec(&decoder);
    PictureFrames frames;
    const char* why = nullptr;
    MemoryByteSource file(bytes.data(), bytes.size());
    ASSERT_TRUE(OpenPictureFrames(&frames, &decoder.base, file.Whole(), &why));
    EXPECT_EQ(BeginPictureRows(&frames), !whole);
    for (int pass = 0; pass < 2 && !whole; ++pass) {
      // The second pass starts again from the top.
      if (pass == 1) ASSERT_TRUE(RestartPictureRows(&frames, &why)) << why;
      std::vector<uint8_t> row(size_t(frames.width) * 4);
      size_t differing = 0;
      for (int32_t y = 0; y < frames.height; ++y) {
        ASSERT_EQ(NextPictureRow(&frames, look, row.data(), &why), PictureFrameReady) << "row " << y;
        for (size_t i = 0; i < row.size(); i += 4)
          differing += std::memcmp(&row[i], &expected[size_t(y) * row.size() + i], 3) != 0;
      }
      EXPECT_EQ(differing, 0u);
      EXPECT_EQ(NextPictureRow(&frames, look, row.data(), &why), PictureEnded);
    }
    ClosePictureFrames(&frames);
  }
  for (const char* name : {"wallpaper.png", "photo.jpg"}) {
    std::vector<uint8_t> bytes = FixtureBytes(name);
    bytes.resize(bytes.size() * 3 / 4);
    LibraryPictureCodec decoder;
    OpenLibraryPictureCodec(&decoder);
    PictureFrames frames;
    const char* why = nullptr;
    MemoryByteSource file(bytes.data(), bytes.size());
    ASSERT_TRUE(OpenPictureFrames(&frames, &decoder.base, file.Whole(), &why));
    ASSERT_TRUE(BeginPictureRows(&frames));
    std::vector<uint8_t> row(size_t(frames.width) * 4);
    PictureStep step = PictureFrameReady;
    for (int32_t y = 0; y < frames.height && step == PictureFrameReady; ++y)
      step = NextPictureRow(&frames, look, row.data(), &why);
    EXPECT_EQ(step, PictureDamaged) << name;
    ClosePictureFrames(&frames);
  }
}

TEST(PictureDecoding, BitmapsWrappingPngOrJpegDecodeAsTheirPicture) {
  const char* const cases[][2] = {{"wrapped-png.bmp", "sprite-alpha.png"}, {"wrapped-jpeg.bmp", "photo.jpg"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    std::vector<uint8_t> bytes = FixtureBytes(c[0]);
    WrappedPicture wrapped;
    const char* why = nullptr;
    MemoryByteSource file(bytes.data(), bytes.size());
    ASSERT_EQ(FindWrappedPicture(file.Whole(), &wrapped, &why), kWrapped);
    DecodedPicture outer = DecodeWithLibraries(bytes), inner = DecodeWithLibraries(FixtureBytes(c[1]));
    ASSERT_TRUE(outer.ok && inner.ok);
    EXPECT_EQ(outer.frames, inner.frames);
  }
}

// The codecs read a file forwards through one buffer: pieces of any size, across the buffer's
// ends, give the stretch's bytes in order and nothing past its end.
TEST(PictureDecoding, AStretchReadInPiecesGivesItsBytesInOrder) {
  std::vector<uint8_t> file(3 * kSourceReadBuffer);
  for (size_t i = 0; i < file.size(); ++i) file[i] = uint8_t(i * 131 + (i >> 9));
  MemoryByteSource source(file.data(), file.size());
  const SourceBytes stretch = {&source, 1000, 2 * kSourceReadBuffer + 77};
  SourceByteReader* reader = new SourceByteReader;
  StartSourceByteReader(reader, stretch);
  std::vector<uint8_t> read;
  const size_t sizes[] = {1, 7, 4096, kSourceReadBuffer + 3, 0};
  for (int i = 0; !SourceBytesEnded(*reader) && i < 100; ++i) {
    if (i % 5 == 4) {
      size_t count = 0;
      const uint8_t* bytes = TakeSourceBytes(reader, &count);
      read.insert(read.end(), bytes, bytes + count);
    } else {
      std::vector<uint8_t> piece(sizes[i % 5]);
      piece.resize(ReadSourceOn(reader, piece.data(), piece.size()));
      read.insert(read.end(), piece.begin(), piece.end());
    }
  }
  EXPECT_TRUE(read == std::vector<uint8_t>(file.begin() + 1000, file.begin() + 1000 + stretch.size));
  uint8_t past[4];
  size_t count = 1;
  EXPECT_EQ(ReadSourceOn(reader, past, sizeof past), 0u);
  EXPECT_NE(TakeSourceBytes(reader, &count), nullptr);
  EXPECT_EQ(count, 0u);
  delete reader;
}

// ---- Refusals ----

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void PutU32BE(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(value >> (24 - 8 * i));
}

// A PNG whose header chunk states another size, with its checksum made right again.
std::vector<uint8_t> PngSized(uint32_t width, uint32_t height) {
  std::vector<uint8_t> png = FixtureBytes("wallpaper.png");
  PutU32BE(png, 16, width);
  PutU32BE(png, 20, height);
  PutU32BE(png, 29, Crc32(&png[12], 17));
  return png;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t keep) {
  bytes.resize(keep);
  return bytes;
}

std::vector<uint8_t> Poked(std::vector<uint8_t> bytes, size_t at, uint8_t value) {
  bytes.at(at) = value;
  return bytes;
}

// The offset of the byte after a JPEG's frame marker (SOF0 or SOF2).
size_t FrameHeader(const std::vector<uint8_t>& jpeg) {
  for (size_t i = 2; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) return i + 1;
  ADD_FAILURE() << "no frame header";
  return 0;
}

std::vector<uint8_t> JpegWith(size_t offsetAfterMarker, uint8_t value) {
  std::vector<uint8_t> jpeg = FixtureBytes("photo.jpg");
  return Poked(jpeg, FrameHeader(jpeg) + offsetAfterMarker, value);
}

// A 2 x 2 GIF written by hand: screen, optional two-colour global table, one frame whose size
// can be chosen, four pixels of index 0, the trailer.
std::vector<uint8_t> HandGif(bool table, uint16_t frameWidth = 2, uint16_t frameHeight = 2, uint16_t screen = 2) {
  std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', uint8_t(screen), uint8_t(screen >> 8), uint8_t(screen),
                              uint8_t(screen >> 8), uint8_t(table ? 0x80 : 0), 0, 0};
  if (table) gif.insert(gif.end(), {0, 0, 0, 255, 255, 255});
  gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, uint8_t(frameWidth), uint8_t(frameWidth >> 8), uint8_t(frameHeight),
                         uint8_t(frameHeight >> 8), 0, 2, 3, 0x04, 0x80, 0x02, 0, 0x3B});
  return gif;
}

std::vector<uint8_t> WrappedWith(const std::string& file, size_t at, uint32_t value) {
  std::vector<uint8_t> bmp = FixtureBytes(file);
  for (int i = 0; i < 4; ++i) bmp[at + i] = uint8_t(value >> (8 * i));
  return bmp;
}

struct Refusal {
  const char* name;
  std::vector<uint8_t> bytes;
  const char* reason;  // a part of the reason given
};

// Empty when the whole picture decodes.
std::string RefusalOf(const std::vector<uint8_t>& bytes) {
  DecodedPicture picture = DecodeWithLibraries(bytes);
  return picture.ok ? "" : picture.why.empty() ? "<no reason>" : picture.why;
}

TEST(PictureDecoding, DamagedAndUnsupportedPicturesOfEveryFormatAreRefusedWithAReason) {
  std::vector<uint8_t> png = FixtureBytes("sprite-alpha.png");
  std::vector<uint8_t> jpeg = FixtureBytes("photo.jpg");
  std::vector<uint8_t> gif = FixtureBytes("animated.gif");
  const Refusal refusals[] = {
      {"PNG cut inside its header", Cut(png, 20), "PNG"},
      {"PNG cut inside its pixels", Cut(png, png.size() - 40), "PNG"},
      {"PNG header checksum wrong", Poked(png, 29, uint8_t(png[29] ^ 0x55)), "CRC"},
      {"PNG wider than the caps", PngSized(20000, 10), "16384"},
      {"PNG within the sides but over 256 MiB", PngSized(16384, 16384), "256 MiB"},
      {"PNG of width 0", PngSized(0, 10), "PNG"},
      {"JPEG cut in half", Cut(jpeg, jpeg.size() / 2), "JPEG"},
      {"JPEG of 12-bit precision", JpegWith(3, 12), "precision"},
      {"JPEG lossless process", Poked(jpeg, FrameHeader(jpeg), 0xC3), "JPEG"},
      {"JPEG taller than the caps", JpegWith(4, 0xFF), "16384"},
      {"JPEG without a frame", Cut(jpeg, 4), "JPEG"},
      {"GIF cut inside a frame", Cut(gif, gif.size() / 2), "GIF"},
      {"GIF without any colour table", HandGif(false), "colour table"},
      {"GIF frame beyond the caps", HandGif(true, 40000, 3), "16384"},
      {"GIF screen of no pixels", HandGif(true, 2, 2, 0), "no pixels"},
      {"GIF header cut short", Cut(gif, 9), "GIF"},
      {"bitmap whose PNG lies beyond the file", WrappedWith("wrapped-png.bmp", 10, 900000), "outside"},
      {"bitmap stating another size than its PNG", WrappedWith("wrapped-png.bmp", 18, 40), "another size"},
      {"bitmap saying PNG but holding JPEG", WrappedWith("wrapped-jpeg.bmp", 30, 5), "no PNG"},
      {"not a picture at all", std::vector<uint8_t>{'R', 'I', 'F', 'F', 0, 0, 0, 0}, "not a picture"},
  };
  for (const Refusal& r : refusals) {
    std::string reason = RefusalOf(r.bytes);
    EXPECT_NE(reason.find(r.reason), std::string::npos) << r.name << ": refused with \"" << reason << "\"";
  }
  // The hand-made GIF itself is sound once it has a table: the refusals above are for their faults.
  // A frame of no pixels is no fault either: it draws nothing.
  EXPECT_EQ(RefusalOf(HandGif(true)), "");
  EXPECT_EQ(RefusalOf(HandGif(true, 0, 2)), "");
}

TEST(PictureDecoding, WithoutADecoderPicturesAreRefusedAndSaySo) {
  std::vector<uint8_t> png = FixtureBytes("sprite-alpha.png");
  PictureFrames frames;
  const char* why = nullptr;
  MemoryByteSource file(png.data(), png.size());
  EXPECT_FALSE(OpenPictureFrames(&frames, nullptr, file.Whole(), &why));
  EXPECT_NE(std::string(why).find("no decoder"), std::string::npos);
  ClosePictureFrames(&frames);
}

}  // namespace
