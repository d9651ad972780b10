// The player's saver procedure: the engine, with the scene package that follows the player
// image in this very file as its source.
#include "own_package.h"
#include "package_source.h"
#include "saver_engine.h"
#include "saver_host.h"

LRESULT SaverProcedure(SaverHost* host, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CREATE) return EngineSaverProcedure(host, window, message, wParam, lParam);
  OwnPackage file;
  OpenOwnPackage(&file);
  PackageSource package;
  OpenPackageSource(&package, &file.base);
  StartEngineSaver(host, window, &package.base);
  CloseOwnPackage(&file);
  return 0;
}
