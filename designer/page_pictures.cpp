#include "page_pictures.h"

#include <cstdlib>
#include <cstring>

#include "designer_state.h"
#include "engine.h"
#include "engine_host.h"
#include "saver_host.h"
#include "scene_source.h"
#include "setting_table.h"
#include "settings_scene_source.h"
#include "settings_store.h"
#include "stdio_build_files.h"
#include "surface.h"
#include "surface_gdi.h"
#include "system_text.h"
#include "wic_picture_codec.h"

namespace {

// The settings with one character left: every other character's first slot reads empty, so the
// walk hands out exactly this one's frames, and an appearance rate of 0 reads as shown, since its
// pictures are what the page is about.
struct OneCharacterStore {
  SettingsStore base;
  SettingsStore* settings;
  int character;
};

size_t ReadOneCharacter(SettingsStore* store, const char* section, const char* key, const char* fallback,
                        char value[kSettingBufferSize]) {
  OneCharacterStore* self = reinterpret_cast<OneCharacterStore*>(store);
  const char letter = static_cast<char>('A' + self->character);
  const bool ownKey = (key[0] | 0x20) == (letter | 0x20);
  if (lstrcmpiA(section, Setting(kFramePath).section) == 0 && !ownKey) return CopySettingText("", 0, value);
  size_t length = self->settings->readText(self->settings, section, key, fallback, value);
  if (lstrcmpiA(section, Setting(kAppearanceRate).section) == 0 && ownKey && ReadIntegerSetting(self->settings, section, key, fallback) == 0)
    length = CopySettingText("10", 2, value);
  return length;
}

bool WriteNothing(SettingsStore*, const char*, const char*, const char*) {
  return false;
}

// The engine's host while the frames load: no window, no timers, no sound.
struct LoadOnlyHost {
  EngineHost base;
  bool failed;
};

bool TimersAccepted(EngineHost*, int32_t, int32_t) { return true; }
void NoTimers(EngineHost*) {}
Surface* DisplayReference(EngineHost*) { return OpenDisplayReference(); }
void ReleaseReference(EngineHost*, Surface* reference) { ReleaseSurface(reference); }
void NoDesktop(EngineHost*, Surface*, int32_t, int32_t) {}
void NothingPresented(EngineHost*) {}
bool SmallBuffersFit(EngineHost*, uint64_t) { return true; }
void LoadFailed(EngineHost* host) { reinterpret_cast<LoadOnlyHost*>(host)->failed = true; }
void NoSound(EngineHost*, const uint8_t*, int32_t) {}
void NoSoundToStop(EngineHost*) {}
bool NoSoundFile(SceneSound*, EngineHost*, const char*) { return false; }

// The settings source, noting for each frame the slot whose file gave it.
struct SlotNotingSource {
  SceneSource base;
  SettingsSceneSource* settings;
  int slots[kFrameSlotCount];
};

SceneSource* Inner(SceneSource* source) {
  return &reinterpret_cast<SlotNotingSource*>(source)->settings->base;
}

void ForwardTiming(SceneSource* s, int32_t* redraw, int32_t* multiplier) { Inner(s)->readTiming(Inner(s), redraw, multiplier); }
uint8_t ForwardTransparency(SceneSource* s) { return Inner(s)->readTransparency(Inner(s)); }
bool ForwardCharacter(SceneSource* s) { return Inner(s)->beginCharacter(Inner(s)); }
bool ForwardFrame(SceneSource* s, int frame, const Surface* reference, Surface** sprite) {
  if (!Inner(s)->loadFrame(Inner(s), frame, reference, sprite)) return false;
  SlotNotingSource* self = reinterpret_cast<SlotNotingSource*>(s);
  if (frame >= 0 && frame < kFrameSlotCount) self->slots[frame] = self->settings->walk->FrameSlot();
  return true;
}
bool ForwardMotion(SceneSource* s, CharacterState* c) { return Inner(s)->readMotion(Inner(s), c); }
bool ForwardBackground(SceneSource* s, SceneBackground* b) { return Inner(s)->readBackground(Inner(s), b); }
bool ForwardWallpaper(SceneSource* s, int32_t* width, int32_t* height) {
  return Inner(s)->beginWallpaper(Inner(s), width, height);
}
Surface* ForwardBand(SceneSource* s, const Surface* reference, const WallpaperPlacement* placement, int32_t* top) {
  return Inner(s)->nextWallpaperBand(Inner(s), reference, placement, top);
}
void ForwardSound(SceneSource* s, SceneModel* scene) { Inner(s)->startSound(Inner(s), scene); }
void ForwardClose(SceneSource* s) { Inner(s)->close(Inner(s)); }
bool ForwardWallpaperTaken(SceneSource* s) { return Inner(s)->wallpaperTaken(Inner(s)); }

uint32_t BackgroundColour(SettingsStore* store) {
  if (ReadSettingNumber(store, kNoColour) != 0) return GetSysColor(COLOR_BTNFACE);
  const uint32_t red = static_cast<uint8_t>(ReadSettingNumber(store, kColourRed));
  const uint32_t green = static_cast<uint8_t>(ReadSettingNumber(store, kColourGreen));
  const uint32_t blue = static_cast<uint8_t>(ReadSettingNumber(store, kColourBlue));
  return red | (green << 8) | (blue << 16);
}

// Frame `frame` of the character as the engine draws a character at its natural size, over the
// background colour: through the engine's own composition, so that what changes in how frames are
// drawn shows here too.
Surface* ComposeFrame(const CharacterState& character, int frame, uint32_t background) {
  const FrameSurface& f = character.frames[frame];
  if (!f.sprite || f.width <= 0 || f.height <= 0) return nullptr;
  SceneModel* scene = static_cast<SceneModel*>(calloc(1, sizeof(SceneModel)));
  if (!scene) return nullptr;
  Surface* reference = OpenDisplayReference();
  scene->screenWidth = scene->windowWidth = f.width;
  scene->screenHeight = scene->windowHeight = f.height;
  scene->backgroundBuffer = CreateSurface(reference, f.width, f.height);
  scene->workBuffer = CreateSurface(reference, f.width, f.height);
  Surface* picture = nullptr;
  if (scene->backgroundBuffer && scene->workBuffer) {
    FillSurface(scene->backgroundBuffer, 0, 0, f.width, f.height, background);
    scene->characterCount = 1;
    CharacterState& shown = scene->characters[0];
    shown = character;
    shown.currentFrame = static_cast<int8_t>(frame);
    shown.x = shown.y = 0;
    shown.depth = 100;
    shown.visibleRate = 10;
    shown.appearanceRoll = 0;
    ComposePicture(scene);
    picture = scene->workBuffer;
    scene->workBuffer = nullptr;
  }
  ReleaseSurface(scene->backgroundBuffer);
  ReleaseSurface(scene->workBuffer);
  ReleaseSurface(reference);
  free(scene);
  return picture;
}

// The dialog keeps the thumbnails shown in the wallpaper view's window data.
CharacterThumbnails* Shown(HWND dialog, int wallpaperId) {
  return reinterpret_cast<CharacterThumbnails*>(GetWindowLongPtrA(GetDlgItem(dialog, wallpaperId), GWLP_USERDATA));
}

struct PictureIds {
  int first, wallpaper;
};

// The ids CreatePagePictures was given, kept in the dialog's properties.
const char kFirstIdProperty[] = "MorvaneThumbnailId";
const char kWallpaperIdProperty[] = "MorvaneWallpaperViewId";

PictureIds IdsOf(HWND dialog) {
  return {static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(dialog, kFirstIdProperty))),
          static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(dialog, kWallpaperIdProperty)))};
}

