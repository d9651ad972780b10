// libFuzzer target: any bytes after the player image load, play and release without reading
// or writing outside a buffer, and without leaving a surface behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "byte_stream.h"
#include "engine.h"
#include "package_source.h"
#include "surface.h"
#include "surface_soft.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryStream stream;
  OpenMemoryStream(&stream, data, static_cast<uint32_t>(size));
  PackageSource source;
  OpenPackageSource(&source, &stream.base);
  LoadScene(&source.base, SceneGeometry{64, 48, 0, 0, 64, 48}, 1);
  Surface* window = CreateSurface(nullptr, 64, 48);
  for (int paint = 0; paint < 4; ++paint) {
    AdvanceFrames();
    PaintScene(window);
  }
  scene.windowHeight = 20;  // and once as a preview
  PaintScene(window);
  ReleaseSurface(window);
  ReleaseScene();
  if (SoftLiveSurfaces() != 0) abort();
  return 0;
}
