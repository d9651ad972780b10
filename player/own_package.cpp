#include "own_package.h"

#include "package_records.h"

namespace {

uint32_t ReadFromFile(ByteStream* stream, void* into, uint32_t count) {
  DWORD read = 0;
  HANDLE file = reinterpret_cast<OwnPackage*>(stream)->file;
  if (file == INVALID_HANDLE_VALUE || !ReadFile(file, into, count, &read, nullptr)) return 0;
  return read;
}

// Passing the end is found out by the next read, which then comes up short.
bool SkipInFile(ByteStream* stream, uint32_t count) {
  HANDLE file = reinterpret_cast<OwnPackage*>(stream)->file;
  LONG high = 0;
  return file != INVALID_HANDLE_VALUE &&
         SetFilePointer(file, static_cast<LONG>(count), &high, FILE_CURRENT) != INVALID_SET_FILE_POINTER;
}

}  // namespace

void OpenOwnPackage(OwnPackage* package) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  package->base.read = ReadFromFile;
  package->base.skip = SkipInFile;
  package->file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (package->file != INVALID_HANDLE_VALUE) SetFilePointer(package->file, kPlayerImageSize, nullptr, FILE_BEGIN);
}

void CloseOwnPackage(OwnPackage* package) {
  if (package->file != INVALID_HANDLE_VALUE) CloseHandle(package->file);
  package->file = INVALID_HANDLE_VALUE;
}
