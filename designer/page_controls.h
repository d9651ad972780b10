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

int32_t ReadSettingInteger(HWND page, SettingId setting, int character = 0);
void WriteSettingInteger(HWND page, SettingId setting, int32_t value, int character = 0);

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

// A field whose text is a setting takes no more than a setting holds (259 bytes in the system's
// code page): typing stops at the limit, and text pasted past it is cut at a whole character,
// with the system's beep, rather than cut without a word when the page saves.
void LimitSettingField(HWND page, int id);
void KeepSettingFieldWithinLimit(HWND page, int id);

// The pages hand on every change the user makes to a scene value (field text, a box, a slider):
// the title bar shows the unsaved mark at once, and once the user pauses the dialog asks the page
// to write its values, as its close would, into the store that lParam names (the dialog's edit
// overlay) before the preview walks the settings again. Changes while the page fills its
// controls on opening are not the user's and count for nothing.
const UINT kSceneEdited = WM_APP + 0x130;
const UINT kWriteSettingsNow = WM_APP + 0x131;
void NoteControlChange(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
// A change the page made itself: a colour chosen, files dropped.
void NoteSceneEdited(HWND page);
