// The Module page's name fix-up: the output name in lower case, with ".scr" added when the
// name holds no ".scr" anywhere.
#pragma once
#include <cstddef>

// Whether a byte starts a double-byte character in the system's code page.
typedef bool (*LeadBytePredicate)(unsigned char byte);

// Lower-cases "A" to "Z" in place, except the second byte of a double-byte character, which
// would otherwise turn into another character; then appends ".scr" when ".scr" occurs nowhere
// in the result. `name` is a buffer of `size` bytes; the text never grows past size - 1 bytes.
// Returns whether anything was appended.
bool FixUpModuleName(char* name, size_t size, LeadBytePredicate isLeadByte);
