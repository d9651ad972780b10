#include "authenticode_signature.h"

#include "byte_order.h"

uint64_t SignatureStart(const uint8_t* header, size_t headerSize, uint64_t fileSize, uint64_t minimum) {
  if (headerSize < 64 || header[0] != 'M' || header[1] != 'Z') return fileSize;
  const uint32_t pe = ReadU32LE(header + 0x3C);
  if (pe > headerSize || headerSize - pe < 24 + 112 + 5 * 8 || ReadU32LE(header + pe) != 0x00004550u) return fileSize;
  const uint8_t* optional = header + pe + 24;
  const uint16_t magic = ReadU16LE(optional);
  const size_t directories = magic == 0x10B ? 96 : magic == 0x20B ? 112 : 0;
  if (directories == 0 || ReadU16LE(header + pe + 20) < directories + 5 * 8) return fileSize;
  const uint64_t table = ReadU32LE(optional + directories + 4 * 8);
  const uint64_t length = ReadU32LE(optional + directories + 4 * 8 + 4);
  return length != 0 && table >= minimum && table + length == fileSize ? table : fileSize;
}
