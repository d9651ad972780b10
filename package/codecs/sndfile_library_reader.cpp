// Compressed waves, Ogg and FLAC through libsndfile, read from the file in pieces.
#include <sndfile.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "library_sound_readers.h"

struct SndfileReading {
  SourceByteReader source;
  SNDFILE* file;
};

namespace {

SndfileReading* Reading(void* data) { return static_cast<SndfileReading*>(data); }

sf_count_t Length(void* data) { return static_cast<sf_count_t>(Reading(data)->source.bytes.size); }

sf_count_t Tell(void* data) { return static_cast<sf_count_t>(Reading(data)->source.taken); }

sf_count_t Seek(sf_count_t offset, int whence, void* data) {
  const sf_count_t size = Length(data);
  const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? Tell(data) : size;
  if (offset < -base || offset > size - base) return -1;
  SeekSourceReader(&Reading(data)->source, static_cast<uint64_t>(base + offset));
  return base + offset;
}

sf_count_t Read(void* out, sf_count_t count, void* data) {
  const sf_count_t left = Length(data) - Tell(data);
  if (count > left) count = left;
  if (count <= 0) return 0;
  // A file that cannot be read further reads as one that ends here.
  return static_cast<sf_count_t>(ReadSourceOn(&Reading(data)->source, out, static_cast<size_t>(count)));
}

sf_count_t Write(const void*, sf_count_t, void*) { return 0; }

// The library's container for each format this reader takes; a file the library reads as
// something else (an AIFF that starts like an Ogg) is not what its first bytes said.
bool SameContainer(SoundFormat format, int major) {
  switch (format) {
    case SoundCompressedWave: return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX;
    case SoundOgg: return major == SF_FORMAT_OGG;
    case SoundFlac: return major == SF_FORMAT_FLAC;
    default: return false;
  }
}

const char* Said(SoundMessage message, const char* what, const char* library) {
  std::snprintf(message.text, message.size, "%s (%s)", what, library && *library ? library : "unknown error");
  return message.text;
}

}  // namespace

SoundOpening BeginSndfile(SndfileReading** reading, SoundFormat format, const SourceBytes& sound, SoundShape* shape,
                          SoundMessage message, const char** why) {
  *reading = new (std::nothrow) SndfileReading;
  if (!*reading) {
    *why = "out of memory";
    return SoundUnreadable;
  }
  StartSourceByteReader(&(*reading)->source, sound);
  (*reading)->file = nullptr;
  static SF_VIRTUAL_IO io = {Length, Seek, Read, Write, Tell};
  SF_INFO info;
  std::memset(&info, 0, sizeof info);
  SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, *reading);
  if (!file) {
    // The library's reasons for a wave it has no decoder for name the form; others are damage.
    const int error = sf_error(nullptr);
    *why = Said(message, "its headers cannot be read", sf_error_number(error));
    return format == SoundCompressedWave && error == SF_ERR_UNSUPPORTED_ENCODING ? SoundNotTakenHere
                                                                                  : SoundUnreadable;
  }
  (*reading)->file = file;
  if (!SameContainer(format, info.format & SF_FORMAT_TYPEMASK)) {
    *why = "it holds another kind of sound than its first bytes say";
    return SoundUnreadable;
  }
  if (info.channels <= 0 || info.channels > kMaxSoundChannels || info.samplerate <= 0 ||
      static_cast<uint32_t>(info.samplerate) > kMaxSoundRate) {
    *why = "its channel count or sample rate is out of range";
    return SoundUnreadable;
  }
  // Decoders that work in floating point may overshoot full scale: such samples are clipped
  // rather than wrapped round.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  shape->channels = static_cast<uint16_t>(info.channels);
  shape->rate = static_cast<uint32_t>(info.samplerate);
  shape->frames = info.frames > 0 && info.frames != SF_COUNT_MAX ? static_cast<uint64_t>(info.frames) : 0;
  return SoundOpened;
}

SoundStep ReadSndfile(SndfileReading* reading, int16_t* samples, size_t room, size_t* frames, SoundMessage message,
                      const char** why) {
  if (!reading || !reading->file) return SoundEnded;
  const sf_count_t got = sf_readf_short(reading->file, samples, static_cast<sf_count_t>(room));
  if (got > 0) {
    *frames = static_cast<size_t>(got);
    return SoundSamplesReady;
  }
  const int error = sf_error(reading->file);
  if (error == SF_ERR_NO_ERROR) return SoundEnded;
  *why = Said(message, "its samples cannot be decoded", sf_error_number(error));
  return SoundDamaged;
}

void EndSndfile(SndfileReading* reading) {
  if (!reading) return;
  if (reading->file) sf_close(reading->file);
  delete reading;
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MORVANE_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(MORVANE_ADDRESS_SANITIZER)
// libsndfile 1.2.0 does not release the Vorbis header state of an Ogg file whose headers it
// cannot read (a few KiB per refused file, in the library's own error path); the sanitized
// builds would otherwise fail every program that refuses a damaged Ogg.
extern "C" const char* __lsan_default_suppressions() { return "leak:vorbis_info_init\n"; }
#endif
