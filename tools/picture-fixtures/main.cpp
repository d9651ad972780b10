// morvane-picture-fixtures FOLDER [--screen WIDTHxHEIGHT]: draws the picture fixtures and their
// scenes into FOLDER, and with --screen the screen-sized scene that playback is compared with.
// morvane-picture-fixtures --large-png|--large-bmp|--noise-png WIDTHxHEIGHT FILE: one large RGB
// PNG, 24-bit bitmap or PNG of noise stored without compression, written row by row.
#include <cstdio>
#include <cstring>

#include "picture_fixtures.h"

int main(int argc, char** argv) {
  int width = 0, height = 0;
  const bool bitmap = argc == 4 && std::strcmp(argv[1], "--large-bmp") == 0;
  const bool noise = argc == 4 && std::strcmp(argv[1], "--noise-png") == 0;
  if (bitmap || noise || (argc == 4 && std::strcmp(argv[1], "--large-png") == 0)) {
    if (std::sscanf(argv[2], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) {
      std::fprintf(stderr, "Usage: morvane-picture-fixtures --large-png|--large-bmp|--noise-png WIDTHxHEIGHT FILE\n");
      return 2;
    }
    if (noise ? WriteNoisePng(argv[3], width, height) : WriteLargeWallpaper(argv[3], width, height, bitmap)) return 0;
    std::fprintf(stderr, "morvane-picture-fixtures: cannot write %s\n", argv[3]);
    return 1;
  }
  const bool screen = argc == 4 && std::strcmp(argv[2], "--screen") == 0 &&
                      std::sscanf(argv[3], "%dx%d", &width, &height) == 2 && width > 0 && height > 0;
  if ((argc != 2 && !screen) || std::strcmp(argv[1], "--help") == 0) {
    std::fprintf(stderr, "Usage: morvane-picture-fixtures FOLDER [--screen WIDTHxHEIGHT]\n");
    return 2;
  }
  if (!WritePictureFixtures(argv[1]) || (screen && !WriteScreenPictureScene(argv[1], width, height))) {
    std::fprintf(stderr, "morvane-picture-fixtures: cannot write the pictures into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
