// Authenticode signing of a built saver through osslsigncode, run as a program of its own. The
// saver is built under a name of its own beside the output and signed into another; only a
// signed saver then replaces the output, so a refused certificate or a failed signer leaves
// nothing new behind, and a saver of that name as it was.
#pragma once
#include <cstddef>

struct SigningRequest {
  const char* certificate;   // a PKCS#12 file (.pfx, .p12) with the key and its certificates
  const char* passwordFile;  // its password on the first line; null: the file has none
};

// Everything that can be checked before the build: the signer is installed, the certificate
// and the password file can be read. False, with the message on standard error.
bool ReadyToSign(const SigningRequest& request, char* signer, size_t size);

// Signs built into signedPath and removes built. False, with the message on standard error and
// nothing left at either name.
bool SignSaver(const SigningRequest& request, const char* signer, const char* built, const char* signedPath);
