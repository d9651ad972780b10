// Any bytes as a picture file named in the settings, taken by the builder's picture intake with
// the Linux tools' codecs: every format it takes (bitmaps, bitmaps wrapping PNG or JPEG, PNG,
// JPEG, GIF). The file is refused with a reason, or gives frames whose records are normalised
// (one plane, sizes that agree, only known repairs named) and that the package reader accepts
// and that decode, since the builder writes whatever the intake gives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "bitmap_intake.h"
#include "byte_order.h"
#include "dib_image.h"
#include "fuzz_frames.h"
#include "fuzz_support.h"
#include "library_picture_codec.h"
#include "package_reader.h"
#include "package_writer.h"
#include "picture_intake.h"
#include "vector_sink.h"

namespace {

// The record inside the smallest package that holds it, read back and decoded.
void CheckRecord(const BitmapRecord& record) {
  const uint8_t* info = record.infoHeader;
  if (ReadU16LE(info + 12) != 1 || ReadU32LE(info + 20) != record.bitsSize) std::abort();
  if (record.repairs >= 2 * kLastBitmapRepair) std::abort();
  VectorSink sink;
  for (uint32_t i = 0; i < kMemoLineCount; ++i) WriteMemoLine(&sink, "", 0);
  WriteTimingRecord(&sink, TimingRecord{50, 10, 0});
  WriteFrameRecord(&sink, BitmapRecordParts(record));
  WriteMotionRecord(&sink, MotionRecord{10, 10, 10, 1, 1, 1, 1, 0, 10});
  WriteBackgroundRecord(&sink, BackgroundRecord{1, 0, 0, 0, 0, 0});
  WriteSoundHeader(&sink, 0);
  static ScenePackageView view;
  PackageError error;
  if (!ReadScenePackage(sink.bytes.data(), sink.bytes.size(), &view, &error)) std::abort();
  if (view.characterCount != 1 || view.characters[0].frameCount != 1) std::abort();
  const FrameRecordView& frame = view.characters[0].frames[0];
  DibPixels pixels;
  const char* why = nullptr;
  if (!DecodeDib(frame.header, frame.headerSize, frame.bits, frame.bitsSize, &pixels, &why)) std::abort();
  ReleaseDibPixels(&pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFiles files(data, size);
  LibraryPictureCodec codecs;
  OpenLibraryPictureCodec(&codecs);
  PictureFile file;
  const char* why = nullptr;
  if (OpenPictureFile(&file, &files, "/f/x.bmp", &codecs.base, &why)) {
    CheckEachFrame(&file, NextPictureFileFrame, &why, CheckRecord);
  } else if (!why) {
    std::abort();
  }
  ClosePictureFile(&file);
  return 0;
}
