// morvane-demo-scene [--benchmark | --alpha-benchmark | --heavy] FOLDER: draws the sample scene
// (frames, wallpaper, wave), or one of the players' benchmark scenes, into FOLDER and writes its
// MORVANE.INI there, ready for morvane-pack and the Linux players.
#include <cstdio>
#include <cstring>

#include "scene_art.h"

int main(int argc, char** argv) {
  const bool benchmark = argc == 3 && strcmp(argv[1], "--benchmark") == 0;
  const bool alpha = argc == 3 && strcmp(argv[1], "--alpha-benchmark") == 0;
  const bool heavy = argc == 3 && strcmp(argv[1], "--heavy") == 0;
  if ((argc != 2 && !benchmark && !alpha && !heavy) || strcmp(argv[1], "--help") == 0) {
    fprintf(stderr, "Usage: morvane-demo-scene [--benchmark | --alpha-benchmark | --heavy] FOLDER\n");
    return 2;
  }
  const char* folder = argv[argc - 1];
  const bool written = benchmark ? WriteBenchmarkScene(folder)
                       : alpha   ? WriteAlphaBenchmarkScene(folder)
                       : heavy   ? WriteHeavyScene(folder)
                                 : WriteDemoScene(folder);
  if (!written) {
    fprintf(stderr, "morvane-demo-scene: cannot write the scene into %s\n", folder);
    return 1;
  }
  return 0;
}
