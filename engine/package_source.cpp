#include "package_source.h"

#include <cstdlib>
#include <cstring>

#include "bitmap_limits.h"
#include "byte_order.h"
#include "byte_stream.h"
#include "dib_record.h"
#include "engine_host.h"
#include "package_records.h"
#include "scene_model.h"
#include "surface.h"

namespace {

// Far above any colour table a record can need (256 entries, or the entries a high-colour
// picture lists); a larger stated size is damage, passed over unread.
const uint32_t kMaxRecordHeader = 40 + 4 * 65536;

PackageSource* Self(SceneSource* source) {
  return reinterpret_cast<PackageSource*>(source);
}

bool ReadExactly(PackageSource* self, void* into, uint32_t count) {
  if (self->ended) {
    memset(into, 0, count);
    return false;
  }
  uint32_t got = self->stream->read(self->stream, into, count);
  if (got < count) {
    memset(static_cast<uint8_t*>(into) + got, 0, count - got);
    self->ended = true;
    return false;
  }
  return true;
}

uint8_t ReadU8(PackageSource* self) {
  uint8_t value = 0;
  ReadExactly(self, &value, 1);
  return value;
}

int32_t ReadI32(PackageSource* self) {
  uint8_t bytes[4];
  ReadExactly(self, bytes, 4);
  return ReadI32LE(bytes);
}

void Skip(PackageSource* self, uint32_t count) {
  if (!self->ended && count && !self->stream->skip(self->stream, count)) self->ended = true;
}

void ReadTag(PackageSource* self) {
  self->tag = ReadU8(self);
  self->haveTag = true;
}

void ReadTiming(SceneSource* source, int32_t* redrawPeriod, int32_t* multiplier) {
  PackageSource* self = Self(source);
  for (uint32_t line = 0; line < kMemoLineCount; ++line) {
    uint8_t length[4];
    ReadExactly(self, length, 4);
    Skip(self, ReadU32LE(length));
  }
  ReadU8(self);  // the timing tag, taken by position
  *redrawPeriod = ReadI32(self);
  *multiplier = ReadI32(self);
}

uint8_t ReadTransparency(SceneSource* source) {
  return ReadU8(Self(source));
}

bool BeginCharacter(SceneSource* source) {
  PackageSource* self = Self(source);
  if (!self->haveTag) ReadTag(self);
  return !self->ended && self->tag != kBackgroundTag;
}

bool LoadFrame(SceneSource* source, int, const Surface* reference, Surface** sprite) {
  PackageSource* self = Self(source);
  if (self->ended || self->tag != kFrameTag) return false;
  *sprite = ReadFrameRecord(self->stream, reference, &self->ended);
  if (self->ended) {
    // Cut short inside the record: the frame list, and the scene, end here.
    ReleaseSurface(*sprite);
    *sprite = nullptr;
    return false;
  }
  ReadTag(self);
  return true;
}

bool ReadMotion(SceneSource* source, CharacterState* c) {
  PackageSource* self = Self(source);
  c->speedX = ReadI32(self);
  c->speedY = ReadI32(self);
  c->speedDepth = ReadI32(self);
  c->frameStep = ReadI32(self);
  c->bounceX = ReadU8(self);
  c->bounceY = ReadU8(self);
  c->bounceDepth = ReadU8(self);
  c->pingPong = ReadU8(self);
  c->visibleRate = static_cast<int8_t>(ReadU8(self));
  self->haveTag = false;
  return !self->ended;
}

bool ReadBackground(SceneSource* source, SceneBackground* background) {
  PackageSource* self = Self(source);
  // After a twentieth character the tag is read here and taken as "G" without a test.
  if (!self->haveTag) ReadTag(self);
  background->noColour = ReadI32(self);
  if (background->noColour == 0) {
    uint32_t red = static_cast<uint8_t>(ReadI32(self));
    uint32_t green = static_cast<uint8_t>(ReadI32(self));
    uint32_t blue = static_cast<uint8_t>(ReadI32(self));
    background->colour = red | (green << 8) | (blue << 16);
  }
  background->wallpaper = ReadI32(self);
  background->stretch = ReadI32(self);
  return !self->ended;
}

Surface* LoadWallpaper(SceneSource* source, const Surface* reference) {
  PackageSource* self = Self(source);
  ReadU8(self);  // its tag, taken by position
  if (self->ended) return nullptr;
  return ReadFrameRecord(self->stream, reference, &self->ended);
}

void StartSound(SceneSource* source) {
  PackageSource* self = Self(source);
  ReadU8(self);  // the sound tag, taken by position
  int32_t size = ReadI32(self);
  if (self->ended || size <= 0 || static_cast<uint64_t>(size) > kMaxBitmapBytes) return;
  uint8_t* data = static_cast<uint8_t*>(malloc(static_cast<size_t>(size)));
  if (!data) return;
  if (!ReadExactly(self, data, static_cast<uint32_t>(size))) {
    free(data);
    return;
  }
  // Playback reads the block until it is stopped, so the model keeps it until the end.
  scene.soundSize = size;
  scene.soundData = data;
  scene.soundPlaying = 1;
  HostPlaySound(data, size);
}

void Close(SceneSource*) {}

void SkipBlock(ByteStream* stream, uint32_t count, bool* ended) {
  if (!*ended && count && !stream->skip(stream, count)) *ended = true;
}

}  // namespace

Surface* ReadFrameRecord(ByteStream* stream, const Surface* reference, bool* ended) {
  uint8_t sizes[8];
  if (stream->read(stream, sizes, 8) != 8) {
    *ended = true;
    return nullptr;
  }
  const uint32_t headerSize = ReadU32LE(sizes);
  const uint32_t bitsSize = ReadU32LE(sizes + 4);
  if (headerSize < kInfoHeaderSize || headerSize > kMaxRecordHeader ||
      bitsSize > kMaxBitmapBytes) {
    SkipBlock(stream, headerSize, ended);
    SkipBlock(stream, bitsSize, ended);
    return nullptr;
  }
  uint8_t* header = static_cast<uint8_t*>(malloc(headerSize));
  uint8_t* bits = static_cast<uint8_t*>(malloc(bitsSize ? bitsSize : 1));
  Surface* picture = nullptr;
  if (!header || !bits) {
    SkipBlock(stream, headerSize, ended);
    SkipBlock(stream, bitsSize, ended);
  } else if (stream->read(stream, header, headerSize) != headerSize ||
             stream->read(stream, bits, bitsSize) != bitsSize) {
    *ended = true;
  } else {
    // The record holds the first 40 bytes of whichever header form the file had, with the
    // colour table straight after them; the drawing side must not look further.
    if (ReadU32LE(header) > kInfoHeaderSize) WriteU32LE(header, kInfoHeaderSize);
    picture = LoadRecordSurface(reference, header, headerSize, bits, bitsSize);
  }
  free(header);
  free(bits);
  return picture;
}

void OpenPackageSource(PackageSource* source, ByteStream* stream) {
  memset(source, 0, sizeof *source);
  source->base.readTiming = ReadTiming;
  source->base.readTransparency = ReadTransparency;
  source->base.beginCharacter = BeginCharacter;
  source->base.loadFrame = LoadFrame;
  source->base.readMotion = ReadMotion;
  source->base.readBackground = ReadBackground;
  source->base.loadWallpaper = LoadWallpaper;
  source->base.startSound = StartSound;
  source->base.close = Close;
  source->stream = stream;
}
