// One scene that leaves files out in every way a scene can, and what the walk must say of each:
// the table every tool's tests hold their own reports against, so that the builder, the
// designer's message, the players and morvane-pack cannot drift apart.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "build_test_support.h"
#include "walk_outcome.h"

struct ExpectedOutcome {
  WalkSubject subject;
  int character, slot;
  std::string named;
  WalkReason reason;
  uint32_t number;
};

// Writes the scene's files into the folder and its settings into the store, relative names
// throughout; returns the outcomes in the order the walk hears them.
std::vector<ExpectedOutcome> WriteLeftOutScene(const ScratchFolder& folder, TableSettings* settings);

// What a walk told a listener, kept with copies of its texts.
struct HeardOutcome {
  WalkOutcome outcome;
  std::string named, detail;
};

struct OutcomeRecorder {
  WalkListener base;
  std::vector<HeardOutcome> heard;
};
OutcomeRecorder MakeOutcomeRecorder();

// The line a tool prints for each heard outcome, as PrintWalkOutcome words it.
std::vector<std::string> OutcomeLines(const char* program, const std::vector<HeardOutcome>& heard);

// Whether the heard outcomes are the expected ones, in order; a message says where not.
testing::AssertionResult SameOutcomes(const std::vector<HeardOutcome>& heard,
                                      const std::vector<ExpectedOutcome>& expected);
