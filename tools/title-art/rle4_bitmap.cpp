#include "rle4_bitmap.h"

#include <cstdio>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeRle4Bitmap(int32_t width, int32_t height, const std::vector<uint8_t>& indexes,
                                      const uint32_t palette[16]) {
  std::vector<uint8_t> bits;
  for (int32_t row = height - 1; row >= 0; --row) {
    const uint8_t* line = &indexes[size_t(row) * width];
    int32_t x = 0;
    while (x < width) {
      uint8_t index = line[x] & 0x0F;
      int32_t run = 1;
      while (x + run < width && run < 255 && (line[x + run] & 0x0F) == index) ++run;
      bits.push_back(static_cast<uint8_t>(run));
      bits.push_back(static_cast<uint8_t>(index << 4 | index));
      x += run;
    }
    bits.push_back(0);
    bits.push_back(row == 0 ? 1 : 0);  // end of line, or end of the picture after the last row
  }

  const uint32_t headerBytes = 14 + 40 + 16 * 4;
  std::vector<uint8_t> file;
  file.push_back('B');
  file.push_back('M');
  Put32(file, headerBytes + static_cast<uint32_t>(bits.size()));
  Put32(file, 0);
  Put32(file, headerBytes);
  Put32(file, 40);
  Put32(file, static_cast<uint32_t>(width));
  Put32(file, static_cast<uint32_t>(height));
  Put16(file, 1);
  Put16(file, 4);
  Put32(file, 2);  // BI_RLE4
  Put32(file, static_cast<uint32_t>(bits.size()));
  Put32(file, 3780);  // 96 dots per inch
  Put32(file, 3780);
  Put32(file, 16);
  Put32(file, 0);
  for (int i = 0; i < 16; ++i) {
    uint32_t c = palette[i];
    file.push_back(static_cast<uint8_t>(c >> 16));  // blue, green, red, reserved
    file.push_back(static_cast<uint8_t>(c >> 8));
    file.push_back(static_cast<uint8_t>(c));
    file.push_back(0);
  }
  file.insert(file.end(), bits.begin(), bits.end());
  return file;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}
