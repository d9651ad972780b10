// Renders the agreement scene on the pixel buffers and writes the pictures to the file named
// on the command line, for the GDI test to compare with.
#include <cstdio>
#include <cstring>

#include "agreement_scene.h"
#include "host_soft.h"
#include "surface_soft.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  SoftHost host;
  OpenSoftHost(&host);
  std::vector<RenderedPicture> pictures =
      RenderAgreementScene(&host.base, [](Surface* surface, std::vector<uint32_t>* pixels) {
        const uint32_t* from = SoftSurfacePixels(surface);
        pixels->assign(from, from + kAgreementWidth * kAgreementHeight);
      });
  FILE* file = fopen(argv[1], "wb");
  if (!file) return 1;
  for (const RenderedPicture& picture : pictures) {
    uint8_t scaled = picture.scaled;
    fwrite(&scaled, 1, 1, file);
    fwrite(picture.pixels.data(), 4, picture.pixels.size(), file);
  }
  return fclose(file) == 0 && SoftLiveSurfaces() == 0 ? 0 : 1;
}
