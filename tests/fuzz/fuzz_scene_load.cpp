// libFuzzer target: any bytes after the player image load, play and release without reading
// or writing outside a buffer, and without leaving a surface behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "byte_stream.h"
#include "engine.h"
#include "host_soft.h"
#include "package_source.h"
#include "surface.h"
#include "surface_soft.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryStream stream;
  OpenMemoryStream(&stream, data, static_cast<uint32_t>(size));
  PackageSource source;
  OpenPackageSource(&source, &stream.base);
  // A small screen keeps the paints cheap; a window of full-screen height keeps them on the
  // saver's own path, which presents only the areas that changed.
  SoftHost host;
  OpenSoftHost(&host);
  SceneModel scene;
  LoadScene(&scene, &host.base, &source.base, SceneGeometry{48, 32, 0, 0, 48, kPreviewHeightLimit, 0, 0, 0, {}}, 1);
  Surface* window = CreateSurface(nullptr, 48, 32);
  for (int paint = 0; paint < 2; ++paint) {
    AdvanceFrames(&scene);
    PaintScene(&scene, window);
  }
  scene.windowHeight = 20;  // and once as a preview
  PaintScene(&scene, window);
  ReleaseSurface(window);
  ReleaseScene(&scene);
  if (SoftLiveSurfaces() != 0) abort();
  return 0;
}
