// The last steps of the Module page's Create: a check that the output can be written, made
// without changing a file that is already there, then the build, and a message that says what
// happened — the success message when everything went in, a warning that lists the files left
// out when the saver was written without them, the failure message with the reason otherwise.
#pragma once
#include <windows.h>

#include "build_report.h"

struct SaverHost;

// False, after the failure message with the reason, when name cannot be written.
bool CheckOutputWritable(HWND page, const char* name);

// Builds the packaged saver into name and reports the outcome.
void BuildAndReport(HWND page, const char* name);

// The files of the report as the warning lists them, one a line: the first ten, then how many
// more; cut off (never overrun) at the end of text.
void DescribeReportedInputs(const SaverHost* host, const CreateReport& report, wchar_t* text, int capacity);
