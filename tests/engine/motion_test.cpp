#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine.h"
#include "random.h"

namespace {

// One character alone in a 640 x 480 scene with 40 x 30 frames at (100, 100), depth 100.
class Motion : public testing::Test {
 protected:
  CharacterState* OneCharacter(bool bounce);
  SceneModel scene;
};

CharacterState* Motion::OneCharacter(bool bounce) {
  memset(&scene, 0, sizeof scene);
  scene.screenWidth = 640;
  scene.screenHeight = 480;
  scene.characterCount = 1;
  CharacterState* c = &scene.characters[0];
  c->bounceX = c->bounceY = c->bounceDepth = bounce;
  c->minX = bounce ? 0 : -40;
  c->maxX = bounce ? 600 : 640;
  c->minY = bounce ? 0 : -30;
  c->maxY = bounce ? 450 : 480;
  c->minDepth = bounce ? 50 : 0;
  c->maxDepth = bounce ? 200 : 250;
  c->x = c->y = c->depth = 100;
  return c;
}

std::vector<int32_t> Draws(uint32_t seed, int count) {
  uint32_t random;
  SeedRandom(&random, seed);
  std::vector<int32_t> values;
  for (int i = 0; i < count; ++i) values.push_back(NextRandom(&random));
  return values;
}

TEST(Random, FollowsTheLinearCongruentialConstants) {
  // State 1 gives these first values with multiplier 214013 and increment 2531011.
  EXPECT_EQ(Draws(1, 4), (std::vector<int32_t>{41, 18467, 6334, 26500}));
  EXPECT_EQ(Draws(1, 4), Draws(1, 4));
  uint32_t random;
  SeedRandom(&random, 0xFFFFFFFF);
  EXPECT_GE(NextRandom(&random), 0);
  EXPECT_EQ(RandomBelow(&random, 0), 0);
}

TEST_F(Motion, BouncesOnEachAxisAtTheLimitsWithStrictTests) {
  CharacterState* c = OneCharacter(true);
  c->x = 595;
  c->speedX = 5;
  c->y = 3;
  c->speedY = -7;
  c->depth = 196;
  c->speedDepth = 4;
  MoveCharacters(&scene);
  EXPECT_EQ(c->x, 600);  // equal to the limit: stays, speed unchanged
  EXPECT_EQ(c->speedX, 5);
  EXPECT_EQ(c->y, 0);
  EXPECT_EQ(c->speedY, 7);
  EXPECT_EQ(c->depth, 200);
  EXPECT_EQ(c->speedDepth, 4);
  MoveCharacters(&scene);
  EXPECT_EQ(c->x, 600);
  EXPECT_EQ(c->speedX, -5);
  EXPECT_EQ(c->y, 7);
  EXPECT_EQ(c->depth, 200);
  EXPECT_EQ(c->speedDepth, -4);
}

TEST_F(Motion, BouncingOnEveryAxisNeverDrawsRandomNumbers) {
  CharacterState* c = OneCharacter(true);
  c->speedX = 37;
  c->speedY = -23;
  c->speedDepth = 9;
  c->appearanceRoll = 4;
  SeedRandom(&scene.randomState, 77);
  for (int i = 0; i < 500; ++i) MoveCharacters(&scene);
  EXPECT_EQ(c->appearanceRoll, 4);
  int32_t next = NextRandom(&scene.randomState);
  EXPECT_EQ(next, Draws(77, 1)[0]);
}

TEST_F(Motion, WrapsHorizontallyAndPlacesAnewInOrder) {
  CharacterState* c = OneCharacter(false);
  c->x = 638;
  c->speedX = 5;
  std::vector<int32_t> r = Draws(5, 2);
  SeedRandom(&scene.randomState, 5);
  MoveCharacters(&scene);
  EXPECT_EQ(c->x, -40);
  EXPECT_EQ(c->y, r[0] % 480);
  EXPECT_EQ(c->appearanceRoll, r[1] % 9);

  c->x = -38;
  c->speedX = -5;
  r = Draws(6, 2);
  SeedRandom(&scene.randomState, 6);
  MoveCharacters(&scene);
  EXPECT_EQ(c->x, 640);
  EXPECT_EQ(c->y, r[0] % 480);
  EXPECT_EQ(c->appearanceRoll, r[1] % 9);
}

TEST_F(Motion, WrapsVerticallyAndPlacesAnewInOrder) {
  CharacterState* c = OneCharacter(false);
  c->y = -29;
  c->speedY = -2;
  std::vector<int32_t> r = Draws(9, 2);
  SeedRandom(&scene.randomState, 9);
  MoveCharacters(&scene);
  EXPECT_EQ(c->y, 480);
  EXPECT_EQ(c->x, r[0] % 640);
  EXPECT_EQ(c->appearanceRoll, r[1] % 9);
}

TEST_F(Motion, DepthWrapPlacesAnewAndMayTurnTheSpeeds) {
  for (uint32_t seed = 1; seed < 40; ++seed) {
    CharacterState* c = OneCharacter(false);
    c->depth = 248;
    c->speedDepth = 3;
    c->speedX = 2;
    c->speedY = -3;
    std::vector<int32_t> r = Draws(seed, 5);
    SeedRandom(&scene.randomState, seed);
    MoveCharacters(&scene);
    ASSERT_EQ(c->depth, 0);
    // x moved first (102), then the placement overwrote it.
    EXPECT_EQ(c->x, r[0] % 640);
    EXPECT_EQ(c->y, r[1] % 480);
    EXPECT_EQ(c->appearanceRoll, r[2] % 9);
    EXPECT_EQ(c->speedX, (r[3] & 1) ? -2 : 2);
    EXPECT_EQ(c->speedY, (r[4] & 1) ? 3 : -3);
    EXPECT_EQ(c->speedDepth, 3);
  }
}

TEST_F(Motion, ShrinkingBelowZeroStartsAgainAtTwoHundredFifty) {
  CharacterState* c = OneCharacter(false);
  c->depth = 1;
  c->speedDepth = -2;
  MoveCharacters(&scene);
  EXPECT_EQ(c->depth, 250);
  EXPECT_EQ(c->speedDepth, -2);
}

TEST_F(Motion, FrameWiderThanTheScreenWithBounceEndsAtTheNegativeMaximum) {
  CharacterState* c = OneCharacter(true);
  c->minX = 0;
  c->maxX = 640 - 700;
  c->x = 0;
  c->speedX = -3;
  MoveCharacters(&scene);
  EXPECT_EQ(c->x, -60);
  EXPECT_EQ(c->speedX, -3);  // turned twice
}

TEST_F(Motion, SpeedZeroNeverLeavesButAWrapElsewhereMovesIt) {
  CharacterState* c = OneCharacter(false);
  c->x = 0;
  c->speedX = 0;
  c->y = 479;
  c->speedY = 4;
  for (int i = 0; i < 3; ++i) {
    int32_t before = c->x;
    SeedRandom(&scene.randomState, 100 + i);
    std::vector<int32_t> r = Draws(100 + i, 1);
    SeedRandom(&scene.randomState, 100 + i);
    MoveCharacters(&scene);
    if (c->y == -30) {
      EXPECT_EQ(c->x, r[0] % 640);
    } else {
      EXPECT_EQ(c->x, before);
    }
  }
  c->speedY = 0;
  c->y = 5;
  for (int i = 0; i < 100; ++i) MoveCharacters(&scene);
  EXPECT_EQ(c->y, 5);
}

TEST_F(Motion, ARemainderByZeroPlacesAtZero) {
  CharacterState* c = OneCharacter(false);
  c->maxY = 0;  // a frame as tall as the screen, bouncing vertically
  c->bounceY = 1;
  c->minY = 0;
  c->x = 639;
  c->speedX = 10;
  MoveCharacters(&scene);
  EXPECT_EQ(c->x, -40);
  EXPECT_EQ(c->y, 0);
}

TEST_F(Motion, ExtremeSpeedsWrapInsteadOfOverflowing) {
  CharacterState* c = OneCharacter(true);
  c->speedX = INT32_MIN;
  c->x = 5;
  MoveCharacters(&scene);
  EXPECT_EQ(c->x, 0);
  EXPECT_EQ(c->speedX, INT32_MIN);  // its negation wraps to itself
}

class Frames : public testing::Test {
 protected:
  std::vector<int> Sequence(int frames, int32_t step, bool pingPong, int ticks);
  SceneModel scene;
};

// Frame indexes after each of `ticks` frame-timer ticks.
std::vector<int> Frames::Sequence(int frames, int32_t step, bool pingPong, int ticks) {
  memset(&scene, 0, sizeof scene);
  scene.characterCount = 1;
  CharacterState* c = &scene.characters[0];
  c->frameCount = static_cast<int8_t>(frames);
  c->frameStep = step;
  c->pingPong = pingPong;
  std::vector<int> seen;
  for (int i = 0; i < ticks; ++i) {
    AdvanceFrames(&scene);
    seen.push_back(c->currentFrame);
  }
  return seen;
}

TEST_F(Frames, LoopAndPingPongSequences) {
  EXPECT_EQ(Sequence(4, 1, false, 6), (std::vector<int>{1, 2, 3, 0, 1, 2}));
  EXPECT_EQ(Sequence(3, -1, false, 4), (std::vector<int>{2, 1, 0, 2}));
  EXPECT_EQ(Sequence(3, 5, false, 3), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(Sequence(4, 2, false, 3), (std::vector<int>{2, 0, 2}));
  EXPECT_EQ(Sequence(4, 1, true, 8), (std::vector<int>{1, 2, 3, 2, 1, 0, 1, 2}));
  EXPECT_EQ(Sequence(2, 1, true, 5), (std::vector<int>{1, 0, 1, 0, 1}));
  // An overshoot turns at 1 and at frameCount - 2 without carrying over.
  EXPECT_EQ(Sequence(5, 3, true, 4), (std::vector<int>{3, 3, 0, 1}));
  EXPECT_EQ(Sequence(3, -1, true, 4), (std::vector<int>{1, 2, 1, 0}));
}

TEST_F(Frames, StepsWhoseLowByteIsZeroAndSingleFramesNeverChange) {
  EXPECT_EQ(Sequence(5, 0, false, 3), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(Sequence(5, 256, true, 3), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(Sequence(1, 1, false, 3), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(Sequence(0, 1, true, 3), (std::vector<int>{0, 0, 0}));
  // Only the low byte counts: 257 steps by 1, -255 steps by 1.
  EXPECT_EQ(Sequence(3, 257, false, 3), (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(Sequence(3, -255, false, 3), (std::vector<int>{1, 2, 0}));
}

TEST_F(Frames, PingPongFlipsTheWholeStep) {
  Sequence(3, 0x101, true, 2);  // 0 -> 1 -> 2
  AdvanceFrames(&scene);              // 3 >= 3: turns back to 1
  EXPECT_EQ(scene.characters[0].currentFrame, 1);
  EXPECT_EQ(scene.characters[0].frameStep, -0x101);
}

}  // namespace
