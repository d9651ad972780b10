// A decoded picture frame as the record a package holds: 24 bits per pixel, bottom-up, with no
// colour table. Every decoded picture takes this one form, so the record's bytes depend only on
// the pixels, never on the codec that produced them.
#pragma once
#include <cstdint>

struct BitmapRecord;  // picture_intake.h


// width * height pixels of R, G, B (and an ignored fourth byte), top row first. own, when not
// null, is the frame's own R, G, B, A pixels of the same size, kept after the rows
// (own_pixels.h). False, with nothing owned in *record, when memory ran out or the record would
// be too large to keep them.
bool RgbaToRecord(const uint8_t* rgba, int32_t width, int32_t height, BitmapRecord* record,
                  const uint8_t* own = nullptr);