void DropShown(HWND dialog, const PictureIds& ids) {
  CharacterThumbnails* shown = Shown(dialog, ids.wallpaper);
  if (!shown) return;
  ReleaseCharacterThumbnails(shown);
  free(shown);
  SetWindowLongPtrA(GetDlgItem(dialog, ids.wallpaper), GWLP_USERDATA, 0);
}

// src shrunk (or grown) into rect with its shape kept, centred; HALFTONE, since a shrunk
// picture that drops whole rows and columns loses thin outlines altogether.
void DrawFitted(HDC context, const RECT& rect, const Surface* src) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const int sw = SurfaceWidth(src), sh = SurfaceHeight(src);
  if (sw <= 0 || sh <= 0 || width <= 0 || height <= 0) return;
  int dw = width, dh = MulDiv(width, sh, sw);
  if (dh > height) {
    dh = height;
    dw = MulDiv(height, sw, sh);
  }
  if (dw > sw && dh > sh && sw * 2 > width) {
    dw = sw;  // a small frame keeps its pixels unless it can at least double
    dh = sh;
  }
  const int left = rect.left + (width - dw) / 2, top = rect.top + (height - dh) / 2;
  SetStretchBltMode(context, HALFTONE);
  SetBrushOrgEx(context, 0, 0, nullptr);
  StretchBlt(context, left, top, dw, dh, AsGdiSurface(src)->context, 0, 0, sw, sh, SRCCOPY);
}

