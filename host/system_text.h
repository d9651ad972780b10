// The calls that show the programs' fixed texts (dialogs, controls, message boxes, strings).
// The NT family takes the wide calls, which keep the resources' texts whatever the code page.
// On the 9x family the wide calls are stubs that fail, so there the ANSI calls are taken, with
// the texts converted to the ANSI code page: what an ANSI program of that system shows. Which
// family it is, is decided at start-up and kept by the host (SaverHost::win9x). Data bytes
// (settings, paths, comment lines) stay in the ANSI code page on both.
#pragma once
#include <windows.h>

struct SaverHost;

// The language of dialog 2003 of the module as the system chooses it for this user, which the
// host keeps as its dialogLanguage. Every other text follows that pick, so that a message never
// comes in another language than the dialog.
LANGID FindDialogLanguage(HINSTANCE module);

// A string-table text in the dialog's language, or the system's choice when that language lacks
// it, into text (capacity in characters, at least 1). Returns its length; 0 and an empty text
// when there is no such string.
int LoadStringIn(const SaverHost* host, UINT id, wchar_t* text, int capacity);

// One text of the string table in both forms the calls take.
struct FixedText {
  wchar_t wide[256];
  char ansi[512];  // a double-byte code page takes up to two bytes a character
};

// String `id`, as LoadStringIn finds it.
void LoadFixedText(const SaverHost* host, UINT id, FixedText* text);

// A dialog template of the program, by name or MAKEINTRESOURCEA number: run modally, or made as
// a modeless child of `parent`; `parameter` is the lParam of its WM_INITDIALOG.
INT_PTR RunDialog(const SaverHost* host, const char* templateName, HWND owner, DLGPROC procedure, LPARAM parameter);
HWND OpenDialog(const SaverHost* host, const char* templateName, HWND parent, DLGPROC procedure, LPARAM parameter);

// A child control of a system class, without text.
HWND CreateControl(const SaverHost* host, const char* className, DWORD style, int x, int y, int width, int height,
                   HWND parent, int id);

// A message box of two string-table texts; returns the button pressed.
int ShowFixedMessage(const SaverHost* host, HWND owner, UINT textId, UINT captionId, UINT type);
