#include "package_source.h"

#include <cstdlib>
#include <cstring>

#include "size_limits.h"
#include "byte_order.h"
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

void ReadTag(PackageSource* self) {
  self->tag = ReadRecordByte(&self->reader);
  self->haveTag = true;
}

// The header of the record that follows a "B" tag, its pixel block still to come: null for a
// record that cannot be had, which is then passed over by its stated sizes.
uint8_t* ReadRecordHeader(RecordReader* reader, uint32_t* headerSize, uint32_t* bitsSize) {
  ReadFrameSizes(reader, headerSize, bitsSize);
  if (reader->ended) return nullptr;
  // A record that claims more than the package holds is cut short: nothing that size is asked for.
  uint8_t* header = nullptr;
  if (*headerSize >= kInfoHeaderSize && *headerSize <= kMaxRecordHeader && *bitsSize <= kMaxBitmapBytes &&
      RecordBytesLeft(reader, static_cast<uint64_t>(*headerSize) + *bitsSize)) {
    header = static_cast<uint8_t*>(malloc(*headerSize));
  }
  if (!header) {
    SkipRecordBytes(reader, *headerSize);
    SkipRecordBytes(reader, *bitsSize);
    return nullptr;
  }
  ReadRecordBytes(reader, header, *headerSize);
  // The record holds the first 40 bytes of whichever header form the file had, with the colour
  // table straight after them; the drawing side must not look further.
  if (ReadU32LE(header) > kInfoHeaderSize) WriteU32LE(header, kInfoHeaderSize);
  return header;
}

// A frame record as a surface: null for one that cannot be had or decoded; the record is
// consumed by its stated sizes either way.
Surface* ReadFrameRecord(RecordReader* reader, const Surface* reference) {
  uint32_t headerSize, bitsSize;
  uint8_t* header = ReadRecordHeader(reader, &headerSize, &bitsSize);
  if (!header) return nullptr;
  uint8_t* bits = static_cast<uint8_t*>(malloc(bitsSize ? bitsSize : 1));
  Surface* picture = nullptr;
  if (!bits) {
    SkipRecordBytes(reader, bitsSize);
  } else if (ReadRecordBytes(reader, bits, bitsSize)) {
    picture = LoadRecordSurface(reference, header, headerSize, bits, bitsSize, true);
  }
  free(header);
  free(bits);
  return picture;
}

void ReadTiming(SceneSource* source, int32_t* redrawPeriod, int32_t* multiplier) {
  PackageSource* self = Self(source);
  for (uint32_t line = 0; line < kMemoLineCount; ++line) ReadMemoLine(&self->reader, nullptr, 0);
  ReadRecordByte(&self->reader);  // the timing tag, taken by position
  TimingRecord timing;
  ReadTimingFields(&self->reader, &timing);
  *redrawPeriod = timing.redrawPeriod;
  *multiplier = timing.frameMultiplier;
  self->transparent = timing.transparent;
}

uint8_t ReadTransparency(SceneSource* source) {
  return Self(source)->transparent;
}

bool BeginCharacter(SceneSource* source) {
  PackageSource* self = Self(source);
  if (!self->haveTag) ReadTag(self);
  return !self->reader.ended && self->tag != kBackgroundTag;
}

