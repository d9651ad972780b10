#include "stdio_build_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

FILE* AsFile(BuildFiles::Handle file) { return static_cast<FILE*>(file); }

int SeekTo(FILE* file, uint64_t offset, int whence) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<__int64>(offset), whence);
#else
  return fseeko(file, static_cast<off_t>(offset), whence);
#endif
}

int64_t Tell(FILE* file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return ftello(file);
#endif
}

}  // namespace

BuildFiles::Handle StdioBuildFiles::OpenForReading(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (!file) SetError(errno);
  return file;
}

BuildFiles::Handle StdioBuildFiles::CreateReplacement(const char* path) {
  if (output_.stream) {
    lastProblem_ = "another output is still being written";
    return nullptr;
  }
  if (!BeginFileReplacement(path, nullptr, &output_, &lastProblem_)) {
    lastError_ = errno;
    return nullptr;
  }
  return output_.stream;
}

bool StdioBuildFiles::FinishReplacement(Handle file, bool keep) {
  if (!output_.stream || file != output_.stream) {
    lastProblem_ = "not a file being replaced";
    return false;
  }
  if (keep) {
    if (CommitFileReplacement(&output_, &lastProblem_)) return true;
    lastError_ = errno;
    return false;
  }
  AbandonFileReplacement(&output_);
  return true;
}

bool StdioBuildFiles::SizeOf(Handle file, uint64_t* size) {
  FILE* f = AsFile(file);
  int64_t here = Tell(f);
  if (here < 0 || SeekTo(f, 0, SEEK_END) != 0) {
    SetError(errno);
    return false;
  }
  int64_t end = Tell(f);
  bool ok = end >= 0 && SeekTo(f, static_cast<uint64_t>(here), SEEK_SET) == 0;
  if (!ok) SetError(errno);
  *size = ok ? static_cast<uint64_t>(end) : 0;
  return ok;
}

bool StdioBuildFiles::Seek(Handle file, uint64_t offset) {
  if (SeekTo(AsFile(file), offset, SEEK_SET) == 0) return true;
  SetError(errno);
  return false;
}

size_t StdioBuildFiles::Read(Handle file, void* data, size_t size) {
  size_t got = std::fread(data, 1, size, AsFile(file));
  if (got < size && std::ferror(AsFile(file))) SetError(errno);
  return got;
}

size_t StdioBuildFiles::Write(Handle file, const void* data, size_t size) {
  size_t put = file == output_.stream ? WriteFileReplacement(&output_, data, size)
                                      : std::fwrite(data, 1, size, AsFile(file));
  if (put < size) SetError(errno);
  return put;
}

bool StdioBuildFiles::Close(Handle file) {
  if (std::fclose(AsFile(file)) == 0) return true;
  SetError(errno);
  return false;
}

void StdioBuildFiles::SetError(int error) {
  lastError_ = error;
  lastProblem_ = nullptr;
}

const char* StdioBuildFiles::LastError() {
  if (lastProblem_) return lastProblem_;
  return lastError_ != 0 ? std::strerror(lastError_) : "unknown error";
}
