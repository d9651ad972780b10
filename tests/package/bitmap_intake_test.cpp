#include "bitmap_intake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "build_test_support.h"
#include "byte_order.h"
#include "dib_image.h"

namespace {

std::vector<uint8_t> Fixture(const std::string& name) {
  std::vector<uint8_t> bytes = ReadFileBytes(std::string(MORVANE_BITMAP_FIXTURES) + "/" + name);
  EXPECT_FALSE(bytes.empty()) << name;
  return bytes;
}

// The file through the intake; a refusal fails the test with its reason.
bool Take(const std::vector<uint8_t>& file, BitmapRecord* record) {
  MemoryByteSource source(file.data(), file.size());
  const char* why = nullptr;
  if (IntakeBitmap(&source, record, &why)) return true;
  ADD_FAILURE() << "refused: " << why;
  return false;
}

// Pixels of a record as 8-bit RGB triples, top row first: the form of the tool's raw output.
std::vector<uint8_t> RecordRgb(const BitmapRecord& record) {
  std::vector<uint8_t> header(record.infoHeader, record.infoHeader + 40);
  header.insert(header.end(), record.colours, record.colours + 4 * record.colourCount);
  DibPixels pixels;
  const char* why = nullptr;
  std::vector<uint8_t> rgb;
  if (!DecodeDib(header.data(), header.size(), record.bits, record.bitsSize, &pixels, &why)) {
    ADD_FAILURE() << why;
    return rgb;
  }
  for (int32_t i = 0; i < pixels.width * pixels.height; ++i) {
    rgb.push_back(static_cast<uint8_t>(pixels.pixels[i]));
    rgb.push_back(static_cast<uint8_t>(pixels.pixels[i] >> 8));
    rgb.push_back(static_cast<uint8_t>(pixels.pixels[i] >> 16));
  }
  ReleaseDibPixels(&pixels);
  return rgb;
}

// Variants no common tool writes on request, derived from the tool's files byte by byte.
std::vector<uint8_t> TopDown(std::vector<uint8_t> file) {
  uint32_t offset = ReadU32LE(&file[10]);
  int32_t height = ReadI32LE(&file[22]);
  size_t stride = (file.size() - offset) / static_cast<size_t>(height);
  for (int32_t row = 0; row < height / 2; ++row)
    std::swap_ranges(file.begin() + offset + row * stride, file.begin() + offset + (row + 1) * stride,
                     file.begin() + offset + (height - 1 - row) * stride);
  WriteU32LE(&file[22], static_cast<uint32_t>(-height));
  return file;
}

std::vector<uint8_t> WithoutImageSize(std::vector<uint8_t> file) {
  WriteU32LE(&file[34], 0);
  return file;
}

std::vector<uint8_t> WithGapBeforePixels(std::vector<uint8_t> file) {
  uint32_t offset = ReadU32LE(&file[10]);
  file.insert(file.begin() + offset, 10, 0xEE);
  WriteU32LE(&file[10], offset + 10);
  return file;
}

// Fewer colours stored than the header implies, told only by the pixel offset.
std::vector<uint8_t> WithShortTable(std::vector<uint8_t> file, uint32_t entries) {
  uint32_t offset = ReadU32LE(&file[10]);
  uint32_t tableStart = 14 + ReadU32LE(&file[14]);
  file.erase(file.begin() + tableStart + 4 * entries, file.begin() + offset);
  WriteU32LE(&file[10], tableStart + 4 * entries);
  WriteU32LE(&file[46], 0);
  return file;
}

// A 124-byte header cut to a shorter form of the same family; bit-field masks move behind a
// 40-byte header, where that form keeps them.
std::vector<uint8_t> WithInfoSize(std::vector<uint8_t> file, uint32_t size) {
  uint32_t old = ReadU32LE(&file[14]);
  uint32_t kept = size == 40 && ReadU32LE(&file[30]) == 3 ? 52 : size;
  file.erase(file.begin() + 14 + kept, file.begin() + 14 + old);
  WriteU32LE(&file[14], size);
  WriteU32LE(&file[10], ReadU32LE(&file[10]) - (old - kept));
  return file;
}

// The header stretched to OS/2's 64-byte form: the same first 40 bytes, 24 more after them.
std::vector<uint8_t> WithOs2Header(std::vector<uint8_t> file) {
  file.insert(file.begin() + 14 + 40, 24, 0);
  WriteU32LE(&file[14], 64);
  WriteU32LE(&file[10], ReadU32LE(&file[10]) + 24);
  WriteU32LE(&file[2], static_cast<uint32_t>(file.size()));
  return file;
}

// A 4 x 2 RLE8 picture with four colours and the given run-length data.
std::vector<uint8_t> Rle8(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> file = MakeBmp(4, 2, 8, 4, 4, 0);
  file.resize(14 + 40 + 16);
  file.insert(file.end(), data.begin(), data.end());
  WriteU32LE(&file[2], static_cast<uint32_t>(file.size()));
  WriteU32LE(&file[30], 1);
  WriteU32LE(&file[34], static_cast<uint32_t>(data.size()));
  return file;
}

// A file's pixels as the software decoder draws them from its own headers: what a damaged
// picture looked like before the intake put it right.
std::vector<uint8_t> FileRgb(const std::vector<uint8_t>& file) {
  uint32_t offset = ReadU32LE(&file[10]);
  BitmapRecord asStored = {};
  std::memcpy(asStored.infoHeader, &file[14], 40);
  asStored.colourCount = (offset - 54) / 4;
  std::memcpy(asStored.colours, &file[54], 4 * asStored.colourCount);
  asStored.bits = const_cast<uint8_t*>(&file[offset]);
  asStored.bitsSize = static_cast<uint32_t>(file.size() - offset);
  return RecordRgb(asStored);
}

struct IntakeCase {
  std::string name;
  std::vector<uint8_t> file;
  std::string reference;  // the .rgb the tool read from the file this one came from
};

TEST(BitmapIntake, EveryAcceptedFormDecodesLikeTheToolReadsIt) {
  std::vector<IntakeCase> cases;
  for (const char* name : {"rgb24", "rgb24-v5", "rgb24-core", "pal8", "pal8-rle", "pal4", "pal1", "bits565",
                           "bits555", "bits8888"})
    cases.push_back({name, Fixture(std::string(name) + ".bmp"), name});
  cases.push_back({"rgb24 top-down", TopDown(Fixture("rgb24.bmp")), "rgb24"});
  cases.push_back({"pal8 top-down", TopDown(Fixture("pal8.bmp")), "pal8"});
  cases.push_back({"pal1 top-down", TopDown(Fixture("pal1.bmp")), "pal1"});
  cases.push_back({"rgb24 biSizeImage 0", WithoutImageSize(Fixture("rgb24.bmp")), "rgb24"});
  cases.push_back({"pal4 gap before pixels", WithGapBeforePixels(Fixture("pal4.bmp")), "pal4"});
  cases.push_back({"pal8 table shorter than 256", WithShortTable(Fixture("pal8.bmp"), 200), "pal8"});
  for (uint32_t size : {40u, 52u, 56u, 108u}) {
    std::string form = " with " + std::to_string(size) + "-byte header";
    cases.push_back({"rgb24" + form, WithInfoSize(Fixture("rgb24-v5.bmp"), size), "rgb24-v5"});
    cases.push_back({"bits565" + form, WithInfoSize(Fixture("bits565.bmp"), size), "bits565"});
  }
  cases.push_back({"bits565 top-down", TopDown(Fixture("bits565.bmp")), "bits565"});
  for (const char* name : {"rgb24", "pal4", "pal8-rle"})
    cases.push_back({std::string(name) + " with OS/2 64-byte header", WithOs2Header(Fixture(std::string(name) + ".bmp")),
                     name});

  for (const IntakeCase& c : cases) {
    BitmapRecord record;
    ASSERT_TRUE(Take(c.file, &record)) << c.name;
    EXPECT_EQ(ReadU32LE(record.infoHeader), 40u) << c.name;
    EXPECT_GT(ReadI32LE(record.infoHeader + 8), 0) << c.name;
    uint32_t compression = ReadU32LE(record.infoHeader + 16);
    EXPECT_TRUE(compression <= 2) << c.name;
    EXPECT_EQ(record.colourCount, DibColourCount(ReadU32LE(record.infoHeader + 32), ReadU16LE(record.infoHeader + 14)))
        << c.name;
    EXPECT_EQ(ReadU32LE(record.infoHeader + 20), record.bitsSize) << c.name;
    EXPECT_EQ(record.missingBits, 0u) << c.name;
    EXPECT_EQ(RecordRgb(record), Fixture(c.reference + ".rgb")) << c.name;
    ReleaseBitmapRecord(&record);
  }
}

TEST(BitmapIntake, PlainFilesPassUnchanged) {
  for (const char* name : {"rgb24", "pal8", "pal8-rle", "pal4", "pal1"}) {
    std::vector<uint8_t> file = Fixture(std::string(name) + ".bmp");
    BitmapRecord record;
    ASSERT_TRUE(Take(file, &record)) << name;
    std::vector<uint8_t> parts(record.infoHeader, record.infoHeader + 40);
    parts.insert(parts.end(), record.colours, record.colours + 4 * record.colourCount);
    parts.insert(parts.end(), record.bits, record.bits + record.bitsSize);
    EXPECT_EQ(parts, std::vector<uint8_t>(file.begin() + 14, file.end())) << name;
    ReleaseBitmapRecord(&record);
  }
}

TEST(BitmapIntake, RefusesWhatNoRecordShouldHold) {
  std::vector<uint8_t> rgb24 = Fixture("rgb24.bmp");
  auto patched = [&](size_t offset, uint32_t value) {
    std::vector<uint8_t> file = rgb24;
    WriteU32LE(&file[offset], value);
    return file;
  };
  std::vector<uint8_t> rleTopDown = Fixture("pal8-rle.bmp");
  WriteU32LE(&rleTopDown[22], static_cast<uint32_t>(-7));
  std::vector<uint8_t> rleWithoutSize = WithoutImageSize(Fixture("pal8-rle.bmp"));
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    const char* reason;
  } cases[] = {
      {"empty", {}, "not a bitmap"},
      {"png", Fixture("source.png"), "not a bitmap"},
      {"OS/2 Huffman", [&] { auto f = patched(14, 64); WriteU32LE(&f[30], 3); WriteU16LE(&f[28], 1); return f; }(),
       "Huffman"},
      {"OS/2 RLE24", [&] { auto f = patched(14, 64); WriteU32LE(&f[30], 4); return f; }(), "RLE24"},
      {"unknown header form", patched(14, 48), "info header size"},
      {"jpeg inside", patched(30, 4), "compression"},
      {"too wide", patched(18, 16385), "16384"},
      {"too tall", patched(22, 16385), "16384"},
      {"over 256 MiB", [&] { auto f = patched(18, 16384); WriteU32LE(&f[22], 16384); return f; }(), "256 MiB"},
      {"no width", patched(18, 0), "no pixels"},
      {"three bits", [&] { auto f = rgb24; WriteU16LE(&f[28], 3); return f; }(), "bits per pixel"},
      {"top-down RLE", rleTopDown, "top-down"},
      {"RLE without size", rleWithoutSize, "biSizeImage"},
  };
  for (const Case& c : cases) {
    MemoryByteSource source(c.file.data(), c.file.size());
    BitmapRecord record;
    const char* why = nullptr;
    EXPECT_FALSE(IntakeBitmap(&source, &record, &why)) << c.name;
    ASSERT_NE(why, nullptr) << c.name;
    EXPECT_NE(std::string(why).find(c.reason), std::string::npos) << c.name << ": " << why;
    EXPECT_EQ(record.bits, nullptr) << c.name;
  }
}

