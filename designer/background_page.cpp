// The Background page: colour, transparency, wallpaper, animation speed and sound.
#include <windows.h>
#include <commdlg.h>

#include "designer_help.h"
#include "designer_pages.h"
#include "designer_resources.h"
#include "designer_state.h"
#include "page_controls.h"
#include "saver_host.h"

namespace {

const int kNoColourBox = 1001, kWallpaperBox = 1002, kStretchBox = 1003, kTransparentBox = 1004, kSoundBox = 1005;
const int kWallpaperField = 1011, kSoundField = 1012;
const int kColourButton = 1031, kWallpaperButton = 1032, kSoundButton = 1033;
const int kSpeedSlider = 1050;

// The swatch is explained with the button it belongs to.
const DWORD helpTable[] = {1001, 10000, 1002, 11000, 1003, 12000, 1004, 13000, 1005, 18000, 1011, 14000, 1012, 17000,
                           1031, 15000, 1032, 14000, 1033, 17000, 1050, 16000, IDC_COLOUR_SWATCH, 15000, 0, 0};

struct CheckSetting {
  int id;
  SettingId setting;
};

// In the order the page reads and writes them.
const CheckSetting kChecks[] = {{kNoColourBox, kNoColour},
                                {kTransparentBox, kTransparency},
                                {kWallpaperBox, kWallpaperShown},
                                {kStretchBox, kWallpaperStretched},
                                {kSoundBox, kSoundOn}};

COLORREF StoredBackgroundColour(HWND page) {
  uint32_t red = static_cast<uint8_t>(ReadSettingInteger(page, kColourRed));
  uint32_t green = static_cast<uint8_t>(ReadSettingInteger(page, kColourGreen));
  uint32_t blue = static_cast<uint8_t>(ReadSettingInteger(page, kColourBlue));
  return red | (green << 8) | (blue << 16);
}

// The chosen colour, shown beside the button that chooses it; the swatch keeps the colour it
// shows in its own window data and draws itself from it.
void ShowSwatchColour(HWND page, COLORREF colour) {
  HWND swatch = GetDlgItem(page, IDC_COLOUR_SWATCH);
  SetWindowLongPtrA(swatch, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
  InvalidateRect(swatch, nullptr, FALSE);
}

void CreateColourSwatch(HWND page) {
  RECT place = {76, 26, 94, 42};  // dialog units, between the button and the check boxes
  MapDialogRect(page, &place);
  CreateWindowExA(WS_EX_CLIENTEDGE, "Static", "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, place.left, place.top,
                  place.right - place.left, place.bottom - place.top, page,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_COLOUR_SWATCH)), DialogHost(page)->module, nullptr);
  ShowSwatchColour(page, StoredBackgroundColour(page));
}

void DrawSwatch(const DRAWITEMSTRUCT* item) {
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(item->hwndItem, GWLP_USERDATA)));
  FillRect(item->hDC, &item->rcItem, brush);
  DeleteObject(brush);
}

void Open(HWND page) {
  pageTrackbars[0] = CreatePageTrackbar(page, kSpeedSlider, 55, 198, 209, 30);
  int32_t fastest = 0, slowest = 0;
  SettingRange(DesignerSettings(page), kFrameMultiplier, &fastest, &slowest);
  SetTrackbar(pageTrackbars[0], fastest, slowest, ReadSettingInteger(page, kFrameMultiplier));
  ReadSettingIntoField(page, kWallpaperField, kWallpaperPath);
  ReadSettingIntoField(page, kSoundField, kSoundPath);
  for (const CheckSetting& check : kChecks) ReadSettingIntoCheck(page, check.id, check.setting);
  LimitSettingField(page, kWallpaperField);
  LimitSettingField(page, kSoundField);
  CreateColourSwatch(page);
}

void Save(HWND page, SettingsStore* store) {
  WriteSettingInteger(store, kFrameMultiplier, TrackbarPosition(pageTrackbars[0]));
  WriteFieldSetting(store, page, kWallpaperField, kWallpaperPath);
  WriteFieldSetting(store, page, kSoundField, kSoundPath);
  for (const CheckSetting& check : kChecks) WriteCheckSetting(store, page, check.id, check.setting);
}

void Close(HWND page) {
  Save(page, DesignerSettings(page));
  pageTrackbars[0] = nullptr;
}

// The colour is the one value written at once: a confirmed choice is kept whatever follows.
void ChooseBackgroundColour(HWND page) {
  COLORREF colour = StoredBackgroundColour(page);
  customColours[0] = colour;
  // The record carries no text; only the call differs between the families.
  CHOOSECOLORW record = {};
  record.lStructSize = sizeof record;
  record.hwndOwner = page;
  record.rgbResult = colour;
  record.lpCustColors = customColours;
  record.Flags = CC_RGBINIT;
  BOOL chosen = DialogHost(page)->win9x ? ChooseColorA(reinterpret_cast<CHOOSECOLORA*>(&record)) : ChooseColorW(&record);
  if (!chosen) return;
  WriteSettingInteger(page, kColourRed, GetRValue(record.rgbResult));
  WriteSettingInteger(page, kColourGreen, GetGValue(record.rgbResult));
  WriteSettingInteger(page, kColourBlue, GetBValue(record.rgbResult));
  ShowSwatchColour(page, record.rgbResult);
  NoteSceneEdited(page);
}

void BrowseBackgroundFile(HWND page, BackgroundFile which, UINT filterId, UINT titleId, const char* extension) {
  char path[kSettingBufferSize];
  GetDlgItemTextA(page, which == BackgroundSound ? kSoundField : kWallpaperField, path, sizeof path);
  if (BrowseForFile(page, OpenFileDialog, filterId, titleId, extension, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, path,
                    sizeof path))
    GiveBackgroundFile(page, which, path);
}

}  // namespace

void GiveBackgroundFile(HWND page, BackgroundFile which, const char* path) {
  const bool sound = which == BackgroundSound;
  SetDlgItemTextA(page, sound ? kSoundField : kWallpaperField, path);
  CheckDlgButton(page, sound ? kSoundBox : kWallpaperBox, BST_CHECKED);
  // The box ticked is a change of its own, which the field's text may not bring.
  NoteSceneEdited(page);
}

INT_PTR CALLBACK BackgroundPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
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
    case WM_COMMAND:
      if (wParam == kColourButton) ChooseBackgroundColour(page);
      if (wParam == kWallpaperButton)
        BrowseBackgroundFile(page, BackgroundWallpaper, IDS_PICTURE_FILTER, IDS_WALLPAPER_TITLE, "bmp");
      if (wParam == kSoundButton) BrowseBackgroundFile(page, BackgroundSound, IDS_SOUND_FILTER, IDS_SOUND_TITLE, "wav");
      if (HIWORD(wParam) == EN_CHANGE) KeepSettingFieldWithinLimit(page, LOWORD(wParam));
      // After the handling: a file or colour dialog runs inside it.
      NoteControlChange(page, message, wParam, lParam);
      break;
    case WM_HSCROLL:
      NoteControlChange(page, message, wParam, lParam);
      break;
    case WM_DRAWITEM:
      if (wParam == IDC_COLOUR_SWATCH) DrawSwatch(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      break;
    case WM_HELP:
    case WM_CONTEXTMENU:
      ShowContextHelp(message, wParam, lParam, helpTable);
      break;
  }
  return 0;
}
