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

// Browse for an existing file from the field's text; the field gets the chosen path, or its own
// text back after a cancel. Returns whether a file was chosen.
bool BrowseIntoField(HWND page, int field, UINT filterId, UINT titleId, const char* defaultExtension);

// A field whose text is a setting takes no more than a setting holds (259 bytes in the system's
// code page): typing stops at the limit, and text pasted past it is cut at a whole character,
// with the system's beep, rather than cut without a word when the page saves.
void LimitSettingField(HWND page, int id);
void KeepSettingFieldWithinLimit(HWND page, int id);

// What the pages hand on of the user's changes to their controls, for the title bar's mark.
void NoteControlChange(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
