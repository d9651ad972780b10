// Builder file access through the C library, the same on Linux and Windows.
#pragma once
#include "build_files.h"

class StdioBuildFiles : public BuildFiles {
 public:
  Handle OpenForReading(const char* path) override;
  Handle CreateForWriting(const char* path) override;
  bool SizeOf(Handle file, uint64_t* size) override;
  bool Seek(Handle file, uint64_t offset) override;
  size_t Read(Handle file, void* data, size_t size) override;
  size_t Write(Handle file, const void* data, size_t size) override;
  bool Close(Handle file) override;
  const char* LastError() override;

 private:
  int lastError_ = 0;
};
