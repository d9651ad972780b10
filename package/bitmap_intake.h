// The .bmp format of the picture intake: a file as real tools write it becomes the one form a
// frame record holds. Files already in that form pass unchanged; other header forms, bit-field
// masks and top-down rows are converted to a record that describes the same image. Anything
// else is refused with a reason.
#pragma once
#include "picture_intake.h"

// False, with a reason and nothing owned in *record, for a file that is not a bitmap, is cut
// short in its headers, uses a form no record can hold, or exceeds the size limits.
bool IntakeBitmap(BitmapSource* source, BitmapRecord* record, const char** why);

// The .bmp decoder as the intake lists it: files that start with "BM".
extern const PictureDecoder kBitmapDecoder;
