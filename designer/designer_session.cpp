#include "designer_session.h"

#include "designer_folder.h"

namespace {

// Per user: each user has scenes of their own, while MORVANE.INI is the machine's.
const char kDesignerKey[] = "Software\\Morvane\\Designer";
const char kSceneValue[] = "Scene";

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

void CopyPath(char* to, const char* from) { lstrcpynA(to, from, MAX_PATH); }

}  // namespace

PathRules WindowsPathRules() { return {WindowsPaths, IsLeadByte}; }

void OpenDesignerSession(DesignerSession* session) {
  session->scene.SetText(std::string());
  session->saved.SetText(std::string());
  session->scenePath[0] = '\0';
  DesignerFolder(session->folder);
}

SettingsStore* SessionSettings(DesignerSession* session) {
  return HasScene(session) ? static_cast<SettingsStore*>(&session->scene) : &session->machine;
}

bool HasUnsavedChanges(DesignerSession* session) {
  return HasScene(session) && !SameScene(&session->scene, &session->saved);
}

SceneFileProblem OpenSessionScene(DesignerSession* session, const char* path, std::string* detail) {
  std::string text;
  SceneFileProblem problem = ReadSceneFileText(path, &text, detail);
  if (problem != SceneFileFine) return problem;
  // The folder is the one of the full name, whatever the current folder becomes later.
  char full[MAX_PATH];
  char* name = nullptr;
  if (!GetFullPathNameA(path, MAX_PATH, full, &name)) CopyPath(full, path);
  session->saved.SetText(text);
  session->scene.SetText(static_cast<std::string&&>(text));
  CopyPath(session->scenePath, full);
  CopyPath(session->folder, FolderOfFile(full, WindowsPathRules()).c_str());
  return SceneFileFine;
}

bool SaveSessionScene(DesignerSession* session, const char* path, const char** problem) {
  char full[MAX_PATH];
  char* name = nullptr;
  if (!GetFullPathNameA(path, MAX_PATH, full, &name)) CopyPath(full, path);
  const std::string folder = FolderOfFile(full, WindowsPathRules());
  std::string text = SceneTextOf(SessionSettings(session), session->folder, folder.c_str(), WindowsPathRules());
  if (!WriteSceneFileText(full, text, problem)) return false;
  session->saved.SetText(text);
  session->scene.SetText(static_cast<std::string&&>(text));
  CopyPath(session->scenePath, full);
  CopyPath(session->folder, folder.c_str());
  return true;
}

void CloseSessionScene(DesignerSession* session) { OpenDesignerSession(session); }

void RememberScene(const char* path) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesignerKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(key, kSceneValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                 static_cast<DWORD>(lstrlenA(path) + 1));
  RegCloseKey(key);
}

bool RememberedScene(char path[MAX_PATH]) {
  path[0] = '\0';
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesignerKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0, size = MAX_PATH - 1;
  LONG result = RegQueryValueExA(key, kSceneValue, nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) {
    path[0] = '\0';
    return false;
  }
  path[size < MAX_PATH ? size : MAX_PATH - 1] = '\0';
  return path[0] != '\0';
}

void OpenSaverSession(DesignerSession* session) {
  OpenDesignerSession(session);
  char path[MAX_PATH];
  std::string detail;
  if (RememberedScene(path)) OpenSessionScene(session, path, &detail);
}
