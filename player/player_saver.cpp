// The player's saver procedure: the engine, with the scene package that follows the player
// image in this very file as its source.
#include "own_package.h"
#include "package_source.h"
#include "saver_engine.h"
#include "saver_host.h"

namespace {

OwnPackage packageFile;
PackageSource package;

void ClosePackage(SceneSource*) {
  CloseOwnPackage(&packageFile);
}

SceneSource* OpenPackage(HWND) {
  OpenOwnPackage(&packageFile);
  OpenPackageSource(&package, &packageFile.base);
  package.base.close = ClosePackage;
  return &package.base;
}

}  // namespace

LRESULT CALLBACK SaverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return EngineSaverProcedure(window, message, wParam, lParam, OpenPackage);
}
