// The version resource (VS_VERSIONINFO) of the Windows programs: what the system's file
// properties show as product, version and description. tools/version-resource writes it at build
// time; every packaged saver gets the scene's first comment line as its description, set in the
// copy of the player image before that is written. No Windows headers: the Linux morvane-pack
// sets the description too.
//
// The layout is the system's: blocks of (length, value length, type, UTF-16 key, value,
// children), each on a four-byte boundary from the start of the resource. Ours adds one thing:
// the "FileDescription" value of every string table may be given room beyond its text, zeros
// after its terminator that the value's length covers, so that a longer description is later set
// in place without moving anything else in the program.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct VersionStringTable {
  uint16_t language;  // 0x0411 Japanese, 0x0409 English (United States); code page 1200 (UTF-16)
  std::u16string description;
};

struct VersionResource {
  uint16_t numbers[4];          // major, minor, patch, build
  std::u16string versionText;   // "1.0.0"
  std::u16string product;
  std::vector<VersionStringTable> tables;
  size_t descriptionRoom;       // UTF-16 units kept for a description, its terminator included
};

// The resource's bytes as a resource compiler takes them for resource type 16.
std::vector<uint8_t> WriteVersionResource(const VersionResource& resource);

// The description in the version resource of a program image (a Windows executable held in
// memory), in every string table, cut to the room that the resource keeps for it. Every offset
// is checked against the image: an image without a version resource of this layout, or a damaged
// one, is left as it was and the answer is false.
bool SetVersionDescription(uint8_t* image, size_t size, const uint16_t* text, size_t length);
