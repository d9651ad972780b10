#include "file_drop.h"

#include <shellapi.h>

#include <cstdlib>

#include "build_report.h"
#include "create_outcome.h"
#include "designer_pages.h"
#include "designer_resources.h"
#include "designer_state.h"
#include "drop_plan.h"
#include "edit_overlay.h"
#include "page_controls.h"
#include "page_pictures.h"
#include "saver_host.h"
#include "stdio_build_files.h"
#include "system_text.h"
#include "wic_picture_codec.h"

namespace {

const int kMaxDropped = 64;
const int kFirstFrameField = IDC_EDIT_FIRST, kFirstFrameButton = IDC_BUTTON_FIRST;

struct DropBatch {
  int count;
  char names[kMaxDropped][kSettingBufferSize];
  DroppedFile files[kMaxDropped];
  bool nameUnusable[kMaxDropped];  // not in the system's code page, or too long for a setting
};

void Examine(DropBatch* batch) {
  WicPictureCodec codecs;
  OpenWicPictureCodec(&codecs);
  StdioBuildFiles files;
  for (int i = 0; i < batch->count; ++i) {
    if (batch->nameUnusable[i]) {
      // The settings keep names in the system's code page, where this one has no spelling.
      batch->files[i] = {};
      batch->files[i].kind = DroppedRefused;
      batch->files[i].reason = LeftDamaged;
      lstrcpynA(batch->files[i].detail, "its name cannot be written in the system's code page",
                sizeof batch->files[i].detail);
      continue;
    }
    ExamineDroppedFile(&files, &codecs.base, batch->names[i], &batch->files[i]);
  }
}

void Tell(HWND page, const SaverHost* host, const CreateReport& report) {
  if (report.inputCount == 0) return;
  static wchar_t text[8192];
  int length = LoadStringIn(host, IDS_DROP_REFUSED, text, 8192);
  lstrcpyW(text + length, L"\r\n\r\n");
  length += 4;
  DescribeReportedInputs(host, report, text + length, 8192 - length);
  wchar_t caption[256];
  LoadStringIn(host, IDS_CAPTION, caption, 256);
  if (!host->win9x) {
    MessageBoxW(page, text, caption, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  static char ansiText[2 * 8192], ansiCaption[512];
  WideCharToMultiByte(CP_ACP, 0, text, -1, ansiText, sizeof ansiText, nullptr, nullptr);
  WideCharToMultiByte(CP_ACP, 0, caption, -1, ansiCaption, sizeof ansiCaption, nullptr, nullptr);
  MessageBoxA(page, ansiText, ansiCaption, MB_OK | MB_ICONEXCLAMATION);
}

void Report(CreateReport* report, WalkSubject subject, int character, int slot, const char* name, const DroppedFile& file) {
  const WalkOutcome outcome = {subject, character, slot, name, file.reason, file.number,
                               file.detail[0] ? file.detail : nullptr};
  report->base.heard(&report->base, outcome);
}

void FillFrames(HWND page, int tab, int target, DropBatch* batch) {
  const int character = tab - kFirstCharacterTab;
  // The page's values as it shows them, so that the frames counted are the ones it shows.
  EditOverlay* edits = DialogEdits(page);
  ClearEditOverlay(edits);
  SendMessageA(page, kWriteSettingsNow, 0, reinterpret_cast<LPARAM>(&edits->base));
  bool filled[kFrameSlotCount];
  for (int slot = 0; slot < kFrameSlotCount; ++slot)
    filled[slot] = GetWindowTextLengthA(GetDlgItem(page, kFirstFrameField + slot)) > 0;
  CharacterThumbnails given;
  MakeCharacterThumbnails(&edits->base, DesignerSettingsFolder(page), character, &given);
  int framesBefore[kFrameSlotCount + 1] = {};
  for (int slot = 1; slot <= kFrameSlotCount; ++slot) {
    framesBefore[slot] = 0;
    for (int frame = 0; frame < given.count; ++frame)
      if (given.frames[frame].slot < slot) ++framesBefore[slot];
  }
  ReleaseCharacterThumbnails(&given);

  int slots[kMaxDropped];
  PlaceDroppedFrames(filled, target, framesBefore, batch->files, batch->count, slots);
  CreateReport report;
  OpenCreateReport(&report);
  int last = target >= 0 ? target : 0;
  for (int i = 0; i < batch->count; ++i) {
    if (slots[i] >= 0) {
      SetDlgItemTextA(page, kFirstFrameField + slots[i], batch->names[i]);
      last = slots[i];
    }
    const DroppedFile& file = batch->files[i];
    if (file.kind == DroppedRefused || file.reason == NoteFramesBeyondRoom)
      Report(&report, WalkFrame, character, slots[i] >= 0 ? slots[i] : last, batch->names[i], file);
  }
  Tell(page, DialogHost(page), report);
}

void FillBackground(HWND page, DropBatch* batch) {
  const BackgroundDrop drop = PlaceDroppedBackground(batch->files, batch->count);
  if (drop.wallpaper >= 0) GiveBackgroundFile(page, BackgroundWallpaper, batch->names[drop.wallpaper]);
  if (drop.sound >= 0) GiveBackgroundFile(page, BackgroundSound, batch->names[drop.sound]);
  CreateReport report;
  OpenCreateReport(&report);
  for (int i = 0; i < batch->count; ++i)
    if (batch->files[i].kind == DroppedRefused) Report(&report, WalkWallpaper, 0, 0, batch->names[i], batch->files[i]);
  Tell(page, DialogHost(page), report);
}

void Take(HWND page, int tab, int target, DropBatch* batch) {
  if (!page || batch->count == 0) return;
  Examine(batch);
  if (tab == kBackgroundTab) FillBackground(page, batch);
  if (tab >= kFirstCharacterTab && tab < kFirstCharacterTab + kCharacterCount) FillFrames(page, tab, target, batch);
}

// The frame field under the point of the drop (its row's field or Browse button, or a
// thumbnail), or -1.
int SlotAt(HWND dialog, HWND page, POINT at) {
  ClientToScreen(dialog, &at);
  HWND hit = WindowFromPoint(at);
  if (!hit) return -1;
  const int id = GetDlgCtrlID(hit);
  if (GetParent(hit) == page) {
    if (id >= kFirstFrameField && id < kFirstFrameField + kFrameSlotCount) return id - kFirstFrameField;
    if (id >= kFirstFrameButton && id < kFirstFrameButton + kFrameSlotCount) return id - kFirstFrameButton;
  }
  if (GetParent(hit) == dialog) return ThumbnailField(dialog, id);
  return -1;
}

}  // namespace

void TakeDroppedFiles(HWND dialog, HWND page, int tab, HDROP drop) {
  DropBatch* batch = static_cast<DropBatch*>(calloc(1, sizeof(DropBatch)));
  if (!batch) {
    DragFinish(drop);
    return;
  }
  POINT at = {};
  DragQueryPoint(drop, &at);
  const bool win9x = DialogHost(dialog)->win9x;
  UINT count = win9x ? DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) : DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  if (count > static_cast<UINT>(kMaxDropped)) count = kMaxDropped;
  for (UINT i = 0; i < count; ++i) {
    char* name = batch->names[batch->count];
    if (win9x) {
      batch->nameUnusable[batch->count] = DragQueryFileA(drop, i, name, kSettingBufferSize) >= kSettingBufferSize - 1;
    } else {
      // The settings hold names in the system's code page: one that does not fit it is not taken.
      wchar_t wide[MAX_PATH * 4];
      BOOL lossy = FALSE;
      const bool got = DragQueryFileW(drop, i, wide, MAX_PATH * 4) > 0;
      const bool fits = got && WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, name, kSettingBufferSize,
                                                   nullptr, &lossy) > 0;
      if (!fits) lstrcpynA(name, "?", kSettingBufferSize);
      batch->nameUnusable[batch->count] = !fits || lossy;
    }
    ++batch->count;
  }
  DragFinish(drop);
  Take(page, tab, SlotAt(dialog, page, at), batch);
  free(batch);
}

void TakeChosenFrames(HWND page, int tab, int slot, const ChosenFiles& chosen) {
  DropBatch* batch = static_cast<DropBatch*>(calloc(1, sizeof(DropBatch)));
  if (!batch) return;
  for (int i = 0; i < chosen.count && i < kMaxDropped; ++i) {
    lstrcpynA(batch->names[i], chosen.names[i], kSettingBufferSize);
    batch->nameUnusable[i] = chosen.unusable[i];
    ++batch->count;
  }
  Take(page, tab, slot, batch);
  free(batch);
}
