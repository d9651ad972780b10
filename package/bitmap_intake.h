// The .bmp format of the picture intake: a file as real tools write it becomes the one form a
// frame record holds. Files already in that form pass unchanged; other header forms (OS/2's 12
// and uncompressed 64-byte ones among them), bit-field masks, 2-bit palettes and top-down rows
// are converted to a record that describes the same image. Damage the intake can put right is
// put right in the record and named in record->repairs; anything else is refused with a reason
// that names the obstacle.
#pragma once
#include "picture_intake.h"

// What the intake put right in a bitmap it took, each named to the user as a note on the file.
enum BitmapRepair {
  RepairPlanes = 1 << 0,
  RepairFileSize = 1 << 1,
  RepairPaletteSize = 1 << 2,
  RepairImageSize = 1 << 3,
  RepairIndexesPastTable = 1 << 4,
  RepairRunsPastEdge = 1 << 5,
  RepairRunsPastEnd = 1 << 6,
  RepairRunsCutShort = 1 << 7,
  RepairPixelsCutShort = 1 << 8
};
const uint32_t kLastBitmapRepair = RepairPixelsCutShort;

// What one BitmapRepair bit says, for the note.
const char* BitmapRepairText(uint32_t repair);

// False, with a reason and nothing owned in *record, for a file that is not a bitmap, is cut
// short in its headers, uses a form no record can hold, or exceeds the size limits. With
// `rowsInFile`, a bitmap of the plain form gives its record without bits (bits null, bitsSize
// what they take), *rowsInFile says where the rows are, and *rowsLeft is set; any other is
// taken whole.
bool IntakeBitmap(ByteSource* source, BitmapRecord* record, const char** why,
                  BitmapRowsInFile* rowsInFile = nullptr, bool* rowsLeft = nullptr);
