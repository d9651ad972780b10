#include "picture_frames.h"

#include <cstdlib>
#include <cstring>

#include "picture_intake.h"
#include "picture_record.h"
#include "refusal.h"
#include "wrapped_bitmap_picture.h"

bool IsDecodedPicture(const uint8_t* bytes, size_t size) {
  PictureFormat format = SniffPictureFormat(bytes, size);
  if (format == PicturePng || format == PictureJpeg || format == PictureGif) return true;
  WrappedPicture wrapped;
  const char* why = nullptr;
  return FindWrappedPicture(bytes, size, &wrapped, &why) != kNotWrapped;
}

bool OpenPictureFrames(PictureFrames* frames, PictureCodec* codec, const uint8_t* bytes, size_t size,
                       const char** why) {
  std::memset(frames, 0, sizeof *frames);
  WrappedPicture wrapped = {SniffPictureFormat(bytes, size), bytes, size, 0, 0};
  const WrappedLookup lookup = FindWrappedPicture(bytes, size, &wrapped, why);
  if (lookup == kWrappedDamaged) return false;
  if (wrapped.format != PicturePng && wrapped.format != PictureJpeg && wrapped.format != PictureGif)
    return Refuse(why, "not a picture this builder reads (BMP, PNG, JPEG or GIF)");
  if (!codec) return Refuse(why, "this program has no decoder for PNG, JPEG or GIF pictures");

  frames->codec = codec;
  if (!codec->begin(codec, wrapped.format, wrapped.data, wrapped.size, &frames->width, &frames->height, why))
    return false;
  // The decoder checked its own reading of the size; a codec that did not is not trusted.
  if (const char* problem = PictureSizeProblem(frames->width, frames->height)) return Refuse(why, problem);
  if (lookup == kWrapped && (wrapped.width != frames->width || wrapped.height != frames->height))
    return Refuse(why, "the bitmap's header gives another size than the picture it holds");
  frames->rgba = static_cast<uint8_t*>(
      std::calloc(static_cast<size_t>(frames->width) * static_cast<size_t>(frames->height), 4));
  if (!frames->rgba) return Refuse(why, "not enough memory for the picture");
  return true;
}

PictureStep NextPictureRecord(PictureFrames* frames, const PictureLook& look, BitmapRecord* record, int* notes,
                              const char** why) {
  std::memset(record, 0, sizeof *record);
  *notes = 0;
  if (!frames->rgba) return PictureEnded;
  PictureStep step = frames->codec->nextFrame(frames->codec, frames->rgba, why);
  if (step != PictureFrameReady) return step;
  int lookNotes = PrepareTransparency(frames->rgba, frames->width, frames->height, look);
  if (lookNotes < 0 || !RgbaToRecord(frames->rgba, frames->width, frames->height, record))
    return Damaged(why, "not enough memory to convert the picture");
  *notes = lookNotes;
  return PictureFrameReady;
}

void ClosePictureFrames(PictureFrames* frames) {
  if (frames->codec) frames->codec->end(frames->codec);
  std::free(frames->rgba);
  std::memset(frames, 0, sizeof *frames);
}
