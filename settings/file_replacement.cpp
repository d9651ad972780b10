#include "file_replacement.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <climits>
#include <unistd.h>
#endif

namespace {

const char kTemporarySuffix[] = ".XXXXXX";
// Written in pieces of this size, each one a point where a write can be interrupted.
const size_t kWritePiece = 4096;

void Reached(const FileReplacement* replacement, const char* point) {
  if (replacement->interruption) replacement->interruption->reached(replacement->interruption, point);
}

char* CopyOf(const char* text, size_t extra) {
  size_t length = std::strlen(text);
  char* copy = static_cast<char*>(std::malloc(length + extra + 1));
  if (copy) std::memcpy(copy, text, length + 1);
  return copy;
}

void Release(FileReplacement* replacement) {
  std::free(replacement->target);
  std::free(replacement->temporary);
  replacement->target = replacement->temporary = nullptr;
  replacement->stream = nullptr;
  replacement->interruption = nullptr;
}

bool Refuse(FileReplacement* replacement, const char** problem, const char* why) {
  if (problem) *problem = why;
  Release(replacement);
  return false;
}

#ifdef _WIN32

// The name stays as given: the profile of the designer's paths is the ANSI code page, and the
// rename below takes the name as the user typed it.
bool ExamineTarget(const char* target, FileReplacement* replacement, bool* inPlace, const char** problem) {
  *inPlace = false;
  DWORD attributes = GetFileAttributesA(target);
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    // errno as the C library would set it, for callers that tell the failures apart by it.
    errno = EISDIR;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Refuse(replacement, problem, "it is a folder");
    errno = EACCES;
    if (attributes & FILE_ATTRIBUTE_READONLY) return Refuse(replacement, problem, "the file is read-only");
  }
  replacement->target = CopyOf(target, 0);
  return replacement->target ? true : Refuse(replacement, problem, "not enough memory");
}

bool FlushToDisk(FILE* stream) { return _commit(_fileno(stream)) == 0; }

bool TakeTargetName(const FileReplacement* replacement, const char** problem) {
  if (MoveFileExA(replacement->temporary, replacement->target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  const bool denied = GetLastError() == ERROR_ACCESS_DENIED;
  *problem = denied ? "the finished file could not replace the old one: access denied (read-only or in use)"
                    : "the finished file could not replace the old one";
  errno = denied ? EACCES : EIO;
  return false;
}

// The new file gets the system's default permissions, as any file created here would.
bool MatchPermissions(int, const char*) { return true; }

#else

// A symbolic link keeps pointing where it did: the file it names is the one replaced.
bool ExamineTarget(const char* target, FileReplacement* replacement, bool* inPlace, const char** problem) {
  *inPlace = false;
  struct stat found;
  char resolved[PATH_MAX];
  const char* name = target;
  if (lstat(target, &found) == 0 && S_ISLNK(found.st_mode) && realpath(target, resolved)) name = resolved;
  if (stat(name, &found) == 0) {
    if (S_ISDIR(found.st_mode)) {
      errno = EISDIR;
      return Refuse(replacement, problem, std::strerror(EISDIR));
    }
    if (!S_ISREG(found.st_mode)) *inPlace = true;
    // A file its owner made read-only is not replaced behind their back.
    else if (access(name, W_OK) != 0) return Refuse(replacement, problem, std::strerror(errno));
  }
  replacement->target = CopyOf(name, 0);
  return replacement->target ? true : Refuse(replacement, problem, "not enough memory");
}

bool FlushToDisk(FILE* stream) { return fsync(fileno(stream)) == 0; }

bool TakeTargetName(const FileReplacement* replacement, const char** problem) {
  if (rename(replacement->temporary, replacement->target) == 0) return true;
  *problem = std::strerror(errno);
  return false;
}

// mkstemp makes the file private; the new version gets the old one's permissions, or those
// any new file would get.
bool MatchPermissions(int fd, const char* target) {
  struct stat old;
  mode_t mode;
  if (stat(target, &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  return fchmod(fd, mode) == 0;
}

#endif

}  // namespace

bool BeginFileReplacement(const char* target, ReplacementInterruption* interruption, FileReplacement* replacement,
                          const char** problem) {
  replacement->interruption = interruption;
  replacement->stream = nullptr;
  replacement->target = replacement->temporary = nullptr;
  bool inPlace = false;
  if (!ExamineTarget(target, replacement, &inPlace, problem)) return false;
  if (inPlace) {
    replacement->stream = std::fopen(replacement->target, "wb");
    return replacement->stream ? true : Refuse(replacement, problem, std::strerror(errno));
  }

  replacement->temporary = CopyOf(replacement->target, sizeof kTemporarySuffix);
  if (!replacement->temporary) return Refuse(replacement, problem, "not enough memory");
  std::strcat(replacement->temporary, kTemporarySuffix);
  int fd = mkstemp(replacement->temporary);
  if (fd < 0) return Refuse(replacement, problem, std::strerror(errno));
  Reached(replacement, "temporary made");
  bool matched = MatchPermissions(fd, replacement->target);
  if (matched) {
    Reached(replacement, "permissions set");
    replacement->stream = fdopen(fd, "wb");
  }
  if (!replacement->stream) {
    const char* why = std::strerror(errno);
    close(fd);
    std::remove(replacement->temporary);
    return Refuse(replacement, problem, why);
  }
  return true;
}

size_t WriteFileReplacement(FileReplacement* replacement, const void* data, size_t size) {
  if (!replacement->interruption) return std::fwrite(data, 1, size, replacement->stream);
  // Each piece reaches the disk before the next, so that an interruption finds it there.
  size_t done = 0;
  while (done < size) {
    size_t piece = size - done < kWritePiece ? size - done : kWritePiece;
    size_t put = std::fwrite(static_cast<const char*>(data) + done, 1, piece, replacement->stream);
    std::fflush(replacement->stream);
    done += put;
    Reached(replacement, "piece written");
    if (put < piece) break;
  }
  return done;
}

bool CommitFileReplacement(FileReplacement* replacement, const char** problem) {
  FILE* stream = replacement->stream;
  const char* why = nullptr;
  int error = 0;
  errno = 0;
  // A buffered write that failed shows up only here; it must not pass for success.
  if (std::fflush(stream) != 0 || std::ferror(stream)) error = errno ? errno : EIO;
  if (!error) Reached(replacement, "flushed");
  // A rename that reaches the disk before the data would leave an empty file after a power cut.
  if (!error && replacement->temporary && !FlushToDisk(stream)) error = errno;
  if (!error) Reached(replacement, "synced");
  if (std::fclose(stream) != 0 && !error) error = errno;
  replacement->stream = nullptr;
  if (!error) Reached(replacement, "closed");
  if (error) why = std::strerror(error);
  bool named = !why && (!replacement->temporary || TakeTargetName(replacement, &why));
  if (named) Reached(replacement, "renamed");
  if (!error) error = errno;
  if (!named && replacement->temporary) std::remove(replacement->temporary);
  Release(replacement);
  if (named) return true;
  if (problem) *problem = why;
  // Callers word the failure from errno too; the clean-up must not leave another value there.
  errno = error;
  return false;
}

void AbandonFileReplacement(FileReplacement* replacement) {
  if (replacement->stream) std::fclose(replacement->stream);
  if (replacement->temporary) std::remove(replacement->temporary);
  Release(replacement);
}
