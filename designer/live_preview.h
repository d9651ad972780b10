// The dialog's live preview: a pane that plays the scene being edited with the saver's own engine
// and scene walk, the primary monitor's picture shrunk to fit it, and a status line beneath that
// names what the walk left out in the words of Create's message.
#pragma once
#include <windows.h>

struct SaverHost;
struct SceneModel;
struct SettingsStore;

// Why the pane is not playing; it plays while none holds.
enum PreviewPause {
  PausedByUser = 1,         // Space on the pane
  PausedWhileMinimised = 2  // the dialog is minimised
};

// The pane and its status line as children of `dialog`, playing the settings of `store`. Both are
// placed by PlaceLivePreview.
HWND CreateLivePreview(HWND dialog, const SaverHost* host, SettingsStore* store, int id, int statusId);
// pane and status at `place` (pixels of the dialog's client area): the pane takes the width and
// the primary monitor's shape, the status line what is left below it. Returns the pane's bottom.
int PlaceLivePreview(HWND pane, HWND status, const RECT& place);

// Walks the settings again and plays the scene from its start, as a saver started now would;
// relative names belong to `baseFolder` (the store's: a scene file's folder, or the designer's).
void ReloadLivePreview(HWND pane, const char* baseFolder);
void SetLivePreviewPause(HWND pane, PreviewPause reason, bool on);

// The scene now playing, null when none could start: for the dialog's tests.
const SceneModel* LivePreviewScene(HWND pane);
