// Builder file access through the C library, the same on Linux and Windows.
#pragma once
#include "build_files.h"
#include "file_replacement.h"

class StdioBuildFiles : public BuildFiles {
 public:
  StdioBuildFiles();

 private:
  static Handle OpenForReading(BuildFiles* files, const char* path);
  // One replacement at a time: the builder writes one output.
  static Handle CreateReplacement(BuildFiles* files, const char* path);
  static bool FinishReplacement(BuildFiles* files, Handle file, bool keep);
  static bool SizeOf(BuildFiles* files, Handle file, uint64_t* size);
  static bool Seek(BuildFiles* files, Handle file, uint64_t offset);
  static size_t Read(BuildFiles* files, Handle file, void* data, size_t size);
  static size_t Write(BuildFiles* files, Handle file, const void* data, size_t size);
  static bool Close(BuildFiles* files, Handle file);
  static const char* LastError(BuildFiles* files);
  static int LastErrorNumber(BuildFiles* files);
  void SetError(int error);

  int lastError_ = 0;
  const char* lastProblem_ = nullptr;  // a reason that is not an errno value
  FileReplacement output_ = {nullptr, nullptr, nullptr, nullptr};
};
