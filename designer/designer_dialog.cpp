// The designer's configuration dialog: the tab control, one page at a time beneath it, and the
// close and help buttons. There is no cancel: every page saves when it is destroyed.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include "designer_dialog.h"
#include "designer_folder.h"
#include "designer_help.h"
#include "designer_pages.h"
#include "designer_resources.h"
#include "designer_session.h"
#include "designer_state.h"
#include "edit_overlay.h"
#include "engine.h"
#include "file_drop.h"
#include "live_preview.h"
#include "page_controls.h"
#include "page_pictures.h"
#include "saver_host.h"
#include "scene_commands.h"
#include "system_text.h"

namespace {

struct PageKind {
  const char* templateName;
  DLGPROC procedure;
};

PageKind PageOfTab(int tab) {
  if (tab == kInfoTab) return {"DLG2", InfoPageProc};
  if (tab == kBackgroundTab) return {"DLG0", BackgroundPageProc};
  if (tab == kModuleTab) return {"DLG3", ModulePageProc};
  return {"DLG1", CharacterPageProc};
}

void ShowPicturesOfPage(HWND dialog) {
  ShowPagePictures(dialog, currentTab, &DialogEdits(dialog)->base, DesignerSettingsFolder(dialog));
  if (!currentPage || currentTab < kFirstCharacterTab || currentTab >= kFirstCharacterTab + kCharacterCount) return;
  int frames[kFrameSlotCount];
  ShowOwnTransparency(currentPage, frames, ShownOwnAlphaFrames(dialog, frames));
}

void CreatePage(int tab) {
  DialogContext* context = DialogContextOf(tabControl);
  // The old page has written its values to the store: the overlay has nothing to add.
  ClearEditOverlay(&context->edits);
  if (tab < 0 || tab >= kTabCount) return;
  PageKind kind = PageOfTab(tab);
  context->pageOpening = true;
  currentPage = OpenDialog(context->host, kind.templateName, tabControl, kind.procedure, 0);
  context->pageOpening = false;
  ShowPicturesOfPage(GetParent(tabControl));
}

void DestroyCurrentPage() {
  if (currentPage) DestroyWindow(currentPage);
  currentPage = nullptr;
}

// The tab control's place is given in pixels for a dialog unit of 1.5 pixels; it follows the
// dialog's own conversion so that the pages, laid out in dialog units, stay inside it.
void PlaceTabControl(HWND dialog) {
  RECT units = {0, 0, 4, 8};
  MapDialogRect(dialog, &units);
  MoveWindow(tabControl, MulDiv(10, units.right, 6), MulDiv(5, units.bottom, 12), MulDiv(345, units.right, 6),
             MulDiv(380, units.bottom, 12), TRUE);
  // The dialog's font, not the system's, as the pages use it too.
  SendMessageA(tabControl, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), TRUE);
}

// The preview column beside the tab control, in dialog units: the pane and its status line,
// then the pictures of the page shown. The template keeps its own width; the dialog grows by
// the column when it opens.
const int kPreviewColumnLeft = 242, kPreviewColumnRight = 384;
const int kPreviewTop = 7, kPreviewBottom = 150;
const int kPicturesTop = 156, kPicturesBottom = 253;
const int kDialogWidthWithPreview = 389;
const UINT_PTR kPreviewDebounceTimer = 0x1300;
const UINT kPreviewDebounceMs = 300;

HWND PreviewPane(HWND dialog) {
  return GetDlgItem(dialog, IDC_PREVIEW_PANE);
}

