// Writing a new version of a file so that its name always holds a whole version: the bytes go to
// a temporary file beside it, which takes the name in one step only after everything was
// written, flushed to the disk and closed. A full disk, a read-only folder or a crash part way
// leaves the old file as it was, and no half-written file under the name.
#pragma once
#include <cstdio>

// A seam for tests: called at every point of a replacement where the files on disk have just
// changed (the temporary made, its permissions set, each piece written, flushed, synced, closed,
// renamed). A test that ends the process there sees what a crash at that moment would leave.
struct ReplacementInterruption {
  void (*reached)(ReplacementInterruption* self, const char* point);
};

struct FileReplacement {
  ReplacementInterruption* interruption;  // null but in tests
  FILE* stream;     // where the new version is written; null when nothing is open
  char* target;     // the name the new version takes (a symbolic link's own target)
  char* temporary;  // null when the target is written in place: a device or a pipe cannot be
                    // replaced by a rename, and has no old contents to keep
};

// Opens the temporary file beside target. False, with the reason, when it cannot be made.
// interruption may be null.
bool BeginFileReplacement(const char* target, ReplacementInterruption* interruption, FileReplacement* replacement,
                          const char** problem);

// Writes into the new version; the number of bytes taken (fewer on failure).
size_t WriteFileReplacement(FileReplacement* replacement, const void* data, size_t size);

// Flushes and closes the new version and gives it the target's name. False, with the reason,
// when any of that fails; the temporary file is then removed and the target left as it was.
bool CommitFileReplacement(FileReplacement* replacement, const char** problem);

// Closes and removes the new version; the target stays as it was.
void AbandonFileReplacement(FileReplacement* replacement);
