#include "live_preview.h"

#include <cstdlib>
#include <cstring>

#include "build_report.h"
#include "create_outcome.h"
#include "designer_resources.h"
#include "engine.h"
#include "engine_host.h"
#include "saver_host.h"
#include "scene_source.h"
#include "settings_scene_source.h"
#include "stdio_build_files.h"
#include "surface.h"
#include "surface_gdi.h"
#include "system_text.h"
#include "wic_picture_codec.h"
#include "windows_sound_codec.h"

namespace {

const char kPaneClass[] = "MorvaneLivePreview";
// The pane shows a picture at most this often: the characters still move one step per redraw
// period, as in the saver, but a pane a tenth of the screen's width gains nothing visible from
// more pictures than this, and each costs a composition.
const int32_t kShortestPictureMs = 80;

// The pane's own state, kept in its window data from WM_NCCREATE to WM_NCDESTROY.
struct PreviewPane {
  EngineHost base;  // the engine's host: timers on the pane, no message boxes, no sound
  HWND window;
  HWND status;
  const SaverHost* saver;
  SettingsStore* store;
  SceneModel scene;
  bool playing;      // the scene loaded and holds its buffers
  bool startFailed;  // the engine's start-up failure, heard during the load
  int pauses;        // PreviewPause bits
  int32_t redrawPeriod, framePeriod;
  int32_t stepsPerPicture;  // motion steps of the saver's redraw period per picture shown
  CreateReport report;
};

PreviewPane* PaneOf(HWND window) {
  return reinterpret_cast<PreviewPane*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

PreviewPane* Self(EngineHost* host) {
  return reinterpret_cast<PreviewPane*>(host);
}

void RunTimers(PreviewPane* pane) {
  if (!pane->playing || pane->pauses != 0 || pane->redrawPeriod <= 0) {
    KillTimer(pane->window, kPaintTimerId);
    KillTimer(pane->window, kFrameTimerId);
    return;
  }
  SetTimer(pane->window, kPaintTimerId, static_cast<UINT>(pane->redrawPeriod * pane->stepsPerPicture), nullptr);
  SetTimer(pane->window, kFrameTimerId, static_cast<UINT>(pane->framePeriod), nullptr);
}

// The timers start once the load is over and only while nothing pauses the pane; the periods are
// the scene's, so a paused pane resumes at the saver's pace.
bool StartTimers(EngineHost* host, int32_t redrawPeriod, int32_t framePeriod) {
  Self(host)->redrawPeriod = redrawPeriod;
  Self(host)->framePeriod = framePeriod;
  Self(host)->stepsPerPicture = redrawPeriod > 0 && redrawPeriod < kShortestPictureMs ? kShortestPictureMs / redrawPeriod : 1;
  return redrawPeriod > 0 && framePeriod > 0;
}

void StopTimers(EngineHost* host) {
  KillTimer(Self(host)->window, kPaintTimerId);
  KillTimer(Self(host)->window, kFrameTimerId);
}

Surface* WindowReference(EngineHost* host) {
  return WindowSurface(Self(host)->window);
}

void ReleaseWindowReference(EngineHost*, Surface* reference) {
  ReleaseSurface(reference);
}

// A scene without a background colour shows the desktop behind it, as the saver does.
void CaptureDesktop(EngineHost*, Surface* dest, int32_t left, int32_t top) {
  CaptureDisplay(dest, left, top);
}

void AreaPresented(EngineHost*) {}

bool HasMemoryFor(EngineHost*, uint64_t bytes) {
  MEMORYSTATUS status;
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return bytes <= status.dwAvailPageFile && bytes <= status.dwAvailVirtual;
}

// The saver's message box would stop the dialog at every keystroke; the status line says it.
void StartupFailure(EngineHost* host) {
  Self(host)->startFailed = true;
}

// The pane is silent: a looping sound while one edits is not a preview of anything the eye checks.
void PlayNoSound(EngineHost*, const uint8_t*, int32_t) {}
void StopNoSound(EngineHost*) {}

bool PlayNoSoundFile(SceneSound*, EngineHost*, const char*) {
  return false;
}

const EngineHost kPaneOperations = {StartTimers,  StopTimers,     WindowReference, ReleaseWindowReference,
                                    CaptureDesktop, AreaPresented, HasMemoryFor,    StartupFailure,
                                    PlayNoSound,  StopNoSound,    nullptr};

void ShowStatus(PreviewPane* pane) {
  wchar_t text[4096];
  int length = 0;
  text[0] = L'\0';
  if (pane->pauses & PausedByUser) {
    length = LoadStringIn(pane->saver, IDS_PREVIEW_PAUSED, text, 4096);
    if (length < 4094) {
      lstrcpyW(text + length, L"\r\n");
      length += 2;
    }
  }
  if (pane->startFailed) {
    LoadStringIn(pane->saver, IDS_NOT_ENOUGH_MEMORY, text + length, 4096 - length);
  } else if (pane->report.inputCount > 0) {
    DescribeReportedInputs(pane->saver, pane->report, text + length, 4096 - length);
  } else {
    LoadStringIn(pane->saver, IDS_PREVIEW_ALL_IN, text + length, 4096 - length);
  }
  if (!pane->saver->win9x) {
    SetWindowTextW(pane->status, text);
    return;
  }
  char ansi[8192];
  if (!WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr)) ansi[0] = '\0';
  SetWindowTextA(pane->status, ansi);
}

void StopScene(PreviewPane* pane) {
  if (pane->playing) ReleaseScene(&pane->scene);
  pane->playing = false;
}

// Where the picture goes in the pane: its shape kept, centred, inside the focus frame.
RECT PictureRect(const PreviewPane* pane) {
  RECT client;
  GetClientRect(pane->window, &client);
  InflateRect(&client, -2, -2);
  const int width = client.right - client.left, height = client.bottom - client.top;
  const int32_t sw = pane->scene.screenWidth, sh = pane->scene.screenHeight;
  RECT picture = client;
  if (sw <= 0 || sh <= 0 || width <= 0 || height <= 0) return picture;
  if (static_cast<int64_t>(width) * sh > static_cast<int64_t>(height) * sw) {
    const int fitted = MulDiv(height, sw, sh);
    picture.left += (width - fitted) / 2;
    picture.right = picture.left + fitted;
  } else {
    const int fitted = MulDiv(width, sh, sw);
    picture.top += (height - fitted) / 2;
    picture.bottom = picture.top + fitted;
  }
  return picture;
}

// The whole picture shrunk into the pane, as the engine shrinks it into a preview window.
void PresentShrunk(PreviewPane* pane, HDC context) {
  if (!pane->playing || !pane->scene.workBuffer) return;
  const RECT picture = PictureRect(pane);
  GdiSurface target = BorrowedSurface(context);
  StretchSurface(&target, picture.left, picture.top, picture.right - picture.left, picture.bottom - picture.top,
                 pane->scene.workBuffer, 0, 0, pane->scene.screenWidth, pane->scene.screenHeight, RopSrcCopy);
}

void PaintPane(PreviewPane* pane) {
  PAINTSTRUCT paint;
  HDC context = BeginPaint(pane->window, &paint);
  RECT client;
  GetClientRect(pane->window, &client);
  const RECT picture = PictureRect(pane);
  // Outside the picture: the dialog's face, and the focus frame when the pane has the keys.
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  RECT band = client;
  band.bottom = picture.top;
  FillRect(context, &band, face);
  band.top = picture.bottom;
  band.bottom = client.bottom;
  FillRect(context, &band, face);
  band = {client.left, picture.top, picture.left, picture.bottom};
  FillRect(context, &band, face);
  band = {picture.right, picture.top, client.right, picture.bottom};
  FillRect(context, &band, face);
  if (pane->playing) {
    PresentShrunk(pane, context);
  } else {
    FillRect(context, &picture, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  if (GetFocus() == pane->window) DrawFocusRect(context, &client);
  EndPaint(pane->window, &paint);
}

void Step(PreviewPane* pane) {
  if (!pane->playing) return;
  for (int32_t step = 0; step < pane->stepsPerPicture; ++step) MoveCharacters(&pane->scene);
  ComposePicture(&pane->scene);
  HDC context = GetDC(pane->window);
  PresentShrunk(pane, context);
  ReleaseDC(pane->window, context);
}

LRESULT CALLBACK PaneProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PreviewPane* pane = PaneOf(window);
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
      PaneOf(window)->window = window;
      break;
    case WM_NCDESTROY:
      if (pane) {
        StopScene(pane);
        free(pane);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      }
      break;
    case WM_PAINT:
      if (!pane) break;
      PaintPane(pane);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      if (!pane) break;
      if (wParam == kPaintTimerId) Step(pane);
      if (wParam == kFrameTimerId && pane->playing) AdvanceFrames(&pane->scene);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(window);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS;
    case WM_CHAR:
      if (pane && wParam == L' ') SetLivePreviewPause(window, PausedByUser, !(pane->pauses & PausedByUser));
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterPaneClass(HINSTANCE module) {
  WNDCLASSA kind = {};
  if (GetClassInfoA(module, kPaneClass, &kind)) return true;
  kind.lpfnWndProc = PaneProcedure;
  kind.hInstance = module;
  kind.hCursor = LoadCursor(nullptr, IDC_ARROW);
  kind.lpszClassName = kPaneClass;
  return RegisterClassA(&kind) != 0;
}

}  // namespace

HWND CreateLivePreview(HWND dialog, const SaverHost* host, SettingsStore* store, int id, int statusId) {
  PreviewPane* pane = static_cast<PreviewPane*>(calloc(1, sizeof(PreviewPane)));
  if (!pane) return nullptr;
  if (!RegisterPaneClass(host->module)) {
    free(pane);
    return nullptr;
  }
  pane->base = kPaneOperations;
  pane->saver = host;
  pane->store = store;
  // From WM_NCCREATE on the window owns the state and frees it with itself.
  HWND window = CreateWindowExA(WS_EX_CLIENTEDGE, kPaneClass, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, dialog,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), host->module, pane);
  if (!window) return nullptr;
  // A read-only edit, so that a long list scrolls and can be read with the keys.
  pane->status = CreateControl(host, "Edit",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                               0, 0, 0, 0, dialog, statusId);
  return window;
}

int PlaceLivePreview(HWND window, HWND status, const RECT& place) {
  const int width = place.right - place.left;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  // The frame's edges and the focus frame take 2 pixels each side beyond the picture.
  int height = screenWidth > 0 ? MulDiv(width - 8, screenHeight, screenWidth) + 8 : width;
  const int tallest = (place.bottom - place.top) * 2 / 3;
  if (height > tallest) height = tallest;
  MoveWindow(window, place.left, place.top, width, height, TRUE);
  const int gap = 4;
  MoveWindow(status, place.left, place.top + height + gap, width, place.bottom - place.top - height - gap, TRUE);
  // The dialog's font at its present scale.
  SendMessageA(status, WM_SETFONT, SendMessageA(GetParent(status), WM_GETFONT, 0, 0), TRUE);
  return place.top + height;
}

void ReloadLivePreview(HWND window, const char* baseFolder) {
  PreviewPane* pane = PaneOf(window);
  if (!pane) return;
  StopScene(pane);
  pane->startFailed = false;
  OpenCreateReport(&pane->report);

  WicPictureCodec codecs;
  OpenWicPictureCodec(&codecs);
  StdioBuildFiles files;
  SceneSound silent = {PlayNoSoundFile};
  // The pane plays no sound, but its status line says what Create would say of it, so the sound
  // is walked, and decoded, as Create walks it.
  WindowsSoundCodec sounds;
  OpenWindowsSoundCodec(&sounds);
  SettingsSceneSource source;
  OpenSettingsSceneSource(&source, pane->store, &files, baseFolder, &silent, &codecs.base, &pane->report.base,
                          &sounds.base);

  // The primary monitor's picture, as a whole screen: the engine composes it at full size, as
  // the saver does, and the pane shows it shrunk.
  SceneGeometry geometry;
  std::memset(&geometry, 0, sizeof geometry);
  geometry.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  geometry.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  geometry.windowRight = geometry.screenWidth;
  geometry.windowBottom = geometry.screenHeight;
  LoadScene(&pane->scene, &pane->base, &source.base, geometry, GetTickCount());
  pane->playing = true;
  if (pane->startFailed) StopScene(pane);
  if (pane->playing) ComposePicture(&pane->scene);
  RunTimers(pane);
  ShowStatus(pane);
  InvalidateRect(window, nullptr, FALSE);
}

void SetLivePreviewPause(HWND window, PreviewPause reason, bool on) {
  PreviewPane* pane = PaneOf(window);
  if (!pane) return;
  const int before = pane->pauses;
  pane->pauses = on ? pane->pauses | reason : pane->pauses & ~reason;
  if (pane->pauses == before) return;
  RunTimers(pane);
  ShowStatus(pane);
}

const SceneModel* LivePreviewScene(HWND window) {
  PreviewPane* pane = PaneOf(window);
  return pane && pane->playing ? &pane->scene : nullptr;
}
