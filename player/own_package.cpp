#include "own_package.h"

#include "package_records.h"

namespace {

OwnPackage* Self(ByteStream* stream) { return reinterpret_cast<OwnPackage*>(stream); }

uint32_t ReadFromFile(ByteStream* stream, void* into, uint32_t count) {
  DWORD read = 0;
  OwnPackage* self = Self(stream);
  if (self->file == INVALID_HANDLE_VALUE || !ReadFile(self->file, into, count, &read, nullptr)) return 0;
  self->left = read < self->left ? self->left - read : 0;
  return read;
}

// Passing the end is found out by the next read, which then comes up short.
bool SkipInFile(ByteStream* stream, uint32_t count) {
  OwnPackage* self = Self(stream);
  LONG high = 0;
  if (self->file == INVALID_HANDLE_VALUE ||
      SetFilePointer(self->file, static_cast<LONG>(count), &high, FILE_CURRENT) == INVALID_SET_FILE_POINTER)
    return false;
  self->left = count < self->left ? self->left - count : 0;
  return true;
}

uint64_t LeftInFile(ByteStream* stream) { return Self(stream)->left; }

}  // namespace

void OpenOwnPackage(OwnPackage* package) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  package->base.read = ReadFromFile;
  package->base.skip = SkipInFile;
  package->base.left = LeftInFile;
  // A mapped view would keep the saver's file from being rebuilt while it plays.
  package->base.view = nullptr;
  package->left = 0;
  package->file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (package->file == INVALID_HANDLE_VALUE) return;
  DWORD high = 0;
  const DWORD low = GetFileSize(package->file, &high);
  const uint64_t size = (static_cast<uint64_t>(high) << 32) | low;
  if (low != INVALID_FILE_SIZE && size > kPlayerImageSize) package->left = size - kPlayerImageSize;
  SetFilePointer(package->file, kPlayerImageSize, nullptr, FILE_BEGIN);
}

void CloseOwnPackage(OwnPackage* package) {
  if (package->file != INVALID_HANDLE_VALUE) CloseHandle(package->file);
  package->file = INVALID_HANDLE_VALUE;
}
