// The designer's saver procedure: the player's engine, playing the current settings straight
// from the bitmap and wave files they name.
#include "designer_state.h"
#include "saver_engine.h"
#include "saver_host.h"
// After <windows.h>, which saver_host.h brings in.
#include <mmsystem.h>
#include "settings_scene_source.h"
#include "surface_gdi.h"

namespace {

Surface* LoadPictureFile(SceneFiles*, const char* path, const Surface* reference) {
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(moduleInstance, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  return bitmap ? AdoptBitmap(reference, bitmap) : nullptr;
}

bool PlaySoundFile(SceneFiles*, const char* path) {
  return PlaySoundA(path, moduleInstance, SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOWAIT) != FALSE;
}

SceneFiles namedFiles = {LoadPictureFile, PlaySoundFile};
SettingsSceneSource settingsSource;

SceneSource* OpenSettings(HWND) {
  OpenSettingsSceneSource(&settingsSource, DesignerSettings(), &namedFiles);
  return &settingsSource.base;
}

}  // namespace

LRESULT CALLBACK SaverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return EngineSaverProcedure(window, message, wParam, lParam, OpenSettings);
}
