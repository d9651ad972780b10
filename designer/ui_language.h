// The language of the designer's windows. The system picks the configuration dialog's language
// from the ones the program carries; every other text and window of the designer follows that
// pick (the host's dialogLanguage, LoadStringIn), so that a message or the user guide never
// comes in another language than the dialog. Resources are looked up with the ANSI calls, which both platform
// families implement (the 9x family's wide ones are stubs); names here are numbers or ASCII.
#pragma once
#include <windows.h>

#include "system_text.h"

// A resource in the dialog's language; the system's own choice when it has none in that
// language. Null when there is none at all.
const void* LockResourceIn(const SaverHost* host, LPCSTR type, LPCSTR name, DWORD* size);
