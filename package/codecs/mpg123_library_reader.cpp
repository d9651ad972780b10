// MP3 through libmpg123, read from the file in pieces: its own reader rather than libsndfile's,
// so that the library's notes on damaged frames stay off the tools' error output (they become
// our reason).
#include <mpg123.h>

#include <cstdio>
#include <new>

#include "library_sound_readers.h"

struct Mpg123Reading {
  SourceByteReader file;
  mpg123_handle* decoder;
  int channels;
  long rate;
};

namespace {

Mpg123Reading* Reading(void* handle) { return static_cast<Mpg123Reading*>(handle); }

ssize_t Read(void* handle, void* out, size_t count) {
  // A file that cannot be read further reads as one that ends here.
  return static_cast<ssize_t>(ReadSourceOn(&Reading(handle)->file, out, count));
}

off_t Seek(void* handle, off_t offset, int whence) {
  SourceByteReader* file = &Reading(handle)->file;
  const off_t size = static_cast<off_t>(file->bytes.size);
  const off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<off_t>(file->taken) : size;
  if (offset < -base || offset > size - base) return -1;
  SeekSourceReader(file, static_cast<uint64_t>(base + offset));
  return base + offset;
}

const char* Said(SoundMessage message, const char* what, mpg123_handle* decoder, int error) {
  const char* library = decoder ? mpg123_strerror(decoder) : mpg123_plain_strerror(error);
  std::snprintf(message.text, message.size, "%s (%s)", what, library && *library ? library : "unknown error");
  return message.text;
}

}  // namespace

SoundOpening BeginMpg123(Mpg123Reading** reading, const SourceBytes& file, SoundShape* shape, SoundMessage message,
                         const char** why) {
  *reading = new (std::nothrow) Mpg123Reading;
  if (!*reading) {
    *why = "out of memory";
    return SoundUnreadable;
  }
  StartSourceByteReader(&(*reading)->file, file);
  (*reading)->decoder = nullptr;
  (*reading)->channels = 0;
  (*reading)->rate = 0;
  int error = MPG123_OK;
  mpg123_handle* decoder = mpg123_new(nullptr, &error);
  if (!decoder) {
    *why = Said(message, "no MP3 decoder", nullptr, error);
    return SoundNotTakenHere;
  }
  (*reading)->decoder = decoder;
  mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
  // Every rate the library has, as 16-bit samples in the stream's own channel count.
  mpg123_format_none(decoder);
  const long* rates = nullptr;
  size_t rateCount = 0;
  mpg123_rates(&rates, &rateCount);
  for (size_t i = 0; i < rateCount; ++i) mpg123_format(decoder, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
  long rate = 0;
  int channels = 0, encoding = 0;
  if (mpg123_replace_reader_handle(decoder, Read, Seek, nullptr) != MPG123_OK ||
      mpg123_open_handle(decoder, *reading) != MPG123_OK ||
      mpg123_getformat(decoder, &rate, &channels, &encoding) != MPG123_OK) {
    *why = Said(message, "no MP3 frame can be read", decoder, 0);
    return SoundUnreadable;
  }
  if (channels < 1 || channels > 2 || rate <= 0 || encoding != MPG123_ENC_SIGNED_16) {
    *why = "its channel count or sample rate is out of range";
    return SoundUnreadable;
  }
  (*reading)->channels = channels;
  (*reading)->rate = rate;
  shape->channels = static_cast<uint16_t>(channels);
  shape->rate = static_cast<uint32_t>(rate);
  const off_t length = mpg123_length(decoder);
  shape->frames = length > 0 ? static_cast<uint64_t>(length) : 0;
  return SoundOpened;
}

SoundStep ReadMpg123(Mpg123Reading* reading, int16_t* samples, size_t room, size_t* frames, SoundMessage message,
                     const char** why) {
  if (!reading || !reading->decoder) return SoundEnded;
  const size_t frameBytes = 2u * static_cast<size_t>(reading->channels);
  size_t done = 0;
  const int result = mpg123_read(reading->decoder, reinterpret_cast<unsigned char*>(samples), room * frameBytes, &done);
  if (result == MPG123_NEW_FORMAT) {
    // Announced again after the decoder found its way back into the stream; only a real change
    // of shape would need a second wave.
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(reading->decoder, &rate, &channels, &encoding) != MPG123_OK || channels != reading->channels ||
        rate != reading->rate) {
      *why = "its frames change channel count or sample rate within the sound, as damaged files do";
      return SoundDamaged;
    }
  }
  if (done >= frameBytes) {
    *frames = done / frameBytes;
    return SoundSamplesReady;
  }
  if (result == MPG123_DONE || result == MPG123_OK) return SoundEnded;
  *why = Said(message, "its frames cannot be decoded", reading->decoder, result);
  return SoundDamaged;
}

void EndMpg123(Mpg123Reading* reading) {
  if (!reading) return;
  if (reading->decoder) mpg123_delete(reading->decoder);
  delete reading;
}
