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

StdioBuildFiles* Self(BuildFiles* files) { return static_cast<StdioBuildFiles*>(files); }

}  // namespace

StdioBuildFiles::StdioBuildFiles()
    : BuildFiles{OpenForReading, CreateReplacement, FinishReplacement, SizeOf, Seek, Read, Write, Close, LastError,
                 LastErrorNumber} {}

BuildFiles::Handle StdioBuildFiles::OpenForReading(BuildFiles* files, const char* path) {
  StdioBuildFiles* self = Self(files);
  FILE* file = std::fopen(path, "rb");
  if (!file) self->SetError(errno);
  return file;
}

BuildFiles::Handle StdioBuildFiles::CreateReplacement(BuildFiles* files, const char* path) {
  StdioBuildFiles* self = Self(files);
  if (self->output_.stream) {
    self->lastProblem_ = "another output is still being written";
    return nullptr;
  }
  if (!BeginFileReplacement(path, nullptr, &self->output_, &self->lastProblem_)) {
    self->lastError_ = errno;
    return nullptr;
  }
  return self->output_.stream;
}

bool StdioBuildFiles::FinishReplacement(BuildFiles* files, Handle file, bool keep) {
  StdioBuildFiles* self = Self(files);
  if (!self->output_.stream || file != self->output_.stream) {
    self->lastProblem_ = "not a file being replaced";
    return false;
  }
  if (keep) {
    if (CommitFileReplacement(&self->output_, &self->lastProblem_)) return true;
    self->lastError_ = errno;
    return false;
  }
  AbandonFileReplacement(&self->output_);
  return true;
}

bool StdioBuildFiles::SizeOf(BuildFiles* files, Handle file, uint64_t* size) {
  StdioBuildFiles* self = Self(files);
  FILE* f = AsFile(file);
  int64_t here = Tell(f);
  if (here < 0 || SeekTo(f, 0, SEEK_END) != 0) {
    self->SetError(errno);
    return false;
  }
  int64_t end = Tell(f);
  bool ok = end >= 0 && SeekTo(f, static_cast<uint64_t>(here), SEEK_SET) == 0;
  if (!ok) self->SetError(errno);
  *size = ok ? static_cast<uint64_t>(end) : 0;
  return ok;
}

bool StdioBuildFiles::Seek(BuildFiles* files, Handle file, uint64_t offset) {
  StdioBuildFiles* self = Self(files);
  if (SeekTo(AsFile(file), offset, SEEK_SET) == 0) return true;
  self->SetError(errno);
  return false;
}

size_t StdioBuildFiles::Read(BuildFiles* files, Handle file, void* data, size_t size) {
  StdioBuildFiles* self = Self(files);
  size_t got = std::fread(data, 1, size, AsFile(file));
  if (got < size && std::ferror(AsFile(file))) self->SetError(errno);
  return got;
}

size_t StdioBuildFiles::Write(BuildFiles* files, Handle file, const void* data, size_t size) {
  StdioBuildFiles* self = Self(files);
  size_t put = file == self->output_.stream ? WriteFileReplacement(&self->output_, data, size)
                                            : std::fwrite(data, 1, size, AsFile(file));
  if (put < size) self->SetError(errno);
  return put;
}

bool StdioBuildFiles::Close(BuildFiles* files, Handle file) {
  StdioBuildFiles* self = Self(files);
  if (std::fclose(AsFile(file)) == 0) return true;
  self->SetError(errno);
  return false;
}

void StdioBuildFiles::SetError(int error) {
  lastError_ = error;
  lastProblem_ = nullptr;
}

const char* StdioBuildFiles::LastError(BuildFiles* files) {
  StdioBuildFiles* self = Self(files);
  if (self->lastProblem_) return self->lastProblem_;
  return self->lastError_ != 0 ? std::strerror(self->lastError_) : "unknown error";
}

int StdioBuildFiles::LastErrorNumber(BuildFiles* files) {
  return Self(files)->lastError_;
}
