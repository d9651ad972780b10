// The Info page's picture: the committed file is what the drawing tool writes, and it decodes
// to the drawing, in the form the page needs (300 x 255, 16 colours, run-length encoded).
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "dib_image.h"
#include "rle4_bitmap.h"
#include "title_art.h"

namespace {

std::vector<uint8_t> ReadAll(const char* path) {
  std::vector<uint8_t> bytes;
  FILE* f = std::fopen(path, "rb");
  if (!f) return bytes;
  uint8_t chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(f);
  return bytes;
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

TEST(TitlePicture, CommittedFileIsTheToolsOutput) {
  TitlePicture picture = DrawTitlePicture();
  std::vector<uint8_t> drawn = EncodeRle4Bitmap(kTitleWidth, kTitleHeight, picture.indexes, picture.palette);
  EXPECT_EQ(ReadAll(MORVANE_TITLE_BITMAP), drawn) << "run morvane-title-art designer/title.bmp";
}

TEST(TitlePicture, DecodesToTheDrawingIn16RunLengthColours) {
  TitlePicture picture = DrawTitlePicture();
  std::vector<uint8_t> file = EncodeRle4Bitmap(kTitleWidth, kTitleHeight, picture.indexes, picture.palette);
  ASSERT_GT(file.size(), 14u + 40 + 64);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(U32(file, 2), file.size());
  EXPECT_EQ(U32(file, 10), 14u + 40 + 64);
  EXPECT_EQ(U32(file, 18), 300u);
  EXPECT_EQ(U32(file, 22), 255u);
  EXPECT_EQ(file[28], 4);
  EXPECT_EQ(U32(file, 30), 2u) << "BI_RLE4";
  EXPECT_EQ(U32(file, 34), file.size() - (14 + 40 + 64));

  DibPixels image;
  const char* why = nullptr;
  ASSERT_TRUE(DecodeDib(file.data() + 14, 40 + 64, file.data() + 14 + 40 + 64, file.size() - (14 + 40 + 64), &image,
                        &why))
      << why;
  ASSERT_EQ(image.width, kTitleWidth);
  ASSERT_EQ(image.height, kTitleHeight);
  int distinct[16] = {};
  for (int32_t y = 0; y < kTitleHeight; ++y) {
    for (int32_t x = 0; x < kTitleWidth; ++x) {
      uint8_t index = picture.indexes[size_t(y) * kTitleWidth + x];
      ASSERT_EQ(image.pixels[size_t(y) * kTitleWidth + x], picture.palette[index]) << x << "," << y;
      distinct[index] = 1;
    }
  }
  ReleaseDibPixels(&image);
  int used = 0;
  for (int d : distinct) used += d;
  EXPECT_GE(used, 12) << "a picture, not a blank";
}

}  // namespace
