#include "icon_file.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>

namespace {

void Put16(std::vector<uint8_t>* out, uint32_t v) {
  out->push_back(uint8_t(v));
  out->push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>* out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void Put32BigEndian(std::vector<uint8_t>* out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(uint8_t(v >> shift));
}

bool Opaque(uint32_t pixel) { return (pixel >> 24) >= 128; }

// The 1-bit mask that follows the colours: set where the picture is transparent. Rows bottom up,
// each a whole number of 32-bit words.
void PutMask(std::vector<uint8_t>* out, const IconPicture& p) {
  const int stride = (p.size + 31) / 32 * 4;
  for (int y = p.size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < p.size; ++x)
      if (!Opaque(p.pixels[size_t(y) * p.size + x])) row[x / 8] |= uint8_t(0x80 >> (x % 8));
    out->insert(out->end(), row.begin(), row.end());
  }
}

void PutInfoHeader(std::vector<uint8_t>* out, int size, int bits, uint32_t imageBytes, uint32_t colours) {
  Put32(out, 40);
  Put32(out, size);
  Put32(out, 2 * size);  // the colours and the mask, one above the other
  Put16(out, 1);
  Put16(out, bits);
  Put32(out, 0);
  Put32(out, imageBytes);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, colours);
  Put32(out, 0);
}

std::vector<uint8_t> TrueColourImage(const IconPicture& p) {
  std::vector<uint8_t> out;
  const uint32_t maskBytes = uint32_t((p.size + 31) / 32 * 4 * p.size);
  PutInfoHeader(&out, p.size, 32, uint32_t(4 * p.size * p.size) + maskBytes, 0);
  for (int y = p.size - 1; y >= 0; --y)
    for (int x = 0; x < p.size; ++x) Put32(&out, p.pixels[size_t(y) * p.size + x]);
  PutMask(&out, p);
  return out;
}

uint32_t Distance(uint32_t a, uint32_t b) {
  uint32_t d = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int c = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
    d += uint32_t(c * c);
  }
  return d;
}

// Colour 0 is what a transparent pixel holds under its mask; every other pixel takes the
// nearest of the others.
std::vector<uint8_t> SixteenColourImage(const IconPicture& p, const std::vector<uint32_t>& palette) {
  std::vector<uint8_t> out;
  const int stride = (p.size * 4 + 31) / 32 * 4;
  const uint32_t maskBytes = uint32_t((p.size + 31) / 32 * 4 * p.size);
  PutInfoHeader(&out, p.size, 4, uint32_t(stride * p.size) + maskBytes, 16);
  for (uint32_t colour : palette) Put32(&out, colour);
  for (int y = p.size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < p.size; ++x) {
      const uint32_t pixel = p.pixels[size_t(y) * p.size + x];
      uint8_t best = 0;
      if (Opaque(pixel)) {
        best = 1;
        for (uint8_t i = 2; i < 16; ++i)
          if (Distance(pixel, palette[i]) < Distance(pixel, palette[best])) best = i;
      }
      row[x / 2] |= uint8_t(x % 2 ? best : best << 4);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  PutMask(&out, p);
  return out;
}

void PutChunk(std::vector<uint8_t>* out, const char* type, const std::vector<uint8_t>& data) {
  Put32BigEndian(out, uint32_t(data.size()));
  const size_t start = out->size();
  out->insert(out->end(), type, type + 4);
  out->insert(out->end(), data.begin(), data.end());
  Put32BigEndian(out, uint32_t(crc32(0, out->data() + start, uInt(out->size() - start))));
}

uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

}  // namespace

std::vector<uint8_t> EncodePng(const IconPicture& p) {
  // Each row with whichever of the five filters leaves the smallest sum, the usual choice.
  const size_t stride = size_t(4) * p.size;
  std::vector<uint8_t> rgba(stride * p.size), filtered;
  for (size_t i = 0; i < p.pixels.size(); ++i) {
    const uint32_t v = p.pixels[i];
    rgba[4 * i] = uint8_t(v >> 16), rgba[4 * i + 1] = uint8_t(v >> 8), rgba[4 * i + 2] = uint8_t(v);
    rgba[4 * i + 3] = uint8_t(v >> 24);
  }
  for (int y = 0; y < p.size; ++y) {
    const uint8_t* row = &rgba[stride * y];
    const uint8_t* above = y > 0 ? row - stride : nullptr;
    std::vector<uint8_t> best;
    uint64_t bestSum = ~uint64_t(0);
    for (uint8_t filter = 0; filter < 5; ++filter) {
      std::vector<uint8_t> line = {filter};
      uint64_t sum = 0;
      for (size_t x = 0; x < stride; ++x) {
        const int a = x >= 4 ? row[x - 4] : 0, b = above ? above[x] : 0, c = above && x >= 4 ? above[x - 4] : 0;
        const int predicted = filter == 0 ? 0 : filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2 : Paeth(a, b, c);
        const uint8_t value = uint8_t(row[x] - predicted);
        line.push_back(value);
        sum += value < 128 ? value : 256 - value;
      }
      if (sum < bestSum) bestSum = sum, best = line;
    }
    filtered.insert(filtered.end(), best.begin(), best.end());
  }
  uLongf packedSize = compressBound(uLong(filtered.size()));
  std::vector<uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, filtered.data(), uLong(filtered.size()), 9);
  packed.resize(packedSize);

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  Put32BigEndian(&header, p.size);
  Put32BigEndian(&header, p.size);
  header.insert(header.end(), {8, 6, 0, 0, 0});
  PutChunk(&out, "IHDR", header);
  PutChunk(&out, "IDAT", packed);
  PutChunk(&out, "IEND", {});
  return out;
}

std::vector<uint8_t> EncodeIconFile(const std::vector<IconImage>& images) {
  std::vector<std::vector<uint8_t>> encoded;
  for (const IconImage& image : images)
    encoded.push_back(image.form == IconPng ? EncodePng(image.picture)
                      : image.form == IconSixteenColours ? SixteenColourImage(image.picture, image.palette)
                                                         : TrueColourImage(image.picture));
  std::vector<uint8_t> out;
  Put16(&out, 0);
  Put16(&out, 1);
  Put16(&out, uint32_t(images.size()));
  uint32_t offset = uint32_t(6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const int size = images[i].picture.size;
    out.push_back(uint8_t(size >= 256 ? 0 : size));
    out.push_back(uint8_t(size >= 256 ? 0 : size));
    out.push_back(images[i].form == IconSixteenColours ? 16 : 0);
    out.push_back(0);
    Put16(&out, 1);
    Put16(&out, images[i].form == IconSixteenColours ? 4 : 32);
    Put32(&out, uint32_t(encoded[i].size()));
    Put32(&out, offset);
    offset += uint32_t(encoded[i].size());
  }
  for (const auto& bytes : encoded) out.insert(out.end(), bytes.begin(), bytes.end());
  return out;
}
