#include <gtest/gtest.h>

#include "walk_cases.h"

#include <cstdio>
#include <cstring>

namespace {

void Hear(WalkListener* listener, const WalkOutcome& outcome) {
  OutcomeRecorder* recorder = reinterpret_cast<OutcomeRecorder*>(listener);
  HeardOutcome heard = {outcome, outcome.named ? outcome.named : "", outcome.detail ? outcome.detail : ""};
  recorder->heard.push_back(heard);
}

}  // namespace

std::vector<ExpectedOutcome> WriteLeftOutScene(const ScratchFolder& folder, TableSettings* s) {
  const std::vector<uint8_t> picture = MakeBmp(6, 5, 24, 0, 0, 3);
  for (const char* name : {"a.bmp", "b1.bmp", "c1.bmp", "d1.bmp", "e.bmp", "f2.bmp", "g.bmp"})
    WriteFileBytes(folder.Path(name), picture);
  WriteFileBytes(folder.Path("text.bmp"), {'h', 'e', 'l', 'l', 'o'});
  std::vector<uint8_t> cut = picture;
  cut.resize(20);  // inside its info header
  WriteFileBytes(folder.Path("cut.bmp"), cut);
  WriteFileBytes(folder.Path("empty.wav"), {});
  s->Set("Initial", "Crear", "1");
  // A: a frame, then a mistyped name ends the run; after a gap, a name that was never part of it.
  s->Set("Character", "A0", "a.bmp");
  s->Set("Character", "A1", "bal2.bmp");
  s->Set("Character", "A2", "a.bmp");
  s->Set("Character", "A5", "a.bmp");
  // B: a first file that is no picture still makes the character; its second frame plays.
  s->Set("Character", "B0", "text.bmp");
  s->Set("Character", "B1", "b1.bmp");
  // C: a missing first frame leaves the character out, later frames and all.
  s->Set("Character", "C0", "gone.bmp");
  s->Set("Character", "C1", "c1.bmp");
  // D: a damaged first frame, then one that plays.
  s->Set("Character", "D0", "cut.bmp");
  s->Set("Character", "D1", "d1.bmp");
  // E: never shown.
  s->Set("Character", "E0", "e.bmp");
  s->Set("Character", "E1", "e.bmp");
  s->Set("Visible", "EA", "0");
  // F: no first frame.
  s->Set("Character", "F2", "f2.bmp");
  // G: plays whole, after all that.
  s->Set("Character", "G0", "g.bmp");
  s->Set("Speed", "GX", "-9");
  s->Set("BackGround", "BmpOpt1", "1");
  s->Set("BackGround", "Bmp", "no-wall.bmp");
  s->Set("BackGround", "SoundOpt", "1");
  s->Set("BackGround", "Sound", "empty.wav");
  return {
      {WalkFrame, 0, 1, "bal2.bmp", LeftMissing, 0},     {WalkFrame, 0, 2, "a.bmp", LeftAfterEndedRun, 1},
      {WalkFrame, 0, 5, "a.bmp", LeftAfterEmptySlot, 3}, {WalkFrame, 1, 0, "text.bmp", LeftNotTaken, 0},
      {WalkFrame, 2, 0, "gone.bmp", LeftMissing, 0},     {WalkFrame, 2, 1, "c1.bmp", LeftAfterEndedRun, 0},
      {WalkFrame, 3, 0, "cut.bmp", LeftDamaged, 0},      {WalkFrame, 4, 0, "e.bmp", LeftNeverShown, 0},
      {WalkFrame, 4, 1, "e.bmp", LeftNeverShown, 0},     {WalkFrame, 5, 2, "f2.bmp", LeftAfterEmptySlot, 0},
      {WalkWallpaper, 0, 0, "no-wall.bmp", LeftMissing, 0}, {WalkSound, 0, 0, "empty.wav", LeftNotTaken, 0},
  };
}

OutcomeRecorder MakeOutcomeRecorder() {
  OutcomeRecorder recorder;
  recorder.base.heard = Hear;
  return recorder;
}

std::vector<std::string> OutcomeLines(const char* program, const std::vector<HeardOutcome>& heard) {
  std::vector<std::string> lines;
  for (HeardOutcome h : heard) {
    h.outcome.named = h.named.c_str();
    h.outcome.detail = h.detail.empty() ? nullptr : h.detail.c_str();
    char buffer[1024] = {};
    std::FILE* out = fmemopen(buffer, sizeof buffer - 1, "w");
    PrintWalkOutcome(out, program, h.outcome);
    std::fclose(out);
    lines.push_back(buffer);
  }
  return lines;
}

testing::AssertionResult SameOutcomes(const std::vector<HeardOutcome>& heard,
                                      const std::vector<ExpectedOutcome>& expected) {
  for (size_t i = 0; i < heard.size() || i < expected.size(); ++i) {
    if (i >= heard.size()) return testing::AssertionFailure() << "outcome " << i << " (" << expected[i].named << ") not heard";
    const WalkOutcome& o = heard[i].outcome;
    if (i >= expected.size()) return testing::AssertionFailure() << "unexpected outcome " << i << ": " << heard[i].named;
    const ExpectedOutcome& e = expected[i];
    const bool frameAlike = e.subject != WalkFrame || (o.character == e.character && o.slot == e.slot);
    if (o.subject != e.subject || !frameAlike || heard[i].named != e.named || o.reason != e.reason ||
        o.number != e.number)
      return testing::AssertionFailure() << "outcome " << i << ": heard " << heard[i].named << " reason " << o.reason
                                         << " number " << o.number << " at " << o.character << "/" << o.slot
                                         << ", expected " << e.named << " reason " << e.reason << " number "
                                         << e.number << " at " << e.character << "/" << e.slot;
  }
  return testing::AssertionSuccess();
}
