// The fixed sizes of a scene, the same in the settings, the package and the engine's model: up to
// twenty characters (letters "A" to "T") of up to ten frames (slots "0" to "9") each, and setting
// texts of up to 259 bytes.
#pragma once
#include <cstddef>

const int kCharacterCount = 20;
const int kFrameSlotCount = 10;

const size_t kSettingBufferSize = 260;
const size_t kMaxSettingLength = kSettingBufferSize - 1;
