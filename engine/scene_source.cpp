#include "scene_source.h"

#include "scene_model.h"

void TakeMotionRecord(const MotionRecord& motion, CharacterState* c) {
  c->speedX = motion.speedX;
  c->speedY = motion.speedY;
  c->speedDepth = motion.speedDepth;
  c->frameStep = motion.frameStep;
  c->bounceX = motion.bounceX;
  c->bounceY = motion.bounceY;
  c->bounceDepth = motion.bounceDepth;
  c->pingPong = motion.pingPong;
  c->visibleRate = static_cast<int8_t>(motion.visibleRate);
}

SceneBackground BackgroundOfRecord(const BackgroundRecord& record) {
  SceneBackground background;
  background.noColour = record.noColour;
  background.colour = static_cast<uint8_t>(record.red) | (static_cast<uint8_t>(record.green) << 8) |
                      (static_cast<uint8_t>(record.blue) << 16);
  background.wallpaper = record.wallpaper;
  background.stretch = record.stretch;
  return background;
}