void WidenForPreview(HWND dialog) {
  RECT wanted = {0, 0, kDialogWidthWithPreview, 0}, client, outer;
  MapDialogRect(dialog, &wanted);
  GetClientRect(dialog, &client);
  GetWindowRect(dialog, &outer);
  const int grow = wanted.right - client.right;
  if (grow == 0) return;
  // Centred as before: half of the growth to each side.
  SetWindowPos(dialog, nullptr, outer.left - grow / 2, outer.top, outer.right - outer.left + grow,
               outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlacePreview(HWND dialog) {
  RECT place = {kPreviewColumnLeft, kPreviewTop, kPreviewColumnRight, kPreviewBottom};
  MapDialogRect(dialog, &place);
  PlaceLivePreview(PreviewPane(dialog), GetDlgItem(dialog, IDC_PREVIEW_STATUS), place);
  RECT pictures = {kPreviewColumnLeft, kPicturesTop, kPreviewColumnRight, kPicturesBottom};
  MapDialogRect(dialog, &pictures);
  PlacePagePictures(dialog, pictures);
}

// The preview plays the session's store through the edit overlay, its relative names belonging
// to the store's folder, as for Create and playback.
void ReloadPreview(HWND dialog) {
  if (HWND pane = PreviewPane(dialog)) ReloadLivePreview(pane, DesignerSettingsFolder(dialog));
}

void CreatePreview(HWND dialog) {
  // Minimising is what pauses the preview, so the dialog offers it.
  SetWindowLongPtrA(dialog, GWL_STYLE, GetWindowLongPtrA(dialog, GWL_STYLE) | WS_MINIMIZEBOX);
  WidenForPreview(dialog);
  CreateLivePreview(dialog, DialogHost(dialog), &DialogEdits(dialog)->base, IDC_PREVIEW_PANE, IDC_PREVIEW_STATUS);
  CreatePagePictures(dialog, DialogHost(dialog), IDC_THUMBNAIL_FIRST, IDC_WALLPAPER_VIEW);
  PlacePreview(dialog);
  ReloadPreview(dialog);
  ShowPicturesOfPage(dialog);
  DragAcceptFiles(dialog, TRUE);
}

// A thumbnail's click puts the keys in its frame's field, ready to be typed over.
void SelectFrameField(HWND dialog, int thumbnail) {
  const int slot = ThumbnailField(dialog, thumbnail);
  if (slot < 0 || !currentPage) return;
  HWND field = GetDlgItem(currentPage, IDC_EDIT_FIRST + slot);
  if (!field) return;
  SetFocus(field);
  SendMessageA(field, EM_SETSEL, 0, -1);
}

// Once the user pauses, the page writes what it shows into the overlay and the preview walks the
// settings again through it.
void FollowSceneEdit(HWND dialog) {
  KillTimer(dialog, kPreviewDebounceTimer);
  EditOverlay* edits = DialogEdits(dialog);
  ClearEditOverlay(edits);
  if (currentPage) SendMessageA(currentPage, kWriteSettingsNow, 0, reinterpret_cast<LPARAM>(&edits->base));
  ReloadPreview(dialog);
  ShowPicturesOfPage(dialog);
}

void CreateTabControl(HWND dialog) {
  const SaverHost* host = DialogHost(dialog);
  tabControl = CreateControl(host, "SysTabControl32", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, 0,
                             0, dialog, 0);
  PlaceTabControl(dialog);
  for (int tab = 0; tab < kTabCount; ++tab) {
    FixedText text;
    LoadFixedText(host, IDS_TAB_FIRST + tab, &text);
    // The record is the same for both families but for the form of its text, which the message
    // names.
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = host->win9x ? reinterpret_cast<LPWSTR>(text.ansi) : text.wide;
    item.iImage = -1;
    SendMessageA(tabControl, host->win9x ? TCM_INSERTITEMA : TCM_INSERTITEMW, tab, reinterpret_cast<LPARAM>(&item));
  }
}

void SwitchPage(HWND sender) {
  // The old page saves under the old tab, so it must go before currentTab changes.
  DestroyCurrentPage();
  currentTab = static_cast<signed char>(SendMessageA(sender, TCM_GETCURSEL, 0, 0) & 0xFF);
  CreatePage(currentTab);
  // Saved, the page's changes are known exactly.
  DialogContext* context = DialogContextOf(sender);
  if (context->edited) {
    context->edited = false;
    ShowSceneTitle(GetParent(sender));
  }
}

// Moved to a monitor of another scale, the system lays out the dialog's own buttons and font
// anew (the programs are per-monitor DPI aware); once it has, the tab control and the page,
// made at run time, follow: the page saves and is made again at the new scale.
void FollowDpi(HWND dialog) {
  PlaceTabControl(dialog);
  WidenForPreview(dialog);
  PlacePreview(dialog);
  DestroyCurrentPage();
  CreatePage(currentTab);
}

// Ctrl+Tab and Ctrl+PageDown select the next tab, Ctrl+Shift+Tab and Ctrl+PageUp the previous
// one, round the ends, as in any tabbed dialog; the page is saved as a click on the tab saves it.
// The keys are taken before the dialog's own handling, which would move the focus on Ctrl+Tab and
// hand Ctrl+PageDown to a slider.
int TabStepOfKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) return 0;
  if (message.wParam == VK_TAB) return GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
  if (message.wParam == VK_NEXT) return 1;
  if (message.wParam == VK_PRIOR) return -1;
  return 0;
}

