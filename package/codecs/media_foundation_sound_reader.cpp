// MP3, Ogg and FLAC through Media Foundation's source reader, from a stream over the file's bytes,
// read into memory whole.
#include <windows.h>

#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mfreadwrite.h>
#include <objidl.h>

#include <cstring>

#include "windows_sound_readers.h"

namespace {

typedef HRESULT(WINAPI* StartupProc)(ULONG version, DWORD flags);
typedef HRESULT(WINAPI* ShutdownProc)();
typedef HRESULT(WINAPI* StreamOnStreamProc)(IStream* stream, IMFByteStream** byteStream);
typedef HRESULT(WINAPI* CreateTypeProc)(IMFMediaType** type);
typedef HRESULT(WINAPI* CreateReaderProc)(IMFByteStream* stream, IMFAttributes* attributes, IMFSourceReader** reader);
typedef HRESULT(WINAPI* ComStartProc)(void* reserved, DWORD model);
typedef void(WINAPI* ComStopProc)();
typedef HRESULT(WINAPI* StreamOnGlobalProc)(HGLOBAL memory, BOOL release, IStream** stream);
typedef HRESULT(WINAPI* ClearVariantProc)(PROPVARIANT* value);

const DWORD kAudio = static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM);

template <typename T>
void Release(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

template <typename T>
T Proc(HMODULE module, const char* name) {
  return module ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// The source resolver picks its reader by the content type when a stream has no name.
const wchar_t* ContentType(SoundFormat format) {
  switch (format) {
    case SoundMp3: return L"audio/mpeg";
    case SoundOgg: return L"audio/ogg";
    case SoundFlac: return L"audio/flac";
    default: return L"audio/wav";
  }
}

const char* SystemFault(MediaFoundationReading* self, SoundMessage message, const char* what, HRESULT result) {
  switch (result) {
    case MF_E_UNSUPPORTED_BYTESTREAM_TYPE:
    case MF_E_INVALIDMEDIATYPE:
    case MF_E_TOPO_CODEC_NOT_FOUND:
    case MF_E_UNSUPPORTED_FORMAT:
      wsprintfA(message.text, "%s: the system has no decoder for this %s, or it is damaged", what,
                SoundFormatName(self->format));
      return message.text;
    case E_OUTOFMEMORY: return "not enough memory to decode it";
    default:
      wsprintfA(message.text, "%s (Media Foundation error 0x%08lX)", what,
                 static_cast<unsigned long>(result));
      return message.text;
  }
}

// The errors that say the system has no reader or decoder for the format; any other is taken as
// damage (Media Foundation under Wine gives a bare failure for a damaged file).
bool NoDecoder(HRESULT result) {
  return result == MF_E_UNSUPPORTED_BYTESTREAM_TYPE || result == MF_E_INVALIDMEDIATYPE ||
         result == MF_E_TOPO_CODEC_NOT_FOUND || result == MF_E_UNSUPPORTED_FORMAT || result == E_NOTIMPL;
}

void DropPending(MediaFoundationReading* self) {
  if (self->buffer) self->buffer->Unlock();
  Release(self->buffer);
  self->pending = nullptr;
  self->pendingBytes = 0;
}

}  // namespace

void EndMediaFoundation(MediaFoundationReading* self) {
  DropPending(self);
  Release(self->reader);
  if (self->started) {
    ShutdownProc shutdown = Proc<ShutdownProc>(self->platform, "MFShutdown");
    if (shutdown) shutdown();
  }
  self->started = false;
  if (self->comStarted) {
    ComStopProc stop = Proc<ComStopProc>(self->com, "CoUninitialize");
    if (stop) stop();
  }
  self->comStarted = false;
  if (self->readers) FreeLibrary(self->readers);
  if (self->platform) FreeLibrary(self->platform);
  if (self->com) FreeLibrary(self->com);
  self->readers = self->platform = self->com = nullptr;
}

namespace {

// The file read whole into movable memory, for a stream over it; null, with the reason, when it
// cannot be.
HGLOBAL ReadWholeFile(const SourceBytes& file, const char** why) {
  const size_t size = static_cast<size_t>(file.size);  // capped by the codec
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size > 0 ? size : 1);
  if (!memory) {
    *why = "not enough memory to read the sound file";
    return nullptr;
  }
  void* at = GlobalLock(memory);
  const bool read = at && ReadSourceBytes(file, 0, at, size) == size;
  GlobalUnlock(memory);
  if (!read) {
    GlobalFree(memory);
    *why = "the sound file could not be read whole";
    return nullptr;
  }
  return memory;
}

// The file's bytes as a Media Foundation stream, tagged with its content type. The stream takes
// the memory, whatever the outcome.
HRESULT OpenByteStream(MediaFoundationReading* self, HGLOBAL memory, size_t size, IMFByteStream** byteStream) {
  StreamOnGlobalProc onGlobal = Proc<StreamOnGlobalProc>(self->com, "CreateStreamOnHGlobal");
  StreamOnStreamProc onStream = Proc<StreamOnStreamProc>(self->platform, "MFCreateMFByteStreamOnStream");
  if (!onGlobal || !onStream) {
    GlobalFree(memory);
    return E_NOTIMPL;
  }
  IStream* stream = nullptr;
  HRESULT result = onGlobal(memory, TRUE, &stream);
  if (FAILED(result)) {
    GlobalFree(memory);
    return result;
  }
  ULARGE_INTEGER length;
  length.QuadPart = size;
  stream->SetSize(length);
  result = onStream(stream, byteStream);
  stream->Release();
  if (FAILED(result)) return result;
  IMFAttributes* attributes = nullptr;
  if (SUCCEEDED((*byteStream)->QueryInterface(IID_IMFAttributes, reinterpret_cast<void**>(&attributes)))) {
    attributes->SetString(MF_BYTESTREAM_CONTENT_TYPE, ContentType(self->format));
    attributes->Release();
  }
  return S_OK;
}

}  // namespace

