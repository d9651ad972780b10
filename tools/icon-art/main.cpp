// morvane-icon-art designer|player FILE.ico: draws the Morvane icon and writes it as an icon
// file. The designer's holds 16, 32 and 48 pixels in true colour with alpha and 256 pixels
// PNG-compressed; the player's, which every packaged saver carries within its 49152 bytes, 16
// and 32 pixels in 16 colours.
#include <cstdio>
#include <cstring>

#include "icon_file.h"

int main(int argc, char** argv) {
  const bool designer = argc == 3 && std::strcmp(argv[1], "designer") == 0;
  const bool player = argc == 3 && std::strcmp(argv[1], "player") == 0;
  if (!designer && !player) {
    std::fprintf(stderr, "Usage: morvane-icon-art designer|player FILE.ico\n");
    return 2;
  }
  std::vector<IconImage> images;
  if (designer) {
    for (int size : {16, 32, 48}) images.push_back({DrawIcon(size), IconTrueColour, {}});
    images.push_back({DrawIcon(256), IconPng, {}});
  } else {
    for (int size : {16, 32}) images.push_back({DrawIcon(size), IconSixteenColours, SixteenIconColours()});
  }
  const std::vector<uint8_t> bytes = EncodeIconFile(images);
  FILE* out = std::fopen(argv[2], "wb");
  bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  if (out && std::fclose(out) != 0) written = false;
  if (!written) {
    std::remove(argv[2]);
    std::fprintf(stderr, "morvane-icon-art: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
