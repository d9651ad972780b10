// Drives the real designer from outside, as a user would: starts "designer.scr /c" from a
// folder of its own, switches tabs, sets fields, boxes and sliders, presses buttons, answers
// message boxes, and reads the settings file the dialog wrote.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "process_runner.h"
#include "screen_pixels.h"

// The MORVANE.INI of the Windows folder, which every designer process uses.
std::string SettingsFilePath();
// Removes the settings file, or replaces it with the given text.
void ClearSettings();
void WriteSettings(const std::string& text);
// A value as the file holds it now; "<absent>" when the key is not there. Read from the file
// itself, never through this process's profile cache.
std::string StoredValue(const std::string& section, const std::string& key);
const char kAbsent[] = "<absent>";

// The picture fixtures drawn by the native build's tool, with the Linux morvane-pack's packages
// of their scenes (tests/pictures), with a trailing backslash.
std::string PictureFixtureFolder();

// A folder of its own with a copy of the designer program (and player.scr beside it).
std::string DesignerFolder();
std::string DesignerCopy(const char* program = "designer.scr");
// Forgets the scene file the designer reopens at its start, so that MORVANE.INI is its store.
void ForgetRememberedScene();
// morvane-pack.exe on the settings file, with the designer folder's player.scr and that folder
// for relative names, into output; returns its exit code.
DWORD PackSettings(const std::string& output);

class DesignerDialog {
 public:
  // Starts the configuration dialog of the program and waits for it; ok() tells whether it
  // came up.
  explicit DesignerDialog(const char* program = "designer.scr");
  // The same with the given command tail, waiting for a dialog of the given title.
  DesignerDialog(const char* program, const std::string& tail, const char* title);
  ~DesignerDialog();
  bool ok() const { return dialog_ != nullptr; }
  HWND dialog() const { return dialog_; }
  HWND tabs() const { return tabs_; }
  // The page under the tabs now, or null.
  HWND Page() const;
  int CurrentTab() const;
  // Selects the tab as the keyboard would and waits for its page.
  bool SelectTab(int tab);

  std::string Text(int id) const;
  void SetText(int id, const std::string& text);
  bool Checked(int id) const;
  void SetCheck(int id, bool checked);
  HWND Trackbar(int id) const;
  int TrackbarPos(int id) const;
  // Presses a key on the slider; it reports the move to the page as a drag would.
  void SliderKey(int id, WORD key);
  // Clicks a page button; returns at once (the button may open a modal window).
  void Click(int id);

  // A window of the designer's that is not the dialog (a message box, a file or colour
  // dialog); null when none came within the time.
  HWND WaitForPopup(DWORD timeoutMs = 5000) const;
  // Ends the dialog and returns its exit code.
  DWORD PressOk();
  DWORD CloseWithCaptionButton();
  bool Running() const;

  // The dialog as it is on the screen now, into a .bmp of the test's artefacts.
  void Screenshot(const std::string& name) const;

 private:
  ChildProcess process_;
  HWND dialog_ = nullptr;
  HWND tabs_ = nullptr;
};

// Text of a message box (its static label), and its caption.
std::wstring PopupText(HWND popup);
std::wstring WindowTextW(HWND window);
// Answers a message box or a common dialog with the button id and waits for it to go.
bool Answer(HWND popup, int button);

bool WriteScreenshot(const std::string& path, const RECT& area);
// Where screenshots go: a folder beside the test program.
std::string ArtefactFolder();
