// The programs' main routine: whatever the runtime passes is ignored; the host reads the
// command line itself.
#include "saver_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  SaverStartup(PlatformOfSystem);
  return 0;
}
