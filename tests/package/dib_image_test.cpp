#include "dib_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "byte_order.h"

namespace {

// A packed BITMAPINFO (40-byte header, then masks or colour table) made field by field.
std::vector<uint8_t> InfoHeader(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression,
                                uint32_t clrUsed, const std::vector<uint32_t>& after = {}) {
  std::vector<uint8_t> h(40 + 4 * after.size(), 0);
  WriteU32LE(&h[0], 40);
  WriteU32LE(&h[4], static_cast<uint32_t>(width));
  WriteU32LE(&h[8], static_cast<uint32_t>(height));
  WriteU16LE(&h[12], 1);
  WriteU16LE(&h[14], bitCount);
  WriteU32LE(&h[16], compression);
  WriteU32LE(&h[32], clrUsed);
  for (size_t i = 0; i < after.size(); ++i) WriteU32LE(&h[40 + 4 * i], after[i]);
  return h;
}

// RGBQUAD entries are stored blue, green, red, reserved: 0x00RRGGBB read little-endian.
const uint32_t kRedQuad = 0x00FF0000, kGreenQuad = 0x0000FF00, kBlueQuad = 0x000000FF;
const uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kBlack = 0, kWhite = 0xFFFFFF;

struct DecodeCase {
  const char* name;
  std::vector<uint8_t> header;
  std::vector<uint8_t> bits;
  int32_t width, height;
  std::vector<uint32_t> pixels;  // top row first
};

class DecodeDibCases : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeDibCases, DecodesToExpectedPixels) {
  const DecodeCase& c = GetParam();
  DibPixels image;
  const char* why = nullptr;
  ASSERT_TRUE(DecodeDib(c.header.data(), c.header.size(), c.bits.data(), c.bits.size(), &image, &why))
      << c.name << ": " << (why ? why : "");
  EXPECT_EQ(image.width, c.width);
  EXPECT_EQ(image.height, c.height);
  std::vector<uint32_t> got(image.pixels, image.pixels + image.width * image.height);
  EXPECT_EQ(got, c.pixels) << c.name;
  ReleaseDibPixels(&image);
  EXPECT_EQ(image.pixels, nullptr);
}

// The ImageMagick fixtures cover the common forms; these are the ones no tool writes on request.
INSTANTIATE_TEST_SUITE_P(
    Depths, DecodeDibCases,
    ::testing::Values(
        // Index 5 lies beyond a table of 2 entries: black, not a read past the table.
        DecodeCase{"8bit short table", InfoHeader(2, 1, 8, 0, 2, {kRedQuad, kGreenQuad}),
                   {1, 5, 0, 0}, 2, 1, {kGreen, kBlack}},
        DecodeCase{"32bit rgb ignores top byte", InfoHeader(1, 1, 32, 0, 0), {0x10, 0x20, 0x30, 0xFF},
                   1, 1, {0x102030}},
        // RLE8: a run, end of line, an absolute run of 3 (padded), a delta, end of bitmap.
        DecodeCase{"rle8", InfoHeader(4, 3, 8, 1, 2, {kRedQuad, 0x00FFFFFF}),
                   {2, 1, 0, 0, 0, 3, 0, 1, 0, 0, 0, 2, 0, 1, 1, 1, 0, 1},
                   4, 3,
                   {kBlack, kBlack, kBlack, kWhite,
                    kRed, kWhite, kRed, kBlack,
                    kWhite, kWhite, kBlack, kBlack}},
        // RLE4: a run alternates its two nibbles; an absolute run of 3 nibbles takes 2 bytes + pad.
        DecodeCase{"rle4", InfoHeader(6, 1, 4, 2, 2, {kRedQuad, kBlueQuad}),
                   {3, 0x01, 0, 3, 0x10, 0x10, 0, 1},
                   6, 1, {kRed, kBlue, kRed, kBlue, kRed, kBlue}}));

TEST(DecodeDib, RunLengthDamageIsClippedNotFollowed) {
  // Runs longer than the row, a delta beyond the image and data without an end mark.
  std::vector<uint8_t> header = InfoHeader(2, 2, 8, 1, 1, {kRedQuad});
  std::vector<uint8_t> bits = {255, 0, 0, 0, 0, 200, 0, 2, 250, 250, 9};
  DibPixels image;
  const char* why = nullptr;
  ASSERT_TRUE(DecodeDib(header.data(), header.size(), bits.data(), bits.size(), &image, &why));
  EXPECT_EQ(image.pixels[2], kRed);  // bottom row, left
  EXPECT_EQ(image.pixels[3], kRed);
  ReleaseDibPixels(&image);
}

TEST(DecodeDib, RefusesWhatItCannotDecodeSafely) {
  struct Bad {
    const char* name;
    std::vector<uint8_t> header;
    size_t bitsSize;
  } cases[] = {
      {"header too short", std::vector<uint8_t>(39, 0), 16},
      {"zero width", InfoHeader(0, 1, 24, 0, 0), 16},
      {"zero height", InfoHeader(1, 0, 24, 0, 0), 16},
      {"negative width", InfoHeader(-1, 1, 24, 0, 0), 16},
      {"too wide", InfoHeader(16385, 1, 24, 0, 0), 1 << 16},
      {"too tall top-down", InfoHeader(1, -16385, 24, 0, 0), 1 << 16},
      {"most negative height", InfoHeader(1, INT32_MIN, 24, 0, 0), 16},
      {"above 256 MiB", InfoHeader(16384, 16384, 1, 0, 2, {0, 0}), 1 << 16},
      {"bits too short", InfoHeader(3, 2, 24, 0, 0), 23},
      {"odd depth", InfoHeader(1, 1, 2, 0, 0), 16},
      {"jpeg", InfoHeader(1, 1, 24, 4, 0), 16},
      {"rle8 with 4 bits", InfoHeader(1, 1, 4, 1, 0), 16},
      {"top-down rle", InfoHeader(1, -1, 8, 1, 1, {0}), 16},
      {"masks missing", InfoHeader(1, 1, 16, 3, 0), 16},
      {"bitfields with 24 bits", InfoHeader(1, 1, 24, 3, 0, {1, 2, 4}), 16},
  };
  std::vector<uint8_t> bits(1 << 16, 0);
  for (const Bad& c : cases) {
    DibPixels image;
    image.pixels = reinterpret_cast<uint32_t*>(&image);  // must be cleared on failure
    const char* why = nullptr;
    EXPECT_FALSE(DecodeDib(c.header.data(), c.header.size(), bits.data(), c.bitsSize, &image, &why)) << c.name;
    EXPECT_NE(why, nullptr) << c.name;
    EXPECT_EQ(image.pixels, nullptr) << c.name;
  }
}

TEST(DibColourCount, FollowsClrUsedThenDepth) {
  EXPECT_EQ(DibColourCount(0, 1), 2u);
  EXPECT_EQ(DibColourCount(0, 4), 16u);
  EXPECT_EQ(DibColourCount(0, 8), 256u);
  EXPECT_EQ(DibColourCount(0, 24), 0u);
  EXPECT_EQ(DibColourCount(16, 8), 16u);
  EXPECT_EQ(DibColourCount(7, 24), 7u);
}

}  // namespace
