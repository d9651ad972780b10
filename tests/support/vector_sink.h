// A package writer's sink that keeps every byte in memory, for tests and fuzz targets that read
// back what they wrote.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "package_writer.h"

struct VectorSink : ByteSink {
  VectorSink() : ByteSink{Keep} {}
  static size_t Keep(ByteSink* sink, const void* data, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    std::vector<uint8_t>& bytes = static_cast<VectorSink*>(sink)->bytes;
    bytes.insert(bytes.end(), p, p + size);
    return size;
  }
  std::vector<uint8_t> bytes;
};
