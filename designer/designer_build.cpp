#include "designer_build.h"

#include "designer_folder.h"
#include "described_player_image.h"
#include "designer_state.h"
#include "package_builder.h"
#include "player_image_source.h"
#include "stdio_build_files.h"
#include "wic_picture_codec.h"
#include "windows_sound_codec.h"

void BuildFromDesignerSettings(const char* outputPath, char* status, WalkListener* listener) {
  char self[MAX_PATH], folder[MAX_PATH];
  DesignerFile(self);
  DesignerFolder(folder);
  StdioBuildFiles files;
  TrailingPlayerImage player(&files, self);
  DescribedPlayerImage described(&player, DesignerSettings());
  WicPictureCodec pictures;
  OpenWicPictureCodec(&pictures);
  WindowsSoundCodec sounds;
  OpenWindowsSoundCodec(&sounds);
  BuildSources sources = {DesignerSettings(), &described, &files, folder, listener, &pictures.base, false, &sounds.base};
  BuildPackagedSaver(sources, outputPath, status);
}
