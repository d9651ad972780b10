#include "designer_driver.h"

#include <commctrl.h>

#include <cctype>

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r");
  size_t end = text.find_last_not_of(" \t\r");
  return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

struct PopupSearch {
  DWORD processId;
  HWND except;
  HWND found;
};

BOOL CALLBACK MatchPopup(HWND window, LPARAM context) {
  PopupSearch* search = reinterpret_cast<PopupSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || window == search->except || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK FindLabel(HWND child, LPARAM context) {
  wchar_t className[32];
  GetClassNameW(child, className, 32);
  if (lstrcmpiW(className, L"Static") != 0) return TRUE;
  std::wstring text = WindowTextW(child);
  if (text.empty()) return TRUE;
  *reinterpret_cast<std::wstring*>(context) = text;
  return FALSE;
}

}  // namespace

std::string SettingsFilePath() {
  char folder[MAX_PATH];
  UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
  return std::string(folder, length) + "\\MORVANE.INI";
}

void ClearSettings() {
  DeleteFileA(SettingsFilePath().c_str());
  ForgetRememberedScene();
}

void WriteSettings(const std::string& text) { WriteWholeFile(SettingsFilePath(), text); }

std::string StoredValue(const std::string& section, const std::string& key) {
  std::string text = ReadWholeFile(SettingsFilePath());
  std::string current;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = Trim(text.substr(at, end - at));
    at = end + 1;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = Lower(line.substr(1, line.size() - 2));
      continue;
    }
    size_t equals = line.find('=');
    if (current != Lower(section) || equals == std::string::npos) continue;
    if (Lower(Trim(line.substr(0, equals))) == Lower(key)) return Trim(line.substr(equals + 1));
  }
  return kAbsent;
}

std::string PictureFixtureFolder() { return ProgramFolder() + "..\\pictures\\"; }

std::string DesignerFolder() { return ProgramFolder() + "designer-tests\\"; }

std::string DesignerCopy(const char* program) {
  std::string folder = DesignerFolder();
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string copy = folder + program;
  CopyFileA((ProgramFolder() + program).c_str(), copy.c_str(), FALSE);
  CopyFileA((ProgramFolder() + "player.scr").c_str(), (folder + "player.scr").c_str(), FALSE);
  return copy;
}

DWORD PackSettings(const std::string& output) {
  std::string folder = DesignerFolder();
  return RunProgram(ProgramFolder() + "morvane-pack.exe", "--player \"" + folder + "player.scr\" --base \"" +
                                                             folder.substr(0, folder.size() - 1) + "\" \"" + output + "\"");
}

void ForgetRememberedScene() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Morvane\\Designer", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, "Scene");
  RegCloseKey(key);
}

DesignerDialog::DesignerDialog(const char* program) : DesignerDialog(program, "/c", "Morvane") {}

DesignerDialog::DesignerDialog(const char* program, const std::string& tail, const char* title) {
  process_ = StartProgram(DesignerCopy(program), tail);
  if (!process_.process) return;
  dialog_ = WaitForProcessWindow(process_.id, "#32770", title);
  if (!dialog_) return;
  // The window exists before its initialisation has made the tab control and the first page.
  WaitUntil(
      [&] {
        tabs_ = FindWindowExA(dialog_, nullptr, "SysTabControl32", nullptr);
        return Page() != nullptr && IsWindowVisible(dialog_);
      },
      5000);
}

DesignerDialog::~DesignerDialog() {
  if (process_.process && WaitForSingleObject(process_.process, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.process, 1);
    WaitForSingleObject(process_.process, 5000);
  }
  if (process_.process) CloseHandle(process_.process);
}

HWND DesignerDialog::Page() const { return tabs_ ? FindWindowExA(tabs_, nullptr, "#32770", nullptr) : nullptr; }

int DesignerDialog::CurrentTab() const { return static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)); }

