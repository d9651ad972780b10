#include "pack_signing.h"

#include <cstdio>
#include <cstring>

#include "pack_platform.h"

namespace {

const char kSigner[] = "osslsigncode";

bool Readable(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

// The signer's first line of explanation, for the message that names the certificate.
void FirstLine(const char* log, char* line, size_t size) {
  line[0] = '\0';
  FILE* file = std::fopen(log, "rb");
  if (!file) return;
  if (std::fgets(line, static_cast<int>(size), file)) line[std::strcspn(line, "\r\n")] = '\0';
  std::fclose(file);
}

}  // namespace

bool ReadyToSign(const SigningRequest& request, char* signer, size_t size) {
  if (!FindProgram(kSigner, signer, size)) {
    std::fprintf(stderr,
                 "morvane-pack: error: signing: %s is not installed (on Debian: apt-get install osslsigncode); "
                 "nothing was written\n",
                 kSigner);
    return false;
  }
  const char* const files[] = {request.certificate, request.passwordFile};
  for (const char* path : files) {
    if (path && !Readable(path)) {
      std::fprintf(stderr, "morvane-pack: error: %s %s: %s; nothing was written\n",
                   path == request.certificate ? "certificate" : "password file", path,
                   "no such file, or it cannot be read");
      return false;
    }
  }
  return true;
}

bool SignSaver(const SigningRequest& request, const char* signer, const char* built, const char* signedPath) {
  static char log[4096 + 32];
  std::snprintf(log, sizeof log, "%s.log", signedPath);
  const char* argv[16] = {signer, "sign", "-pkcs12", request.certificate, "-h", "sha256"};
  int count = 6;
  if (request.passwordFile) {
    argv[count++] = "-readpass";
    argv[count++] = request.passwordFile;
  }
  argv[count++] = "-in";
  argv[count++] = built;
  argv[count++] = "-out";
  argv[count++] = signedPath;
  argv[count] = nullptr;
  const int status = RunProgram(argv, log);
  char why[512];
  FirstLine(log, why, sizeof why);
  std::remove(log);
  std::remove(built);
  if (status != 0) {
    std::remove(signedPath);
    if (status < 0) {
      std::fprintf(stderr, "morvane-pack: error: signing: %s %s could not be started; nothing was written\n", kSigner, signer);
    } else {
      std::fprintf(stderr,
                   "morvane-pack: error: certificate %s: %s refused it (a damaged file, not a PKCS#12 file, or "
                   "the wrong password)%s%s; nothing was written\n",
                   request.certificate, kSigner, why[0] ? ": " : "", why);
    }
    return false;
  }
  return true;
}
