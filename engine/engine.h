// The engine that plays a scene in a saver window, written once against the surface layer,
// the scene source and the host's operations. Every call names the scene it plays, which its
// caller owns. The Windows procedures call these from their messages; tests and tools call them
// directly.
#pragma once
#include <cstdint>

#include "scene_model.h"

struct EngineHost;
struct SceneSource;

struct SceneGeometry {
  // The picture: the virtual screen the saver window covers (the primary screen in a preview).
  int32_t screenWidth, screenHeight;
  // The saver window's outer rectangle, in the picture's pixels.
  int32_t windowLeft, windowTop, windowRight, windowBottom;
  // Where the picture's top-left corner lies on the display, for the copy of the desktop.
  int32_t displayLeft, displayTop;
  // The monitors, in the picture's pixels: each shows the wallpaper as a single screen would.
  // None means that the whole picture is one screen.
  int32_t monitorCount;
  SceneArea monitors[kMonitorSlots];
};

// The whole work buffer made the background again: a fill where that is one colour.
void RestoreWholeBackground(SceneModel* scene);

// Whether the scene's wallpaper is still to come (see EngineHost::firstPictureDue).
inline bool WallpaperPending(const SceneModel* scene) {
  return scene->wallpaper.source != nullptr;
}
// Draws the pending wallpaper's next band; after the last, the next paint composes and presents
// the whole picture with it. Hosts call it between paints while WallpaperPending.
void ContinueWallpaper(SceneModel* scene);

// Whether the scene's sound is still being decoded (see EngineHost::firstPictureDue).
inline bool SoundPending(const SceneModel* scene) {
  return scene->soundSource != nullptr;
}
// Decodes a few milliseconds more of it; the sound starts once it is whole. Hosts call it
// between paints while SoundPending.
void ContinueSound(SceneModel* scene);

// WM_CREATE: fills the scene from the source, in the window that `host` stands for; the scene
// keeps the host until ReleaseScene. On a start-up failure it reports through the host's
// startupFailure, after which it touches the scene no more (the host may release it there);
// whatever was made is released by ReleaseScene as usual.
void LoadScene(SceneModel* scene, EngineHost* host, SceneSource* source, const SceneGeometry& geometry,
               uint32_t seed);

// Turns the frame's corner area transparent: the sprite's becomes black, and a mask is made
// that is white there and black elsewhere.
void PrepareFrameMask(FrameSurface* frame, const Surface* reference);

// One motion step of every character (the start of every paint).
void MoveCharacters(SceneModel* scene);
// One frame-timer tick.
void AdvanceFrames(SceneModel* scene);
// The clean background and every character allowed to appear, into the work buffer.
void ComposePicture(SceneModel* scene);
// The work buffer onto the window: 1:1, or the whole screen shrunk into a preview.
void PresentPicture(const SceneModel* scene, Surface* window);
// Only what the last composition changed onto the window (the whole picture the first time
// and in a preview), so that the window stays equal to a full presentation.
void PresentChangedAreas(SceneModel* scene, Surface* window);
// Joins, in place, areas whose common box is little larger than they are apart, and drops
// empty ones; returns how many are left. Together they still cover every pixel the input did.
int MergeChangedAreas(SceneArea* areas, int count);
// [left, right) x [top, bottom) of the work buffer onto the same place of the window, for
// areas the window system asks to have drawn again (uncovered, exposed); a preview gets the
// whole shrunk picture.
void PresentArea(const SceneModel* scene, Surface* window, int32_t left, int32_t top, int32_t right,
                 int32_t bottom);
// WM_PAINT: move, compose, present what changed.
void PaintScene(SceneModel* scene, Surface* window);

// WM_DESTROY: stops the timers and the sound and releases every surface; the model is zero
// afterwards.
void ReleaseScene(SceneModel* scene);
