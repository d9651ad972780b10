#include "engine.h"
#include "random.h"
#include "wrapping.h"

namespace {

void PlaceAnew(SceneModel* scene, CharacterState* c) {
  c->x = RandomBelow(&scene->randomState, c->maxX);
  c->y = RandomBelow(&scene->randomState, c->maxY);
  c->appearanceRoll = static_cast<int8_t>(NextRandom(&scene->randomState) % 9);
  if (NextRandom(&scene->randomState) & 1) c->speedX = WrapNeg(c->speedX);
  if (NextRandom(&scene->randomState) & 1) c->speedY = WrapNeg(c->speedY);
}

// Both corrections are applied in turn, so a box wider than the screen with bounce (minimum
// above maximum) ends at the maximum with its speed's sign unchanged.
void Bounce(int32_t* value, int32_t* speed, int32_t low, int32_t high) {
  if (*value < low) {
    *value = low;
    *speed = WrapNeg(*speed);
  }
  if (*value > high) {
    *value = high;
    *speed = WrapNeg(*speed);
  }
}

}  // namespace

void MoveCharacters(SceneModel* scene) {
  for (int i = 0; i < scene->characterCount; ++i) {
    CharacterState* c = &scene->characters[i];
    c->x = WrapAdd(c->x, c->speedX);
    c->y = WrapAdd(c->y, c->speedY);
    c->depth = WrapAdd(c->depth, c->speedDepth);

    if (c->bounceX) {
      Bounce(&c->x, &c->speedX, c->minX, c->maxX);
    } else {
      if (c->x < c->minX) {
        c->x = c->maxX;
        c->y = RandomBelow(&scene->randomState, c->maxY);
        c->appearanceRoll = static_cast<int8_t>(NextRandom(&scene->randomState) % 9);
      }
      if (c->x > c->maxX) {
        c->x = c->minX;
        c->y = RandomBelow(&scene->randomState, c->maxY);
        c->appearanceRoll = static_cast<int8_t>(NextRandom(&scene->randomState) % 9);
      }
    }

    if (c->bounceY) {
      Bounce(&c->y, &c->speedY, c->minY, c->maxY);
    } else {
      if (c->y < c->minY) {
        c->y = c->maxY;
        c->x = RandomBelow(&scene->randomState, c->maxX);
        c->appearanceRoll = static_cast<int8_t>(NextRandom(&scene->randomState) % 9);
      }
      if (c->y > c->maxY) {
        c->y = c->minY;
        c->x = RandomBelow(&scene->randomState, c->maxX);
        c->appearanceRoll = static_cast<int8_t>(NextRandom(&scene->randomState) % 9);
      }
    }

    if (c->bounceDepth) {
      Bounce(&c->depth, &c->speedDepth, c->minDepth, c->maxDepth);
    } else {
      if (c->depth < c->minDepth) {
        c->depth = c->maxDepth;
        PlaceAnew(scene, c);
      }
      if (c->depth > c->maxDepth) {
        c->depth = c->minDepth;
        PlaceAnew(scene, c);
      }
    }
  }
}

void AdvanceFrames(SceneModel* scene) {
  for (int i = 0; i < scene->characterCount; ++i) {
    CharacterState* c = &scene->characters[i];
    if (c->frameCount <= 1) continue;
    int8_t frame = static_cast<int8_t>(static_cast<uint8_t>(c->currentFrame) +
                                       static_cast<uint8_t>(c->frameStep));
    if (!c->pingPong) {
      if (frame < 0) frame = static_cast<int8_t>(c->frameCount - 1);
      if (frame >= c->frameCount) frame = 0;
    } else {
      if (frame < 0) {
        c->frameStep = WrapNeg(c->frameStep);
        frame = 1;
      }
      if (frame >= c->frameCount) {
        frame = static_cast<int8_t>(c->frameCount - 2);
        c->frameStep = WrapNeg(c->frameStep);
      }
    }
    c->currentFrame = frame;
  }
}
