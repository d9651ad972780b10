// One picture as a PNG file (8-bit RGB, no time stamp or other chunk that would change from run
// to run).
#pragma once
#include <cstdint>
#include <string>

bool WritePng(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height,
              std::string* problem);