// The one place where a frame that carries its own transparency is marked: a small chequer in
// the thumbnail's corner, the usual sign of a picture with an alpha channel.
void DrawOwnAlphaMark(HDC context, const RECT& rect, bool ownAlpha) {
  if (!ownAlpha) return;
  const int cell = (rect.bottom - rect.top) / 8 > 2 ? (rect.bottom - rect.top) / 8 : 2;
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 2; ++column) {
      RECT square = {rect.right - (2 - column) * cell - 1, rect.top + row * cell + 1, rect.right - (1 - column) * cell - 1,
                     rect.top + (row + 1) * cell + 1};
      FillRect(context, &square, static_cast<HBRUSH>(GetStockObject((row + column) % 2 ? GRAY_BRUSH : WHITE_BRUSH)));
    }
  }
}

void DrawThumbnail(const DRAWITEMSTRUCT* item, const FrameThumbnail* frame) {
  RECT rect = item->rcItem;
  DrawEdge(item->hDC, &rect, (item->itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
  FillRect(item->hDC, &rect, GetSysColorBrush(COLOR_BTNFACE));
  if (frame && frame->picture) {
    DrawFitted(item->hDC, rect, frame->picture);
    DrawOwnAlphaMark(item->hDC, rect, frame->ownAlpha);
  }
  if (item->itemState & ODS_FOCUS) {
    RECT focus = rect;
    InflateRect(&focus, -1, -1);
    DrawFocusRect(item->hDC, &focus);
  }
}

}  // namespace

void MakeCharacterThumbnails(SettingsStore* store, const char* baseFolder, int character, CharacterThumbnails* out) {
  std::memset(out, 0, sizeof *out);
  OneCharacterStore one = {{ReadOneCharacter, WriteNothing}, store, character};
  WicPictureCodec codecs;
  OpenWicPictureCodec(&codecs);
  StdioBuildFiles files;
  SceneSound silent = {NoSoundFile};
  SettingsSceneSource settings;
  OpenSettingsSceneSource(&settings, &one.base, &files, baseFolder, &silent, &codecs.base, nullptr);
  SlotNotingSource source = {{ForwardTiming, ForwardTransparency, ForwardCharacter, ForwardFrame, ForwardMotion,
                              ForwardBackground, ForwardWallpaper, ForwardBand, ForwardSound, ForwardClose,
                              ForwardWallpaperTaken},
                             &settings,
                             {}};
  LoadOnlyHost host = {{TimersAccepted, NoTimers, DisplayReference, ReleaseReference, NoDesktop, NothingPresented,
                        SmallBuffersFit, LoadFailed, NoSound, NoSoundToStop},
                       false};
  SceneModel* scene = static_cast<SceneModel*>(calloc(1, sizeof(SceneModel)));
  if (!scene) return;
  SceneGeometry geometry;
  std::memset(&geometry, 0, sizeof geometry);
  geometry.screenWidth = geometry.screenHeight = geometry.windowRight = geometry.windowBottom = 1;
  LoadScene(scene, &host.base, &source.base, geometry, 0);
  if (!host.failed && scene->characterCount > 0) {
    const uint32_t background = BackgroundColour(store);
    const CharacterState& loaded = scene->characters[0];
    for (int frame = 0; frame < loaded.frameCount; ++frame) {
      FrameThumbnail& thumbnail = out->frames[out->count++];
      thumbnail.picture = ComposeFrame(loaded, frame, background);
      thumbnail.slot = source.slots[frame];
      // As the walk found it: frames with their own pixels are loaded to be blended.
      thumbnail.ownAlpha = loaded.frames[frame].sprite && loaded.frames[frame].sprite->ownAlpha;
    }
  }
  ReleaseScene(scene);
  free(scene);
}

void ReleaseCharacterThumbnails(CharacterThumbnails* thumbnails) {
  for (int i = 0; i < thumbnails->count; ++i) ReleaseSurface(thumbnails->frames[i].picture);
  std::memset(thumbnails, 0, sizeof *thumbnails);
}

void CreatePagePictures(HWND dialog, const SaverHost* host, int firstId, int wallpaperId) {
  SetPropA(dialog, kFirstIdProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(firstId)));
  SetPropA(dialog, kWallpaperIdProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(wallpaperId)));
  for (int slot = 0; slot < kFrameSlotCount; ++slot)
    CreateControl(host, "Button", WS_CHILD | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 0, 0, dialog, firstId + slot);
  CreateControl(host, "Static", WS_CHILD | SS_OWNERDRAW, 0, 0, 0, 0, dialog, wallpaperId);
}

