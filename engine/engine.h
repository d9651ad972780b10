// The engine that plays a scene in a saver window, written once against the surface layer,
// the scene source and the host hooks. The Windows procedures call these from their messages;
// tests and tools call them directly.
#pragma once
#include <cstdint>

#include "scene_model.h"

struct SceneSource;

struct SceneGeometry {
  int32_t screenWidth, screenHeight;
  // The saver window's outer rectangle in screen pixels.
  int32_t windowLeft, windowTop, windowRight, windowBottom;
};

// WM_CREATE: fills `scene` from the source. On a start-up failure it reports through
// HostStartupFailure; whatever was made is released by ReleaseScene as usual.
void LoadScene(SceneSource* source, const SceneGeometry& geometry, uint32_t seed);

// Turns the frame's corner area transparent: the sprite's becomes black, and a mask is made
// that is white there and black elsewhere.
void PrepareFrameMask(FrameSurface* frame, const Surface* reference);

// One motion step of every character (the start of every paint).
void MoveCharacters();
// One frame-timer tick.
void AdvanceFrames();
// The clean background and every character allowed to appear, into the work buffer.
void ComposePicture();
// The work buffer onto the window: 1:1, or the whole screen shrunk into a preview.
void PresentPicture(Surface* window);
// Only what the last composition changed onto the window (the whole picture the first time
// and in a preview), so that the window stays equal to a full presentation.
void PresentChangedAreas(Surface* window);
// [left, right) x [top, bottom) of the work buffer onto the same place of the window, for
// areas the window system asks to have drawn again (uncovered, exposed); a preview gets the
// whole shrunk picture.
void PresentArea(Surface* window, int32_t left, int32_t top, int32_t right, int32_t bottom);
// WM_PAINT: move, compose, present what changed.
void PaintScene(Surface* window);

// WM_DESTROY: stops the timers and the sound and releases every surface; the model is zero
// afterwards.
void ReleaseScene();
