// Any bytes as a picture file: the intake refuses them or makes a record that the package reader
// accepts and that decodes, since the builder writes whatever the intake accepts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "picture_intake.h"
#include "dib_image.h"
#include "package_reader.h"
#include "package_writer.h"

namespace {

struct VectorSink : ByteSink {
  size_t Write(const void* data, size_t size) override {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + size);
    return size;
  }
  std::vector<uint8_t> bytes;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryBitmapSource source(data, size);
  BitmapRecord record;
  const char* why = nullptr;
  if (!IntakePicture(&source, &record, &why)) {
    if (!why || record.bits) std::abort();
    return 0;
  }

  // The record inside the smallest package that holds it, read back.
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
  if (!DecodeDib(frame.header, frame.headerSize, frame.bits, frame.bitsSize, &pixels, &why)) std::abort();
  ReleaseDibPixels(&pixels);
  ReleaseBitmapRecord(&record);
  return 0;
}