SoundOpening BeginMediaFoundation(MediaFoundationReading* self, SoundFormat format, const SourceBytes& file,
                                  SoundShape* shape, SoundMessage message, const char** why) {
  self->format = format;
  if (format == SoundUnknown || format == SoundPlayableWave || file.size > 0x7FFFFFFF) {
    *why = "no decoder for this kind of sound";
    return SoundNotTakenHere;
  }
  self->com = LoadLibraryA("ole32.dll");
  self->platform = LoadLibraryA("mfplat.dll");
  self->readers = LoadLibraryA("mfreadwrite.dll");
  StartupProc startup = Proc<StartupProc>(self->platform, "MFStartup");
  CreateReaderProc createReader = Proc<CreateReaderProc>(self->readers, "MFCreateSourceReaderFromByteStream");
  CreateTypeProc createType = Proc<CreateTypeProc>(self->platform, "MFCreateMediaType");
  ComStartProc comStart = Proc<ComStartProc>(self->com, "CoInitializeEx");
  if (!startup || !createReader || !createType || !comStart) {
    *why = "this system has no Media Foundation to decode MP3, Ogg, FLAC and compressed waves";
    return SoundNotTakenHere;
  }
  // The source reader's objects are COM objects; the programs themselves use no COM, so it is
  // started for the decoding and stopped after it.
  self->comStarted = SUCCEEDED(comStart(nullptr, COINIT_APARTMENTTHREADED));
  HRESULT result = startup(MF_VERSION, MFSTARTUP_NOSOCKET);
  if (FAILED(result)) {
    *why = SystemFault(self, message, "Media Foundation did not start", result);
    return SoundNotTakenHere;
  }
  self->started = true;
  HGLOBAL memory = ReadWholeFile(file, why);
  if (!memory) return SoundUnreadable;
  IMFByteStream* byteStream = nullptr;
  result = OpenByteStream(self, memory, static_cast<size_t>(file.size), &byteStream);
  if (SUCCEEDED(result)) result = createReader(byteStream, nullptr, &self->reader);
  Release(byteStream);
  if (FAILED(result)) {
    *why = SystemFault(self, message, "it cannot be opened", result);
    return NoDecoder(result) ? SoundNotTakenHere : SoundUnreadable;
  }
  // 16-bit PCM of the first sound stream, in its own channel count and rate.
  IMFMediaType* wanted = nullptr;
  result = createType(&wanted);
  if (SUCCEEDED(result)) {
    wanted->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Audio);
    wanted->SetGUID(MF_MT_SUBTYPE, MFAudioFormat_PCM);
    wanted->SetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, 16);
    self->reader->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS), FALSE);
    self->reader->SetStreamSelection(kAudio, TRUE);
    result = self->reader->SetCurrentMediaType(kAudio, nullptr, wanted);
    wanted->Release();
  }
  IMFMediaType* given = nullptr;
  if (SUCCEEDED(result)) result = self->reader->GetCurrentMediaType(kAudio, &given);
  if (FAILED(result)) {
    *why = SystemFault(self, message, "it cannot be decoded to PCM", result);
    return NoDecoder(result) ? SoundNotTakenHere : SoundUnreadable;
  }
  UINT32 channels = 0, rate = 0, bits = 0;
  given->GetUINT32(MF_MT_AUDIO_NUM_CHANNELS, &channels);
  given->GetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, &rate);
  given->GetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, &bits);
  given->Release();
  if (channels == 0 || channels > kMaxSoundChannels || rate == 0 || rate > kMaxSoundRate || bits != 16) {
    *why = "its channel count or sample rate is out of range";
    return SoundUnreadable;
  }
  shape->channels = static_cast<uint16_t>(channels);
  shape->rate = rate;
  shape->frames = 0;
  PROPVARIANT duration;
  std::memset(&duration, 0, sizeof duration);
  if (SUCCEEDED(self->reader->GetPresentationAttribute(static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE), MF_PD_DURATION,
                                                       &duration))) {
    // In units of 100 ns.
    if (duration.vt == VT_UI8) shape->frames = duration.uhVal.QuadPart * rate / 10000000u;
    ClearVariantProc clear = Proc<ClearVariantProc>(self->com, "PropVariantClear");
    if (clear) clear(&duration);
  }
  self->frameBytes = 2u * channels;
  return SoundOpened;
}

