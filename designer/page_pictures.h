// The pictures shown with the page beneath the live preview: an Image page's frames as
// thumbnails, drawn by the engine over the scene's background, each a button that selects its
// frame's field; the Background page's background and wallpaper as the saver lays them out.
#pragma once
#include <windows.h>

struct SaverHost;
struct SettingsStore;
struct Surface;

// One frame's picture and where it comes from.
struct FrameThumbnail {
  Surface* picture;  // composed over the background; null for a frame that draws nothing
  int slot;          // the field whose file gave the frame
  bool ownAlpha;     // the frame carries its own transparency
};

struct CharacterThumbnails {
  int count;
  FrameThumbnail frames[10];
};

// The frames of `character` as the saver plays them, each composed by the engine over the
// scene's background colour; the caller releases them.
void MakeCharacterThumbnails(SettingsStore* store, const char* baseFolder, int character, CharacterThumbnails* out);
void ReleaseCharacterThumbnails(CharacterThumbnails* thumbnails);

// Ten thumbnail buttons (ids from firstId) and the wallpaper view, hidden, as children of dialog.
void CreatePagePictures(HWND dialog, const SaverHost* host, int firstId, int wallpaperId);
void PlacePagePictures(HWND dialog, const RECT& place);
// For the page of `tab`: the character's thumbnails, the wallpaper view, or nothing.
void ShowPagePictures(HWND dialog, int tab, SettingsStore* store, const char* baseFolder);
// WM_DRAWITEM of a thumbnail or of the wallpaper view (`background` is the preview's, may be
// null); false for another control.
bool DrawPagePicture(HWND dialog, const DRAWITEMSTRUCT* item, const Surface* background);
// The shown character's frames that carry their own transparency, numbered from 1 as they play,
// into numbers; how many. None when no character's thumbnails are shown.
int ShownOwnAlphaFrames(HWND dialog, int numbers[10]);
// The frame field a thumbnail button stands for, or -1.
int ThumbnailField(HWND dialog, int id);
void ReleasePagePictures(HWND dialog);
