// A package writer's sink that keeps every byte in memory, for tests and fuzz targets that read
// back what they wrote.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "package_writer.h"

struct VectorSink : ByteSink {
  size_t Write(const void* data, size_t size) override {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + size);
    return size;
  }
  std::vector<uint8_t> bytes;
};
