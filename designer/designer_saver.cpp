// The designer's saver procedure: the player's engine, playing the current settings straight
// from the picture and wave files they name. Pictures come through the builder's intake, and
// relative names belong to the designer's folder, as they do for Create.
#include "designer_folder.h"
#include "designer_state.h"
#include "saver_engine.h"
#include "saver_host.h"
// After <windows.h>, which saver_host.h brings in.
#include <mmsystem.h>
#include "settings_scene_source.h"
#include "stdio_build_files.h"
#include "wic_picture_codec.h"

namespace {

bool PlaySoundFile(SceneSound*, const char* path) {
  return PlaySoundA(path, moduleInstance, SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOWAIT) != FALSE;
}

SceneSound soundFromFile = {PlaySoundFile};
StdioBuildFiles pictureFiles;
WicPictureCodec pictureCodecs;
char designerFolder[MAX_PATH];
SettingsSceneSource settingsSource;

SceneSource* OpenSettings(HWND) {
  DesignerFolder(designerFolder);
  OpenWicPictureCodec(&pictureCodecs);
  OpenSettingsSceneSource(&settingsSource, DesignerSettings(), &pictureFiles, designerFolder, &soundFromFile,
                          &pictureCodecs.base, nullptr);
  return &settingsSource.base;
}

}  // namespace

LRESULT CALLBACK SaverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return EngineSaverProcedure(window, message, wParam, lParam, OpenSettings);
}
