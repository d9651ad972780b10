// In-process test harness for the saver host: a recording SaverProcedure and saver windows made
// with the host's own window procedure, driven by sending messages to them.
#pragma once
#include <windows.h>

#include <vector>

#include "saver_host.h"

// A host of the test's own, and every message that reached its SaverProcedure, in order.
struct TestSaver {
  SaverHost host;
  std::vector<UINT> reached;
};

// A host of this program on the NT family: nothing running, nothing reached.
void OpenTestSaver(TestSaver* saver);
// The test saver whose host made the window.
TestSaver* TestSaverOf(HWND window);

bool Reached(const TestSaver& saver, UINT message);

// A saver window as RunSaver makes it, full screen style (but small) or as a preview child.
HWND MakeSaverWindow(TestSaver* saver, HWND previewParent = nullptr);

// Removes every queued WM_CLOSE of the window; returns how many there were.
int TakeQueuedCloses(HWND window);

// Removes every queued WM_TIMER of the window; returns how many there were.
int TakeQueuedTimers(HWND window);

// Destroys the window if it still exists and drops the quit message that destruction posts.
void DestroySaverWindow(HWND window);
