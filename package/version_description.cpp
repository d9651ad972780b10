// Finds the version resource through the image's own headers (DOS header, PE header, section
// table, resource directory) and sets the description in place. Every offset and length comes
// from the image, so each is checked against its size before it is used.
#include "byte_order.h"
#include "version_resource.h"

namespace {

const uint16_t kVersionType = 16;
const uint32_t kSubdirectory = 0x80000000u;

struct Bytes {
  uint8_t* data;
  size_t size;

  bool Holds(size_t offset, size_t length) const { return offset <= size && length <= size - offset; }
};

struct Sections {
  size_t table;  // file offset of the section table
  uint16_t count;
};

// The file offset of length bytes at a relative virtual address, within one section's raw data.
bool FileOffset(const Bytes& image, const Sections& sections, uint32_t rva, uint32_t length, size_t* offset) {
  for (uint16_t i = 0; i < sections.count; ++i) {
    const uint8_t* section = image.data + sections.table + 40 * i;
    uint32_t address = ReadU32LE(section + 12), rawSize = ReadU32LE(section + 16), raw = ReadU32LE(section + 20);
    if (rva < address || rva - address >= rawSize) continue;
    uint32_t into = rva - address;
    if (length > rawSize - into || !image.Holds(static_cast<size_t>(raw) + into, length)) return false;
    *offset = static_cast<size_t>(raw) + into;
    return true;
  }
  return false;
}

bool ReadSections(const Bytes& image, uint32_t* resourceRva, uint32_t* resourceSize, Sections* sections) {
  if (!image.Holds(0, 64) || image.data[0] != 'M' || image.data[1] != 'Z') return false;
  const size_t pe = ReadU32LE(image.data + 0x3C);
  if (!image.Holds(pe, 24) || ReadU32LE(image.data + pe) != 0x00004550u) return false;
  const uint16_t count = ReadU16LE(image.data + pe + 6);
  const uint16_t optionalSize = ReadU16LE(image.data + pe + 20);
  const size_t optional = pe + 24;
  if (!image.Holds(optional, optionalSize) || optionalSize < 2) return false;
  const uint16_t magic = ReadU16LE(image.data + optional);
  // The data directories follow the fields whose width differs between 32 and 64 bits.
  const size_t directories = magic == 0x10B ? 96 : magic == 0x20B ? 112 : 0;
  if (directories == 0 || optionalSize < directories + 3 * 8) return false;
  if (ReadU32LE(image.data + optional + directories - 4) < 3) return false;  // NumberOfRvaAndSizes
  *resourceRva = ReadU32LE(image.data + optional + directories + 2 * 8);
  *resourceSize = ReadU32LE(image.data + optional + directories + 2 * 8 + 4);
  sections->table = optional + optionalSize;
  sections->count = count;
  return image.Holds(sections->table, 40u * count);
}

// One level of the resource directory: the entry with the given id (or the first entry when
// id is 0), as an offset into the directory.
bool DirectoryEntry(const Bytes& directory, size_t level, uint16_t id, uint32_t* target) {
  if (!directory.Holds(level, 16)) return false;
  const uint16_t named = ReadU16LE(directory.data + level + 12), numbered = ReadU16LE(directory.data + level + 14);
  const size_t count = static_cast<size_t>(named) + numbered;
  if (!directory.Holds(level + 16, 8 * count)) return false;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = directory.data + level + 16 + 8 * i;
    if (id != 0 && ReadU32LE(entry) != id) continue;
    *target = ReadU32LE(entry + 4);
    return true;
  }
  return false;
}

// A block of the version resource, offsets from the resource's start.
struct Block {
  size_t start, end, value, children;
  const uint8_t* key;
  size_t keyUnits;
};

size_t Align4(size_t offset) { return (offset + 3) & ~static_cast<size_t>(3); }

