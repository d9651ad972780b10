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

// A view of the file that stays until the program ends: the scene plays its sound from it, so a
// long sound costs no memory of the saver's own. The file is the running program's image, which
// the system keeps from being overwritten anyway, so the view holds nothing more of it.
const uint8_t* ViewInFile(ByteStream* stream, uint32_t count) {
  OwnPackage* self = Self(stream);
  if (self->file == INVALID_HANDLE_VALUE || count > self->left) return nullptr;
  const uint64_t at = self->size - self->left;
  // Views start on the system's allocation granularity, 64 KiB everywhere.
  const uint64_t start = at & ~static_cast<uint64_t>(0xFFFF);
  HANDLE mapping = CreateFileMappingA(self->file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (!mapping) return nullptr;
  const uint8_t* view = static_cast<const uint8_t*>(MapViewOfFile(
      mapping, FILE_MAP_READ, static_cast<DWORD>(start >> 32), static_cast<DWORD>(start), static_cast<SIZE_T>(at - start + count)));
  CloseHandle(mapping);
  if (!view || !SkipInFile(stream, count)) return nullptr;
  return view + (at - start);
}

}  // namespace

void OpenOwnPackage(OwnPackage* package) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  package->base.read = ReadFromFile;
  package->base.skip = SkipInFile;
  package->base.left = LeftInFile;
  package->base.view = ViewInFile;
  package->left = 0;
  package->file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (package->file == INVALID_HANDLE_VALUE) return;
  DWORD high = 0;
  const DWORD low = GetFileSize(package->file, &high);
  const uint64_t size = (static_cast<uint64_t>(high) << 32) | low;
  package->size = size;
  if (low != INVALID_FILE_SIZE && size > kPlayerImageSize) package->left = size - kPlayerImageSize;
  SetFilePointer(package->file, kPlayerImageSize, nullptr, FILE_BEGIN);
}

void CloseOwnPackage(OwnPackage* package) {
  if (package->file != INVALID_HANDLE_VALUE) CloseHandle(package->file);
  package->file = INVALID_HANDLE_VALUE;
}
