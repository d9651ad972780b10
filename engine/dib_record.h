// The one check every frame record passes before any surface layer sees it, so that GDI and
// the pixel buffers accept exactly the same records and neither reads beyond the two blocks.
#pragma once
#include <cstdint>

// headerSize bytes of packed BITMAPINFO (40-byte info header, colour table) and bitsSize
// pixel bytes: true when the header is one the surface layers draw and the blocks hold every
// byte that drawing reads.
bool DibRecordFits(const uint8_t* header, uint32_t headerSize, uint32_t bitsSize);
