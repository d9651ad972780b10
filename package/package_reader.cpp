#include "package_reader.h"

#include <cstring>

#include "byte_order.h"
#include "dib_image.h"
#include "record_reader.h"

namespace {

// The record reader over the package in memory, with the strict reading's own checks: each
// record must be whole and tagged as the writer tags it, and the first refusal is the one
// reported. Views point into the caller's bytes, where the stream stands.
struct Strict {
  MemoryStream stream;
  RecordReader in;
  PackageError* error;

  size_t Pos() const { return stream.position; }
  bool Has(size_t count) const { return count <= stream.size - stream.position; }
  bool Next(uint8_t tag) const { return Has(1) && stream.data[stream.position] == tag; }

  bool Stop(size_t at, const char* reason) {
    if (error) {
      error->offset = at;
      error->reason = reason;
    }
    return false;
  }
  bool Stop(const char* reason) { return Stop(Pos(), reason); }

  // Room for a fixed-size part before it is read.
  bool Need(size_t count, const char* reason) { return Has(count) || Stop(reason); }

  bool Tag(uint8_t expected, const char* reason) {
    if (!Next(expected)) return Stop(reason);
    ReadRecordByte(&in);
    return true;
  }

  bool View(uint32_t count, const uint8_t** where, const char* reason) {
    if (!Has(count)) return Stop(reason);
    *where = stream.data + stream.position;
    SkipRecordBytes(&in, count);
    return true;
  }
};

bool ReadMemo(Strict* s, MemoLineView lines[kMemoLineCount]) {
  for (uint32_t i = 0; i < kMemoLineCount; ++i) {
    size_t start = s->Pos();
    if (!s->Need(4, "memo block cut short: line length missing")) return false;
    lines[i].length = ReadMemoLine(&s->in, nullptr, 0);
    if (lines[i].length > kMaxMemoLineLength) return s->Stop(start, "memo line longer than 259 bytes");
    if (s->in.ended) return s->Stop(start + 4, "memo block cut short: line text missing");
    lines[i].text = s->stream.data + start + 4;
  }
  return true;
}

// The rest of a frame record after its tag. The sizes must agree with the info header they
// describe, which every written record does; damage rarely keeps them in agreement. biSize is
// not held to 40: a builder that copies the first 40 bytes of a longer header writes another
// value there, and decoding, not reading, is where that matters.
bool ReadFrameBody(Strict* s, FrameRecordView* frame) {
  size_t start = s->Pos();
  if (!s->Need(8, "frame record cut short: block sizes missing")) return false;
  ReadFrameSizes(&s->in, &frame->headerSize, &frame->bitsSize);
  if (frame->headerSize < 40) return s->Stop(start, "frame record header size below 40");
  if (!s->Has(frame->headerSize)) return s->Stop("frame record cut short: header runs past the end");
  const uint8_t* header = s->stream.data + s->Pos();
  uint64_t expectedHeader = 40 + 4 * static_cast<uint64_t>(DibColourCount(ReadU32LE(header + 32), ReadU16LE(header + 14)));
  if (expectedHeader != frame->headerSize) return s->Stop("frame record header size disagrees with its colour count");
  if (ReadU32LE(header + 20) != frame->bitsSize) return s->Stop("frame record bits size disagrees with biSizeImage");
  frame->header = header;
  SkipRecordBytes(&s->in, frame->headerSize);
  return s->View(frame->bitsSize, &frame->bits, "frame record cut short: pixel bits run past the end");
}

bool ReadMotion(Strict* s, MotionRecord* motion) {
  if (!s->Tag(kMotionTag, "motion record expected (tag 'P')")) return false;
  if (!s->Need(kMotionRecordSize - 1, "motion record cut short")) return false;
  ReadMotionFields(&s->in, motion);
  return true;
}

bool ReadCharacters(Strict* s, ScenePackageView* out) {
  out->characterCount = 0;
  while (out->characterCount < static_cast<uint32_t>(kCharacterCount)) {
    if (!s->Has(1)) return s->Stop("package cut short: character group or background record expected");
    if (s->Next(kBackgroundTag)) return true;
    CharacterGroupView* group = &out->characters[out->characterCount];
    group->frameCount = 0;
    while (group->frameCount < static_cast<uint32_t>(kFrameSlotCount) && s->Next(kFrameTag)) {
      ReadRecordByte(&s->in);
      if (!ReadFrameBody(s, &group->frames[group->frameCount])) return false;
      ++group->frameCount;
    }
    if (!ReadMotion(s, &group->motion)) return false;
    ++out->characterCount;
  }
  return true;
}

bool ReadBackground(Strict* s, ScenePackageView* out) {
  if (!s->Tag(kBackgroundTag, "background record expected (tag 'G')")) return false;
  size_t start = s->Pos();
  ReadBackgroundFields(&s->in, &out->background);
  if (s->in.ended) return s->Stop(start, "background record cut short");
  if (out->background.wallpaper == 0) return true;
  if (!s->Tag(kFrameTag, "wallpaper frame record expected (tag 'B')")) return false;
  return ReadFrameBody(s, &out->wallpaper);
}

bool ReadSound(Strict* s, ScenePackageView* out) {
  if (!s->Tag(kSoundTag, "sound record expected (tag 'S')")) return false;
  if (!s->Need(4, "sound record cut short: length missing")) return false;
  out->soundSize = static_cast<uint32_t>(ReadRecordInt(&s->in));
  if (out->soundSize != 0 && !s->View(out->soundSize, &out->sound, "sound record cut short: wave data runs past the end"))
    return false;
  if (s->Has(1)) return s->Stop("bytes follow the sound record");
  return true;
}

void Open(Strict* s, const uint8_t* data, size_t size, PackageError* error) {
  OpenMemoryStream(&s->stream, data, size);
  OpenRecordReader(&s->in, &s->stream.base);
  s->error = error;
}

}  // namespace

bool ReadMemoBlock(const uint8_t* data, size_t size, MemoLineView lines[kMemoLineCount], size_t* end,
                   PackageError* error) {
  Strict s;
  Open(&s, data, size, error);
  std::memset(lines, 0, sizeof(MemoLineView) * kMemoLineCount);
  if (!ReadMemo(&s, lines)) return false;
  if (end) *end = s.Pos();
  return true;
}

bool ReadScenePackage(const uint8_t* data, size_t size, ScenePackageView* out, PackageError* error) {
  std::memset(out, 0, sizeof(*out));
  Strict s;
  Open(&s, data, size, error);
  if (!ReadMemo(&s, out->memo)) return false;
  if (!s.Tag(kTimingTag, "timing record expected (tag 'T')")) return false;
  if (!s.Need(kTimingRecordSize - 1, "timing record cut short")) return false;
  ReadTimingFields(&s.in, &out->timing);
  return ReadCharacters(&s, out) && ReadBackground(&s, out) && ReadSound(&s, out);
}
