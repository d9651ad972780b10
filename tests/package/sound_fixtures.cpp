#include "sound_fixtures.h"

#include <sndfile.h>

#include <cmath>
#include <cstring>

namespace {

struct Memory {
  std::vector<uint8_t> bytes;
  sf_count_t at = 0;
};

Memory* Of(void* data) { return static_cast<Memory*>(data); }

sf_count_t Length(void* data) { return static_cast<sf_count_t>(Of(data)->bytes.size()); }

sf_count_t Seek(sf_count_t offset, int whence, void* data) {
  Memory* m = Of(data);
  const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m->at : Length(data);
  if (base + offset < 0) return -1;
  m->at = base + offset;
  return m->at;
}

sf_count_t Read(void* out, sf_count_t count, void* data) {
  Memory* m = Of(data);
  const sf_count_t left = Length(data) - m->at;
  if (count > left) count = left;
  if (count <= 0) return 0;
  std::memcpy(out, m->bytes.data() + m->at, static_cast<size_t>(count));
  m->at += count;
  return count;
}

sf_count_t Write(const void* in, sf_count_t count, void* data) {
  Memory* m = Of(data);
  const size_t end = static_cast<size_t>(m->at + count);
  if (end > m->bytes.size()) m->bytes.resize(end);
  std::memcpy(m->bytes.data() + m->at, in, static_cast<size_t>(count));
  m->at += count;
  return count;
}

sf_count_t Tell(void* data) { return Of(data)->at; }

}  // namespace

std::vector<int16_t> ToneSamples(int channels, int rate, int frames) {
  std::vector<int16_t> samples(static_cast<size_t>(channels) * frames);
  for (int f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c)
      samples[static_cast<size_t>(f) * channels + c] =
          static_cast<int16_t>(16000 * std::sin(2 * M_PI * (440 + 220 * c) * f / rate));
  return samples;
}

std::vector<uint8_t> EncodeTone(int format, int channels, int rate, int frames) {
  SF_VIRTUAL_IO io = {Length, Seek, Read, Write, Tell};
  SF_INFO info;
  std::memset(&info, 0, sizeof info);
  info.channels = channels;
  info.samplerate = rate;
  info.format = format;
  Memory memory;
  SNDFILE* file = sf_open_virtual(&io, SFM_WRITE, &info, &memory);
  if (!file) return {};
  const std::vector<int16_t> samples = ToneSamples(channels, rate, frames);
  const bool whole = sf_writef_short(file, samples.data(), frames) == frames;
  sf_close(file);
  return whole ? memory.bytes : std::vector<uint8_t>();
}
