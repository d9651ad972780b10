#include "wic_picture_codec.h"

#include <wincodec.h>

#include <cstdlib>
#include <cstring>

#include "picture_header.h"
#include "size_limits.h"
#include "refusal.h"

namespace {

typedef HRESULT(WINAPI* CreateFactoryProc)(UINT version, IWICImagingFactory** factory);
typedef HRESULT(WINAPI* ComStartProc)(void* reserved, DWORD model);
typedef void(WINAPI* ComStopProc)();
typedef HRESULT(WINAPI* ClearVariantProc)(PROPVARIANT* value);

template <typename T>
void Release(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

WicPictureCodec* Self(PictureCodec* codec) {
  return reinterpret_cast<WicPictureCodec*>(codec);
}

// The codec's error as a reason; the common ones in words, any other by its number.
const char* CodecFault(WicPictureCodec* self, HRESULT result, const char* fallback) {
  switch (result) {
    // The format was told from the file's first bytes; a codec that will not take it finds the
    // rest damaged or of a form it does not read.
    case WINCODEC_ERR_COMPONENTNOTFOUND:
    case WINCODEC_ERR_UNKNOWNIMAGEFORMAT:
      wsprintfA(self->message, "the system's codecs do not take this %s (damaged, or a form they do not read)",
                PictureFormatName(self->format));
      return self->message;
    case WINCODEC_ERR_BADHEADER: return "the picture's header is damaged";
    case WINCODEC_ERR_BADIMAGE:
    case WINCODEC_ERR_BADSTREAMDATA: return "the picture's data is damaged";
    case WINCODEC_ERR_STREAMREAD:
    case HRESULT_FROM_WIN32(ERROR_HANDLE_EOF): return "the picture's data ends early";
    case WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT:
    case WINCODEC_ERR_UNSUPPORTEDVERSION: return "the picture uses a form the system's codec does not support";
    case WINCODEC_ERR_IMAGESIZEOUTOFRANGE: return "the picture is too large for the system's codec";
    case E_OUTOFMEMORY: return "not enough memory to read the picture";
    default:
      wsprintfA(self->message, "%s %s (error 0x%08lX)", fallback, PictureFormatName(self->format),
                static_cast<unsigned long>(result));
      return self->message;
  }
}

// Codecs that the imaging component creates through COM need the thread's COM started; the
// programs themselves use no COM, so it is started for the reading and stopped after it.
void StartCom(WicPictureCodec* self) {
  self->com = LoadLibraryA("ole32.dll");
  if (!self->com) return;
  ComStartProc start = reinterpret_cast<ComStartProc>(GetProcAddress(self->com, "CoInitializeEx"));
  self->comStarted = start && SUCCEEDED(start(nullptr, COINIT_APARTMENTTHREADED));
}

void StopCom(WicPictureCodec* self) {
  if (self->comStarted) {
    ComStopProc stop = reinterpret_cast<ComStopProc>(GetProcAddress(self->com, "CoUninitialize"));
    if (stop) stop();
  }
  self->comStarted = false;
  if (self->com) FreeLibrary(self->com);
  self->com = nullptr;
}

// A number from a frame's metadata ("/imgdesc/Left", "/grctlext/Disposal" ...); false when the
// frame has no such item.
bool ReadMetadataNumber(WicPictureCodec* self, IWICMetadataQueryReader* reader, const wchar_t* name,
                        uint32_t* value) {
  PROPVARIANT item;
  std::memset(&item, 0, sizeof item);
  if (!reader || FAILED(reader->GetMetadataByName(name, &item))) return false;
  bool found = true;
  switch (item.vt) {
    case VT_UI1: *value = item.bVal; break;
    case VT_UI2: *value = item.uiVal; break;
    case VT_UI4: *value = item.ulVal; break;
    case VT_BOOL: *value = item.boolVal ? 1 : 0; break;
    default: found = false;
  }
  ClearVariantProc clear =
      self->com ? reinterpret_cast<ClearVariantProc>(GetProcAddress(self->com, "PropVariantClear")) : nullptr;
  if (clear) clear(&item);
  return found;
}

void End(PictureCodec* codec) {
  WicPictureCodec* self = Self(codec);
  Release(self->rowConverter);
  Release(self->rowFrame);
  self->rowConverter = nullptr;
  self->rowFrame = nullptr;
  Release(self->decoder);
  Release(self->stream);
  Release(self->factory);
  CloseGifCanvas(&self->canvas);
  StopCom(self);
  if (self->codecs) FreeLibrary(self->codecs);
  self->codecs = nullptr;
  self->frameCount = 0;
  self->nextFrame = 0;
  std::free(self->wholeGif);
  self->wholeGif = nullptr;
  self->afterWholeFrames = nullptr;
  std::free(self->file);
  self->file = nullptr;
  self->fileSize = 0;
}

// The system's codec takes no frame of a GIF whose data ends early, where giflib on Linux gives
// the whole frames before the cut: it is handed those frames with a trailer, so that both give
// the same frames and the same note. False when the GIF has no whole frame: the first frame
// then reports the reason, as on Linux.
bool TakeWholeGifFrames(WicPictureCodec* self, const uint8_t** bytes, size_t* size) {
  GifExtent extent;
  // A header or colour table cut short is refused by the codec, as by giflib.
  if (!ReadGifExtent(*bytes, *size, &extent, nullptr) || extent.ending == GifEndsWithTrailer || extent.wholeEnd == 0)
    return true;
  self->afterWholeFrames = GifEndingProblem(extent.ending);
  if (extent.wholeFrames == 0) return false;
  self->wholeGif = static_cast<uint8_t*>(std::malloc(extent.wholeEnd + 1));
  if (!self->wholeGif) return true;  // the codec reads what it can of the file itself
  std::memcpy(self->wholeGif, *bytes, extent.wholeEnd);
  self->wholeGif[extent.wholeEnd] = 0x3B;
  *bytes = self->wholeGif;
  *size = extent.wholeEnd + 1;
  return true;
}

// A decoder for the bytes, in place of any before it.
HRESULT OpenDecoder(WicPictureCodec* self, const uint8_t* bytes, size_t size) {
  Release(self->decoder);
  Release(self->stream);
  if (FAILED(self->factory->CreateStream(&self->stream)) ||
      FAILED(self->stream->InitializeFromMemory(const_cast<BYTE*>(bytes), static_cast<DWORD>(size))))
    return E_OUTOFMEMORY;
  return self->factory->CreateDecoderFromStream(self->stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                &self->decoder);
}

// The system's codec may decode all of a GIF as it opens it, and then refuses the whole file
// when one frame's image data is damaged, where giflib gives the frames before that one. The
// most leading frames the codec opens are found by halving (opening n frames succeeds whenever
// opening more does), and those are read, followed by the note giflib gives for the damaged
// frame. `refusal` stands when not even the first frame opens.
HRESULT OpenLeadingGifFrames(WicPictureCodec* self, const uint8_t* bytes, size_t size, HRESULT refusal) {
  GifExtent whole;
  if (!ReadGifExtent(bytes, size, &whole, nullptr) || whole.wholeFrames < 2) return refusal;
  uint8_t* leading = static_cast<uint8_t*>(std::malloc(whole.wholeEnd + 1));
  if (!leading) return refusal;
  std::memcpy(leading, bytes, whole.wholeEnd);
  uint32_t opens = 0, fails = whole.wholeFrames;  // frame counts known to open and to fail
  for (;;) {
    const uint32_t count = fails - opens > 1 ? opens + (fails - opens) / 2 : opens;
    if (count == 0) break;
    GifExtent part;
    ReadGifExtent(bytes, size, &part, nullptr, count);
    const uint8_t kept = leading[part.wholeEnd];
    leading[part.wholeEnd] = 0x3B;
    const HRESULT result = OpenDecoder(self, leading, part.wholeEnd + 1);
    if (count == opens) {
      // The last opening, of the frames found, stays; the bytes it reads with it.
      std::free(self->wholeGif);
      self->wholeGif = leading;
      self->afterWholeFrames = kGifImageDamaged;
      return result;
    }
    leading[part.wholeEnd] = kept;
    if (SUCCEEDED(result)) opens = count;
    else fails = count;
  }
  std::free(leading);
  Release(self->decoder);
  Release(self->stream);
  return refusal;
}

// The system's codecs read a stream at random, and its decoders hold a whole picture decoded
// anyway: the file is read into memory whole, its size capped by the intake.
bool ReadWholeFile(WicPictureCodec* self, const SourceBytes& file, const char** why) {
  if (file.size > kMaxBitmapBytes) return Refuse(why, "picture file larger than 256 MiB");
  const size_t size = static_cast<size_t>(file.size);
  self->file = static_cast<uint8_t*>(std::malloc(size > 0 ? size : 1));
  if (!self->file) return Refuse(why, "not enough memory for the picture file");
  if (ReadSourceBytes(file, 0, self->file, size) != size) return Refuse(why, "picture file could not be read whole");
  self->fileSize = size;
  return true;
}

bool Begin(PictureCodec* codec, PictureFormat format, const SourceBytes* file, int32_t* width, int32_t* height,
           const char** why) {
  WicPictureCodec* self = Self(codec);
  End(codec);
  self->format = format;
  if (!ReadWholeFile(self, *file, why)) return false;
  const uint8_t* bytes = self->file;
  size_t size = self->fileSize;
  // The codec may decode the whole file as it opens it: the sizes are checked first.
  if (!ReadPictureHeaderSize(format, bytes, size, &self->width, &self->height, why)) return false;
  if (format == PictureGif && !TakeWholeGifFrames(self, &bytes, &size)) {
    *width = self->width;
    *height = self->height;
    return true;
  }

  self->codecs = LoadLibraryA("windowscodecs.dll");
  CreateFactoryProc createFactory =
      self->codecs ? reinterpret_cast<CreateFactoryProc>(GetProcAddress(self->codecs, "WICCreateImagingFactory_Proxy"))
                   : nullptr;
  if (!createFactory) return Refuse(why, "this system has no Windows Imaging Component to read PNG, JPEG and GIF");
  StartCom(self);
  if (FAILED(createFactory(WINCODEC_SDK_VERSION, &self->factory)) || !self->factory)
    return Refuse(why, "the Windows Imaging Component cannot be started");
  HRESULT result = OpenDecoder(self, bytes, size);
  if (FAILED(result) && format == PictureGif) result = OpenLeadingGifFrames(self, bytes, size, result);
  if (result == E_OUTOFMEMORY) return Refuse(why, "not enough memory to read the picture");
  if (FAILED(result)) return Refuse(why, CodecFault(self, result, "the system's codec cannot read this"));
  if (FAILED(self->decoder->GetFrameCount(&self->frameCount)) || self->frameCount == 0)
    return Refuse(why, "the picture holds no image");

  if (format == PictureGif && !OpenGifCanvas(&self->canvas, self->width, self->height))
    return Refuse(why, "not enough memory to compose the GIF");
  *width = self->width;
  *height = self->height;
  return true;
}

// The codec's own conversion of a still frame to 8-bit blue, green, red, alpha; null, with a
// reason, when the frame cannot be had at its stated size.
IWICFormatConverter* StillConverter(WicPictureCodec* self, IWICBitmapFrameDecode* frame, const char** why) {
  UINT w = 0, h = 0;
  if (FAILED(frame->GetSize(&w, &h))) {
    *why = "the system's codec cannot read the picture's size";
    return nullptr;
  }
  if (static_cast<int32_t>(w) != self->width || static_cast<int32_t>(h) != self->height) {
    *why = "the picture's size differs from what its header states";
    return nullptr;
  }
  IWICFormatConverter* converter = nullptr;
  HRESULT result = self->factory->CreateFormatConverter(&converter);
  if (SUCCEEDED(result))
    result = converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom);
  if (SUCCEEDED(result)) return converter;
  Release(converter);
  *why = CodecFault(self, result, "the system's codec cannot decode this");
  return nullptr;
}

// The rows of `rect` (all of the picture when null) into rgba, as R, G, B, A.
PictureStep CopyStill(WicPictureCodec* self, IWICFormatConverter* converter, const WICRect* rect, UINT rows,
                      uint8_t* rgba, const char** why) {
  const UINT stride = static_cast<UINT>(self->width) * 4;
  const HRESULT result = converter->CopyPixels(rect, stride, stride * rows, rgba);
  if (FAILED(result)) return Damaged(why, CodecFault(self, result, "the system's codec cannot decode this"));
  for (size_t i = 0; i < static_cast<size_t>(self->width) * rows; ++i) {
    uint8_t blue = rgba[4 * i];
    rgba[4 * i] = rgba[4 * i + 2];
    rgba[4 * i + 2] = blue;
  }
  return PictureFrameReady;
}

// A still picture through the codec's own conversion.
PictureStep StillFrame(WicPictureCodec* self, IWICBitmapFrameDecode* frame, uint8_t* rgba, const char** why) {
  IWICFormatConverter* converter = StillConverter(self, frame, why);
  if (!converter) return PictureDamaged;
  const PictureStep step = CopyStill(self, converter, nullptr, static_cast<UINT>(self->height), rgba, why);
  Release(converter);
  return step;
}

// A GIF frame: its colour indices, table and placement from the codec, composed by the same
// canvas as on Linux.
PictureStep GifFrame(WicPictureCodec* self, IWICBitmapFrameDecode* frame, uint8_t* rgba, const char** why) {
  UINT w = 0, h = 0;
  WICPixelFormatGUID form;
  if (FAILED(frame->GetSize(&w, &h)) || FAILED(frame->GetPixelFormat(&form)) ||
      !IsEqualGUID(form, GUID_WICPixelFormat8bppIndexed))
    return Damaged(why, "the system's codec cannot read the GIF frame");
  uint8_t* indices = GifFrameIndices(&self->canvas, w, h, why);
  if (!indices) return PictureDamaged;

  WICColor table[256];
  UINT colourCount = 0;
  IWICPalette* palette = nullptr;
  HRESULT result = self->factory->CreatePalette(&palette);
  if (SUCCEEDED(result)) result = frame->CopyPalette(palette);
  if (SUCCEEDED(result)) result = palette->GetColors(256, table, &colourCount);
  Release(palette);
  if (FAILED(result) || colourCount == 0) return Damaged(why, "GIF frame has no colour table");
  if (w > 0 && h > 0 && FAILED(result = frame->CopyPixels(nullptr, w, w * h, indices)))
    return Damaged(why, CodecFault(self, result, "the system's codec cannot decode the frame of this"));

  uint32_t left = 0, top = 0, disposal = 0, transparent = 0, transparentIndex = 0;
  IWICMetadataQueryReader* reader = nullptr;
  if (FAILED(frame->GetMetadataQueryReader(&reader))) reader = nullptr;
  ReadMetadataNumber(self, reader, L"/imgdesc/Left", &left);
  ReadMetadataNumber(self, reader, L"/imgdesc/Top", &top);
  ReadMetadataNumber(self, reader, L"/grctlext/Disposal", &disposal);
  ReadMetadataNumber(self, reader, L"/grctlext/TransparencyFlag", &transparent);
  ReadMetadataNumber(self, reader, L"/grctlext/TransparentColorIndex", &transparentIndex);
  Release(reader);

  uint8_t colours[256 * 3];
  for (UINT i = 0; i < colourCount; ++i) {
    colours[3 * i] = static_cast<uint8_t>(table[i] >> 16);
    colours[3 * i + 1] = static_cast<uint8_t>(table[i] >> 8);
    colours[3 * i + 2] = static_cast<uint8_t>(table[i]);
  }
  GifFrameRaster raster = {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(w),
                           static_cast<int32_t>(h), indices, colours, colourCount,
                           transparent ? static_cast<int32_t>(transparentIndex & 0xFF) : -1,
                           static_cast<int>(disposal & 7)};
  if (!DrawGifFrame(&self->canvas, raster, rgba)) return Damaged(why, "not enough memory to compose the GIF");
  return PictureFrameReady;
}

PictureStep NextFrame(PictureCodec* codec, uint8_t* rgba, const char** why) {
  WicPictureCodec* self = Self(codec);
  if (!self->decoder || self->nextFrame >= self->frameCount) {
    // Once: a frame cut short ends the picture.
    const char* problem = self->afterWholeFrames;
    self->afterWholeFrames = nullptr;
    return problem ? Damaged(why, problem) : PictureEnded;
  }
  // Only GIF frames follow one another; other formats' further frames (pages, thumbnails) are
  // not part of the picture.
  if (self->format != PictureGif && self->nextFrame > 0) return PictureEnded;
  IWICBitmapFrameDecode* frame = nullptr;
  HRESULT result = self->decoder->GetFrame(self->nextFrame++, &frame);
  if (FAILED(result)) return Damaged(why, CodecFault(self, result, "the system's codec cannot find the frame of this"));
  PictureStep step = self->format == PictureGif ? GifFrame(self, frame, rgba, why) : StillFrame(self, frame, rgba, why);
  Release(frame);
  return step;
}

// A picture that cannot be had row by row is read whole, which then says why.
bool BeginRows(PictureCodec* codec) {
  WicPictureCodec* self = Self(codec);
  if (!self->decoder || self->format == PictureGif || self->nextFrame > 0 || self->rowFrame) return false;
  if (FAILED(self->decoder->GetFrame(0, &self->rowFrame))) {
    self->rowFrame = nullptr;
    return false;
  }
  const char* why = nullptr;
  self->rowConverter = StillConverter(self, self->rowFrame, &why);
  self->nextRow = 0;
  return self->rowConverter != nullptr;
}

PictureStep NextRow(PictureCodec* codec, uint8_t* rgba, const char** why) {
  WicPictureCodec* self = Self(codec);
  if (!self->rowConverter || self->nextRow >= static_cast<UINT>(self->height)) return PictureEnded;
  const WICRect rect = {0, static_cast<INT>(self->nextRow++), self->width, 1};
  return CopyStill(self, self->rowConverter, &rect, 1, rgba, why);
}

}  // namespace

void OpenWicPictureCodec(WicPictureCodec* codec) {
  std::memset(codec, 0, sizeof *codec);
  codec->base.begin = Begin;
  codec->base.nextFrame = NextFrame;
  codec->base.beginRows = BeginRows;
  codec->base.nextRow = NextRow;
  codec->base.end = End;
}
