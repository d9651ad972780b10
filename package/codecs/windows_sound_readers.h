// The two readers behind the Windows sound codec. Each keeps what it takes in its own state,
// released by its end whatever happened before; a reason it gives that names the system's error
// is written into the caller's message buffer, which outlives the reader. The system's decoders
// want the file in memory: each reads it whole as it begins (its size is capped by the walk).
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "sound_codec.h"
#include "source_bytes.h"

struct IMFSourceReader;
struct IMFMediaBuffer;

struct MediaFoundationReading {
  HMODULE platform;  // mfplat.dll
  HMODULE readers;   // mfreadwrite.dll
  HMODULE com;       // ole32.dll, for the thread's COM state and the memory stream
  bool comStarted;
  bool started;  // MFStartup succeeded
  IMFSourceReader* reader;
  IMFMediaBuffer* buffer;  // the sample being handed out, locked
  const uint8_t* pending;  // its bytes not yet handed out
  DWORD pendingBytes;
  uint32_t frameBytes;
  SoundFormat format;
};

SoundOpening BeginMediaFoundation(MediaFoundationReading* reading, SoundFormat format, const SourceBytes& file,
                                  SoundShape* shape, SoundMessage message, const char** why);
SoundStep ReadMediaFoundation(MediaFoundationReading* reading, int16_t* samples, size_t room, size_t* frames,
                              SoundMessage message, const char** why);
void EndMediaFoundation(MediaFoundationReading* reading);

struct AcmReading {
  HMODULE library;  // msacm32.dll
  void* stream;     // the conversion stream (HACMSTREAM)
  uint8_t* file;    // the whole file, from begin to end
  const uint8_t* source;  // the data chunk's bytes not yet converted
  size_t sourceLeft;
  uint32_t blockBytes;    // of the compressed form
  bool first;
  uint8_t* converted;     // a block of PCM, handed out from `pending`
  size_t convertedSize;
  const uint8_t* pending;
  size_t pendingBytes;
  uint32_t frameBytes;
};

SoundOpening BeginAcm(AcmReading* reading, const SourceBytes& file, SoundShape* shape, SoundMessage message,
                      const char** why);
SoundStep ReadAcm(AcmReading* reading, int16_t* samples, size_t room, size_t* frames, SoundMessage message,
                  const char** why);
void EndAcm(AcmReading* reading);
