#include "png_file.h"

#include <cstdio>

namespace {

void PutU32Big(std::vector<uint8_t>* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(uint8_t(value >> shift));
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void PutChunk(std::vector<uint8_t>* out, const char* type, const std::vector<uint8_t>& data) {
  PutU32Big(out, uint32_t(data.size()));
  const size_t start = out->size();
  out->insert(out->end(), type, type + 4);
  out->insert(out->end(), data.begin(), data.end());
  PutU32Big(out, Crc32(out->data() + start, out->size() - start));
}

// A zlib stream of stored blocks.
std::vector<uint8_t> Stored(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t size = raw.size() - at < 65535 ? raw.size() - at : 65535;
    out.push_back(at + size == raw.size() ? 1 : 0);
    out.push_back(uint8_t(size));
    out.push_back(uint8_t(size >> 8));
    out.push_back(uint8_t(~size));
    out.push_back(uint8_t(~size >> 8));
    out.insert(out.end(), raw.begin() + long(at), raw.begin() + long(at + size));
    at += size;
  } while (at < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutU32Big(&out, (b << 16) | a);
  return out;
}

}  // namespace

bool WritePngRgba(const std::string& path, int32_t width, int32_t height, const std::vector<uint8_t>& rgba) {
  if (width <= 0 || height <= 0 || rgba.size() != size_t(width) * size_t(height) * 4) return false;
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutU32Big(&header, uint32_t(width));
  PutU32Big(&header, uint32_t(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
  PutChunk(&out, "IHDR", header);
  std::vector<uint8_t> raw;
  for (int32_t y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgba.begin() + long(size_t(y) * width * 4), rgba.begin() + long(size_t(y + 1) * width * 4));
  }
  PutChunk(&out, "IDAT", Stored(raw));
  PutChunk(&out, "IEND", {});
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = fwrite(out.data(), 1, out.size(), file) == out.size();
  return fclose(file) == 0 && ok;
}
