#include "scene_commands.h"

#include <commdlg.h>

#include <string>

#include "designer_dialog.h"
#include "designer_resources.h"
#include "designer_session.h"
#include "designer_state.h"
#include "message_text.h"
#include "page_controls.h"
#include "saver_host.h"
#include "system_text.h"

namespace {

// The file name of a path, without its folder.
const char* FileNameOf(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; p = CharNextA(p))
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  return name;
}

// What is said about a scene file that was refused.
void ShowSceneProblem(HWND dialog, const char* path, SceneFileProblem problem, const std::string& detail) {
  const UINT ids[] = {0, IDS_SCENE_NOT_READ, IDS_SCENE_EMPTY, IDS_SCENE_TOO_LARGE, IDS_SCENE_NOT_TEXT,
                      IDS_SCENE_FOREIGN_SECTION};
  wchar_t nameText[MAX_PATH * 2], detailText[kSettingBufferSize * 2];
  WideText name(nameText, MAX_PATH * 2), section(detailText, kSettingBufferSize * 2);
  name.AddAnsi(path);
  section.AddAnsi(detail.substr(0, kMaxSettingLength).c_str());
  MessageText message;
  message.Fill(DialogHost(dialog), ids[problem], {nameText, detailText});
  Show(dialog, message, MB_OK | MB_ICONEXCLAMATION);
}

// The pictures and the sound the opened scene names that are not there: listed, not refused.
void ShowMissingFiles(HWND dialog) {
  DesignerSession* session = DialogSession(dialog);
  const std::vector<MissingSceneFile> missing = MissingSceneFiles(
      &session->scene, session->folder, WindowsPathRules(),
      [](const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; });
  if (missing.empty()) return;
  const SaverHost* host = DialogHost(dialog);
  MessageText message;
  message.Fill(host, IDS_SCENE_MISSING, {});
  for (const MissingSceneFile& file : missing) {
    wchar_t whatText[256], characterNumber[12], slotNumber[12], namedText[kSettingBufferSize * 2];
    WideText what(whatText, 256), character(characterNumber, 12), slot(slotNumber, 12),
        named(namedText, kSettingBufferSize * 2);
    character.AddNumber(file.character + 1);
    slot.AddNumber(file.slot + 1);
    if (file.setting == kFramePath) what.Fill(host, IDS_INPUT_FRAME, {characterNumber, slotNumber});
    else what.Fill(host, file.setting == kWallpaperPath ? IDS_INPUT_WALLPAPER : IDS_INPUT_SOUND, {});
    named.AddAnsi(file.named.c_str());
    message.Add(L"\n");
    message.Fill(host, IDS_SCENE_MISSING_LINE, {whatText, namedText});
  }
  Show(dialog, message, MB_OK | MB_ICONEXCLAMATION);
}

struct SaveQuestion {
  const wchar_t* text;
  bool win9x;
};

INT_PTR CALLBACK SaveQuestionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const SaveQuestion* question = reinterpret_cast<const SaveQuestion*>(lParam);
    if (!question->win9x) {
      SetDlgItemTextW(window, IDC_SAVE_CHANGES_TEXT, question->text);
    } else {
      char ansi[2 * MAX_PATH + 512];
      WideCharToMultiByte(CP_ACP, 0, question->text, -1, ansi, sizeof ansi, nullptr, nullptr);
      SetDlgItemTextA(window, IDC_SAVE_CHANGES_TEXT, ansi);
    }
    return TRUE;
  }
  if (message == WM_COMMAND && (wParam == IDYES || wParam == IDNO || wParam == IDCANCEL)) {
    EndDialog(window, static_cast<INT_PTR>(wParam));
    return TRUE;
  }
  return FALSE;
}

bool Save(HWND dialog, const char* path) {
  DesignerSession* session = DialogSession(dialog);
  const char* problem = nullptr;
  // The page saves first, and comes back showing the names as the file now keeps them.
  const bool focusOnPage = TakeDownShownPage(dialog);
  const bool saved = SaveSessionScene(session, path, &problem);
  PutUpShownPage(dialog, focusOnPage);
  if (!saved) {
    wchar_t nameText[MAX_PATH * 2], whyText[512];
    WideText name(nameText, MAX_PATH * 2), why(whyText, 512);
    name.AddAnsi(path);
    why.AddAnsi(problem ? problem : "");
    MessageText message;
    message.Fill(DialogHost(dialog), IDS_SCENE_NOT_SAVED, {nameText, whyText});
    Show(dialog, message, MB_OK | MB_ICONHAND);
    return false;
  }
  RememberScene(session->scenePath);
  DialogContextOf(dialog)->edited = false;
  ShowSceneTitle(dialog);
  return true;
}

