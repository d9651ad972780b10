// JPEG through libjpeg-turbo. The library reports fatal errors through error_exit, which jumps
// back here; the functions that call setjmp hold nothing with a destructor and keep what they
// need afterwards in the heap state, and EndJpeg releases everything.
#include <cstdio>  // jpeglib.h needs FILE
#include <jpeglib.h>
#include <jerror.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "size_limits.h"
#include "library_readers.h"
#include "refusal.h"

struct JpegReading {
  jpeg_decompress_struct info;
  jpeg_source_mgr source;
  jpeg_error_mgr errors;
  jpeg_progress_mgr progress;
  jmp_buf jump;
  bool created;
  bool delivered;
  bool cmyk;
  bool corrupt;  // a warning that the data is damaged came during decoding
  uint8_t* row;  // one row of four-channel samples
  uint8_t* target;  // where the row read row by row goes, kept across the error jump
  char message[JMSG_LENGTH_MAX + 8];
  SourceByteReader file;
};

namespace {

// Progressive files may hold any number of scans; beyond this many the file is an attack, not
// a picture. Coefficient buffers of a progressive picture within the size caps fit in this.
const int kMaxScans = 500;
const long kMaxCodecMemory = static_cast<long>(2 * kMaxBitmapBytes);

JpegReading* ReadingOf(j_common_ptr common) {
  return reinterpret_cast<JpegReading*>(reinterpret_cast<char*>(common) - offsetof(JpegReading, info));
}

void KeepMessage(j_common_ptr common) {
  JpegReading* reading = ReadingOf(common);
  char text[JMSG_LENGTH_MAX];
  common->err->format_message(common, text);
  std::snprintf(reading->message, sizeof reading->message, "JPEG %s", text);
}

void OnError(j_common_ptr common) {
  KeepMessage(common);
  longjmp(ReadingOf(common)->jump, 1);
}

// Warnings below 0 say the entropy data is damaged; bytes between markers are harmless.
void OnMessage(j_common_ptr common, int level) {
  if (level >= 0 || common->err->msg_code == JWRN_EXTRANEOUS_DATA) return;
  JpegReading* reading = ReadingOf(common);
  if (!reading->corrupt) KeepMessage(common);
  reading->corrupt = true;
}

void WatchScans(j_common_ptr common) {
  j_decompress_ptr info = reinterpret_cast<j_decompress_ptr>(common);
  if (info->input_scan_number > kMaxScans) {
    std::snprintf(ReadingOf(common)->message, sizeof ReadingOf(common)->message, "JPEG has more than %d scans",
                  kMaxScans);
    longjmp(ReadingOf(common)->jump, 1);
  }
}

// The file read forwards through the reader's buffer. Past its end the library is handed an end
// marker, with the warning a cut file earns, as the library's own sources do.
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void StartSource(j_decompress_ptr) {}

boolean FillSource(j_decompress_ptr info) {
  JpegReading* reading = ReadingOf(reinterpret_cast<j_common_ptr>(info));
  size_t count = 0;
  const uint8_t* bytes = TakeSourceBytes(&reading->file, &count);
  if (count == 0) {
    WARNMS(info, JWRN_JPEG_EOF);
    bytes = kEndOfImage;
    count = sizeof kEndOfImage;
  }
  info->src->next_input_byte = bytes;
  info->src->bytes_in_buffer = count;
  return TRUE;
}

void SkipSource(j_decompress_ptr info, long count) {
  jpeg_source_mgr* source = info->src;
  while (count > 0) {
    if (source->bytes_in_buffer == 0) FillSource(info);
    // Nothing is left to skip past the end: the marker handed instead stays to be read.
    if (source->next_input_byte == kEndOfImage) return;
    const size_t step = static_cast<size_t>(count) < source->bytes_in_buffer ? static_cast<size_t>(count)
                                                                             : source->bytes_in_buffer;
    source->next_input_byte += step;
    source->bytes_in_buffer -= step;
    count -= static_cast<long>(step);
  }
}

void EndSource(j_decompress_ptr) {}

uint8_t Scaled(unsigned a, unsigned b) {
  return static_cast<uint8_t>((a * b + 127) / 255);
}

// Ink values to light. Adobe's writers store CMYK inverted, and say so with their marker.
void CmykRowToRgba(const uint8_t* ink, uint8_t* rgba, uint32_t width, bool inverted) {
  for (uint32_t x = 0; x < width; ++x, ink += 4, rgba += 4) {
    unsigned c = ink[0], m = ink[1], y = ink[2], k = ink[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    rgba[0] = Scaled(c, k);
    rgba[1] = Scaled(m, k);
    rgba[2] = Scaled(y, k);
    rgba[3] = 0xFF;
  }
}

}  // namespace

bool BeginJpeg(JpegReading** out, const SourceBytes& bytes, int32_t* width, int32_t* height, const char** why) {
  JpegReading* reading = static_cast<JpegReading*>(std::calloc(1, sizeof(JpegReading)));
  *out = reading;
  if (!reading) return Refuse(why, "not enough memory to read the JPEG");
  reading->info.err = jpeg_std_error(&reading->errors);
  reading->errors.error_exit = OnError;
  reading->errors.emit_message = OnMessage;
  if (setjmp(reading->jump)) return Refuse(why, reading->message);
  jpeg_create_decompress(&reading->info);
  reading->created = true;
  reading->info.mem->max_memory_to_use = kMaxCodecMemory;
  reading->progress.progress_monitor = WatchScans;
  reading->info.progress = &reading->progress;
  StartSourceByteReader(&reading->file, bytes);
  reading->source.init_source = StartSource;
  reading->source.fill_input_buffer = FillSource;
  reading->source.skip_input_data = SkipSource;
  reading->source.resync_to_restart = jpeg_resync_to_restart;
  reading->source.term_source = EndSource;
  reading->info.src = &reading->source;
  jpeg_read_header(&reading->info, TRUE);

  if (const char* problem = PictureSizeProblem(reading->info.image_width, reading->info.image_height))
    return Refuse(why, problem);
  J_COLOR_SPACE space = reading->info.jpeg_color_space;
  reading->cmyk = space == JCS_CMYK || space == JCS_YCCK;
  reading->info.out_color_space = reading->cmyk ? JCS_CMYK : JCS_EXT_RGBA;
  *width = static_cast<int32_t>(reading->info.image_width);
  *height = static_cast<int32_t>(reading->info.image_height);
  return true;
}

// The next row into `target`; false, with the reason kept, when the data ends early.
static bool ReadJpegRow(JpegReading* reading, uint8_t* target) {
  JSAMPROW row = reading->cmyk ? reading->row : target;
  if (jpeg_read_scanlines(&reading->info, &row, 1) != 1) return false;
  if (reading->cmyk) CmykRowToRgba(reading->row, target, reading->info.output_width, reading->info.saw_Adobe_marker);
  return true;
}

// Starts the decompression (once); false when there is no memory for a CMYK row.
static bool StartJpeg(JpegReading* reading) {
  if (reading->delivered) return true;
  reading->delivered = true;
  jpeg_start_decompress(&reading->info);
  if (reading->cmyk) {
    reading->row = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(reading->info.output_width) * 4));
    if (!reading->row) return false;
  }
  return true;
}

