// Compressed waves through the Audio Compression Manager: the wave's own format chunk names the
// codec, which converts its data chunk, block by block, to 16-bit PCM.
#include <windows.h>
// After <windows.h>.
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <cstdlib>
#include <cstring>

#include "byte_order.h"
#include "windows_sound_readers.h"

namespace {

typedef MMRESULT(WINAPI* OpenProc)(HACMSTREAM*, HACMDRIVER, WAVEFORMATEX*, WAVEFORMATEX*, WAVEFILTER*, DWORD_PTR,
                                   DWORD_PTR, DWORD);
typedef MMRESULT(WINAPI* SizeProc)(HACMSTREAM, DWORD, DWORD*, DWORD);
typedef MMRESULT(WINAPI* HeaderProc)(HACMSTREAM, ACMSTREAMHEADER*, DWORD);
typedef MMRESULT(WINAPI* CloseProc)(HACMSTREAM, DWORD);

// Source blocks converted at a time: a fraction of a second for every common form.
const uint32_t kBlocksPerStep = 32;
const uint32_t kMaxFormatBytes = 1024;

template <typename T>
T Proc(HMODULE module, const char* name) {
  return module ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

bool Tag(const uint8_t* at, const char* tag) { return std::memcmp(at, tag, 4) == 0; }

// The format chunk as a WAVEFORMATEX (its extra bytes included) and the data chunk, clamped to
// what the file holds; the fact chunk's frame count when there is one.
bool FindChunks(const uint8_t* bytes, size_t size, const uint8_t** format, uint32_t* formatBytes,
                const uint8_t** data, size_t* dataBytes, uint64_t* frames) {
  *format = nullptr;
  *frames = 0;
  for (size_t at = 12; size - at >= 8;) {
    const uint32_t length = ReadU32LE(bytes + at + 4);
    const size_t available = size - at - 8;
    if (Tag(bytes + at, "fmt ")) {
      if (length < 16 || length > kMaxFormatBytes || length > available) return false;
      *format = bytes + at + 8;
      *formatBytes = length;
    } else if (Tag(bytes + at, "fact") && length >= 4 && available >= 4) {
      *frames = ReadU32LE(bytes + at + 8);
    } else if (Tag(bytes + at, "data")) {
      *data = bytes + at + 8;
      *dataBytes = length < available ? length : available;
      return *format != nullptr;
    }
    const uint64_t next = static_cast<uint64_t>(at) + 8 + length + (length & 1);
    if (next > size) return false;
    at = static_cast<size_t>(next);
  }
  return false;
}

}  // namespace

SoundOpening BeginAcm(AcmReading* self, const SourceBytes& file, SoundShape* shape, SoundMessage message,
                      const char** why) {
  const size_t size = static_cast<size_t>(file.size);  // capped by the codec
  self->file = static_cast<uint8_t*>(std::malloc(size > 0 ? size : 1));
  if (!self->file) {
    *why = "not enough memory to read the sound file";
    return SoundUnreadable;
  }
  if (ReadSourceBytes(file, 0, self->file, size) != size) {
    *why = "the sound file could not be read whole";
    return SoundUnreadable;
  }
  const uint8_t* bytes = self->file;
  const uint8_t* chunk = nullptr;
  const uint8_t* data = nullptr;
  uint32_t chunkBytes = 0;
  size_t dataBytes = 0;
  uint64_t frames = 0;
  if (size < 12 || !FindChunks(bytes, size, &chunk, &chunkBytes, &data, &dataBytes, &frames)) {
    *why = "its format or data chunk cannot be found";
    return SoundUnreadable;
  }
  // A format chunk of 16 bytes has no size of extra bytes; the codec is given one of 0.
  uint8_t formatBytes[kMaxFormatBytes + 2] = {};
  std::memcpy(formatBytes, chunk, chunkBytes);
  WAVEFORMATEX* source = reinterpret_cast<WAVEFORMATEX*>(formatBytes);
  if (chunkBytes < 18) source->cbSize = 0;
  if (source->cbSize > chunkBytes - 18 && chunkBytes >= 18) source->cbSize = static_cast<WORD>(chunkBytes - 18);
  if (source->nChannels == 0 || source->nChannels > kMaxSoundChannels || source->nSamplesPerSec == 0 ||
      source->nSamplesPerSec > kMaxSoundRate || source->nBlockAlign == 0) {
    *why = "its channel count, sample rate or block size is out of range";
    return SoundUnreadable;
  }
  self->library = LoadLibraryA("msacm32.dll");
  OpenProc open = Proc<OpenProc>(self->library, "acmStreamOpen");
  if (!open || !Proc<SizeProc>(self->library, "acmStreamSize")) {
    *why = "this system has no Audio Compression Manager to decode compressed waves";
    return SoundNotTakenHere;
  }
  WAVEFORMATEX pcm = {};
  pcm.wFormatTag = WAVE_FORMAT_PCM;
  pcm.nChannels = source->nChannels;
  pcm.nSamplesPerSec = source->nSamplesPerSec;
  pcm.wBitsPerSample = 16;
  pcm.nBlockAlign = static_cast<WORD>(2 * pcm.nChannels);
  pcm.nAvgBytesPerSec = pcm.nSamplesPerSec * pcm.nBlockAlign;
  HACMSTREAM stream = nullptr;
  const MMRESULT opened = open(&stream, nullptr, source, &pcm, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME);
  if (opened != MMSYSERR_NOERROR) {
    wsprintfA(message.text, "the system has no codec for wave format 0x%04X (error %u)", source->wFormatTag,
              static_cast<unsigned>(opened));
    *why = message.text;
    return SoundNotTakenHere;
  }
  self->stream = stream;
  self->source = data;
  self->sourceLeft = dataBytes;
  self->blockBytes = source->nBlockAlign;
  self->first = true;
  self->frameBytes = pcm.nBlockAlign;
  shape->channels = pcm.nChannels;
  shape->rate = pcm.nSamplesPerSec;
  shape->frames = frames;
  return SoundOpened;
}

SoundStep ReadAcm(AcmReading* self, int16_t* samples, size_t room, size_t* frames, SoundMessage message,
                  const char** why) {
  if (!self->stream) return SoundEnded;
  while (self->pendingBytes < self->frameBytes) {
    // Whole blocks only; a piece of a block at the end of the data is no sound.
    const size_t step = static_cast<size_t>(self->blockBytes) * kBlocksPerStep;
    size_t piece = self->sourceLeft < step ? self->sourceLeft : step;
    piece -= piece % self->blockBytes;
    if (piece == 0) return SoundEnded;
    HACMSTREAM stream = static_cast<HACMSTREAM>(self->stream);
    DWORD needed = 0;
    SizeProc size = Proc<SizeProc>(self->library, "acmStreamSize");
    if (size(stream, static_cast<DWORD>(piece), &needed, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR || needed == 0) {
      *why = "the codec cannot say how large its samples will be";
      return SoundDamaged;
    }
    if (needed > self->convertedSize) {
      uint8_t* larger = static_cast<uint8_t*>(std::realloc(self->converted, needed));
      if (!larger) {
        *why = "not enough memory to decode it";
        return SoundDamaged;
      }
      self->converted = larger;
      self->convertedSize = needed;
    }
    ACMSTREAMHEADER header = {};
    header.cbStruct = sizeof header;
    header.pbSrc = const_cast<LPBYTE>(self->source);
    header.cbSrcLength = static_cast<DWORD>(piece);
    header.pbDst = self->converted;
    header.cbDstLength = needed;
    HeaderProc prepare = Proc<HeaderProc>(self->library, "acmStreamPrepareHeader");
    HeaderProc convert = Proc<HeaderProc>(self->library, "acmStreamConvert");
    HeaderProc unprepare = Proc<HeaderProc>(self->library, "acmStreamUnprepareHeader");
    if (!prepare || !convert || !unprepare || prepare(stream, &header, 0) != MMSYSERR_NOERROR) {
      *why = "the codec does not take the samples";
      return SoundDamaged;
    }
    const bool last = piece == self->sourceLeft || self->sourceLeft - piece < self->blockBytes;
    const DWORD flags = ACM_STREAMCONVERTF_BLOCKALIGN | (self->first ? ACM_STREAMCONVERTF_START : 0) |
                        (last ? ACM_STREAMCONVERTF_END : 0);
    const MMRESULT converted = convert(stream, &header, flags);
    unprepare(stream, &header, 0);
    if (converted != MMSYSERR_NOERROR || header.cbSrcLengthUsed == 0) {
      wsprintfA(message.text, "its samples cannot be decoded (error %u)", static_cast<unsigned>(converted));
      *why = message.text;
      return SoundDamaged;
    }
    self->first = false;
    self->source += header.cbSrcLengthUsed;
    self->sourceLeft -= header.cbSrcLengthUsed;
    self->pending = self->converted;
    self->pendingBytes = header.cbDstLengthUsed;
  }
  size_t given = self->pendingBytes / self->frameBytes;
  if (given > room) given = room;
  const size_t bytes = given * self->frameBytes;
  std::memcpy(samples, self->pending, bytes);
  self->pending += bytes;
  self->pendingBytes -= bytes;
  *frames = given;
  return SoundSamplesReady;
}

void EndAcm(AcmReading* self) {
  if (self->stream) {
    CloseProc close = Proc<CloseProc>(self->library, "acmStreamClose");
    if (close) close(static_cast<HACMSTREAM>(self->stream), 0);
  }
  std::free(self->converted);
  std::free(self->file);
  if (self->library) FreeLibrary(self->library);
  std::memset(self, 0, sizeof *self);
}