bool LoadFrame(SceneSource* source, int, const Surface* reference, Surface** sprite) {
  PackageSource* self = Self(source);
  if (self->reader.ended || self->tag != kFrameTag) return false;
  *sprite = ReadFrameRecord(&self->reader, reference);
  if (self->reader.ended) {
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
  MotionRecord motion;
  ReadMotionFields(&self->reader, &motion);
  TakeMotionRecord(motion, c);
  self->haveTag = false;
  return !self->reader.ended;
}

bool ReadBackground(SceneSource* source, SceneBackground* background) {
  PackageSource* self = Self(source);
  // After a twentieth character the tag is read here and taken as "G" without a test.
  if (!self->haveTag) ReadTag(self);
  BackgroundRecord record;
  ReadBackgroundFields(&self->reader, &record);
  *background = BackgroundOfRecord(record);
  return !self->reader.ended;
}

// The wallpaper record's header, with its pixel rows left in the stream to be read band by band.
bool BeginWallpaper(SceneSource* source, int32_t* width, int32_t* height) {
  PackageSource* self = Self(source);
  RecordReader* reader = &self->reader;
  ReadRecordByte(reader);  // its tag, taken by position
  uint32_t headerSize, bitsSize;
  uint8_t* header = ReadRecordHeader(reader, &headerSize, &bitsSize);
  if (!header) return false;
  if (!DibRecordFits(header, headerSize, bitsSize)) {
    free(header);
    SkipRecordBytes(reader, bitsSize);
    return false;
  }
  self->wallHeader = header;
  self->wallHeaderSize = headerSize;
  self->wallBitsLeft = bitsSize;
  StartRecordBands(&self->wallBands, header, self->bandBytes);
  *width = ReadI32LE(header + 4);
  *height = self->wallBands.height;
  return true;
}

// Passes over what is left of the wallpaper record, so that the sound record follows.
void EndWallpaper(PackageSource* self) {
  SkipRecordBytes(&self->reader, self->wallBitsLeft);
  self->wallBitsLeft = 0;
  free(self->wallHeader);
  self->wallHeader = nullptr;
}

Surface* NextWallpaperBand(SceneSource* source, const Surface* reference, const WallpaperPlacement*, int32_t* top) {
  PackageSource* self = Self(source);
  if (!self->wallHeader) return nullptr;
  RecordBands* bands = &self->wallBands;
  const int32_t rows = NextRecordBand(bands, top);
  const uint32_t bytes = bands->rowBytes ? bands->rowBytes * static_cast<uint32_t>(rows) : self->wallBitsLeft;
  uint8_t* bits = rows > 0 ? static_cast<uint8_t*>(malloc(bytes ? bytes : 1)) : nullptr;
  Surface* band = nullptr;
  if (bits && ReadRecordBytes(&self->reader, bits, bytes)) {
    self->wallBitsLeft -= bytes;
    band = bands->rowBytes ? LoadRecordRows(reference, self->wallHeader, self->wallHeaderSize, bits, rows)
                           : LoadRecordSurface(reference, self->wallHeader, self->wallHeaderSize, bits, bytes);
  }
  free(bits);
  if (!band) EndWallpaper(self);
  return band;
}

void StartSound(SceneSource* source, SceneModel* scene) {
  PackageSource* self = Self(source);
  ReadRecordByte(&self->reader);  // the sound tag, taken by position
  int32_t size = ReadRecordInt(&self->reader);
  if (self->reader.ended || size <= 0 || static_cast<uint64_t>(size) > kMaxSoundBytes) return;
  if (!RecordBytesLeft(&self->reader, static_cast<uint64_t>(size))) return;
  // Playback reads the block until it is stopped, so the model keeps it until the end: in
  // place where the stream lies in a mapped file, else a copy of its own.
  ByteStream* stream = self->reader.stream;
  uint8_t* data = stream->view ? const_cast<uint8_t*>(stream->view(stream, static_cast<uint32_t>(size))) : nullptr;
  scene->soundInPlace = data != nullptr;
  if (!data) {
    data = static_cast<uint8_t*>(malloc(static_cast<size_t>(size)));
    if (!data) return;
    if (!ReadRecordBytes(&self->reader, data, static_cast<uint32_t>(size))) {
      free(data);
      return;
    }
  }
  scene->soundSize = size;
  scene->soundData = data;
  scene->soundPlaying = 1;
  scene->host->playSound(scene->host, data, size);
}

void Close(SceneSource* source) {
  free(Self(source)->wallHeader);
  Self(source)->wallHeader = nullptr;
}

// A package's wallpaper record passed the player's record check before its first band.
const SceneSource kPackageOperations = {ReadTiming,     ReadTransparency, BeginCharacter,    LoadFrame,  ReadMotion,
                                        ReadBackground, BeginWallpaper,   NextWallpaperBand, StartSound, Close,
                                        nullptr};

}  // namespace

void OpenPackageSource(PackageSource* source, ByteStream* stream) {
  memset(source, 0, sizeof *source);
  source->base = kPackageOperations;
  source->bandBytes = kWallpaperBandBytes;
  OpenRecordReader(&source->reader, stream);
}
