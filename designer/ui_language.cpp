#include "ui_language.h"

#include "saver_host.h"

const void* LockResourceIn(LPCSTR type, LPCSTR name, DWORD* size) {
  HRSRC resource = FindResourceExA(moduleInstance, type, name, DialogLanguage());
  if (!resource) resource = FindResourceA(moduleInstance, name, type);
  HGLOBAL loaded = resource ? LoadResource(moduleInstance, resource) : nullptr;
  if (!loaded) return nullptr;
  if (size) *size = SizeofResource(moduleInstance, resource);
  return LockResource(loaded);
}
