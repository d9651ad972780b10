// Builder file access through the C library, the same on Linux and Windows.
#pragma once
#include "build_files.h"
#include "file_replacement.h"

class StdioBuildFiles : public BuildFiles {
 public:
  Handle OpenForReading(const char* path) override;
  // One replacement at a time: the builder writes one output.
  Handle CreateReplacement(const char* path) override;
  bool FinishReplacement(Handle file, bool keep) override;
  bool SizeOf(Handle file, uint64_t* size) override;
  bool Seek(Handle file, uint64_t offset) override;
  size_t Read(Handle file, void* data, size_t size) override;
  size_t Write(Handle file, const void* data, size_t size) override;
  bool Close(Handle file) override;
  const char* LastError() override;
  int LastErrorNumber() override { return lastError_; }

 private:
  void SetError(int error);

  int lastError_ = 0;
  const char* lastProblem_ = nullptr;  // a reason that is not an errno value
  FileReplacement output_ = {nullptr, nullptr, nullptr, nullptr};
};
