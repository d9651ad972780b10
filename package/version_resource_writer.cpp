#include <cstdio>

#include "byte_order.h"
#include "version_resource.h"

namespace {

const uint16_t kBinaryValue = 0, kTextValue = 1;
const uint32_t kFixedInfoSignature = 0xFEEF04BD;
const uint32_t kWindowsNt32 = 0x00040004;  // VOS_NT_WINDOWS32
const uint32_t kApplication = 1;           // VFT_APP

class BlockWriter {
 public:
  explicit BlockWriter(std::vector<uint8_t>* out) : out_(*out) {}

  // A block's header and key; its length is filled in by End.
  size_t Begin(const char16_t* key, uint16_t valueLength, uint16_t type) {
    Align();
    size_t start = out_.size();
    Word(0);
    Word(valueLength);
    Word(type);
    Text(key);
    Align();
    return start;
  }

  void End(size_t start) { WriteU16LE(&out_[start], static_cast<uint16_t>(out_.size() - start)); }

  void Word(uint16_t value) {
    out_.push_back(static_cast<uint8_t>(value));
    out_.push_back(static_cast<uint8_t>(value >> 8));
  }

  void Dword(uint32_t value) {
    Word(static_cast<uint16_t>(value));
    Word(static_cast<uint16_t>(value >> 16));
  }

  // With its terminator.
  void Text(const std::u16string& text) {
    for (char16_t unit : text) Word(unit);
    Word(0);
  }

  void Align() {
    while (out_.size() % 4) out_.push_back(0);
  }

  // A text value of room units (at least its own, terminator included); those beyond the text
  // stay zero.
  void String(const char16_t* key, const std::u16string& value, size_t room) {
    if (room < value.size() + 1) room = value.size() + 1;
    size_t start = Begin(key, static_cast<uint16_t>(room), kTextValue);
    Text(value);
    for (size_t unit = value.size() + 1; unit < room; ++unit) Word(0);
    End(start);
  }

 private:
  std::vector<uint8_t>& out_;
};

std::u16string TableKey(uint16_t language) {
  char key[9];
  std::snprintf(key, sizeof key, "%04X04B0", language);
  return std::u16string(key, key + 8);
}

}  // namespace

std::vector<uint8_t> WriteVersionResource(const VersionResource& resource) {
  std::vector<uint8_t> out;
  BlockWriter writer(&out);
  const size_t root = writer.Begin(u"VS_VERSION_INFO", 52, kBinaryValue);
  const uint32_t high = static_cast<uint32_t>(resource.numbers[0]) << 16 | resource.numbers[1];
  const uint32_t low = static_cast<uint32_t>(resource.numbers[2]) << 16 | resource.numbers[3];
  for (uint32_t field : {kFixedInfoSignature, 0x00010000u, high, low, high, low, 0x3Fu, 0u, kWindowsNt32,
                         kApplication, 0u, 0u, 0u})
    writer.Dword(field);

  const size_t strings = writer.Begin(u"StringFileInfo", 0, kTextValue);
  for (const VersionStringTable& table : resource.tables) {
    const size_t start = writer.Begin(TableKey(table.language).c_str(), 0, kTextValue);
    writer.String(u"ProductName", resource.product, 0);
    writer.String(u"FileDescription", table.description, resource.descriptionRoom);
    writer.String(u"FileVersion", resource.versionText, 0);
    writer.String(u"ProductVersion", resource.versionText, 0);
    writer.End(start);
  }
  writer.End(strings);

  const size_t variables = writer.Begin(u"VarFileInfo", 0, kTextValue);
  const size_t translation =
      writer.Begin(u"Translation", static_cast<uint16_t>(4 * resource.tables.size()), kBinaryValue);
  for (const VersionStringTable& table : resource.tables) writer.Dword(table.language | 1200u << 16);
  writer.End(translation);
  writer.End(variables);
  writer.End(root);
  return out;
}
