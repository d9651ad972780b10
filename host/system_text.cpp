#include "system_text.h"

#include "saver_host.h"

namespace {

// A template or class name, ASCII or a resource number, as the wide calls take it.
struct WideName {
  wchar_t text[32];
  LPCWSTR name;
};

void Widen(const char* ascii, WideName* wide) {
  if (IS_INTRESOURCE(ascii)) {
    wide->name = MAKEINTRESOURCEW(LOWORD(reinterpret_cast<ULONG_PTR>(ascii)));
    return;
  }
  int i = 0;
  for (; ascii[i] && i < 31; ++i) wide->text[i] = static_cast<unsigned char>(ascii[i]);
  wide->text[i] = L'\0';
  wide->name = wide->text;
}

// RT_DIALOG and RT_STRING, and the dialog whose language every text follows.
const LPCSTR kDialogType = MAKEINTRESOURCEA(5);
const LPCSTR kStringType = MAKEINTRESOURCEA(6);
const LPCSTR kConfigurationDialog = MAKEINTRESOURCEA(2003);

struct LanguageSearch {
  HRSRC chosen;
  LANGID found;
};

BOOL CALLBACK MatchChosenLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR context) {
  LanguageSearch* search = reinterpret_cast<LanguageSearch*>(context);
  if (FindResourceExA(module, type, name, language) != search->chosen) return TRUE;
  search->found = language;
  return FALSE;
}

const WORD* LockBlock(HINSTANCE module, HRSRC resource) {
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  return loaded ? static_cast<const WORD*>(LockResource(loaded)) : nullptr;
}

// Copies entry id of a string block, which holds sixteen counted UTF-16 strings; an empty
// entry is a string the block's language does not have.
int CopyStringEntry(const WORD* block, UINT id, wchar_t* text, int capacity) {
  text[0] = L'\0';
  if (!block) return 0;
  for (UINT i = 0; i < (id & 15); ++i) block += 1 + *block;
  int length = *block < capacity ? *block : capacity - 1;
  for (int i = 0; i < length; ++i) text[i] = static_cast<wchar_t>(block[1 + i]);
  text[length] = L'\0';
  return length;
}

}  // namespace

LANGID FindDialogLanguage(HINSTANCE module) {
  // The system's choice cannot be asked for directly; it is the language whose copy of the
  // dialog is the one the plain lookup returns.
  LanguageSearch search = {FindResourceA(module, kConfigurationDialog, kDialogType),
                           MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)};
  if (search.chosen)
    EnumResourceLanguagesA(module, kDialogType, kConfigurationDialog, MatchChosenLanguage,
                           reinterpret_cast<LONG_PTR>(&search));
  return search.found;
}

int LoadStringIn(const SaverHost* host, UINT id, wchar_t* text, int capacity) {
  // Read here on both families: the wide string calls are among the 9x family's stubs.
  HINSTANCE module = host->module;
  LPCSTR block = MAKEINTRESOURCEA((id >> 4) + 1);
  int length = CopyStringEntry(LockBlock(module, FindResourceExA(module, kStringType, block, host->dialogLanguage)),
                               id, text, capacity);
  if (length > 0) return length;
  return CopyStringEntry(LockBlock(module, FindResourceA(module, block, kStringType)), id, text, capacity);
}

void LoadFixedText(const SaverHost* host, UINT id, FixedText* text) {
  LoadStringIn(host, id, text->wide, sizeof text->wide / sizeof text->wide[0]);
  if (!WideCharToMultiByte(CP_ACP, 0, text->wide, -1, text->ansi, sizeof text->ansi, nullptr, nullptr))
    text->ansi[0] = '\0';
}

INT_PTR RunDialog(const SaverHost* host, const char* templateName, HWND owner, DLGPROC procedure, LPARAM parameter) {
  if (host->win9x) return DialogBoxParamA(host->module, templateName, owner, procedure, parameter);
  WideName name;
  Widen(templateName, &name);
  return DialogBoxParamW(host->module, name.name, owner, procedure, parameter);
}

HWND OpenDialog(const SaverHost* host, const char* templateName, HWND parent, DLGPROC procedure, LPARAM parameter) {
  if (host->win9x) return CreateDialogParamA(host->module, templateName, parent, procedure, parameter);
  WideName name;
  Widen(templateName, &name);
  return CreateDialogParamW(host->module, name.name, parent, procedure, parameter);
}

HWND CreateControl(const SaverHost* host, const char* className, DWORD style, int x, int y, int width, int height,
                   HWND parent, int id) {
  HMENU menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  if (host->win9x)
    return CreateWindowExA(0, className, "", style, x, y, width, height, parent, menu, host->module, nullptr);
  WideName name;
  Widen(className, &name);
  return CreateWindowExW(0, name.name, L"", style, x, y, width, height, parent, menu, host->module, nullptr);
}

int ShowFixedMessage(const SaverHost* host, HWND owner, UINT textId, UINT captionId, UINT type) {
  FixedText text, caption;
  LoadFixedText(host, textId, &text);
  LoadFixedText(host, captionId, &caption);
  if (host->win9x) return MessageBoxA(owner, text.ansi, caption.ansi, type);
  return MessageBoxW(owner, text.wide, caption.wide, type);
}
