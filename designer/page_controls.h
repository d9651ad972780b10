// The exchanges every editing page makes between its controls and the settings store, the
// sliders it creates, its file dialogs and its context help.
#pragma once
#include <windows.h>

#include <cstdint>

#include "setting_table.h"

// Field text <-> setting text (at most 259 bytes either way). Settings are
// named by the settings table; a character's keys take its number, a frame path its slot too.
void ReadSettingIntoField(HWND page, int id, SettingId setting, int character = 0, int slot = 0);
void WriteFieldSetting(HWND page, int id, SettingId setting, int character = 0, int slot = 0);
// The same writes into another store (the dialog's edit overlay).
void WriteFieldSetting(SettingsStore* store, HWND page, int id, SettingId setting, int character = 0, int slot = 0);
void WriteSettingInteger(SettingsStore* store, SettingId setting, int32_t value, int character = 0);
void WriteCheckSetting(SettingsStore* store, HWND page, int id, SettingId setting, int character = 0);

int32_t ReadSettingInteger(SettingId setting, int character = 0);
void WriteSettingInteger(SettingId setting, int32_t value, int character = 0);

// Any non-zero setting shows as checked; the box is written back as 0 or 1.
void ReadSettingIntoCheck(HWND page, int id, SettingId setting, int character = 0);
void WriteCheckSetting(HWND page, int id, SettingId setting, int character = 0);

// A slider at a place given in pixels for a dialog unit of 1.5 pixels (the template's font at
// 96 dots per inch), moved with the page's actual conversion so that it keeps its place among
// the template's controls at any font size and resolution.
HWND CreatePageTrackbar(HWND page, int id, int x, int y, int width, int height);
// The low 16 bits of each end, taken as signed; the slider clamps the position into them.
void SetTrackbar(HWND trackbar, int32_t minimum, int32_t maximum, int32_t position);
int32_t TrackbarPosition(HWND trackbar);

// The system's open-file dialog (for a file to read) or save dialog (for one to write), starting
// from the path in `path` (capacity bytes); its texts come from the string table. Returns whether
// the user confirmed; `path` then holds the chosen path, and is unchanged otherwise.
enum FileDialogKind { OpenFileDialog, SaveFileDialog };
bool BrowseForFile(HWND page, FileDialogKind kind, UINT filterId, UINT titleId, const char* defaultExtension,
                   DWORD flags, char* path, int capacity);

// The open dialog taking several existing files at once, each as a full path in the system's
// code page (a name that does not fit it is marked unusable). False after a cancel.
const int kMaxChosenFiles = 64;
struct ChosenFiles {
  int count;
  char names[kMaxChosenFiles][kSettingBufferSize];
  bool unusable[kMaxChosenFiles];
};
bool BrowseForFiles(HWND page, UINT filterId, UINT titleId, const char* defaultExtension, const char* start,
                    ChosenFiles* chosen);

// Browse for an existing file from the field's text; the field gets the chosen path, or its own
// text back after a cancel.
void BrowseIntoField(HWND page, int field, UINT filterId, UINT titleId, const char* defaultExtension);

// The live preview follows the pages as they are edited: a page tells the dialog of every change
// to a scene value, and once the user pauses the dialog asks it to write its values, as its close
// would, into the store that lParam names (the dialog's edit overlay) before the preview walks
// the settings again.
const UINT kSceneEdited = WM_APP + 0x130;
const UINT kWriteSettingsNow = WM_APP + 0x131;
// Changes count from here on: filling the controls while the page opens changes nothing.
void MarkPageOpen(HWND page);
void NoteSceneEdited(HWND page);
