// A program's own parts behind a main routine that makes the host take the path of the 9x
// platform family (Windows 95, 98 and Me): there the wide calls are left aside for the ANSI ones.
#include "saver_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  SaverStartup(Platform9xFamily);
  return 0;
}
