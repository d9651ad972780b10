#include "designer_build.h"

#include "designer_folder.h"
#include "described_player_image.h"
#include "designer_session.h"
#include "package_builder.h"
#include "player_image_source.h"
#include "stdio_build_files.h"
#include "wic_picture_codec.h"
#include "windows_sound_codec.h"

namespace {

// Everything a build reads, made for one call.
struct DesignerBuild {
  char self[MAX_PATH];
  StdioBuildFiles files;
  TrailingPlayerImage player;
  DescribedPlayerImage described;
  WicPictureCodec pictures;
  WindowsSoundCodec sounds;

  explicit DesignerBuild(DesignerSession* session)
      : player(&files, (DesignerFile(self), self)), described(&player, SessionSettings(session)) {
    OpenWicPictureCodec(&pictures);
    OpenWindowsSoundCodec(&sounds);
  }
  BuildSources Sources(DesignerSession* session, WalkListener* listener) {
    return {SessionSettings(session), &described, &files, session->folder, listener, &pictures.base, false, &sounds.base};
  }
};

}  // namespace

void BuildFromDesignerSettings(DesignerSession* session, const char* outputPath, char* status, WalkListener* listener) {
  DesignerBuild build(session);
  BuildPackagedSaver(build.Sources(session, listener), outputPath, status);
}

uint64_t MeasureDesignerSaver(DesignerSession* session) {
  DesignerBuild build(session);
  return MeasurePackagedSaver(build.Sources(session, nullptr));
}
