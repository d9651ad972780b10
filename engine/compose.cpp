#include <algorithm>

#include "engine.h"
#include "engine_host.h"
#include "surface.h"
#include "wrapping.h"

namespace {

void RememberDrawn(SceneModel* scene, int32_t left, int32_t top, int32_t width, int32_t height) {
  if (scene->drawnCount >= kCharacterCount) return;
  auto& area = scene->drawn[scene->drawnCount++];
  area.left = left;
  area.top = top;
  area.width = width;
  area.height = height;
}

void DrawCharacter(SceneModel* scene, CharacterState* c) {
  if (c->currentFrame < 0 || c->currentFrame >= c->frameCount) return;
  FrameSurface* f = &c->frames[c->currentFrame];
  if (!f->sprite) return;
  Surface* work = scene->workBuffer;
  const int32_t w = f->width;
  const int32_t h = f->height;

  if (c->depth == 100) {
    if (f->sprite->ownAlpha) {
      int32_t reach[4];
      MaskedTransferReach(work, w, h, nullptr, f->sprite, reach);
      RememberDrawn(scene, WrapAdd(c->x, reach[0]), WrapAdd(c->y, reach[1]), reach[2] - reach[0], reach[3] - reach[1]);
      BlendSurface(work, c->x, c->y, w, h, f->sprite);
    } else if (f->hasMask) {
      // Only what the mask lets through changes: a character's transparent margins are neither
      // restored nor presented at the next paint.
      int32_t reach[4];
      MaskedTransferReach(work, w, h, f->mask, f->sprite, reach);
      RememberDrawn(scene, WrapAdd(c->x, reach[0]), WrapAdd(c->y, reach[1]), reach[2] - reach[0], reach[3] - reach[1]);
      MaskedTransferSurface(work, c->x, c->y, w, h, f->mask, f->sprite);
    } else {
      RememberDrawn(scene, c->x, c->y, w, h);
      TransferSurface(work, c->x, c->y, w, h, f->sprite, 0, 0, RopSrcCopy);
    }
    return;
  }

  f->scaledWidth = WrapMul(c->depth, w) / 100;
  f->scaledHeight = WrapMul(c->depth, h) / 100;
  const int32_t left = WrapAdd(c->x, (w - f->scaledWidth) / 2);
  const int32_t top = WrapAdd(c->y, (h - f->scaledHeight) / 2);
  if (f->sprite->ownAlpha) {
    RememberDrawn(scene, left, top, f->scaledWidth, f->scaledHeight);
    BlendSurface(work, left, top, f->scaledWidth, f->scaledHeight, f->sprite);
  } else if (f->hasMask) {
    // As at natural size, only what the scaled mask lets through is restored and presented later.
    int32_t reach[4];
    MaskedStretchReach(work, f->scaledWidth, f->scaledHeight, f->mask, f->sprite, reach);
    RememberDrawn(scene, WrapAdd(left, reach[0]), WrapAdd(top, reach[1]), reach[2] - reach[0], reach[3] - reach[1]);
    MaskedStretchSurface(work, left, top, f->scaledWidth, f->scaledHeight, f->mask, f->sprite);
  } else {
    RememberDrawn(scene, left, top, f->scaledWidth, f->scaledHeight);
    StretchSurface(work, left, top, f->scaledWidth, f->scaledHeight, f->sprite, 0, 0, w, h,
                   RopSrcCopy);
  }
}

// Fills the part of an area that lies on the picture (a character's box may reach past an
// edge, by any amount).
void FillArea(const SceneModel* scene, Surface* dest, const SceneArea& area, uint32_t colour) {
  if (area.width <= 0 || area.height <= 0) return;
  const int64_t right = std::min<int64_t>(int64_t(area.left) + area.width, scene->screenWidth);
  const int64_t bottom = std::min<int64_t>(int64_t(area.top) + area.height, scene->screenHeight);
  if (right <= area.left || bottom <= area.top) return;
  FillSurface(dest, area.left, area.top, static_cast<int32_t>(right), static_cast<int32_t>(bottom), colour);
}

}  // namespace

void RestoreWholeBackground(SceneModel* scene) {
  if (scene->backgroundPlain) {
    FillSurface(scene->workBuffer, 0, 0, scene->screenWidth, scene->screenHeight, scene->backgroundColour);
  } else {
    TransferSurface(scene->workBuffer, 0, 0, scene->screenWidth, scene->screenHeight, scene->backgroundBuffer, 0, 0,
                    RopSrcCopy);
  }
}

void ComposePicture(SceneModel* scene) {
  if (!scene->workComposed) {
    RestoreWholeBackground(scene);
    scene->workComposed = 1;
    scene->restoredCount = 0;
  } else {
    for (int i = 0; i < scene->drawnCount; ++i) {
      const SceneArea& area = scene->drawn[i];
      if (scene->backgroundPlain) {
        FillArea(scene, scene->workBuffer, area, scene->backgroundColour);
      } else {
        TransferSurface(scene->workBuffer, area.left, area.top, area.width, area.height,
                        scene->backgroundBuffer, area.left, area.top, RopSrcCopy);
      }
      scene->restored[i] = area;
    }
    scene->restoredCount = scene->drawnCount;
  }
  scene->drawnCount = 0;
  // Index order: a later character covers an earlier one whatever their depths.
  for (int i = 0; i < scene->characterCount; ++i) {
    CharacterState* c = &scene->characters[i];
    if (c->appearanceRoll < c->visibleRate) DrawCharacter(scene, c);
  }
}

