// Where a scene comes from: the package that follows the player image, or (for the designer's
// playback) the settings store and the files it names. The load sequence asks the source for
// each value in one fixed order, so both sources share the engine's random calls, masks,
// placement and clean-up. A source that runs out answers "no more" from then on.
#pragma once
#include <cstdint>

#include "package_records.h"

struct CharacterState;
struct SceneModel;
struct Surface;
struct WallpaperPlacement;

struct SceneBackground {
  int32_t noColour;
  uint32_t colour;  // 0x00BBGGRR
  int32_t wallpaper;
  int32_t stretch;
};

struct SceneSource {
  // Redraw period (ms) and frame-change multiplier.
  void (*readTiming)(SceneSource* source, int32_t* redrawPeriod, int32_t* multiplier);
  // Read only once both timers run.
  uint8_t (*readTransparency)(SceneSource* source);
  // Whether another character follows (the engine stops at 20 by itself).
  bool (*beginCharacter)(SceneSource* source);
  // Frame `slot` of the current character: false when its frame list has ended. A frame that
  // is present but cannot be decoded answers true with *sprite null. Masks are always made
  // from the sprite itself, so the designer's playback and the packaged saver agree.
  bool (*loadFrame)(SceneSource* source, int slot, const Surface* reference, Surface** sprite);
  // The current character's motion fields; false when the source ended inside them.
  bool (*readMotion)(SceneSource* source, CharacterState* character);
  // False when the source ended before the background: the desktop copy stays.
  bool (*readBackground)(SceneSource* source, SceneBackground* background);
  // The wallpaper, called only when the background names one: its size, or false when there is
  // no picture to be had. Its rows then come in bands (wallpaper_band.h), so that no picture of
  // the wallpaper's own size is ever held.
  bool (*beginWallpaper)(SceneSource* source, int32_t* width, int32_t* height);
  // The next band of whole rows as a surface as wide as the wallpaper, *top its first row's place
  // in the picture; bands may come in any order, each row in at most one. Null once no band is
  // left (or none can be had): the engine asks until then, so a source may keep reading its rows.
  // A source may leave out the rows no monitor shows (WallpaperRowShown of `placement`).
  Surface* (*nextWallpaperBand)(SceneSource* source, const Surface* reference, const WallpaperPlacement* placement,
                                int32_t* top);
  // Starts the looping sound, if the scene has one, through the scene's host (may fill the
  // model's sound fields). A sound that takes long to decode may start later, decoded between
  // paints (continueSound): the source sets the model's soundSource then.
  void (*startSound)(SceneSource* source, SceneModel* scene);
  // Loading is over.
  void (*close)(SceneSource* source);
  // Asked once the bands have ended: false when the wallpaper turned out, part way through its
  // rows, not to be had after all (a picture found damaged as it was read), so that the
  // background is drawn as without one. Null in a source whose wallpaper is whole once begun.
  bool (*wallpaperTaken)(SceneSource* source);
  // Decodes more of that sound, and starts it once it is whole; false when nothing is left to
  // do (it plays, or was left out). Null in a source whose sound is always ready at once.
  bool (*continueSound)(SceneSource* source, SceneModel* scene);
};

// A motion record's fields into the character, as every source hands them over.
void TakeMotionRecord(const MotionRecord& motion, CharacterState* character);
// A background record as the engine takes it: the colour as 0x00BBGGRR of the fields' low bytes.
SceneBackground BackgroundOfRecord(const BackgroundRecord& record);
