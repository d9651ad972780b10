// morvane-version-resource OUTPUT VERSION ROOM PRODUCT LANGUAGE DESCRIPTION [LANGUAGE DESCRIPTION]...
// Writes a program's version resource for the resource compiler: VERSION as MAJOR.MINOR.PATCH,
// ROOM the UTF-16 units kept for each description (0: just its own text), LANGUAGE a language id
// in hexadecimal (0411, 0409), the texts in UTF-8.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "version_resource.h"

namespace {

// Strict UTF-8: the texts come from the build's own files.
bool FromUtf8(const char* text, std::u16string* out) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    uint32_t c = *p++;
    int more = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (more < 0) return false;
    if (more > 0) c &= 0x3F >> more;
    for (int i = 0; i < more; ++i, ++p) {
      if ((*p & 0xC0) != 0x80) return false;
      c = c << 6 | (*p & 0x3F);
    }
    if (c >= 0x10000) {
      out->push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out->push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out->push_back(static_cast<char16_t>(c));
    }
  }
  return true;
}

int Fail(const char* what) {
  std::fprintf(stderr, "morvane-version-resource: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7 || (argc - 5) % 2 != 0) {
    std::fprintf(stderr, "Usage: morvane-version-resource OUTPUT VERSION ROOM PRODUCT LANGUAGE DESCRIPTION...\n");
    return 2;
  }
  VersionResource resource = {};
  unsigned major = 0, minor = 0, patch = 0;
  char end = 0;
  if (std::sscanf(argv[2], "%u.%u.%u%c", &major, &minor, &patch, &end) != 3 || major > 0xFFFF || minor > 0xFFFF ||
      patch > 0xFFFF)
    return Fail("VERSION must be MAJOR.MINOR.PATCH");
  resource.numbers[0] = static_cast<uint16_t>(major);
  resource.numbers[1] = static_cast<uint16_t>(minor);
  resource.numbers[2] = static_cast<uint16_t>(patch);
  resource.descriptionRoom = std::strtoul(argv[3], nullptr, 10);
  if (!FromUtf8(argv[2], &resource.versionText) || !FromUtf8(argv[4], &resource.product))
    return Fail("texts must be UTF-8");
  for (int i = 5; i < argc; i += 2) {
    VersionStringTable table;
    table.language = static_cast<uint16_t>(std::strtoul(argv[i], nullptr, 16));
    if (!FromUtf8(argv[i + 1], &table.description)) return Fail("texts must be UTF-8");
    if (resource.descriptionRoom != 0 && table.description.size() + 1 > resource.descriptionRoom)
      return Fail("a description is longer than its room");
    resource.tables.push_back(table);
  }
  std::vector<uint8_t> bytes = WriteVersionResource(resource);
  FILE* out = std::fopen(argv[1], "wb");
  bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  if (out && std::fclose(out) != 0) written = false;
  if (!written) {
    std::remove(argv[1]);
    return Fail("cannot write the output");
  }
  return 0;
}
