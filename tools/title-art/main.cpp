// morvane-title-art FILE: writes the Info page's picture as a run-length encoded 16-colour .bmp.
#include <cstdio>

#include "rle4_bitmap.h"
#include "title_art.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: morvane-title-art FILE.bmp\n");
    return 2;
  }
  TitlePicture picture = DrawTitlePicture();
  if (!WriteFileBytes(argv[1], EncodeRle4Bitmap(kTitleWidth, kTitleHeight, picture.indexes, picture.palette))) {
    std::fprintf(stderr, "morvane-title-art: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
