#include "dialog_template.h"

const wchar_t kGothicFace[] = L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF";

namespace {

// A bounds-checked cursor over the template bytes.
struct Reader {
  const BYTE* data;
  size_t size;
  size_t at = 0;
  bool ok = true;

  WORD Word() {
    if (at + 2 > size) { ok = false; return 0; }
    WORD value = static_cast<WORD>(data[at] | (data[at + 1] << 8));
    at += 2;
    return value;
  }
  DWORD Dword() {
    DWORD low = Word();
    return low | (static_cast<DWORD>(Word()) << 16);
  }
  short Short() { return static_cast<short>(Word()); }
  std::wstring String() {
    std::wstring text;
    for (WORD c; ok && (c = Word()) != 0;) text.push_back(static_cast<wchar_t>(c));
    return text;
  }
  // A name or ordinal field: 0 for none, 0xFFFF then an ordinal, else a string.
  void NameOrOrdinal(WORD* ordinal, std::wstring* name) {
    WORD first = Word();
    if (first == 0) return;
    if (first == 0xFFFF) { *ordinal = Word(); return; }
    at -= 2;
    *name = String();
  }
  void AlignDword() { at = (at + 3) & ~size_t(3); }
};

}  // namespace

const DialogItem* DialogTemplate::Item(DWORD id) const {
  for (const DialogItem& item : items) if (item.id == id) return &item;
  return nullptr;
}

DialogTemplate ReadDialogTemplate(const std::string& programPath, LPCWSTR name, WORD language) {
  DialogTemplate dialog;
  HMODULE module = LoadLibraryExA(programPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return dialog;
  HRSRC resource = FindResourceExW(module, MAKEINTRESOURCEW(5), name, language);
  if (resource) {
    Reader r{static_cast<const BYTE*>(LockResource(LoadResource(module, resource))), SizeofResource(module, resource)};
    WORD ignoredOrdinal = 0;
    std::wstring ignoredName;
    if (r.Word() == 1 && r.Word() == 0xFFFF) {
      dialog.extended = true;
      r.Dword();  // help id
      dialog.exStyle = r.Dword();
      dialog.style = r.Dword();
    } else {
      r.at = 0;
      dialog.style = r.Dword();
      dialog.exStyle = r.Dword();
    }
    WORD count = r.Word();
    dialog.x = r.Short(); dialog.y = r.Short(); dialog.cx = r.Short(); dialog.cy = r.Short();
    r.NameOrOrdinal(&ignoredOrdinal, &ignoredName);  // menu
    r.NameOrOrdinal(&ignoredOrdinal, &ignoredName);  // class
    dialog.title = r.String();
    if (dialog.style & DS_SETFONT) {
      dialog.pointSize = r.Word();
      if (dialog.extended) { r.Word(); r.Word(); }  // weight, italic and charset
      dialog.font = r.String();
    }
    for (WORD i = 0; i < count && r.ok; ++i) {
      r.AlignDword();
      DialogItem item;
      if (dialog.extended) {
        r.Dword();  // help id
        item.exStyle = r.Dword();
        item.style = r.Dword();
      } else {
        item.style = r.Dword();
        item.exStyle = r.Dword();
      }
      item.x = r.Short(); item.y = r.Short(); item.cx = r.Short(); item.cy = r.Short();
      item.id = dialog.extended ? r.Dword() : r.Word();
      r.NameOrOrdinal(&item.classAtom, &item.className);
      r.NameOrOrdinal(&item.titleOrdinal, &item.title);
      WORD extra = r.Word();
      r.at += extra;
      dialog.items.push_back(item);
    }
    dialog.found = r.ok;
  }
  FreeLibrary(module);
  return dialog;
}

std::wstring ReadStringResource(HMODULE module, UINT id, WORD language) {
  HRSRC block = FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(id / 16 + 1), language);
  const WORD* entry = block ? static_cast<const WORD*>(LockResource(LoadResource(module, block))) : nullptr;
  if (!entry) return L"<none>";
  for (UINT skip = id % 16; skip > 0; --skip) entry += 1 + *entry;
  return std::wstring(reinterpret_cast<const wchar_t*>(entry + 1), *entry);
}