bool SaveAs(HWND dialog) {
  DesignerSession* session = DialogSession(dialog);
  char path[MAX_PATH];
  lstrcpynA(path, HasScene(session) ? session->scenePath : "", MAX_PATH);
  if (!BrowseForFile(dialog, SaveFileDialog, IDS_SCENE_FILTER, IDS_SCENE_SAVE_TITLE, kSceneFileExtension + 1,
                     OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, path, MAX_PATH))
    return false;
  return Save(dialog, path);
}

bool SaveCurrent(HWND dialog) {
  DesignerSession* session = DialogSession(dialog);
  if (!HasScene(session)) return SaveAs(dialog);
  char path[MAX_PATH];
  lstrcpynA(path, session->scenePath, MAX_PATH);
  return Save(dialog, path);
}

// Before the open scene is replaced or closed: true to go on. Save, Don't Save or Cancel, as
// editors ask.
bool ConfirmLosingChanges(HWND dialog) {
  RenewShownPage(dialog);
  DesignerSession* session = DialogSession(dialog);
  DialogContextOf(dialog)->edited = false;
  ShowSceneTitle(dialog);
  if (!HasUnsavedChanges(session)) return true;
  const SaverHost* host = DialogHost(dialog);
  wchar_t nameText[MAX_PATH * 2];
  WideText name(nameText, MAX_PATH * 2);
  name.AddAnsi(FileNameOf(session->scenePath));
  MessageText text;
  text.Fill(host, IDS_SCENE_SAVE_CHANGES, {nameText});
  SaveQuestion question = {text.text, host->win9x};
  INT_PTR answer = RunDialog(host, MAKEINTRESOURCEA(IDD_SAVE_CHANGES), dialog, SaveQuestionProc,
                             reinterpret_cast<LPARAM>(&question));
  if (answer == IDYES) return SaveCurrent(dialog);
  return answer == IDNO;
}

// Opens the file as the store; false, after saying why, when it is no scene.
bool OpenScene(HWND dialog, const char* path, bool remembered) {
  DesignerSession* session = DialogSession(dialog);
  std::string detail;
  const bool focusOnPage = TakeDownShownPage(dialog);
  SceneFileProblem problem = OpenSessionScene(session, path, &detail);
  PutUpShownPage(dialog, focusOnPage);
  if (problem != SceneFileFine) {
    ShowSceneProblem(dialog, path, problem, detail);
    // A remembered scene that went away is not asked for again.
    if (remembered) RememberScene("");
    return false;
  }
  RememberScene(session->scenePath);
  DialogContextOf(dialog)->edited = false;
  ShowSceneTitle(dialog);
  ShowMissingFiles(dialog);
  return true;
}

void BrowseAndOpen(HWND dialog) {
  if (!ConfirmLosingChanges(dialog)) return;
  char path[MAX_PATH] = "";
  if (!BrowseForFile(dialog, OpenFileDialog, IDS_SCENE_FILTER, IDS_SCENE_OPEN_TITLE, kSceneFileExtension + 1,
                     OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, path, MAX_PATH))
    return;
  OpenScene(dialog, path, false);
}

void CloseScene(HWND dialog) {
  if (!HasScene(DialogSession(dialog)) || !ConfirmLosingChanges(dialog)) return;
  // The page must not save the scene's values into MORVANE.INI as it goes.
  const bool focusOnPage = TakeDownShownPage(dialog);
  CloseSessionScene(DialogSession(dialog));
  RememberScene("");
  PutUpShownPage(dialog, focusOnPage);
  ShowSceneTitle(dialog);
}

// The menu in the dialog's language, as every other text of the dialog.
HMENU LoadSceneMenu(const SaverHost* host) {
  HRSRC found = FindResourceExA(host->module, RT_MENU, MAKEINTRESOURCEA(IDR_SCENE_MENU), host->dialogLanguage);
  if (HGLOBAL loaded = found ? LoadResource(host->module, found) : nullptr)
    if (HMENU menu = LoadMenuIndirectA(LockResource(loaded))) return menu;
  return LoadMenuA(host->module, MAKEINTRESOURCEA(IDR_SCENE_MENU));
}

