// The Morvane icon: a crescent moon and stars over a night-sky tile, and a sprite on its way
// across it, drawn at any size from shapes (no outside artwork).
#pragma once
#include <cstdint>
#include <vector>

struct IconPicture {
  int size;
  std::vector<uint32_t> pixels;  // size * size, top row first, 0xAARRGGBB, straight alpha
};

IconPicture DrawIcon(int size);

// The 16 colours for the smallest icon (0x00RRGGBB; the first is black, for transparent
// pixels): the picture's own colours, and blends of the moon and the sprite with the sky.
std::vector<uint32_t> SixteenIconColours();
