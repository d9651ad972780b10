#include "user_guide.h"

#include <cstring>

namespace {

// One line of the text: its bytes without the line end, and where the next line starts.
struct Line {
  const char* text;
  size_t size;
  const char* next;
};

Line LineAt(const char* at, const char* end) {
  const char* stop = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
  const char* next = stop ? stop + 1 : end;
  if (!stop) stop = end;
  if (stop > at && stop[-1] == '\r') --stop;
  return {at, static_cast<size_t>(stop - at), next};
}

bool IsTitle(const Line& line) { return line.size >= 2 && line.text[0] == '#' && line.text[1] == ' '; }
bool IsMark(const Line& line) { return line.size >= 1 && line.text[0] == '@'; }

bool MarkHolds(const Line& line, const char* token) {
  size_t length = std::strlen(token);
  const char* end = line.text + line.size;
  for (const char* at = line.text + 1; at < end;) {
    while (at < end && (*at == ' ' || *at == '\t')) ++at;
    const char* start = at;
    while (at < end && *at != ' ' && *at != '\t') ++at;
    if (static_cast<size_t>(at - start) == length && length > 0 && std::memcmp(start, token, length) == 0) return true;
  }
  return false;
}

}  // namespace

size_t ListGuideTopics(const char* text, size_t size, GuideTopic* topics, size_t capacity) {
  const char* end = text + size;
  size_t count = 0;
  GuideTopic* open = nullptr;
  for (const char* at = text; at < end;) {
    Line line = LineAt(at, end);
    if (IsTitle(line)) {
      if (open) open->bodySize = static_cast<size_t>(line.text - open->body);
      open = nullptr;
      if (count < capacity) {
        open = &topics[count];
        *open = {line.text + 2, line.size - 2, line.next, 0};
      }
      ++count;
    }
    at = line.next;
  }
  if (open) open->bodySize = static_cast<size_t>(end - open->body);
  return count;
}

size_t ShownGuideBody(const GuideTopic& topic, char* out, size_t capacity) {
  if (capacity == 0) return 0;
  size_t length = 0;
  const char* end = topic.body + topic.bodySize;
  for (const char* at = topic.body; at < end;) {
    Line line = LineAt(at, end);
    at = line.next;
    if (IsMark(line)) continue;
    // A line is shown whole or not at all.
    if (length + line.size + 2 > capacity - 1) break;
    std::memcpy(out + length, line.text, line.size);
    length += line.size;
    out[length++] = '\r';
    out[length++] = '\n';
  }
  out[length] = '\0';
  return length;
}

bool FindGuideMark(const GuideTopic* topics, size_t count, const char* token, size_t* topic, size_t* shownOffset) {
  for (size_t t = 0; t < count; ++t) {
    size_t shown = 0;
    const char* end = topics[t].body + topics[t].bodySize;
    for (const char* at = topics[t].body; at < end;) {
      Line line = LineAt(at, end);
      at = line.next;
      if (!IsMark(line)) {
        shown += line.size + 2;
      } else if (MarkHolds(line, token)) {
        *topic = t;
        *shownOffset = shown;
        return true;
      }
    }
  }
  return false;
}
