// GIF through giflib, record by record rather than slurped whole, so that each frame's size is
// checked before its pixels are allocated and only the frames asked for are decoded. The frames
// are composed by the portable canvas that the Windows decoder uses too.
#include <gif_lib.h>

#include <cstdlib>
#include <cstring>

#include "gif_canvas.h"
#include "library_readers.h"
#include "picture_header.h"
#include "refusal.h"

struct GifReading {
  GifFileType* gif;
  GifCanvas canvas;
  GraphicsControlBlock control;  // of the frame that follows
  SourceByteReader file;
};

namespace {

int ReadFromFile(GifFileType* gif, GifByteType* data, int length) {
  GifReading* reading = static_cast<GifReading*>(gif->UserData);
  return static_cast<int>(ReadSourceOn(&reading->file, data, length < 0 ? 0 : static_cast<size_t>(length)));
}

const char* FaultText(int code) {
  switch (code) {
    case D_GIF_ERR_READ_FAILED:
    case D_GIF_ERR_EOF_TOO_SOON: return kGifEndsEarly;
    case D_GIF_ERR_NOT_GIF_FILE: return "not a GIF file";
    case D_GIF_ERR_NO_SCRN_DSCR: return "GIF screen descriptor missing";
    case D_GIF_ERR_NO_IMAG_DSCR: return "GIF image descriptor missing";
    case D_GIF_ERR_WRONG_RECORD: return kGifUnknownRecord;
    case D_GIF_ERR_DATA_TOO_BIG: return "GIF frame holds more pixels than its size";
    case D_GIF_ERR_NOT_ENOUGH_MEM: return "not enough memory to read the GIF";
    default: return kGifImageDamaged;
  }
}

PictureStep LibraryFault(GifReading* reading, const char** why) {
  // giflib reports a code size beyond 8 bits and an early end code as read failures too: the data
  // ends early only when the bytes have run out.
  const int code = reading->gif->Error;
  const bool ended = SourceBytesEnded(reading->file);
  if ((code == D_GIF_ERR_READ_FAILED || code == D_GIF_ERR_EOF_TOO_SOON) && !ended)
    return Damaged(why, FaultText(D_GIF_ERR_IMAGE_DEFECT));
  return Damaged(why, FaultText(code));
}

void ResetControl(GraphicsControlBlock* control) {
  std::memset(control, 0, sizeof *control);
  control->TransparentColor = NO_TRANSPARENT_COLOR;
}

// Extension blocks are skipped, except the graphic control block that governs the next frame.
PictureStep ReadExtension(GifReading* reading, const char** why) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(reading->gif, &code, &block) == GIF_ERROR) return LibraryFault(reading, why);
  if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] == 4)
    DGifExtensionToGCB(block[0], block + 1, &reading->control);
  while (block) {
    if (DGifGetExtensionNext(reading->gif, &block) == GIF_ERROR) return LibraryFault(reading, why);
  }
  return PictureFrameReady;
}

PictureStep ReadFrame(GifReading* reading, uint8_t* rgba, const char** why) {
  GifFileType* gif = reading->gif;
  if (DGifGetImageDesc(gif) == GIF_ERROR) return LibraryFault(reading, why);
  const GifImageDesc& desc = gif->Image;
  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  if (!map || !map->Colors || map->ColorCount <= 0) return Damaged(why, "GIF frame has no colour table");
  if (desc.Width == 0 || desc.Height == 0) {
    // A frame without pixels still holds its (empty) data, which is skipped.
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR) return LibraryFault(reading, why);
    while (block)
      if (DGifGetCodeNext(gif, &block) == GIF_ERROR) return LibraryFault(reading, why);
  }
  uint8_t* indices = GifFrameIndices(&reading->canvas, desc.Width, desc.Height, why);
  if (!indices) return PictureDamaged;
  const size_t width = static_cast<size_t>(desc.Width);
  // Interlaced rows come in four passes: every 8th row from 0, every 8th from 4, every 4th
  // from 2, every 2nd from 1.
  static const int kStart[4] = {0, 4, 2, 1};
  static const int kStep[4] = {8, 8, 4, 2};
  const int passes = desc.Width == 0 || desc.Height == 0 ? 0 : desc.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int start = desc.Interlace ? kStart[pass] : 0;
    const int step = desc.Interlace ? kStep[pass] : 1;
    for (int y = start; y < desc.Height; y += step) {
      if (DGifGetLine(gif, indices + static_cast<size_t>(y) * width, desc.Width) == GIF_ERROR)
        return LibraryFault(reading, why);
    }
  }

  uint8_t colours[256 * 3];
  const uint32_t count = map->ColorCount > 256 ? 256 : static_cast<uint32_t>(map->ColorCount);
  for (uint32_t i = 0; i < count; ++i) {
    colours[3 * i] = map->Colors[i].Red;
    colours[3 * i + 1] = map->Colors[i].Green;
    colours[3 * i + 2] = map->Colors[i].Blue;
  }
  GifFrameRaster frame = {desc.Left, desc.Top, desc.Width, desc.Height, indices, colours, count,
                          reading->control.TransparentColor, reading->control.DisposalMode};
  ResetControl(&reading->control);
  if (!DrawGifFrame(&reading->canvas, frame, rgba)) return Damaged(why, "not enough memory to compose the GIF");
  return PictureFrameReady;
}

}  // namespace

bool BeginGif(GifReading** out, const SourceBytes& bytes, int32_t* width, int32_t* height, const char** why) {
  GifReading* reading = static_cast<GifReading*>(std::calloc(1, sizeof(GifReading)));
  *out = reading;
  if (!reading) return Refuse(why, "not enough memory to read the GIF");
  StartSourceByteReader(&reading->file, bytes);
  ResetControl(&reading->control);
  int error = 0;
  reading->gif = DGifOpen(reading, ReadFromFile, &error);
  if (!reading->gif) return Refuse(why, FaultText(error));
  if (const char* problem = PictureSizeProblem(reading->gif->SWidth, reading->gif->SHeight))
    return Refuse(why, problem);
  if (!OpenGifCanvas(&reading->canvas, reading->gif->SWidth, reading->gif->SHeight))
    return Refuse(why, "not enough memory to compose the GIF");
  *width = reading->gif->SWidth;
  *height = reading->gif->SHeight;
  return true;
}

PictureStep NextGifFrame(GifReading* reading, uint8_t* rgba, const char** why) {
  for (;;) {
    // Many writers leave out the closing ";": the end of the bytes ends the picture as well.
    if (SourceBytesEnded(reading->file)) return PictureEnded;
    GifRecordType type;
    if (DGifGetRecordType(reading->gif, &type) == GIF_ERROR) return LibraryFault(reading, why);
    if (type == TERMINATE_RECORD_TYPE) return PictureEnded;
    if (type == IMAGE_DESC_RECORD_TYPE) return ReadFrame(reading, rgba, why);
    if (type != EXTENSION_RECORD_TYPE) return Damaged(why, FaultText(D_GIF_ERR_WRONG_RECORD));
    PictureStep step = ReadExtension(reading, why);
    if (step != PictureFrameReady) return step;
  }
}

void EndGif(GifReading* reading) {
  if (!reading) return;
  if (reading->gif) DGifCloseFile(reading->gif, nullptr);
  CloseGifCanvas(&reading->canvas);
  std::free(reading);
}
