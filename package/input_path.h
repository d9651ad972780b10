// Where a file named in the settings is looked for: a relative name belongs to one base folder
// (the designer's own folder in the designer, the settings file's folder in the tool). Names
// are taken as the designer writes them, on Windows, wherever they are read.
#pragma once
#include <cstddef>

enum PathStyle { PosixPaths, WindowsPaths };

#ifdef _WIN32
const PathStyle kNativePathStyle = WindowsPaths;
#else
const PathStyle kNativePathStyle = PosixPaths;
#endif

// Room for any base folder the tools accept joined with a 259-byte setting.
const size_t kMaxInputPath = 4096 + 260;

// Windows: a drive letter, or a leading "\" or "/"; POSIX: a leading "/".
bool IsAbsolutePath(const char* path, PathStyle style);

// path as it is when absolute or when base is empty, else base, a separator and path. For POSIX
// paths a "\" in the name is a folder separator, as the designer writes it; a name that only
// means something on Windows (a drive letter, or a leading "\" for the root of a drive or a
// network share) is refused. False, with the reason in *why when why is not null, when the
// name cannot be used here or the result does not fit outSize bytes with its terminator.
bool ResolveInputPath(const char* base, const char* path, PathStyle style, char* out, size_t outSize,
                      const char** why = nullptr);
