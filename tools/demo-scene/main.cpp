// morvane-demo-scene FOLDER: draws the sample scene (frames, wallpaper, wave) into FOLDER and
// writes its MORVANE.INI there, ready for morvane-pack.
#include <cstdio>
#include <cstring>

#include "scene_art.h"

int main(int argc, char** argv) {
  if (argc != 2 || strcmp(argv[1], "--help") == 0) {
    fprintf(stderr, "Usage: morvane-demo-scene FOLDER\n");
    return 2;
  }
  if (!WriteDemoScene(argv[1])) {
    fprintf(stderr, "morvane-demo-scene: cannot write the scene into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
