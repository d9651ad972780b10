// Any bytes as a settings file: lookups stay inside the text, and after a write the key reads
// back as written, wherever and however the file already held it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "profile_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  const char* value = nullptr;
  size_t length = 0;
  if (FindProfileValue(text.data(), text.size(), "Speed", "AX", &value, &length)) {
    if (value < text.data() || value + length > text.data() + text.size()) std::abort();
  }
  std::string changed = SetProfileValue(text, "Speed", "AX", "v123");
  if (!FindProfileValue(changed.data(), changed.size(), "speed", "ax", &value, &length)) std::abort();
  if (length != 4 || std::memcmp(value, "v123", 4) != 0) std::abort();
  return 0;
}
