// The one check every frame record passes before any surface layer sees it, so that GDI and
// the pixel buffers accept exactly the same records and neither reads beyond the two blocks.
// The packaged saver's records and the designer playback's pictures both come through here.
#pragma once
#include <cstdint>

struct Surface;

// headerSize bytes of packed BITMAPINFO (40-byte info header, colour table) and bitsSize
// pixel bytes: true when the header is one the surface layers draw and the blocks hold every
// byte that drawing reads.
bool DibRecordFits(const uint8_t* header, uint32_t headerSize, uint32_t bitsSize);

// The record's picture when it fits, else null. A character frame (`frame`) that carries its own
// pixels (own_pixels.h) gives them, to be blended; anything else is drawn as its rows say.
Surface* LoadRecordSurface(const Surface* reference, const uint8_t* header, uint32_t headerSize,
                           const uint8_t* bits, uint32_t bitsSize, bool frame = false);

// The bytes of one stored row of a record that fits, when its rows can be drawn apart
// (uncompressed); 0 for a run-length record, whose rows depend on those before them.
uint32_t DibRecordRowBytes(const uint8_t* header);
// `count` stored rows (at `rows`) of a record whose rows can be drawn apart, as a picture of their
// own: the header is rewritten to describe them (height and image size) and stays so.
Surface* LoadRecordRows(const Surface* reference, uint8_t* header, uint32_t headerSize, const uint8_t* rows,
                        int32_t count);
