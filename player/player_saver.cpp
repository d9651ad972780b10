// The player's saver procedure: the engine, with the scene package that follows the player
// image in this very file as its source.
#include "byte_stream.h"
#include "package_records.h"
#include "package_source.h"
#include "saver_engine.h"
#include "saver_host.h"

namespace {

struct FileStream {
  ByteStream base;
  HANDLE file;
};

FileStream packageFile;
PackageSource package;

uint32_t ReadFromFile(ByteStream* stream, void* into, uint32_t count) {
  DWORD read = 0;
  HANDLE file = reinterpret_cast<FileStream*>(stream)->file;
  if (file == INVALID_HANDLE_VALUE || !ReadFile(file, into, count, &read, nullptr)) return 0;
  return read;
}

// Passing the end is found out by the next read, which then comes up short.
bool SkipInFile(ByteStream* stream, uint32_t count) {
  HANDLE file = reinterpret_cast<FileStream*>(stream)->file;
  LONG high = 0;
  return file != INVALID_HANDLE_VALUE &&
         SetFilePointer(file, static_cast<LONG>(count), &high, FILE_CURRENT) !=
             INVALID_SET_FILE_POINTER;
}

void ClosePackage(SceneSource*) {
  if (packageFile.file != INVALID_HANDLE_VALUE) CloseHandle(packageFile.file);
  packageFile.file = INVALID_HANDLE_VALUE;
}

SceneSource* OpenOwnPackage(HWND) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  packageFile.base.read = ReadFromFile;
  packageFile.base.skip = SkipInFile;
  packageFile.file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (packageFile.file != INVALID_HANDLE_VALUE)
    SetFilePointer(packageFile.file, kPlayerImageSize, nullptr, FILE_BEGIN);
  OpenPackageSource(&package, &packageFile.base);
  package.base.close = ClosePackage;
  return &package.base;
}

}  // namespace

LRESULT CALLBACK SaverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return EngineSaverProcedure(window, message, wParam, lParam, OpenOwnPackage);
}
