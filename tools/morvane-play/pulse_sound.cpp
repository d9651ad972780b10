#include <pulse/pulseaudio.h>

#include <cstdio>
#include <cstring>

#include "sound_output.h"
#include "wave_format.h"
#include "wave_samples.h"

namespace {

// About a fifth of a second queued at the server: enough against scheduling hiccups, short
// enough that the sound ends promptly with the saver.
const pa_usec_t kQueuedSound = 200000;

struct PulseSound {
  SoundOutput base;
  pa_threaded_mainloop* loop = nullptr;
  pa_context* context = nullptr;
  bool unavailable = false;  // no server answered: silent from then on
  pa_stream* stream = nullptr;
  WaveSamples samples;
  bool cutShortNoted = false;
};

PulseSound* Self(SoundOutput* output) {
  return reinterpret_cast<PulseSound*>(output);
}

void ContextChanged(pa_context*, void* data) {
  pa_threaded_mainloop_signal(static_cast<PulseSound*>(data)->loop, 0);
}

// Called on the sound thread whenever the server wants more: the samples from where the last
// call ended, wrapping to their start.
void FillStream(pa_stream* stream, size_t wanted, void* data) {
  PulseSound* self = static_cast<PulseSound*>(data);
  while (wanted > 0) {
    void* buffer = nullptr;
    size_t room = wanted;
    if (pa_stream_begin_write(stream, &buffer, &room) < 0 || room == 0) return;
    TakeSamples(&self->samples, static_cast<uint8_t*>(buffer), room);
    if (self->samples.cutShort && !self->cutShortNoted) {
      std::fprintf(stderr, "morvane-play: note: the sound's file was cut short while it played; "
                           "each round plays what is left of it, then silence\n");
      self->cutShortNoted = true;
    }
    if (pa_stream_write(stream, buffer, room, nullptr, 0, PA_SEEK_RELATIVE) < 0) return;
    wanted = wanted > room ? wanted - room : 0;
  }
}

bool Connect(PulseSound* self) {
  if (self->context) return true;
  if (self->unavailable) return false;
  self->loop = pa_threaded_mainloop_new();
  if (!self->loop || pa_threaded_mainloop_start(self->loop) < 0) {
    self->unavailable = true;
    return false;
  }
  pa_threaded_mainloop_lock(self->loop);
  self->context = pa_context_new(pa_threaded_mainloop_get_api(self->loop), "morvane-play");
  bool ready = false;
  if (self->context) {
    pa_context_set_state_callback(self->context, ContextChanged, self);
    // A saver must not leave a sound server behind that it started itself.
    if (pa_context_connect(self->context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
      for (;;) {
        pa_context_state_t state = pa_context_get_state(self->context);
        if (state == PA_CONTEXT_READY) ready = true;
        if (state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state)) break;
        pa_threaded_mainloop_wait(self->loop);
      }
    }
    if (!ready) {
      pa_context_set_state_callback(self->context, nullptr, nullptr);
      pa_context_disconnect(self->context);
      pa_context_unref(self->context);
      self->context = nullptr;
    }
  }
  pa_threaded_mainloop_unlock(self->loop);
  if (!ready) {
    pa_threaded_mainloop_stop(self->loop);
    pa_threaded_mainloop_free(self->loop);
    self->loop = nullptr;
    self->unavailable = true;
  }
  return ready;
}

pa_sample_format_t ServerFormat(WaveSampleFormat format) {
  switch (format) {
    case WaveU8: return PA_SAMPLE_U8;
    case WaveS16: return PA_SAMPLE_S16LE;
    case WaveS24: return PA_SAMPLE_S24LE;
    case WaveS32: return PA_SAMPLE_S32LE;
    case WaveFloat32: return PA_SAMPLE_FLOAT32LE;
    case WaveALaw: return PA_SAMPLE_ALAW;
    case WaveMuLaw: return PA_SAMPLE_ULAW;
  }
  return PA_SAMPLE_INVALID;
}

void StopPulse(SoundOutput* output) {
  PulseSound* self = Self(output);
  if (!self->stream) return;
  pa_threaded_mainloop_lock(self->loop);
  pa_stream_set_write_callback(self->stream, nullptr, nullptr);
  pa_stream_disconnect(self->stream);
  pa_stream_unref(self->stream);
  self->stream = nullptr;
  pa_threaded_mainloop_unlock(self->loop);
}

bool PlayPulse(SoundOutput* output, const uint8_t* wave, size_t size, const FileSpan* file, const char** why) {
  PulseSound* self = Self(output);
  StopPulse(output);
  WaveSound sound;
  if (!ParseWave(wave, size, &sound, why)) return false;
  if (!Connect(self)) {
    *why = "no sound server answered";
    return false;
  }
  OpenWaveSamples(&self->samples, sound, wave, file);
  self->cutShortNoted = false;
  pa_sample_spec spec;
  spec.format = ServerFormat(sound.format);
  spec.rate = sound.rate;
  spec.channels = static_cast<uint8_t>(sound.channels);
  if (!pa_sample_spec_valid(&spec)) {
    *why = "a sample format the sound server does not take";
    return false;
  }
  pa_channel_map map;
  const bool mapped = pa_channel_map_init_auto(&map, spec.channels, PA_CHANNEL_MAP_WAVEEX) != nullptr;
  pa_threaded_mainloop_lock(self->loop);
  self->stream = pa_stream_new(self->context, "scene sound", &spec, mapped ? &map : nullptr);
  bool started = false;
  if (self->stream) {
    pa_stream_set_write_callback(self->stream, FillStream, self);
    pa_buffer_attr buffer;
    std::memset(&buffer, 0xFF, sizeof buffer);  // every field "as the server likes" ...
    buffer.tlength = static_cast<uint32_t>(pa_usec_to_bytes(kQueuedSound, &spec));  // ... but this
    started = pa_stream_connect_playback(self->stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY,
                                         nullptr, nullptr) >= 0;
  }
  pa_threaded_mainloop_unlock(self->loop);
  if (!started) {
    StopPulse(output);
    *why = "the sound server refused the stream";
  }
  return started;
}

// The sound thread takes the samples with the loop's lock held.
void MovePulse(SoundOutput* output, const uint8_t* wave) {
  PulseSound* self = Self(output);
  if (!self->loop) return;
  pa_threaded_mainloop_lock(self->loop);
  MoveWaveSamples(&self->samples, wave);
  pa_threaded_mainloop_unlock(self->loop);
}

void ReleasePulse(SoundOutput* output) {
  PulseSound* self = Self(output);
  StopPulse(output);
  if (self->loop) {
    pa_threaded_mainloop_lock(self->loop);
    pa_context_set_state_callback(self->context, nullptr, nullptr);
    pa_context_disconnect(self->context);
    pa_context_unref(self->context);
    pa_threaded_mainloop_unlock(self->loop);
    pa_threaded_mainloop_stop(self->loop);
    pa_threaded_mainloop_free(self->loop);
  }
  delete self;
}

}  // namespace

SoundOutput* OpenPulseSound() {
  PulseSound* self = new PulseSound;
  self->base.play = PlayPulse;
  self->base.move = MovePulse;
  self->base.stop = StopPulse;
  self->base.release = ReleasePulse;
  return &self->base;
}
