// Writing an output file so that an existing one is never left half-written: the bytes go to a
// new file beside it, which then takes its name in one step.
#pragma once
#include <string>

// A name beside `path` for the new bytes.
std::string TemporaryNameFor(const std::string& path);
// Moves the finished temporary file over `path`; on failure removes it. False with a message.
bool ReplaceWith(const std::string& temporary, const std::string& path, std::string* problem);
