// How a picture's transparent pixels (alpha below 128) reach a record, which has no alpha.
//
// The player makes a frame transparent from its top-left pixel: the area of that pixel's
// colour connected to it becomes transparent, and (because that area is first painted white)
// any white connected to it as well. So for a frame of a scene with transparent sprites the
// transparent pixels get one key colour that no opaque pixel of the frame uses, and the
// opaque white pixels that touch them become 254,254,254, so that the player's mask is exactly
// the transparent area. What that model cannot show is reported: transparent pixels enclosed
// by the figure take the background colour, and a figure covering the top-left pixel loses the
// few pixels between the corner and the nearest transparent pixel of the top row or left
// column (rather than its whole area of the corner's colour). Pictures without
// transparent pixels are left as they are, and the player treats them as it treats bitmaps.
//
// Elsewhere (sprites drawn opaque, the wallpaper) transparent pixels take the background colour.
//
// A character frame whose alpha that model cannot show (alpha strictly between 0 and 255, or
// transparent pixels the key colour does not give exactly) also keeps its own pixels in its
// record (own_pixels.h), and our players blend those instead.
#pragma once
#include <cstddef>
#include <cstdint>

struct PictureLook {
  bool transparentSprites;    // a character frame of a scene with transparent sprites
  uint32_t backgroundColour;  // 0x00BBGGRR: the scene's colour, black when it has none
  bool ownAlpha;              // a character frame: its own alpha may travel with its record
};

// What a picture's alpha holds.
enum OwnTransparency : uint8_t {
  kNoOwnTransparency = 0,  // every pixel opaque
  kBinaryTransparency = 1, // only fully transparent and fully opaque pixels
  kSoftTransparency = 2    // some alpha strictly between 0 and 255
};

OwnTransparency SummariseAlpha(const uint8_t* rgba, size_t pixels);

// Whether a frame with this alpha, prepared for this look with these PictureLookNote bits, keeps
// its own pixels in its record: soft alpha always; transparency that the key colour cannot show
// exactly (the scene's transparency off, pixels enclosed by the figure, a covered corner) too.
bool KeepsOwnPixels(OwnTransparency alpha, const PictureLook& look, int notes);

// What the picture needed that the player's transparency cannot give exactly.
enum PictureLookNote {
  kLookCornerCovered = 1,
  kLookEnclosedTransparency = 2,
  kLookKeyColourShifted = 4
};
const int kLookNoteCount = 3;

// Sets the colour of every pixel of width * height RGBA pixels for the record; the alpha bytes
// are left meaningless. Returns the PictureLookNote bits, or -1 when memory ran out.
int PrepareTransparency(uint8_t* rgba, int32_t width, int32_t height, const PictureLook& look);

// The same for pixels of a look without transparent sprites (a wallpaper), which needs no more
// than each pixel: one that the picture leaves transparent takes the background colour.
void PrepareOpaquePixels(uint8_t* rgba, size_t pixels, const PictureLook& look);

// The build note for one PictureLookNote bit.
const char* PictureLookNoteText(int note);
