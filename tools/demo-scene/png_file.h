// A PNG file of 8-bit RGBA pixels, written without a compression library (deflate's stored
// blocks), so that the scene drawing stays free of outside code on every platform.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// width * height pixels of R, G, B, A bytes, top row first.
bool WritePngRgba(const std::string& path, int32_t width, int32_t height, const std::vector<uint8_t>& rgba);
