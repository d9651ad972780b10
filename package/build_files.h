// The file operations the package builder needs, as a seam: the portable stdio version serves
// the Linux tool and the Windows programs alike, and tests put failing files behind it.
#pragma once
#include <cstddef>
#include <cstdint>

class BuildFiles {
 public:
  typedef void* Handle;

  // Null when the file cannot be opened; LastError then says why.
  virtual Handle OpenForReading(const char* path) = 0;
  // Creates or empties the file for writing; null on failure.
  virtual Handle CreateForWriting(const char* path) = 0;
  virtual bool SizeOf(Handle file, uint64_t* size) = 0;
  virtual bool Seek(Handle file, uint64_t offset) = 0;
  // The number of bytes transferred; fewer than asked at the end of a file or on failure.
  virtual size_t Read(Handle file, void* data, size_t size) = 0;
  virtual size_t Write(Handle file, const void* data, size_t size) = 0;
  // False when written data could not be stored.
  virtual bool Close(Handle file) = 0;
  // A description of the last failure, for messages.
  virtual const char* LastError() = 0;

 protected:
  ~BuildFiles() {}
};

// Reads until size bytes are in or the file ends; returns the count.
size_t ReadFully(BuildFiles* files, BuildFiles::Handle file, void* data, size_t size);
