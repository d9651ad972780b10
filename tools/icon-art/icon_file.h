// Icon files (.ico) as the resource compiler takes them: each picture as a device-independent
// bitmap with its mask, in true colour with alpha or in 16 colours for the smallest program, or
// PNG-compressed for the large sizes.
#pragma once
#include <cstdint>
#include <vector>

#include "icon_art.h"

enum IconForm { IconTrueColour, IconSixteenColours, IconPng };

struct IconImage {
  IconPicture picture;
  IconForm form;
  std::vector<uint32_t> palette;  // for IconSixteenColours: 16 colours, the first for transparent pixels
};

std::vector<uint8_t> EncodeIconFile(const std::vector<IconImage>& images);

// The picture as a PNG file (8-bit RGBA).
std::vector<uint8_t> EncodePng(const IconPicture& picture);
