#include "ui_language.h"

#include "saver_host.h"

const void* LockResourceIn(const SaverHost* host, LPCSTR type, LPCSTR name, DWORD* size) {
  HINSTANCE module = host->module;
  HRSRC resource = FindResourceExA(module, type, name, host->dialogLanguage);
  if (!resource) resource = FindResourceA(module, name, type);
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  if (!loaded) return nullptr;
  if (size) *size = SizeofResource(module, resource);
  return LockResource(loaded);
}
