#include <cstdlib>
#include <cstring>

#include "engine.h"
#include "engine_host.h"
#include "random.h"
#include "scene_source.h"
#include "surface.h"
#include "wallpaper_band.h"
#include "wrapping.h"

namespace {

void ReleaseFrames(CharacterState* c) {
  for (int j = 0; j < kFrameSlotCount; ++j) {
    ReleaseSurface(c->frames[j].sprite);
    ReleaseSurface(c->frames[j].mask);
  }
  memset(c, 0, sizeof *c);
}

void LoadCharacters(SceneModel* scene, SceneSource* source) {
  const Surface* reference = scene->referenceContext;
  int count = 0;
  while (count < kCharacterCount && source->beginCharacter(source)) {
    CharacterState* c = &scene->characters[count];
    int frames = 0;
    while (frames < kFrameSlotCount) {
      Surface* sprite = nullptr;
      if (!source->loadFrame(source, frames, reference, &sprite)) break;
      FrameSurface* f = &c->frames[frames];
      f->sprite = sprite;
      f->width = f->scaledWidth = SurfaceWidth(sprite);
      f->height = f->scaledHeight = SurfaceHeight(sprite);
      // A frame with its own alpha is blended: its transparency is its own, not the corner's.
      if (scene->transparentSprites && sprite && !sprite->ownAlpha) PrepareFrameMask(f, reference);
      ++frames;
    }
    c->frameCount = static_cast<int8_t>(frames);
    c->currentFrame = 0;
    if (!source->readMotion(source, c)) {
      // Cut short inside its motion record: nothing is known of how it should move.
      ReleaseFrames(c);
      break;
    }
    c->appearanceRoll = static_cast<int8_t>(NextRandom(&scene->randomState) % 9);
    ++count;
  }
  scene->characterCount = static_cast<int8_t>(count);
}

void PlaceCharacters(SceneModel* scene) {
  for (int i = 0; i < scene->characterCount; ++i) {
    CharacterState* c = &scene->characters[i];
    const int32_t w0 = c->frameCount > 0 ? c->frames[0].width : 0;
    const int32_t h0 = c->frameCount > 0 ? c->frames[0].height : 0;
    c->minX = c->bounceX ? 0 : -w0;
    c->maxX = c->bounceX ? scene->screenWidth - w0 : scene->screenWidth;
    c->minY = c->bounceY ? 0 : -h0;
    c->maxY = c->bounceY ? scene->screenHeight - h0 : scene->screenHeight;
    c->minDepth = c->bounceDepth ? 50 : 0;
    c->maxDepth = c->bounceDepth ? 200 : 250;
    c->x = RandomBelow(&scene->randomState, c->maxX);
    c->y = RandomBelow(&scene->randomState, c->maxY);
    c->depth = 100;
  }
}

// The desktop under the background, then the background's colour. The desktop is copied only
// where the colour leaves any of it showing: the copy reads the whole screen back from the
// display, which is most of what a saver does before its first picture under Wine.
void PaintBackgroundColour(SceneModel* scene, const SceneBackground* background, const SceneGeometry& geometry,
                           int32_t fillLeft, int32_t fillTop, int32_t fillRight, int32_t fillBottom) {
  const bool covered = background && background->noColour == 0 && fillLeft <= 0 && fillTop <= 0 &&
                       fillRight >= scene->screenWidth && fillBottom >= scene->screenHeight;
  Surface* buffer = scene->backgroundBuffer;
  if (!covered) scene->host->captureDisplay(scene->host, buffer, geometry.displayLeft, geometry.displayTop);
  scene->backgroundPlain = 0;
  if (background && background->noColour == 0) {
    FillSurface(buffer, fillLeft, fillTop, fillRight, fillBottom, background->colour);
    scene->backgroundPlain = covered;
    scene->backgroundColour = background->colour;
  }
}

// Draws the wallpaper's next band into the background buffer; false when none is left.
bool DrawNextWallpaperBand(SceneModel* scene) {
  const PendingWallpaper& w = scene->wallpaper;
  const WallpaperPlacement placement = {w.monitors, w.monitorCount, w.width, w.height, w.stretch != 0};
  int32_t top = 0;
  Surface* band = w.source->nextWallpaperBand(w.source, scene->referenceContext, &placement, &top);
  if (!band) return false;
  for (int32_t i = 0; i < placement.monitorCount; ++i)
    DrawWallpaperBand(scene->backgroundBuffer, placement.monitors[i], w.width, w.height, placement.stretch, band, top);
  ReleaseSurface(band);
  return true;
}

// The background's colour, then its wallpaper; false when the wallpaper is still to come (the
// first picture was due first), its source then kept in the scene.
bool ApplyBackground(SceneModel* scene, SceneSource* source, const SceneGeometry& geometry, int32_t fillLeft,
                     int32_t fillTop, int32_t fillRight, int32_t fillBottom) {
  SceneBackground background;
  memset(&background, 0, sizeof background);
  const bool known = source->readBackground(source, &background);
  PaintBackgroundColour(scene, known ? &background : nullptr, geometry, fillLeft, fillTop, fillRight, fillBottom);
  if (!known || background.wallpaper == 0) return true;
  PendingWallpaper& w = scene->wallpaper;
  if (!source->beginWallpaper(source, &w.width, &w.height)) return true;
  // Each monitor shows the wallpaper as it would look on a single screen.
  const int32_t monitors = geometry.monitorCount > 0 ? geometry.monitorCount : 1;
  w.monitorCount = monitors < kMonitorSlots ? monitors : kMonitorSlots;
  const SceneArea whole = {0, 0, scene->screenWidth, scene->screenHeight};
  for (int32_t i = 0; i < w.monitorCount; ++i) w.monitors[i] = geometry.monitorCount > 0 ? geometry.monitors[i] : whole;
  w.stretch = background.stretch != 0;
  w.source = source;
  // Over a colour that covers the whole picture, the picture can come first with the colour
  // alone: nothing reads the buffer the bands go to until the last is in.
  EngineHost* host = scene->host;
  const bool mayWait = scene->backgroundPlain && host->firstPictureDue;
  while (DrawNextWallpaperBand(scene)) {
    scene->backgroundPlain = 0;
    if (mayWait && host->firstPictureDue(host)) {
      scene->backgroundPlain = 1;
      return false;
    }
  }
  w.source = nullptr;
  if (source->wallpaperTaken && !source->wallpaperTaken(source))
    PaintBackgroundColour(scene, &background, geometry, fillLeft, fillTop, fillRight, fillBottom);
  return true;
}

}  // namespace

