// Any bytes as a settings file: lookups stay inside the text, the snapshot finds what the scan
// finds, and after a write the key reads back as written, wherever and however the file already
// held it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "profile_snapshot_store.h"
#include "profile_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  const char* value = nullptr;
  size_t length = 0;
  if (FindProfileValue(text.data(), text.size(), "Speed", "AX", &value, &length)) {
    if (value < text.data() || value + length > text.data() + text.size()) std::abort();
  }
  static ProfileSnapshotStore snapshot;  // its tables kept from run to run
  snapshot.LoadText(text);
  char read[kSettingBufferSize];
  const size_t readLength = snapshot.readText(&snapshot, "speed", "AX", nullptr, read);
  if (value ? readLength != std::min<size_t>(length, kMaxSettingLength) || std::memcmp(read, value, readLength) != 0
            : readLength != 0)
    std::abort();
  std::string changed = SetProfileValue(text, "Speed", "AX", "v123");
  if (!FindProfileValue(changed.data(), changed.size(), "speed", "ax", &value, &length)) std::abort();
  if (length != 4 || std::memcmp(value, "v123", 4) != 0) std::abort();
  return 0;
}
