// Setting values are bytes in the code page of the system that wrote them (the ANSI code page on
// Windows); what needs them as UTF-16, such as a saver's description, widens them here.
#pragma once
#include <cstddef>
#include <cstdint>

// UTF-16 of text (length bytes) into out, which holds capacity units: at least length, since no
// code page gives more units than bytes. False, with *units 0, when the bytes are not text of
// this system's code page (on Linux: of the locale's character set).
bool WidenSettingText(const char* text, size_t length, uint16_t* out, size_t capacity, size_t* units);
