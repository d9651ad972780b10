// The picture on the designer's Info page: the system's name over a night sky with a few
// sprites, in 16 colours.
#pragma once
#include <cstdint>
#include <vector>

const int32_t kTitleWidth = 300;
const int32_t kTitleHeight = 255;

struct TitlePicture {
  uint32_t palette[16];            // 0x00BBGGRR
  std::vector<uint8_t> indexes;    // kTitleWidth * kTitleHeight, top row first
};

TitlePicture DrawTitlePicture();