SoundStep ReadMediaFoundation(MediaFoundationReading* self, int16_t* samples, size_t room, size_t* frames,
                              SoundMessage message, const char** why) {
  if (!self->reader) return SoundEnded;
  while (self->pendingBytes < self->frameBytes) {
    DropPending(self);
    DWORD stream = 0, flags = 0;
    LONGLONG time = 0;
    IMFSample* sample = nullptr;
    HRESULT result = self->reader->ReadSample(kAudio, 0, &stream, &flags, &time, &sample);
    if (FAILED(result)) {
      *why = SystemFault(self, message, "its samples cannot be decoded", result);
      return SoundDamaged;
    }
    if (flags & MF_SOURCE_READERF_ERROR) {
      Release(sample);
      *why = "its samples cannot be decoded";
      return SoundDamaged;
    }
    if (flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) {
      Release(sample);
      *why = "its channel count or sample rate changes within the sound";
      return SoundDamaged;
    }
    if (!sample) {
      if (flags & MF_SOURCE_READERF_ENDOFSTREAM) return SoundEnded;
      continue;
    }
    result = sample->ConvertToContiguousBuffer(&self->buffer);
    sample->Release();
    BYTE* data = nullptr;
    DWORD length = 0;
    if (SUCCEEDED(result)) result = self->buffer->Lock(&data, nullptr, &length);
    if (FAILED(result)) {
      Release(self->buffer);
      *why = SystemFault(self, message, "its samples cannot be had", result);
      return SoundDamaged;
    }
    self->pending = data;
    self->pendingBytes = length;
  }
  size_t given = self->pendingBytes / self->frameBytes;
  if (given > room) given = room;
  const size_t bytes = given * self->frameBytes;
  std::memcpy(samples, self->pending, bytes);
  self->pending += bytes;
  self->pendingBytes -= static_cast<DWORD>(bytes);
  *frames = given;
  return SoundSamplesReady;
}

