// The user guide built into the designer: one text per language, kept as a resource, read
// here. A line "# Title" starts a topic; a line "@token ..." marks the paragraph after it, so
// that help for a control (its context number as the token) or for a page ("background") can
// open the guide at the right place; every other line is a paragraph, shown as it stands.
#pragma once
#include <cstddef>

struct GuideTopic {
  const char* title;
  size_t titleSize;
  const char* body;  // from the line after the title up to the next title, marks included
  size_t bodySize;
};

// The topics in order; returns how many there are (at most capacity are filled in).
size_t ListGuideTopics(const char* text, size_t size, GuideTopic* topics, size_t capacity);

// The body as the guide shows it: marks left out, each line ended by "\r\n". Writes at most
// capacity - 1 bytes and a terminator; returns the length written.
size_t ShownGuideBody(const GuideTopic& topic, char* out, size_t capacity);

// The topic whose body marks a paragraph with token, and where that paragraph starts in the
// shown body. False when no paragraph carries the token.
bool FindGuideMark(const GuideTopic* topics, size_t count, const char* token, size_t* topic, size_t* shownOffset);
