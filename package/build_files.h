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
  // Starts a new version of the file: written beside it, so that the file itself stays as it
  // was until FinishReplacement keeps the new one. Null on failure.
  virtual Handle CreateReplacement(const char* path) = 0;
  // Ends a file from CreateReplacement. keep: the new version takes the file's name, or, when
  // its bytes could not all be stored or it cannot take the name, is removed and false
  // returned. Not keep: the new version is removed and the file stays as it was.
  virtual bool FinishReplacement(Handle file, bool keep) = 0;
  virtual bool SizeOf(Handle file, uint64_t* size) = 0;
  virtual bool Seek(Handle file, uint64_t offset) = 0;
  // The number of bytes transferred; fewer than asked at the end of a file or on failure.
  virtual size_t Read(Handle file, void* data, size_t size) = 0;
  virtual size_t Write(Handle file, const void* data, size_t size) = 0;
  // Closes a file opened for reading.
  virtual bool Close(Handle file) = 0;
  // A description of the last failure, for messages.
  virtual const char* LastError() = 0;
  // The last failure as the C library's error number, 0 when it was no such failure; the
  // messages that tell a missing folder from a full disk go by it.
  virtual int LastErrorNumber() { return 0; }

 protected:
  ~BuildFiles() {}
};

// Reads until size bytes are in or the file ends; returns the count.
size_t ReadFully(BuildFiles* files, BuildFiles::Handle file, void* data, size_t size);
