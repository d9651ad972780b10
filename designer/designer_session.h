// Where the designer keeps the scene it works on: MORVANE.INI in the Windows folder, as always,
// or a scene file the user opened, edited in memory and written when saved. The dialog owns one
// session and hands it to its pages; the saver's processes make one of their own.
#pragma once
#include <windows.h>

#include <string>

#include "profile_text_store.h"
#include "scene_document.h"
#include "windows_profile_store.h"

struct DesignerSession {
  WindowsProfileStore machine;  // MORVANE.INI
  ProfileTextStore scene;       // the open scene file as edited
  ProfileTextStore saved;       // the same as last opened or saved
  char scenePath[MAX_PATH];     // empty: no scene file is open and MORVANE.INI is the store
  char folder[MAX_PATH];        // where relative names belong: the scene file's or the designer's
};

// MORVANE.INI, with names relative to the designer's folder.
void OpenDesignerSession(DesignerSession* session);

SettingsStore* SessionSettings(DesignerSession* session);
inline bool HasScene(const DesignerSession* session) { return session->scenePath[0] != '\0'; }
bool HasUnsavedChanges(DesignerSession* session);

// The path rules of this system's code page.
PathRules WindowsPathRules();

// Reads the scene file and makes it the store. The session stays as it was when it is refused.
SceneFileProblem OpenSessionScene(DesignerSession* session, const char* path, std::string* detail);
// Writes the store (MORVANE.INI or the scene) as the scene file `path`, which becomes the store.
// problem gets the reason when it could not be written; the session then stays as it was.
bool SaveSessionScene(DesignerSession* session, const char* path, const char** problem);
// Back to MORVANE.INI.
void CloseSessionScene(DesignerSession* session);

// The scene file reopened at the next start, kept for the user: empty to forget it.
void RememberScene(const char* path);
bool RememberedScene(char path[MAX_PATH]);

// The store the saver and its preview play: the remembered scene file as last saved, when there
// is one that reads as a scene, else MORVANE.INI. So the saver shows what Create builds from the
// store the dialog opens on.
void OpenSaverSession(DesignerSession* session);