// The scene file that the shell's open command names: `/c "path"` or a bare path.
bool SceneOfCommandLine(char path[MAX_PATH]) {
  const char* p = GetCommandLineA();
  // The program's own name, quoted or not.
  if (*p == '"') {
    for (++p; *p && *p != '"'; p = CharNextA(p)) {
    }
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') p = CharNextA(p);
  }
  while (*p == ' ' || *p == '\t') ++p;
  if ((p[0] == '/' || p[0] == '-') && (p[1] == 'c' || p[1] == 'C')) {
    p += 2;
    if (*p == ':') ++p;
    while (*p == ' ' || *p == '\t') ++p;
  }
  const bool quoted = *p == '"';
  if (quoted) ++p;
  int length = 0;
  for (; *p && length < MAX_PATH - 1 && (quoted ? *p != '"' : true); ++p) path[length++] = *p;
  while (!quoted && length > 0 && (path[length - 1] == ' ' || path[length - 1] == '\t')) --length;
  path[length] = '\0';
  // A window handle (the display settings' "/c:1234") is no file.
  const int extension = lstrlenA(kSceneFileExtension);
  return length > extension && lstrcmpiA(path + length - extension, kSceneFileExtension) == 0;
}

}  // namespace

void StartSceneFiles(HWND dialog) {
  DialogContext* context = DialogContextOf(dialog);
  RECT before, after;
  GetClientRect(dialog, &before);
  SetMenu(dialog, LoadSceneMenu(context->host));
  GetClientRect(dialog, &after);
  RECT frame;
  GetWindowRect(dialog, &frame);
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left,
               frame.bottom - frame.top + (before.bottom - after.bottom), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  context->keys = LoadAcceleratorsA(context->host->module, MAKEINTRESOURCEA(IDR_SCENE_KEYS));

  char path[MAX_PATH];
  if (SceneOfCommandLine(path)) OpenScene(dialog, path, false);
  else if (RememberedScene(path)) OpenScene(dialog, path, true);
  ShowSceneTitle(dialog);
}

bool TranslateSceneKeys(HWND dialog, MSG* message) {
  HACCEL keys = DialogContextOf(dialog)->keys;
  return keys && TranslateAcceleratorA(dialog, keys, message) != 0;
}

bool HandleSceneCommand(HWND dialog, WPARAM command) {
  switch (LOWORD(command)) {
    case IDM_SCENE_OPEN:
      BrowseAndOpen(dialog);
      return true;
    case IDM_SCENE_SAVE:
      SaveCurrent(dialog);
      return true;
    case IDM_SCENE_SAVE_AS:
      SaveAs(dialog);
      return true;
    case IDM_SCENE_CLOSE:
      CloseScene(dialog);
      return true;
  }
  return false;
}

bool ConfirmSceneClose(HWND dialog) {
  return !HasScene(DialogSession(dialog)) || ConfirmLosingChanges(dialog);
}

void NotePageEdited(HWND page) {
  DialogContext* context = DialogContextOf(page);
  if (!context || context->pageOpening || context->edited || !HasScene(context->session)) return;
  context->edited = true;
  ShowSceneTitle(GetAncestor(page, GA_ROOT));
}

void ShowSceneTitle(HWND dialog) {
  DialogContext* context = DialogContextOf(dialog);
  DesignerSession* session = context->session;
  const SaverHost* host = context->host;
  wchar_t title[MAX_PATH * 2 + 64];
  if (!HasScene(session)) {
    LoadStringIn(host, IDS_CAPTION, title, MAX_PATH * 2 + 64);
  } else {
    wchar_t nameText[MAX_PATH * 2];
    WideText name(nameText, MAX_PATH * 2);
    name.AddAnsi(FileNameOf(session->scenePath));
    WideText text(title, MAX_PATH * 2 + 64);
    text.Fill(host, IDS_SCENE_TITLE, {context->edited || HasUnsavedChanges(session) ? L"*" : L"", nameText});
  }
  if (!host->win9x) {
    SetWindowTextW(dialog, title);
    return;
  }
  char ansi[MAX_PATH * 4 + 128];
  WideCharToMultiByte(CP_ACP, 0, title, -1, ansi, sizeof ansi, nullptr, nullptr);
  SetWindowTextA(dialog, ansi);
}