TEST(BitmapIntake, CutFilesAreRefusedInTheirHeadersAndPaddedInTheirPixels) {
  std::vector<uint8_t> file = Fixture("pal8.bmp");
  uint32_t pixelsStart = ReadU32LE(&file[10]);
  for (size_t size = 0; size < file.size(); ++size) {
    std::vector<uint8_t> cut(file.begin(), file.begin() + size);
    MemoryByteSource source(cut.data(), cut.size());
    BitmapRecord record;
    const char* why = nullptr;
    bool accepted = IntakeBitmap(&source, &record, &why);
    EXPECT_EQ(accepted, size >= pixelsStart) << size;
    if (accepted) {
      EXPECT_EQ(record.missingBits, file.size() - size) << size;
      EXPECT_TRUE(std::all_of(record.bits + (size - pixelsStart), record.bits + record.bitsSize,
                              [](uint8_t b) { return b == 0; }));
    }
    ReleaseBitmapRecord(&record);
  }
}

TEST(BitmapIntake, EveryRepairIsNamedAndTheRecordDrawsWhatTheFileDid) {
  const std::vector<uint8_t> pal8 = Fixture("pal8.bmp"), rgb24 = Fixture("rgb24.bmp");
  auto patched = [](std::vector<uint8_t> file, size_t offset, uint32_t value, bool wide = true) {
    if (wide) WriteU32LE(&file[offset], value);
    else WriteU16LE(&file[offset], static_cast<uint16_t>(value));
    return file;
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    uint32_t repairs;
  } cases[] = {
      {"planes 0", patched(pal8, 26, 0, false), RepairPlanes},
      {"planes 3", patched(rgb24, 26, 3, false), RepairPlanes},
      {"file size too large", patched(rgb24, 2, static_cast<uint32_t>(rgb24.size() + 7)), RepairFileSize},
      {"file size too small", patched(rgb24, 2, static_cast<uint32_t>(rgb24.size() - 7)), RepairFileSize},
      {"colour count above 256", patched(pal8, 46, 300), RepairPaletteSize},
      {"high-colour table that is not there", patched(rgb24, 46, 5), RepairPaletteSize},
      {"image size wrong", patched(rgb24, 34, 1), RepairImageSize},
      {"indexes past the table", patched(pal8, 46, 2), RepairIndexesPastTable},
      {"runs past the edge", Rle8({6, 1, 0, 0, 4, 2, 0, 1}), RepairRunsPastEdge},
      {"moves past the edge", Rle8({0, 2, 9, 0, 4, 2, 0, 1}), RepairRunsPastEdge},
      {"runs past the last row", Rle8({4, 1, 0, 0, 4, 2, 0, 0, 4, 3, 0, 1}), RepairRunsPastEnd},
      {"no end mark", Rle8({4, 1, 0, 0, 4, 2}), RepairRunsCutShort},
      {"absolute run cut", Rle8({4, 1, 0, 0, 0, 4, 1, 2}), RepairRunsCutShort},
  };
  for (const Case& c : cases) {
    BitmapRecord record;
    ASSERT_TRUE(Take(c.file, &record)) << c.name;
    EXPECT_EQ(record.repairs, c.repairs) << c.name;
    EXPECT_STRNE(BitmapRepairText(c.repairs), "repaired") << c.name;
    // Normalised: one plane, sizes that agree, a form every reader draws the same.
    EXPECT_EQ(ReadU16LE(record.infoHeader + 12), 1) << c.name;
    EXPECT_EQ(ReadU32LE(record.infoHeader + 20), record.bitsSize) << c.name;
    EXPECT_EQ(record.colourCount, DibColourCount(ReadU32LE(record.infoHeader + 32), ReadU16LE(record.infoHeader + 14)))
        << c.name;
    if (c.repairs & (RepairRunsPastEdge | RepairRunsPastEnd | RepairRunsCutShort)) {
      EXPECT_EQ(ReadU32LE(record.infoHeader + 16), 0u) << c.name << ": stored uncompressed";
    }
    EXPECT_EQ(RecordRgb(record), FileRgb(c.file)) << c.name;
    ReleaseBitmapRecord(&record);
  }

  // The files that tools write, and OS/2's second header form, need nothing put right.
  std::vector<std::vector<uint8_t>> untouched;
  for (const char* name : {"rgb24", "rgb24-v5", "rgb24-core", "pal8", "pal8-rle", "pal4", "pal1", "bits565"})
    untouched.push_back(Fixture(std::string(name) + ".bmp"));
  for (const char* name : {"rgb24", "pal4", "pal8-rle"})
    untouched.push_back(WithOs2Header(Fixture(std::string(name) + ".bmp")));
  for (size_t i = 0; i < untouched.size(); ++i) {
    BitmapRecord record;
    ASSERT_TRUE(Take(untouched[i], &record)) << "file " << i;
    EXPECT_EQ(record.repairs, 0u) << "file " << i;
    ReleaseBitmapRecord(&record);
  }
}

