#include "profile_text.h"

#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

void Trim(const char* text, size_t* begin, size_t* end) {
  while (*begin < *end && IsBlank(text[*begin])) ++*begin;
  while (*end > *begin && IsBlank(text[*end - 1])) --*end;
}

// Where a value written into this text ends its line: the text's own habit, else CR LF.
const char* LineBreakOf(const std::string& text) {
  size_t lf = text.find('\n');
  if (lf == std::string::npos || (lf > 0 && text[lf - 1] == '\r')) return "\r\n";
  return "\n";
}

size_t ValueLength(const char* value) {
  size_t length = 0;
  while (value[length] != '\0' && value[length] != '\r' && value[length] != '\n') ++length;
  return length;
}

}  // namespace

bool ProfileNameEquals(const char* a, size_t aLength, const char* b, size_t bLength) {
  if (aLength != bLength) return false;
  for (size_t i = 0; i < aLength; ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool IsValidProfileName(const char* name, char forbidden) {
  if (!name || !*name) return false;
  for (const char* p = name; *p; ++p)
    if (*p == '\r' || *p == '\n' || *p == forbidden) return false;
  return true;
}

bool ProfileScanner::Next(ProfileLine* line) {
  if (pos_ >= size_) return false;
  const char* text = text_;
  line->begin = pos_;
  const void* lf = std::memchr(text + pos_, '\n', size_ - pos_);
  size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - text) : size_;
  line->next = lf ? end + 1 : size_;
  if (end > pos_ && text[end - 1] == '\r') --end;
  line->end = end;
  pos_ = line->next;

  line->kind = ProfileLine::Other;
  line->entry = ProfileEntry();
  size_t begin = line->begin;
  size_t stop = end;
  Trim(text, &begin, &stop);
  if (begin == stop || text[begin] == ';') return true;

  if (text[begin] == '[') {
    const void* close = std::memchr(text + begin + 1, ']', stop - begin - 1);
    size_t nameEnd = close ? static_cast<size_t>(static_cast<const char*>(close) - text) : stop;
    size_t nameBegin = begin + 1;
    Trim(text, &nameBegin, &nameEnd);
    section_ = text + nameBegin;
    sectionLength_ = nameEnd - nameBegin;
    line->kind = ProfileLine::Section;
    line->entry.section = section_;
    line->entry.sectionLength = sectionLength_;
    return true;
  }

  const void* equals = std::memchr(text + begin, '=', stop - begin);
  if (!section_ || !equals) return true;
  line->kind = ProfileLine::Key;
  line->equals = static_cast<size_t>(static_cast<const char*>(equals) - text);
  size_t keyBegin = begin, keyEnd = line->equals;
  size_t valueBegin = line->equals + 1, valueEnd = stop;
  Trim(text, &keyBegin, &keyEnd);
  Trim(text, &valueBegin, &valueEnd);
  if (valueEnd - valueBegin >= 2 && (text[valueBegin] == '"' || text[valueBegin] == '\'') &&
      text[valueEnd - 1] == text[valueBegin]) {
    ++valueBegin;
    --valueEnd;
  }
  line->entry.section = section_;
  line->entry.sectionLength = sectionLength_;
  line->entry.key = text + keyBegin;
  line->entry.keyLength = keyEnd - keyBegin;
  line->entry.value = text + valueBegin;
  line->entry.valueLength = valueEnd - valueBegin;
  return true;
}

bool FindProfileValue(const char* text, size_t size, const char* section, const char* key, const char** value,
                      size_t* valueLength) {
  size_t sectionLength = std::strlen(section);
  size_t keyLength = std::strlen(key);
  ProfileScanner scanner(text, size);
  ProfileLine line;
  while (scanner.Next(&line)) {
    if (line.kind != ProfileLine::Key) continue;
    if (ProfileNameEquals(line.entry.section, line.entry.sectionLength, section, sectionLength) &&
        ProfileNameEquals(line.entry.key, line.entry.keyLength, key, keyLength)) {
      *value = line.entry.value;
      *valueLength = line.entry.valueLength;
      return true;
    }
  }
  return false;
}

std::string SetProfileValue(const std::string& text, const char* section, const char* key, const char* value) {
  size_t sectionLength = std::strlen(section);
  size_t keyLength = std::strlen(key);
  std::string newValue(value, ValueLength(value));
  const char* lineBreak = LineBreakOf(text);

  // The end of the last non-blank line of the first matching section: where a new key goes.
  bool inSection = false;
  bool sectionSeen = false;
  size_t insertAt = 0;
  ProfileScanner scanner(text.data(), text.size());
  ProfileLine line;
  while (scanner.Next(&line)) {
    if (line.kind == ProfileLine::Section) {
      bool matches = ProfileNameEquals(line.entry.section, line.entry.sectionLength, section, sectionLength);
      if (inSection && !matches) break;
      inSection = matches;
      if (matches && !sectionSeen) {
        sectionSeen = true;
        insertAt = line.next;
      }
      continue;
    }
    if (!inSection) continue;
    if (line.kind == ProfileLine::Key && ProfileNameEquals(line.entry.key, line.entry.keyLength, key, keyLength)) {
      std::string changed = text;
      changed.replace(line.equals + 1, line.end - line.equals - 1, newValue);
      return changed;
    }
    size_t begin = line.begin, end = line.end;
    Trim(text.data(), &begin, &end);
    if (begin != end) insertAt = line.next;
  }

  std::string changed = text;
  std::string addition;
  if (sectionSeen) {
    // A section on the last line without a line break needs one before its first key.
    if (insertAt == text.size() && !text.empty() && text.back() != '\n') addition += lineBreak;
    addition += std::string(key) + "=" + newValue + lineBreak;
    changed.insert(insertAt, addition);
    return changed;
  }
  if (!text.empty() && text.back() != '\n') addition += lineBreak;
  addition += "[" + std::string(section) + "]" + lineBreak + key + "=" + newValue + lineBreak;
  return changed + addition;
}