LRESULT CALLBACK TabKeysHook(int code, WPARAM wParam, LPARAM lParam) {
  MSG* message = reinterpret_cast<MSG*>(lParam);
  HWND dialog = tabControl ? GetParent(tabControl) : nullptr;
  // Ctrl+O and Ctrl+S reach the dialog from any of its controls; a modal loop has no place of
  // its own for a menu's keys.
  if (code == MSGF_DIALOGBOX && dialog && (message->hwnd == dialog || IsChild(dialog, message->hwnd)) &&
      TranslateSceneKeys(dialog, message))
    return 1;
  int step = code == MSGF_DIALOGBOX && dialog ? TabStepOfKey(*message) : 0;
  if (step == 0 || (message->hwnd != dialog && !IsChild(dialog, message->hwnd)))
    return CallNextHookEx(nullptr, code, wParam, lParam);
  bool focusOnPage = currentPage && (GetFocus() == currentPage || IsChild(currentPage, GetFocus()));
  SendMessageA(tabControl, TCM_SETCURSEL, (currentTab + step + kTabCount) % kTabCount, 0);
  SwitchPage(tabControl);
  // The focused control went with the old page; the tab control shows where the keys went.
  if (focusOnPage) SetFocus(tabControl);
  return 1;
}

void InitialiseDialog(HWND dialog) {
  char folder[MAX_PATH];
  DesignerFolder(folder);
  SetCurrentDirectoryA(folder);
  InitCommonControls();
  // The program's own icon in the title bar and on the task bar; shared icons need no release.
  const WPARAM kinds[] = {ICON_BIG, ICON_SMALL};
  for (WPARAM kind : kinds) {
    const int size = GetSystemMetrics(kind == ICON_BIG ? SM_CXICON : SM_CXSMICON);
    HANDLE icon = LoadImageA(DialogHost(dialog)->module, MAKEINTRESOURCEA(IDI_MORVANE), IMAGE_ICON, size, size, LR_SHARED);
    SendMessageA(dialog, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
  }
  CreateTabControl(dialog);
  CreatePage(currentTab);
  // The scene opens first, so that the preview's first walk is the scene's.
  StartSceneFiles(dialog);
  CreatePreview(dialog);
  tabKeysHook = SetWindowsHookExA(WH_MSGFILTER, TabKeysHook, nullptr, GetCurrentThreadId());
}

void CloseDialog(HWND dialog) {
  if (!ConfirmSceneClose(dialog)) return;
  KillTimer(dialog, kPreviewDebounceTimer);
  DestroyCurrentPage();
  ReleasePagePictures(dialog);
  if (tabKeysHook) UnhookWindowsHookEx(tabKeysHook);
  tabKeysHook = nullptr;
  EndDialog(dialog, 0);
  CloseHelp(dialog);
}

// The dialog's context and its session live from WM_INITDIALOG to WM_DESTROY.
void StartDialog(HWND dialog, const SaverHost* host) {
  DesignerSession* session = new DesignerSession;
  OpenDesignerSession(session);
  DialogContext* context = new DialogContext{host, session, nullptr, false, false, {}};
  OpenEditOverlay(&context->edits, SessionSettings(session));
  KeepDialogContext(dialog, context);
}

void EndContext(HWND dialog) {
  DialogContext* context = DialogContextOf(dialog);
  if (!context) return;
  KeepDialogContext(dialog, nullptr);
  delete context->session;
  delete context;
}

}  // namespace