void PresentPicture(const SceneModel* scene, Surface* window) {
  if (scene->windowHeight >= kPreviewHeightLimit) {
    TransferSurface(window, 0, 0, scene->windowWidth, scene->windowHeight, scene->workBuffer, 0, 0,
                    RopSrcCopy);
  } else {
    StretchSurface(window, 0, 0, scene->windowWidth, scene->windowHeight, scene->workBuffer, 0, 0,
                   scene->screenWidth, scene->screenHeight, RopSrcCopy);
  }
}

namespace {

void PresentWorkArea(const SceneModel* scene, Surface* window, const SceneArea& area) {
  TransferSurface(window, area.left, area.top, area.width, area.height, scene->workBuffer,
                  area.left, area.top, RopSrcCopy);
}

int64_t PixelsOf(const SceneArea& area) {
  return static_cast<int64_t>(area.width) * area.height;
}

SceneArea BoxAround(const SceneArea& a, const SceneArea& b) {
  const int64_t left = a.left < b.left ? a.left : b.left;
  const int64_t top = a.top < b.top ? a.top : b.top;
  const int64_t right = std::max<int64_t>(int64_t(a.left) + a.width, int64_t(b.left) + b.width);
  const int64_t bottom = std::max<int64_t>(int64_t(a.top) + a.height, int64_t(b.top) + b.height);
  return SceneArea{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right - left),
                   static_cast<int32_t>(bottom - top)};
}

// How many pixels a group's box may add to its areas' own: about what a round trip to the Wine
// server costs, in pixels copied and sent (measured under Wine on a 2-core machine).
const int64_t kGroupSlack = 1 << 17;

}  // namespace

int MergeChangedAreas(SceneArea* areas, int count) {
  int kept = 0;
  for (int i = 0; i < count; ++i)
    if (areas[i].width > 0 && areas[i].height > 0) areas[kept++] = areas[i];
  // A joined box is compared with the others again at once; another round follows while any
  // were joined, since a grown box may now join one it was compared with before.
  for (bool merged = true; merged;) {
    merged = false;
    for (int i = 0; i < kept; ++i) {
      for (int j = i + 1; j < kept; ++j) {
        const SceneArea box = BoxAround(areas[i], areas[j]);
        // Only areas whose common box is no larger than the two apart (a character's previous
        // and current box, mostly one over the other) go as one: every pixel a joint box adds
        // is read, converted and copied once more by the window system at every paint, which
        // costs more than the transfer it spares.
        if (PixelsOf(box) > PixelsOf(areas[i]) + PixelsOf(areas[j])) continue;
        areas[i] = box;
        areas[j] = areas[--kept];
        merged = true;
        j = i;
      }
    }
  }
  return kept;
}

void PresentChangedAreas(SceneModel* scene, Surface* window) {
  // The preview shrinks the whole screen into a small window: cheap, and a changed area does
  // not map to whole preview pixels.
  if (scene->windowHeight < kPreviewHeightLimit || !scene->windowPresented) {
    PresentPicture(scene, window);
    scene->windowPresented = 1;
    return;
  }
  SceneArea areas[2 * kCharacterCount];
  int count = 0;
  for (int i = 0; i < scene->restoredCount; ++i) areas[count++] = scene->restored[i];
  for (int i = 0; i < scene->drawnCount; ++i) areas[count++] = scene->drawn[i];
  count = MergeChangedAreas(areas, count);
  // The window system may be given its moment once for a group of nearby areas: where it sends
  // the box around what was drawn since, the pixels a group's box adds to its areas' own cost
  // less to send, up to a limit, than the moment (a round trip to the Wine server) they spare.
  // Top to bottom, so that a group is a band of the screen. A few dozen areas: sorted in place
  // by insertion, which costs the player less code than a library sort.
  for (int i = 1; i < count; ++i)
    for (int j = i; j > 0 && areas[j].top < areas[j - 1].top; --j) std::swap(areas[j], areas[j - 1]);
  SceneArea group = {};
  int64_t groupPixels = 0;
  for (int i = 0; i < count; ++i) {
    if (groupPixels > 0) {
      const SceneArea joined = BoxAround(group, areas[i]);
      if (PixelsOf(joined) - groupPixels - PixelsOf(areas[i]) > kGroupSlack) {
        scene->host->areaPresented(scene->host);
        groupPixels = 0;
      } else {
        group = joined;
      }
    }
    if (groupPixels == 0) group = areas[i];
    groupPixels += PixelsOf(areas[i]);
    PresentWorkArea(scene, window, areas[i]);
  }
  // The last group needs no moment of its own: the wait for the next message that follows
  // every paint is one.
}

void PresentArea(const SceneModel* scene, Surface* window, int32_t left, int32_t top, int32_t right,
                 int32_t bottom) {
  if (scene->windowHeight < kPreviewHeightLimit) {
    PresentPicture(scene, window);
    return;
  }
  if (right <= left || bottom <= top) return;
  PresentWorkArea(scene, window, SceneArea{left, top, right - left, bottom - top});
}

void PaintScene(SceneModel* scene, Surface* window) {
  MoveCharacters(scene);
  ComposePicture(scene);
  PresentChangedAreas(scene, window);
}
