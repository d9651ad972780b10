#include "package_reader.h"

#include <cstring>

#include "byte_order.h"
#include "dib_image.h"

namespace {

// A read position that refuses to move past the end; the first refusal is the one reported.
struct Cursor {
  const uint8_t* data;
  size_t size;
  size_t pos;
  PackageError* error;

  bool Stop(const char* reason) {
    if (error) {
      error->offset = pos;
      error->reason = reason;
    }
    return false;
  }
  bool Has(size_t count) const { return count <= size - pos; }
  bool Take(size_t count, const uint8_t** where, const char* reason) {
    if (!Has(count)) return Stop(reason);
    *where = data + pos;
    pos += count;
    return true;
  }
  bool U8(uint8_t* value, const char* reason) {
    const uint8_t* p;
    if (!Take(1, &p, reason)) return false;
    *value = *p;
    return true;
  }
  bool U32(uint32_t* value, const char* reason) {
    const uint8_t* p;
    if (!Take(4, &p, reason)) return false;
    *value = ReadU32LE(p);
    return true;
  }
  bool I32(int32_t* value, const char* reason) {
    uint32_t raw;
    if (!U32(&raw, reason)) return false;
    *value = static_cast<int32_t>(raw);
    return true;
  }
  bool Tag(uint8_t expected, const char* reason) {
    if (!Has(1)) return Stop(reason);
    if (data[pos] != expected) return Stop(reason);
    ++pos;
    return true;
  }
};

bool ReadMemo(Cursor* in, MemoLineView lines[kMemoLineCount]) {
  for (uint32_t i = 0; i < kMemoLineCount; ++i) {
    size_t start = in->pos;
    if (!in->U32(&lines[i].length, "memo block cut short: line length missing")) return false;
    if (lines[i].length > kMaxMemoLineLength) {
      in->pos = start;
      return in->Stop("memo line longer than 259 bytes");
    }
    if (!in->Take(lines[i].length, &lines[i].text, "memo block cut short: line text missing")) return false;
  }
  return true;
}

// The rest of a frame record after its tag. The sizes must agree with the info header they
// describe, which every written record does; damage rarely keeps them in agreement. biSize is
// not held to 40: a builder that copies the first 40 bytes of a longer header writes another
// value there, and decoding, not reading, is where that matters.
bool ReadFrameBody(Cursor* in, FrameRecordView* frame) {
  size_t start = in->pos;
  if (!in->U32(&frame->headerSize, "frame record cut short: header size missing")) return false;
  if (!in->U32(&frame->bitsSize, "frame record cut short: bits size missing")) return false;
  if (frame->headerSize < 40) {
    in->pos = start;
    return in->Stop("frame record header size below 40");
  }
  if (!in->Has(frame->headerSize)) return in->Stop("frame record cut short: header runs past the end");
  const uint8_t* header = in->data + in->pos;
  uint64_t expectedHeader = 40 + 4 * static_cast<uint64_t>(DibColourCount(ReadU32LE(header + 32), ReadU16LE(header + 14)));
  if (expectedHeader != frame->headerSize) return in->Stop("frame record header size disagrees with its colour count");
  if (ReadU32LE(header + 20) != frame->bitsSize) return in->Stop("frame record bits size disagrees with biSizeImage");
  in->pos += frame->headerSize;
  frame->header = header;
  return in->Take(frame->bitsSize, &frame->bits, "frame record cut short: pixel bits run past the end");
}

bool ReadMotion(Cursor* in, MotionRecord* motion) {
  const uint8_t* p;
  if (!in->Tag(kMotionTag, "motion record expected (tag 'P')")) return false;
  if (!in->Take(kMotionRecordSize - 1, &p, "motion record cut short")) return false;
  motion->speedX = ReadI32LE(p);
  motion->speedY = ReadI32LE(p + 4);
  motion->speedDepth = ReadI32LE(p + 8);
  motion->frameStep = ReadI32LE(p + 12);
  motion->bounceX = p[16];
  motion->bounceY = p[17];
  motion->bounceDepth = p[18];
  motion->pingPong = p[19];
  motion->visibleRate = p[20];
  return true;
}

bool ReadCharacters(Cursor* in, ScenePackageView* out) {
  out->characterCount = 0;
  while (out->characterCount < static_cast<uint32_t>(kCharacterCount)) {
    if (!in->Has(1)) return in->Stop("package cut short: character group or background record expected");
    if (in->data[in->pos] == kBackgroundTag) return true;
    CharacterGroupView* group = &out->characters[out->characterCount];
    group->frameCount = 0;
    while (group->frameCount < static_cast<uint32_t>(kFrameSlotCount) && in->Has(1) && in->data[in->pos] == kFrameTag) {
      ++in->pos;
      if (!ReadFrameBody(in, &group->frames[group->frameCount])) return false;
      ++group->frameCount;
    }
    if (!ReadMotion(in, &group->motion)) return false;
    ++out->characterCount;
  }
  return true;
}

bool ReadBackground(Cursor* in, ScenePackageView* out) {
  BackgroundRecord* background = &out->background;
  if (!in->Tag(kBackgroundTag, "background record expected (tag 'G')")) return false;
  if (!in->I32(&background->noColour, "background record cut short")) return false;
  if (background->noColour == 0) {
    if (!in->I32(&background->red, "background record cut short: colour missing") ||
        !in->I32(&background->green, "background record cut short: colour missing") ||
        !in->I32(&background->blue, "background record cut short: colour missing"))
      return false;
  }
  if (!in->I32(&background->wallpaper, "background record cut short: wallpaper flag missing")) return false;
  if (!in->I32(&background->stretch, "background record cut short: stretch flag missing")) return false;
  if (background->wallpaper == 0) return true;
  if (!in->Tag(kFrameTag, "wallpaper frame record expected (tag 'B')")) return false;
  return ReadFrameBody(in, &out->wallpaper);
}

bool ReadSound(Cursor* in, ScenePackageView* out) {
  if (!in->Tag(kSoundTag, "sound record expected (tag 'S')")) return false;
  if (!in->U32(&out->soundSize, "sound record cut short: length missing")) return false;
  if (out->soundSize != 0 && !in->Take(out->soundSize, &out->sound, "sound record cut short: wave data runs past the end"))
    return false;
  if (in->pos != in->size) return in->Stop("bytes follow the sound record");
  return true;
}

}  // namespace

bool ReadMemoBlock(const uint8_t* data, size_t size, MemoLineView lines[kMemoLineCount], size_t* end,
                   PackageError* error) {
  Cursor in = {data, data ? size : 0, 0, error};
  std::memset(lines, 0, sizeof(MemoLineView) * kMemoLineCount);
  if (!ReadMemo(&in, lines)) return false;
  if (end) *end = in.pos;
  return true;
}

bool ReadScenePackage(const uint8_t* data, size_t size, ScenePackageView* out, PackageError* error) {
  std::memset(out, 0, sizeof(*out));
  size_t memoEnd = 0;
  if (!ReadMemoBlock(data, size, out->memo, &memoEnd, error)) return false;
  Cursor in = {data, size, memoEnd, error};
  const uint8_t* p;
  if (!in.Tag(kTimingTag, "timing record expected (tag 'T')")) return false;
  if (!in.Take(kTimingRecordSize - 1, &p, "timing record cut short")) return false;
  out->timing.redrawPeriod = ReadI32LE(p);
  out->timing.frameMultiplier = ReadI32LE(p + 4);
  out->timing.transparent = p[8];
  return ReadCharacters(&in, out) && ReadBackground(&in, out) && ReadSound(&in, out);
}
