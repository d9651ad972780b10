// The Create button's build: the package builder with the session's settings, relative names
// resolved against its folder, and the player image that the designer carries at the end of its
// own file.
#pragma once
#include <cstdint>

#include "package_builder.h"

struct DesignerSession;

// status is "0" before the call and "1" after any failure; listener (may be null) hears of every
// file the build left out or noted, and why.
void BuildFromDesignerSettings(DesignerSession* session, const char* outputPath, char* status, WalkListener* listener);

// The size in bytes of the saver Create would write now, found without writing it.
uint64_t MeasureDesignerSaver(DesignerSession* session);