bool DesignerDialog::SelectTab(int tab) {
  int current = CurrentTab();
  while (current != tab) {
    HWND before = Page();
    WPARAM key = tab > current ? VK_RIGHT : VK_LEFT;
    PostMessageW(tabs_, WM_KEYDOWN, key, 0);
    PostMessageW(tabs_, WM_KEYUP, key, 0xC0000000);
    int expected = current + (tab > current ? 1 : -1);
    if (!WaitUntil([&] { return CurrentTab() == expected && Page() != nullptr && Page() != before; }, 5000))
      return false;
    current = expected;
  }
  return true;
}

std::string DesignerDialog::Text(int id) const {
  // GetWindowText does not ask a window of another process; the message does.
  char text[600] = "";
  SendMessageA(GetDlgItem(Page(), id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

void DesignerDialog::SetText(int id, const std::string& text) {
  SendMessageA(GetDlgItem(Page(), id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool DesignerDialog::Checked(int id) const {
  return SendMessageW(GetDlgItem(Page(), id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DesignerDialog::SetCheck(int id, bool checked) {
  SendMessageW(GetDlgItem(Page(), id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

HWND DesignerDialog::Trackbar(int id) const { return GetDlgItem(Page(), id); }

int DesignerDialog::TrackbarPos(int id) const {
  return static_cast<int>(SendMessageW(Trackbar(id), TBM_GETPOS, 0, 0));
}

void DesignerDialog::SliderKey(int id, WORD key) {
  SendMessageW(Trackbar(id), WM_KEYDOWN, key, 0);
  SendMessageW(Trackbar(id), WM_KEYUP, key, 0xC0000000);
}

void DesignerDialog::Click(int id) {
  PostMessageW(Page(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Page(), id)));
}

HWND DesignerDialog::WaitForPopup(DWORD timeoutMs) const {
  PopupSearch search = {process_.id, dialog_, nullptr};
  WaitUntil(
      [&] {
        search.found = nullptr;
        EnumWindows(MatchPopup, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  if (search.found) PumpFor(200);  // let it finish drawing and filling its controls
  return search.found;
}

DWORD DesignerDialog::PressOk() {
  PostMessageW(dialog_, WM_COMMAND, IDOK, 0);
  return WaitForExit(process_);
}

DWORD DesignerDialog::CloseWithCaptionButton() {
  PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
  return WaitForExit(process_);
}

bool DesignerDialog::Running() const {
  return process_.process && WaitForSingleObject(process_.process, 0) == WAIT_TIMEOUT && IsWindow(dialog_);
}

void DesignerDialog::Screenshot(const std::string& name) const {
  PumpFor(300);
  RECT area;
  GetWindowRect(dialog_, &area);
  WriteScreenshot(ArtefactFolder() + name + ".bmp", area);
}

std::wstring WindowTextW(HWND window) {
  // Create's messages list files and reasons, so they run long.
  std::vector<wchar_t> text(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
  SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

std::wstring PopupText(HWND popup) {
  std::wstring text;
  EnumChildWindows(popup, FindLabel, reinterpret_cast<LPARAM>(&text));
  return text;
}

bool Answer(HWND popup, int button) {
  PostMessageW(popup, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  return WaitUntil([&] { return !IsWindow(popup); }, 5000);
}


bool WriteScreenshot(const std::string& path, const RECT& area) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  std::vector<uint32_t> pixels = ScreenPixels(area);
  std::string file(14 + 40, '\0');
  auto put = [&](size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  const uint32_t size = 14 + 40 + uint32_t(pixels.size()) * 4;
  file[0] = 'B';
  file[1] = 'M';
  put(2, size, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(w), 4);
  put(22, static_cast<uint32_t>(-h), 4);
  put(26, 1, 2);
  put(28, 32, 2);
  file.append(reinterpret_cast<const char*>(pixels.data()), pixels.size() * 4);
  return WriteWholeFile(path, file);
}

std::string ArtefactFolder() {
  // One folder per code page and resolution the tests run at.
  std::string folder = ProgramFolder() + "screenshots\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  folder += "cp" + std::to_string(GetACP()) + (dpi == 96 ? "" : "-" + std::to_string(dpi) + "dpi") + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}
