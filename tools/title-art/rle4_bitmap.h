// A 16-colour bitmap file whose pixels are stored run-length encoded (BI_RLE4).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// indexes: width * height palette indexes 0 to 15, top row first. palette: 16 colours
// 0x00BBGGRR. The rows are written bottom-up, each as runs of one index (encoded mode only),
// ended by an end-of-line mark, and the picture by the end-of-bitmap mark.
std::vector<uint8_t> EncodeRle4Bitmap(int32_t width, int32_t height, const std::vector<uint8_t>& indexes,
                                      const uint32_t palette[16]);

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