bool ReadBlock(const Bytes& resource, size_t start, size_t limit, Block* block) {
  if (start > limit || limit - start < 6) return false;
  const uint16_t length = ReadU16LE(resource.data + start), valueLength = ReadU16LE(resource.data + start + 2);
  const uint16_t type = ReadU16LE(resource.data + start + 4);
  if (length < 6 || length > limit - start) return false;
  block->start = start;
  block->end = start + length;
  block->key = resource.data + start + 6;
  size_t at = start + 6;
  while (at + 2 <= block->end && ReadU16LE(resource.data + at) != 0) at += 2;
  if (at + 2 > block->end) return false;
  block->keyUnits = (at - start - 6) / 2;
  block->value = Align4(at + 2);
  const size_t valueBytes = type == 1 ? 2u * valueLength : valueLength;
  if (block->value > block->end || valueBytes > block->end - block->value) return false;
  block->children = Align4(block->value + valueBytes);
  return true;
}

bool KeyIs(const Block& block, const char* key) {
  size_t i = 0;
  for (; key[i] != '\0'; ++i)
    if (i >= block.keyUnits || ReadU16LE(block.key + 2 * i) != static_cast<uint8_t>(key[i])) return false;
  return i == block.keyUnits;
}

void WriteDescription(const Bytes& resource, const Block& value, const uint16_t* text, size_t length) {
  const size_t room = (value.end - value.value) / 2;
  size_t units = length < room ? length : room - 1;
  // Never half a character: a surrogate pair goes whole or not at all.
  if (units > 0 && units < length && text[units - 1] >= 0xD800 && text[units - 1] <= 0xDBFF) --units;
  // The value keeps its length, the whole room: the text ends at its terminator.
  for (size_t i = 0; i < room; ++i) WriteU16LE(resource.data + value.value + 2 * i, i < units ? text[i] : 0);
}

// Every "FileDescription" under "StringFileInfo"; how many were set.
int SetInResource(const Bytes& resource, const uint16_t* text, size_t length) {
  Block root;
  if (!ReadBlock(resource, 0, resource.size, &root) || !KeyIs(root, "VS_VERSION_INFO")) return 0;
  int set = 0;
  Block info;
  for (size_t at = root.children; ReadBlock(resource, at, root.end, &info); at = Align4(info.end)) {
    if (!KeyIs(info, "StringFileInfo")) continue;
    Block table;
    for (size_t t = info.children; ReadBlock(resource, t, info.end, &table); t = Align4(table.end)) {
      Block value;
      for (size_t v = table.children; ReadBlock(resource, v, table.end, &value); v = Align4(value.end)) {
        if (!KeyIs(value, "FileDescription") || value.end - value.value < 2) continue;
        WriteDescription(resource, value, text, length);
        ++set;
      }
    }
  }
  return set;
}

}  // namespace

bool SetVersionDescription(uint8_t* data, size_t size, const uint16_t* text, size_t length) {
  const Bytes image = {data, size};
  uint32_t resourceRva = 0, resourceSize = 0;
  Sections sections;
  size_t base = 0;
  if (!ReadSections(image, &resourceRva, &resourceSize, &sections) || resourceSize == 0 ||
      !FileOffset(image, sections, resourceRva, resourceSize, &base))
    return false;
  const Bytes directory = {data + base, resourceSize};

  // Type 16, then its first name (id 1), then every language of it.
  uint32_t names = 0;
  if (!DirectoryEntry(directory, 0, kVersionType, &names) || !(names & kSubdirectory)) return false;
  uint32_t languages = 0;
  if (!DirectoryEntry(directory, names & ~kSubdirectory, 0, &languages) || !(languages & kSubdirectory)) return false;
  const size_t level = languages & ~kSubdirectory;
  if (!directory.Holds(level, 16)) return false;
  const size_t count = static_cast<size_t>(ReadU16LE(directory.data + level + 12)) + ReadU16LE(directory.data + level + 14);
  if (!directory.Holds(level + 16, 8 * count)) return false;
  int set = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t leaf = ReadU32LE(directory.data + level + 16 + 8 * i + 4);
    if ((leaf & kSubdirectory) || !directory.Holds(leaf, 16)) continue;
    size_t offset = 0;
    const uint32_t rva = ReadU32LE(directory.data + leaf), bytes = ReadU32LE(directory.data + leaf + 4);
    if (!FileOffset(image, sections, rva, bytes, &offset)) continue;
    set += SetInResource(Bytes{data + offset, bytes}, text, length);
  }
  return set > 0;
}