void LoadScene(SceneModel* scene, EngineHost* host, SceneSource* source, const SceneGeometry& geometry,
               uint32_t seed) {
  memset(scene, 0, sizeof *scene);
  scene->host = host;
  scene->screenWidth = geometry.screenWidth;
  scene->screenHeight = geometry.screenHeight;
  scene->windowWidth = geometry.windowRight - geometry.windowLeft;
  scene->windowHeight = geometry.windowBottom - geometry.windowTop;

  int32_t fillLeft = geometry.windowLeft, fillTop = geometry.windowTop;
  int32_t fillRight = geometry.windowRight, fillBottom = geometry.windowBottom;
  if (scene->windowHeight < kPreviewHeightLimit) {
    // The preview shows the whole screen-sized picture, so the whole of it gets the colour.
    fillLeft = fillTop = 0;
    fillRight = scene->screenWidth;
    fillBottom = scene->screenHeight;
  }

  SeedRandom(&scene->randomState, seed);

  int32_t redrawPeriod = 0, multiplier = 0;
  source->readTiming(source, &redrawPeriod, &multiplier);
  if (!host->startTimers(host, redrawPeriod, WrapMul(redrawPeriod, multiplier))) {
    source->close(source);
    host->stopTimers(host);
    host->startupFailure(host);
    return;
  }
  scene->paintTimer = kPaintTimerId;
  scene->frameTimer = kFrameTimerId;
  scene->transparentSprites = source->readTransparency(source);

  scene->referenceContext = host->windowReference(host);
  LoadCharacters(scene, source);
  PlaceCharacters(scene);
  host->releaseWindowReference(host, scene->referenceContext);
  scene->referenceContext = OpenDisplayReference();

  // Two pictures of the whole virtual screen at up to four bytes a pixel: a screen too large
  // to buffer ends in the start-up failure before anything that size is asked for.
  const uint64_t pictureBytes = static_cast<uint64_t>(scene->screenWidth > 0 ? scene->screenWidth : 0) *
                                static_cast<uint64_t>(scene->screenHeight > 0 ? scene->screenHeight : 0) * 4;
  if (host->hasMemoryFor(host, 2 * pictureBytes)) {
    scene->backgroundBuffer = CreateSurface(scene->referenceContext, scene->screenWidth,
                                           scene->screenHeight);
    scene->workBuffer = CreateSurface(scene->referenceContext, scene->screenWidth,
                                     scene->screenHeight);
  }
  if (!scene->backgroundBuffer || !scene->workBuffer) {
    source->close(source);
    host->startupFailure(host);
    return;
  }
  const bool whole = ApplyBackground(scene, source, geometry, fillLeft, fillTop, fillRight, fillBottom);
  // The first picture fills the whole work buffer with the background anyway; until then it
  // holds the same, from memory rather than from the display again.
  RestoreWholeBackground(scene);
  source->startSound(source, scene);
  if (whole && !scene->soundSource) source->close(source);
}

void ContinueWallpaper(SceneModel* scene) {
  PendingWallpaper& w = scene->wallpaper;
  if (!w.source || DrawNextWallpaperBand(scene)) return;
  SceneSource* source = w.source;
  w.source = nullptr;
  // A picture found damaged part way leaves the colour, as it would have at the load.
  const bool taken = !source->wallpaperTaken || source->wallpaperTaken(source);
  if (scene->soundSource != source) source->close(source);
  if (taken) {
    scene->backgroundPlain = 0;
    scene->workComposed = 0;
    scene->windowPresented = 0;
  } else {
    FillSurface(scene->backgroundBuffer, 0, 0, scene->screenWidth, scene->screenHeight, scene->backgroundColour);
  }
}

void ContinueSound(SceneModel* scene) {
  SceneSource* source = scene->soundSource;
  if (!source || source->continueSound(source, scene)) return;
  scene->soundSource = nullptr;
  if (scene->wallpaper.source != source) source->close(source);
}

void ReleaseScene(SceneModel* scene) {
  EngineHost* host = scene->host;
  // The load's source, where a part of it was still to come: closed once.
  SceneSource* loading = scene->wallpaper.source ? scene->wallpaper.source : scene->soundSource;
  if (loading) loading->close(loading);
  if (scene->paintTimer || scene->frameTimer) host->stopTimers(host);
  ReleaseSurface(scene->referenceContext);
  if (scene->soundPlaying) host->stopSound(host);
  if (!scene->soundInPlace) free(scene->soundData);
  ReleaseSurface(scene->backgroundBuffer);
  ReleaseSurface(scene->workBuffer);
  for (int i = 0; i < kCharacterCount; ++i) ReleaseFrames(&scene->characters[i]);
  memset(scene, 0, sizeof *scene);
}
