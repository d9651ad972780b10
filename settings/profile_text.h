// The text of a profile file ("[Section]" lines, then "key=value" lines), read and changed the
// way the Windows profile service does it for every case the programs rely on. Lines that are
// not a section or a key (comments, blank lines, anything else) are kept but never matched.
#pragma once
#include <cstddef>
#include <string>

struct ProfileEntry {
  const char* section;  // name between the brackets, trimmed; not terminated
  size_t sectionLength;
  const char* key;  // trimmed; not terminated
  size_t keyLength;
  const char* value;  // trimmed, one pair of matching quotes removed; not terminated
  size_t valueLength;
};

// One line of the text, as the scanner found it.
struct ProfileLine {
  enum Kind { Other, Section, Key } kind;
  size_t begin;  // first byte of the line
  size_t end;    // end of its content, before any "\r\n" or "\n"
  size_t next;   // first byte of the following line
  size_t equals; // position of "=" in a key line
  ProfileEntry entry;  // section (for Section and Key lines), key and value (Key lines)
};

// Walks the lines of a text in order, remembering the section each key belongs to.
class ProfileScanner {
 public:
  ProfileScanner(const char* text, size_t size) : text_(text), size_(size) {}
  bool Next(ProfileLine* line);

 private:
  const char* text_;
  size_t size_;
  size_t pos_ = 0;
  const char* section_ = nullptr;
  size_t sectionLength_ = 0;
};

// True and the value when the first key line matching section and key (without regard to the
// case of ASCII letters) exists.
bool FindProfileValue(const char* text, size_t size, const char* section, const char* key, const char** value,
                      size_t* valueLength);

// The text with section/key set to value: the first matching line is changed after its "=",
// or the key is added at the end of the first matching section, or the section is added at the
// end. Every other byte of the text stays as it was. A value stops at a line break.
std::string SetProfileValue(const std::string& text, const char* section, const char* key, const char* value);

// Names that the format can hold: not empty, no line break, no "]" in a section, no "=" in a key.
bool IsValidProfileName(const char* name, char forbidden);

bool ProfileNameEquals(const char* a, size_t aLength, const char* b, size_t bLength);