PictureStep NextJpegFrame(JpegReading* reading, uint8_t* rgba, const char** why) {
  if (reading->delivered) return PictureEnded;
  if (setjmp(reading->jump)) return Damaged(why, reading->message);
  if (!StartJpeg(reading)) return Damaged(why, "not enough memory to read the JPEG");
  const uint32_t width = reading->info.output_width;
  while (reading->info.output_scanline < reading->info.output_height) {
    uint8_t* target = rgba + static_cast<size_t>(reading->info.output_scanline) * width * 4;
    if (!ReadJpegRow(reading, target)) return Damaged(why, "JPEG data ends early");
  }
  if (reading->corrupt) return Damaged(why, reading->message);
  return PictureFrameReady;
}

PictureStep NextJpegRow(JpegReading* reading, uint8_t* rgba, const char** why) {
  reading->target = rgba;
  if (setjmp(reading->jump)) return Damaged(why, reading->message);
  if (!StartJpeg(reading)) return Damaged(why, "not enough memory to read the JPEG");
  if (reading->info.output_scanline >= reading->info.output_height) return PictureEnded;
  if (!ReadJpegRow(reading, reading->target)) return Damaged(why, "JPEG data ends early");
  if (reading->info.output_scanline == reading->info.output_height && reading->corrupt)
    return Damaged(why, reading->message);
  return PictureFrameReady;
}

void EndJpeg(JpegReading* reading) {
  if (!reading) return;
  if (reading->created) jpeg_destroy_decompress(&reading->info);
  std::free(reading->row);
  std::free(reading);
}
