// One scene rendered picture by picture through whichever surface layer is linked in: the
// GDI layer under Wine must give the pixels the pixel buffers give.
#pragma once
#include <cstdint>
#include <vector>

struct EngineHost;
struct SceneModel;
struct Surface;

const int32_t kAgreementWidth = 320, kAgreementHeight = 240;
const int kAgreementPaints = 48;

struct RenderedPicture {
  bool scaled;  // a character was drawn at a depth other than 100
  std::vector<uint32_t> pixels;  // 0x00BBGGRR, top row first
};

// Reads a surface's pixels; supplied by each layer's test program.
typedef void (*ReadPixels)(Surface* surface, std::vector<uint32_t>* pixels);

// A packaged saver (a stand-in image that starts "MZ", then the package) of the agreement scene
// with every character at its natural size: the scene the Linux programs and the GDI layer must
// draw with the same pixels, also where they stretch differently.
std::vector<uint8_t> SamePixelsSaver();
// The paints that morvane-render and morvane-play compare, and the seed.
const uint32_t kSamePixelsSeed = 20261208;
const int kSamePixelsPaints = 37;

// Loads the agreement scene into the model, in the host's window.
void LoadAgreementScene(SceneModel* scene, EngineHost* host);

// Loads the scene (masks on, palettes, a centred wallpaper, motion that bounces, wraps and
// scales), then paints it kAgreementPaints times into a window-sized surface, advancing the
// frames every third paint, in the host's window. Releases everything before it returns.
std::vector<RenderedPicture> RenderAgreementScene(EngineHost* host, ReadPixels read);
