// PNG through libpng. libpng reports errors by a long jump back into the function that set it
// up, so the functions here that call setjmp hold nothing with a destructor, keep every value
// they need after the jump in the heap state, and leave all releasing to EndPng.
#include <png.h>

#include <cstdlib>
#include <cstring>

#include "library_readers.h"
#include "refusal.h"

struct PngReading {
  png_structp png;
  png_infop info;
  png_bytep* rows;  // into the caller's frame
  int32_t width;
  int32_t height;
  int32_t rowsRead;  // read row by row so far
  bool delivered;
  char message[160];
  SourceByteReader file;
};

namespace {

// Ancillary chunks (text, profiles) are not used; none needs more than this.
const png_alloc_size_t kMaxChunkBytes = 8u << 20;

void ReadFromFile(png_structp png, png_bytep data, size_t length) {
  PngReading* reading = static_cast<PngReading*>(png_get_io_ptr(png));
  if (ReadSourceOn(&reading->file, data, length) != length) png_error(png, "file ends early");
}

void OnError(png_structp png, png_const_charp message) {
  PngReading* reading = static_cast<PngReading*>(png_get_error_ptr(png));
  std::strncpy(reading->message, "PNG ", sizeof reading->message - 1);
  std::strncat(reading->message, message, sizeof reading->message - 5);
  png_longjmp(png, 1);
}

// Warnings concern chunks the picture can do without (a profile, a text); the pixels are whole.
void OnWarning(png_structp, png_const_charp) {}

// Every form of PNG to 8-bit R, G, B, A. Gamma and colour profiles are not applied, as the
// system's own codec does not apply them either, so both give the stored values.
void RequestRgba(png_structp png, png_infop info) {
  const int colourType = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  if (depth == 16) png_set_strip_16(png);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if (!(colourType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

}  // namespace

bool BeginPng(PngReading** out, const SourceBytes& bytes, int32_t* width, int32_t* height, const char** why) {
  PngReading* reading = static_cast<PngReading*>(std::calloc(1, sizeof(PngReading)));
  *out = reading;
  if (!reading) return Refuse(why, "not enough memory to read the PNG");
  StartSourceByteReader(&reading->file, bytes);
  reading->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, reading, OnError, OnWarning);
  if (reading->png) reading->info = png_create_info_struct(reading->png);
  if (!reading->info) return Refuse(why, "not enough memory to read the PNG");
  if (setjmp(png_jmpbuf(reading->png))) return Refuse(why, reading->message);
  png_set_chunk_malloc_max(reading->png, kMaxChunkBytes);
  png_set_read_fn(reading->png, reading, ReadFromFile);
#ifdef PNG_IGNORE_ADLER32
  // The checksum of every chunk, over the compressed bytes, finds a file damaged anywhere; the
  // stream's own Adler-32 is summed over every decoded byte (a sixth of a large picture's
  // decoding) and would find nothing more.
  png_set_option(reading->png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
  // Reads the chunks up to the pixels; nothing the size of the picture is allocated before
  // png_read_update_info, which comes after the check.
  png_read_info(reading->png, reading->info);

  const png_uint_32 w = png_get_image_width(reading->png, reading->info);
  const png_uint_32 h = png_get_image_height(reading->png, reading->info);
  if (const char* problem = PictureSizeProblem(w, h)) return Refuse(why, problem);
  RequestRgba(reading->png, reading->info);
  if (png_get_rowbytes(reading->png, reading->info) != static_cast<size_t>(w) * 4)
    return Refuse(why, "PNG pixel form not understood");
  reading->width = static_cast<int32_t>(w);
  reading->height = static_cast<int32_t>(h);
  *width = reading->width;
  *height = reading->height;
  return true;
}

PictureStep NextPngFrame(PngReading* reading, uint8_t* rgba, const char** why) {
  if (reading->delivered) return PictureEnded;
  reading->delivered = true;
  reading->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * static_cast<size_t>(reading->height)));
  if (!reading->rows) return Damaged(why, "not enough memory to read the PNG");
  for (int32_t y = 0; y < reading->height; ++y)
    reading->rows[y] = rgba + static_cast<size_t>(y) * static_cast<size_t>(reading->width) * 4;
  if (setjmp(png_jmpbuf(reading->png))) return Damaged(why, reading->message);
  png_read_image(reading->png, reading->rows);
  return PictureFrameReady;
}

bool BeginPngRows(PngReading* reading) {
  return !reading->delivered && png_get_interlace_type(reading->png, reading->info) == PNG_INTERLACE_NONE;
}

PictureStep NextPngRow(PngReading* reading, uint8_t* rgba, const char** why) {
  if (reading->rowsRead >= reading->height) return PictureEnded;
  reading->delivered = true;
  if (setjmp(png_jmpbuf(reading->png))) return Damaged(why, reading->message);
  png_read_row(reading->png, rgba, nullptr);
  ++reading->rowsRead;
  return PictureFrameReady;
}

void EndPng(PngReading* reading) {
  if (!reading) return;
  if (reading->png) png_destroy_read_struct(&reading->png, reading->info ? &reading->info : nullptr, nullptr);
  std::free(reading->rows);
  std::free(reading);
}
