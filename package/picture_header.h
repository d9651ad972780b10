// The size a PNG, JPEG or GIF file states for itself, read from its headers alone. A codec that
// allocates as it opens a file (the system's imaging component may decode a whole file before
// it answers a question) is handed only files whose sizes have passed the caps here first.
#pragma once
#include <cstddef>
#include <cstdint>

#include "picture_format.h"

// *width and *height: a PNG's or JPEG's image, a GIF's logical screen. For a GIF every frame
// found in the file is checked against the caps too. False, with a reason, when a header is
// missing or cut short, or a size is beyond the caps.
bool ReadPictureHeaderSize(PictureFormat format, const uint8_t* bytes, size_t size, int32_t* width, int32_t* height,
                           const char** why);
