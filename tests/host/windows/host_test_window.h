// In-process test harness for the saver host: a recording SaverProcedure and saver windows made
// with the host's own window procedure, driven by sending messages to them.
#pragma once
#include <windows.h>

#include <vector>

#include "saver_host.h"

// Every message that reached SaverProcedure, in order.
extern std::vector<UINT> reachedSaver;

bool Reached(UINT message);

// Puts every piece of host state back to its start value.
void ResetHostState();

// A saver window as RunSaver makes it, full screen style (but small) or as a preview child.
HWND MakeSaverWindow(HWND previewParent = nullptr);

// Removes every queued WM_CLOSE of the window; returns how many there were.
int TakeQueuedCloses(HWND window);

// Removes every queued WM_TIMER of the window; returns how many there were.
int TakeQueuedTimers(HWND window);

// Destroys the window if it still exists and drops the quit message that destruction posts.
void DestroySaverWindow(HWND window);
