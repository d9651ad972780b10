// The designer's saver procedure: the player's engine, playing the current settings straight
// from the picture and wave files they name. Pictures come through the builder's intake, and
// relative names belong to the store's folder, as they do for Create: the remembered scene
// file's, or the designer's for MORVANE.INI.
#include "designer_session.h"
#include "saver_engine.h"
#include "saver_host.h"
// After <windows.h>, which saver_host.h brings in.
#include <mmsystem.h>
#include "settings_scene_source.h"
#include "stdio_build_files.h"
#include "wic_picture_codec.h"
#include "windows_sound_codec.h"

namespace {

// The settings' wave, played by the system from its file when it is one the players play as it
// is; any other sound is decoded and played from memory, as the saver built from it plays it.
struct WaveFileSound {
  SceneSound base;
  HINSTANCE module;
};

bool PlaySoundFile(SceneSound* sound, EngineHost*, const char* path) {
  HINSTANCE module = reinterpret_cast<WaveFileSound*>(sound)->module;
  return PlaySoundA(path, module, SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOWAIT) != FALSE;
}

}  // namespace

LRESULT SaverProcedure(SaverHost* host, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CREATE) return EngineSaverProcedure(host, window, message, wParam, lParam);
  DesignerSession session;
  OpenSaverSession(&session);
  WicPictureCodec codecs;
  OpenWicPictureCodec(&codecs);
  StdioBuildFiles files;
  WaveFileSound sound = {{PlaySoundFile}, host->module};
  SettingsSceneSource source;
  WindowsSoundCodec sounds;
  OpenWindowsSoundCodec(&sounds);
  OpenSettingsSceneSource(&source, SessionSettings(&session), &files, session.folder, &sound.base, &codecs.base, nullptr, &sounds.base);
  return StartEngineSaver(host, window, &source.base);
}
