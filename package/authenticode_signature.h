// Where a signed Windows program's Authenticode signature begins. Signing appends the certificate
// table to the file and names it in the PE header (data directory 4, a file offset rather than an
// address), so a packaged saver or a designer signed after it was built carries its signature
// after everything else: after the scene package, after the designer's player copy.
#pragma once
#include <cstddef>
#include <cstdint>

// The offset of the certificate table when the header (the file's first headerSize bytes) names
// one that runs to the end of a file of fileSize bytes and starts at or after minimum; fileSize
// otherwise.
uint64_t SignatureStart(const uint8_t* header, size_t headerSize, uint64_t fileSize, uint64_t minimum);
