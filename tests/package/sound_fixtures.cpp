#include "sound_fixtures.h"

#include <lame/lame.h>
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

// libsndfile's own MP3 writer leaves part of the encoder's state unset (its output differs from
// run to run and is badly distorted), so MP3 is made with LAME directly.
std::vector<uint8_t> EncodeMp3(int channels, int rate, int frames) {
  lame_global_flags* lame = lame_init();
  if (!lame) return {};
  lame_set_num_channels(lame, channels);
  lame_set_in_samplerate(lame, rate);
  lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
  lame_set_brate(lame, 128);
  std::vector<uint8_t> bytes;
  if (lame_init_params(lame) >= 0) {
    std::vector<int16_t> samples = ToneSamples(channels, rate, frames);
    if (channels == 1) samples.resize(samples.size() * 2);  // the interleaved call wants pairs
    bytes.resize(static_cast<size_t>(frames) * 5 / 4 + 7200 + 7200);
    const int put = channels == 1
                        ? lame_encode_buffer(lame, samples.data(), samples.data(), frames, bytes.data(),
                                             static_cast<int>(bytes.size()))
                        : lame_encode_buffer_interleaved(lame, samples.data(), frames, bytes.data(),
                                                         static_cast<int>(bytes.size()));
    const int flushed = put < 0 ? -1 : lame_encode_flush(lame, bytes.data() + put, static_cast<int>(bytes.size()) - put);
    bytes.resize(put < 0 || flushed < 0 ? 0 : static_cast<size_t>(put + flushed));
    // The header that tells decoders the encoder's delay and padding, so the tone keeps its place.
    if (!bytes.empty()) {
      std::vector<uint8_t> tag(2880);
      const size_t tagSize = lame_get_lametag_frame(lame, tag.data(), tag.size());
      if (tagSize > 0 && tagSize <= tag.size() && tagSize <= bytes.size()) std::memcpy(bytes.data(), tag.data(), tagSize);
    }
  }
  lame_close(lame);
  return bytes;
}

std::vector<uint8_t> EncodeTone(int format, int channels, int rate, int frames) {
  if ((format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG) return EncodeMp3(channels, rate, frames);
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
