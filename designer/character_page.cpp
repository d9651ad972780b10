// The Character page: one template and procedure for all twenty characters; the character is
// the one the current tab names.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstdlib>

#include "designer_help.h"
#include "designer_pages.h"
#include "designer_resources.h"
#include "designer_state.h"
#include "file_drop.h"
#include "page_controls.h"
#include "saver_host.h"
#include "scene_commands.h"
#include "settings_value.h"
#include "system_text.h"

namespace {

const int kFirstFrameField = 1011;
const int kFirstBrowseButton = 1031;
const int kFirstBounceBox = 1001;
const int kPingPongBox = 1005;
const int kFirstValueField = 1025;
const int kFirstSlider = 1050;
const int kAppearanceSlot = 3;

const DWORD helpTable[] = {1001, 19000, 1002, 20000, 1003, 21000, 1005, 23000,
                           1011, 24000, 1012, 24000, 1013, 24000, 1014, 24000, 1015, 24000,
                           1016, 24000, 1017, 24000, 1018, 24000, 1019, 24000, 1020, 24000,
                           1031, 24000, 1032, 24000, 1033, 24000, 1034, 24000, 1035, 24000,
                           1036, 24000, 1037, 24000, 1038, 24000, 1039, 24000, 1040, 24000,
                           1050, 25000, 1025, 25000, 1051, 26000, 1026, 26000, 1052, 27000,
                           1027, 27000, 1053, 22000, 1028, 22000, 0, 0};

int Character() { return currentTab - kFirstCharacterTab; }

const SettingId kSpeeds[3] = {kSpeedX, kSpeedY, kSpeedDepth};
const SettingId kBounces[3] = {kBounceX, kBounceY, kBounceDepth};

// The value field shows the setting's own text at first, even where the slider had to clamp
// it; from the first move on it shows the slider. The range is the settings table's.
void OpenSlider(HWND page, int slot, int x, int y, int width, SettingId setting, int character) {
  pageTrackbars[slot] = CreatePageTrackbar(page, kFirstSlider + slot, x, y, width, 30);
  int32_t minimum = 0, maximum = 0;
  SettingRange(DesignerSettings(page), setting, &minimum, &maximum);
  SetTrackbar(pageTrackbars[slot], minimum, maximum, ReadSettingInteger(page, setting, character));
  ReadSettingIntoField(page, kFirstValueField + slot, setting, character);
}

void Open(HWND page) {
  const int character = Character();
  for (int slot = 0; slot < kFrameSlotCount; ++slot) {
    ReadSettingIntoField(page, kFirstFrameField + slot, kFramePath, character, slot);
    LimitSettingField(page, kFirstFrameField + slot);
  }
  for (int axis = 0; axis < 3; ++axis) {
    OpenSlider(page, axis, 40, 200 + 30 * axis, 209, kSpeeds[axis], character);
    ReadSettingIntoCheck(page, kFirstBounceBox + axis, kBounces[axis], character);
  }
  OpenSlider(page, kAppearanceSlot, 40, 310, 90, kAppearanceRate, character);
  ReadSettingIntoCheck(page, kPingPongBox, kPingPong, character);
}

void Save(HWND page, SettingsStore* store) {
  const int character = Character();
  for (int slot = 0; slot < kFrameSlotCount; ++slot)
    WriteFieldSetting(store, page, kFirstFrameField + slot, kFramePath, character, slot);
  for (int axis = 0; axis < 3; ++axis) {
    WriteSettingInteger(store, kSpeeds[axis], TrackbarPosition(pageTrackbars[axis]), character);
    WriteCheckSetting(store, page, kFirstBounceBox + axis, kBounces[axis], character);
  }
  WriteSettingInteger(store, kAppearanceRate, TrackbarPosition(pageTrackbars[kAppearanceSlot]), character);
  WriteCheckSetting(store, page, kPingPongBox, kPingPong, character);
}

void Close(HWND page) {
  Save(page, DesignerSettings(page));
  for (HWND& slider : pageTrackbars) slider = nullptr;
}

void ShowSliderValue(HWND page, HWND slider, WPARAM code) {
  if (LOWORD(code) > TB_BOTTOM) return;  // the end of a move changes nothing
  for (int slot = 0; slot < 4; ++slot) {
    if (pageTrackbars[slot] != slider) continue;
    char text[12];
    FormatSettingInteger(TrackbarPosition(slider), text);
    SetDlgItemTextA(page, kFirstValueField + slot, text);
    return;
  }
}

// One file chosen goes into the row's field as it was chosen; several fill the frames from that
// row on as a drop does.
void BrowseFrames(HWND page, int slot) {
  ChosenFiles* chosen = static_cast<ChosenFiles*>(calloc(1, sizeof(ChosenFiles)));
  if (!chosen) return;
  char start[kSettingBufferSize];
  GetDlgItemTextA(page, kFirstFrameField + slot, start, sizeof start);
  if (BrowseForFiles(page, IDS_PICTURE_FILTER, IDS_FRAME_TITLE, "bmp", start, chosen)) {
    if (chosen->count == 1 && !chosen->unusable[0]) {
      SetDlgItemTextA(page, kFirstFrameField + slot, chosen->names[0]);
    } else {
      TakeChosenFrames(page, currentTab, slot, *chosen);
    }
  }
  free(chosen);
}

}  // namespace

