#include "picture_frames.h"

#include <cstdlib>
#include <cstring>

#include "own_pixels.h"
#include "picture_intake.h"
#include "picture_record.h"
#include "refusal.h"
#include "wrapped_bitmap_picture.h"

bool IsDecodedPicture(const uint8_t* bytes, size_t size) {
  PictureFormat format = SniffPictureFormat(bytes, size);
  if (format == PicturePng || format == PictureJpeg || format == PictureGif) return true;
  MemoryByteSource head(bytes, size);
  WrappedPicture wrapped;
  const char* why = nullptr;
  return FindWrappedPicture(head.Whole(), &wrapped, &why) != kNotWrapped;
}

bool OpenPictureFrames(PictureFrames* frames, PictureCodec* codec, const SourceBytes& file, const char** why) {
  std::memset(frames, 0, sizeof *frames);
  uint8_t head[kPictureFormatBytes];
  const size_t got = ReadSourceBytes(file, 0, head, sizeof head);
  WrappedPicture wrapped = {SniffPictureFormat(head, got), file, 0, 0};
  const WrappedLookup lookup = FindWrappedPicture(file, &wrapped, why);
  if (lookup == kWrappedDamaged) return false;
  if (wrapped.format != PicturePng && wrapped.format != PictureJpeg && wrapped.format != PictureGif)
    return Refuse(why, "not a picture this builder reads (BMP, PNG, JPEG or GIF)");
  if (!codec) return Refuse(why, "this program has no decoder for PNG, JPEG or GIF pictures");

  frames->codec = codec;
  frames->format = wrapped.format;
  frames->bytes = wrapped.bytes;
  if (!codec->begin(codec, wrapped.format, &frames->bytes, &frames->width, &frames->height, why))
    return false;
  // The decoder checked its own reading of the size; a codec that did not is not trusted.
  if (const char* problem = PictureSizeProblem(frames->width, frames->height)) return Refuse(why, problem);
  if (lookup == kWrapped && (wrapped.width != frames->width || wrapped.height != frames->height))
    return Refuse(why, "the bitmap's header gives another size than the picture it holds");
  return true;
}

PictureStep NextPictureRecord(PictureFrames* frames, const PictureLook& look, BitmapRecord* record, int* notes,
                              const char** why) {
  std::memset(record, 0, sizeof *record);
  *notes = 0;
  if (!frames->codec) return PictureEnded;
  if (!frames->rgba) {
    frames->rgba = static_cast<uint8_t*>(
        std::calloc(static_cast<size_t>(frames->width) * static_cast<size_t>(frames->height), 4));
    if (!frames->rgba) return Damaged(why, "not enough memory for the picture");
  }
  PictureStep step = frames->codec->nextFrame(frames->codec, frames->rgba, why);
  if (step != PictureFrameReady) return step;
  const size_t pixels = static_cast<size_t>(frames->width) * static_cast<size_t>(frames->height);
  const OwnTransparency alpha = look.ownAlpha ? SummariseAlpha(frames->rgba, pixels) : kNoOwnTransparency;
  // The key-colour preparation overwrites colours the blending players still need.
  uint8_t* own = nullptr;
  if (alpha != kNoOwnTransparency) {
    own = static_cast<uint8_t*>(std::malloc(pixels * 4));
    if (!own) return Damaged(why, "not enough memory to convert the picture");
    std::memcpy(own, frames->rgba, pixels * 4);
  }
  int lookNotes = PrepareTransparency(frames->rgba, frames->width, frames->height, look);
  const bool keepOwn = lookNotes >= 0 && KeepsOwnPixels(alpha, look, lookNotes);
  // A frame too large to carry its own pixels too is kept as the key colour shows it.
  const bool converted = lookNotes >= 0 && ((keepOwn && RgbaToRecord(frames->rgba, frames->width, frames->height,
                                                                      record, own)) ||
                                            RgbaToRecord(frames->rgba, frames->width, frames->height, record));
  const bool ownKept = keepOwn && record->bitsSize > KeyedRowBytes(frames->width, frames->height);
  std::free(own);
  if (!converted) return Damaged(why, "not enough memory to convert the picture");
  // The players blend a frame that keeps its own pixels: what the key colour could not show is
  // shown after all.
  if (ownKept) lookNotes &= ~(kLookCornerCovered | kLookEnclosedTransparency);
  record->ownTransparency = alpha;
  *notes = lookNotes;
  return PictureFrameReady;
}

bool BeginPictureRows(PictureFrames* frames) {
  PictureCodec* codec = frames->codec;
  return codec && !frames->rgba && codec->beginRows && codec->nextRow && codec->beginRows(codec);
}

PictureStep NextPictureRow(PictureFrames* frames, const PictureLook& look, uint8_t* rgba, const char** why) {
  const PictureStep step = frames->codec->nextRow(frames->codec, rgba, why);
  if (step == PictureFrameReady) PrepareOpaquePixels(rgba, static_cast<size_t>(frames->width), look);
  return step;
}

PictureStep PassPictureRow(PictureFrames* frames, uint8_t* rgba, const char** why) {
  return frames->codec->nextRow(frames->codec, rgba, why);
}

bool RestartPictureRows(PictureFrames* frames, const char** why) {
  PictureCodec* codec = frames->codec;
  codec->end(codec);
  int32_t width = 0, height = 0;
  if (!codec->begin(codec, frames->format, &frames->bytes, &width, &height, why)) return false;
  if (width != frames->width || height != frames->height || !codec->beginRows(codec))
    return Refuse(why, "the picture reads differently the second time");
  return true;
}

void ClosePictureFrames(PictureFrames* frames) {
  if (frames->codec) frames->codec->end(frames->codec);
  std::free(frames->rgba);
  std::memset(frames, 0, sizeof *frames);
}