void PlacePagePictures(HWND dialog, const RECT& place) {
  const PictureIds ids = IdsOf(dialog);
  const int gap = 4;
  const int size = (place.right - place.left - 4 * gap) / 5;
  for (int slot = 0; slot < kFrameSlotCount; ++slot) {
    const int left = place.left + (slot % 5) * (size + gap), top = place.top + (slot / 5) * (size + gap);
    MoveWindow(GetDlgItem(dialog, ids.first + slot), left, top, size, size, TRUE);
  }
  const int width = place.right - place.left;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  int height = screenWidth > 0 ? MulDiv(width, screenHeight, screenWidth) : width;
  if (height > place.bottom - place.top) height = place.bottom - place.top;
  MoveWindow(GetDlgItem(dialog, ids.wallpaper), place.left, place.top, width, height, TRUE);
}

void ShowPagePictures(HWND dialog, int tab, SettingsStore* store, const char* baseFolder) {
  const PictureIds ids = IdsOf(dialog);
  if (ids.first == 0) return;
  DropShown(dialog, ids);
  const bool character = tab >= kFirstCharacterTab && tab < kFirstCharacterTab + kCharacterCount;
  if (character) {
    CharacterThumbnails* shown = static_cast<CharacterThumbnails*>(calloc(1, sizeof(CharacterThumbnails)));
    if (shown) MakeCharacterThumbnails(store, baseFolder, tab - kFirstCharacterTab, shown);
    SetWindowLongPtrA(GetDlgItem(dialog, ids.wallpaper), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(shown));
  }
  for (int slot = 0; slot < kFrameSlotCount; ++slot) {
    HWND button = GetDlgItem(dialog, ids.first + slot);
    ShowWindow(button, character ? SW_SHOWNA : SW_HIDE);
    InvalidateRect(button, nullptr, FALSE);
  }
  HWND view = GetDlgItem(dialog, ids.wallpaper);
  ShowWindow(view, tab == kBackgroundTab ? SW_SHOWNA : SW_HIDE);
  InvalidateRect(view, nullptr, FALSE);
}

bool DrawPagePicture(HWND dialog, const DRAWITEMSTRUCT* item, const Surface* background) {
  const PictureIds ids = IdsOf(dialog);
  if (ids.first == 0) return false;
  const int id = static_cast<int>(item->CtlID);
  if (id == ids.wallpaper) {
    FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (background) DrawFitted(item->hDC, item->rcItem, background);
    return true;
  }
  if (id < ids.first || id >= ids.first + kFrameSlotCount) return false;
  const CharacterThumbnails* shown = Shown(dialog, ids.wallpaper);
  const int frame = id - ids.first;
  DrawThumbnail(item, shown && frame < shown->count ? &shown->frames[frame] : nullptr);
  return true;
}

int ShownOwnAlphaFrames(HWND dialog, int numbers[10]) {
  const PictureIds ids = IdsOf(dialog);
  const CharacterThumbnails* shown = ids.first == 0 ? nullptr : Shown(dialog, ids.wallpaper);
  int count = 0;
  for (int frame = 0; shown && frame < shown->count; ++frame)
    if (shown->frames[frame].ownAlpha) numbers[count++] = frame + 1;
  return count;
}

int ThumbnailField(HWND dialog, int id) {
  const PictureIds ids = IdsOf(dialog);
  if (ids.first == 0 || id < ids.first || id >= ids.first + kFrameSlotCount) return -1;
  const CharacterThumbnails* shown = Shown(dialog, ids.wallpaper);
  const int frame = id - ids.first;
  // A frame the character does not have selects the field of the same row.
  return shown && frame < shown->count ? shown->frames[frame].slot : frame;
}

void ReleasePagePictures(HWND dialog) {
  const PictureIds ids = IdsOf(dialog);
  if (ids.first == 0) return;
  DropShown(dialog, ids);
  RemovePropA(dialog, kFirstIdProperty);
  RemovePropA(dialog, kWallpaperIdProperty);
}