void ShowOwnTransparency(HWND page, const int* frames, int count) {
  const int kOwnTransparencyLabel = 1070;
  HWND label = GetDlgItem(page, kOwnTransparencyLabel);
  if (count == 0) {
    if (label) DestroyWindow(label);
    return;
  }
  wchar_t numbers[64] = L"";
  int length = 0;
  for (int i = 0; i < count; ++i) length += wsprintfW(numbers + length, length ? L", %d" : L"%d", frames[i]);
  const SaverHost* host = DialogHost(page);
  if (!label) {
    RECT place = {1, 198, 213, 206};
    MapDialogRect(page, &place);
    label = CreateControl(host, "STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT, place.left, place.top,
                          place.right - place.left, place.bottom - place.top, page, kOwnTransparencyLabel);
    SendMessageA(label, WM_SETFONT, SendMessageA(page, WM_GETFONT, 0, 0), FALSE);
  }
  FixedText text;
  LoadFixedText(host, IDS_OWN_TRANSPARENCY, &text);
  if (host->win9x) {
    char ansi[64];
    WideCharToMultiByte(CP_ACP, 0, numbers, -1, ansi, sizeof ansi, nullptr, nullptr);
    lstrcatA(text.ansi, ansi);
    SetWindowTextA(label, text.ansi);
  } else {
    lstrcatW(text.wide, numbers);
    SetWindowTextW(label, text.wide);
  }
}

INT_PTR CALLBACK CharacterPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Open(page);
      break;
    case WM_DESTROY:
      Close(page);
      break;
    case kWriteSettingsNow:
      Save(page, reinterpret_cast<SettingsStore*>(lParam));
      break;
    case WM_HSCROLL:
      ShowSliderValue(page, reinterpret_cast<HWND>(lParam), wParam);
      NoteControlChange(page, message, wParam, lParam);
      break;
    case WM_COMMAND:
      if (wParam >= static_cast<WPARAM>(kFirstBrowseButton) && wParam < static_cast<WPARAM>(kFirstBrowseButton + kFrameSlotCount))
        BrowseFrames(page, static_cast<int>(wParam) - kFirstBrowseButton);
      if (HIWORD(wParam) == EN_CHANGE) KeepSettingFieldWithinLimit(page, LOWORD(wParam));
      // After the handling: a file dialog runs inside it.
      NoteControlChange(page, message, wParam, lParam);
      break;
    case WM_HELP:
    case WM_CONTEXTMENU:
      ShowContextHelp(message, wParam, lParam, helpTable);
      break;
  }
  return 0;
}