TEST(BitmapIntake, TakesTwoBitPalettes) {
  // 5 x 2 pixels at two bits, bottom row first: 0 1 2 3 0 and 3 2 1 0 3, in four colours.
  std::vector<uint8_t> file = MakeBmp(5, 2, 2, 0, 4, 0);
  const uint8_t colours[4][3] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};  // red, green, blue
  for (int k = 0; k < 4; ++k)
    for (int c = 0; c < 3; ++c) file[54 + 4 * k + c] = colours[k][2 - c];
  const uint8_t rows[8] = {0x1B, 0x00, 0, 0, 0xE4, 0xC0, 0, 0};  // 00 01 10 11 | 00 ; 11 10 01 00 | 11
  std::memcpy(&file[70], rows, 8);
  BitmapRecord record;
  ASSERT_TRUE(Take(file, &record));
  EXPECT_EQ(ReadU16LE(record.infoHeader + 14), 4);
  EXPECT_EQ(record.colourCount, 4u);
  const int top[5] = {3, 2, 1, 0, 3}, bottom[5] = {0, 1, 2, 3, 0};
  std::vector<uint8_t> expected;
  for (const int* row : {top, bottom})
    for (int x = 0; x < 5; ++x) expected.insert(expected.end(), colours[row[x]], colours[row[x]] + 3);
  EXPECT_EQ(RecordRgb(record), expected);
  ReleaseBitmapRecord(&record);
}

}  // namespace
