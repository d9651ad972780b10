#include "version_info.h"

#include <cwchar>

FileVersion ReadFileVersion(const std::string& path) {
  FileVersion version;
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return version;
  version.data.resize(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, version.data.data())) return version;
  void* value = nullptr;
  UINT length = 0;
  if (VerQueryValueW(version.data.data(), L"\\", &value, &length) && length >= sizeof version.fixed)
    version.fixed = *static_cast<VS_FIXEDFILEINFO*>(value);
  if (VerQueryValueW(version.data.data(), L"\\VarFileInfo\\Translation", &value, &length))
    version.translations.assign(static_cast<DWORD*>(value), static_cast<DWORD*>(value) + length / 4);
  version.found = true;
  return version;
}

std::wstring FileVersion::Text(WORD language, const wchar_t* name) const {
  wchar_t query[96];
  std::swprintf(query, 96, L"\\StringFileInfo\\%04X04B0\\%ls", language, name);
  void* value = nullptr;
  UINT length = 0;
  if (data.empty() || !VerQueryValueW(const_cast<BYTE*>(data.data()), query, &value, &length)) return L"<none>";
  return static_cast<const wchar_t*>(value);
}