bool TakeDownShownPage(HWND) {
  HWND focus = GetFocus();
  bool focusOnPage = currentPage && (focus == currentPage || IsChild(currentPage, focus));
  DestroyCurrentPage();
  return focusOnPage;
}

void PutUpShownPage(HWND dialog, bool focusTabs) {
  // The store may have changed under the page (a scene opened, saved as or closed): the overlay
  // goes over the new one, and the preview plays it with its relative names.
  DialogContext* context = DialogContextOf(dialog);
  KillTimer(dialog, kPreviewDebounceTimer);
  OpenEditOverlay(&context->edits, SessionSettings(context->session));
  CreatePage(currentTab);
  if (focusTabs) SetFocus(tabControl);
  ReloadPreview(dialog);
}

void RenewShownPage(HWND dialog) { PutUpShownPage(dialog, TakeDownShownPage(dialog)); }

const UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, from Windows 8.1 on
const UINT kFollowDpi = WM_APP + 1;

BOOL WINAPI PrepareDialogClasses(HINSTANCE) { return TRUE; }

INT_PTR CALLBACK ConfigurationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      StartDialog(dialog, reinterpret_cast<const SaverHost*>(lParam));
      InitialiseDialog(dialog);
      return TRUE;
    case WM_DESTROY:
      EndContext(dialog);
      return FALSE;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(TCN_SELCHANGE))
        SwitchPage(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom);
      return FALSE;
    case WM_COMMAND:
      if (wParam == IDOK) {
        CloseDialog(dialog);
        return TRUE;
      }
      if (wParam == IDC_HELP_BUTTON) ShowHelpForTab(dialog, currentTab);
      if (HandleSceneCommand(dialog, wParam)) return TRUE;
      if (HIWORD(wParam) == BN_CLICKED && ThumbnailField(dialog, LOWORD(wParam)) >= 0) SelectFrameField(dialog, LOWORD(wParam));
      // Anything else, Escape's IDCANCEL among it, is ignored: there is no cancel path.
      return FALSE;
    case WM_CLOSE:
      CloseDialog(dialog);
      return TRUE;
    case kDpiChanged:
      PostMessageA(dialog, kFollowDpi, 0, 0);
      return FALSE;  // the system's own handling comes first
    case kFollowDpi:
      FollowDpi(dialog);
      return TRUE;
    case kSceneEdited:
      SetTimer(dialog, kPreviewDebounceTimer, kPreviewDebounceMs, nullptr);
      return TRUE;
    case WM_TIMER:
      if (wParam != kPreviewDebounceTimer) return FALSE;
      FollowSceneEdit(dialog);
      return TRUE;
    case WM_DROPFILES:
      TakeDroppedFiles(dialog, currentPage, currentTab, reinterpret_cast<HDROP>(wParam));
      return TRUE;
    case WM_DRAWITEM: {
      const SceneModel* preview = LivePreviewScene(PreviewPane(dialog));
      return DrawPagePicture(dialog, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam),
                             preview ? preview->backgroundBuffer : nullptr);
    }
    case WM_SIZE:
      SetLivePreviewPause(PreviewPane(dialog), PausedWhileMinimised, wParam == SIZE_MINIMIZED);
      return FALSE;
  }
  return FALSE;
}
