// The player image of a packaged saver with the scene's first comment line ("Module" / "Memo1")
// as its description, which the system's file properties and task list show: the copy that the
// builder writes is amended, the player's own file never. Only the image before offset 49152
// changes; the scene package after it is the same as without.
#pragma once
#include <cstdint>

#include "player_image_source.h"
#include "settings_store.h"

class DescribedPlayerImage : public PlayerImageSource {
 public:
  DescribedPlayerImage(PlayerImageSource* player, SettingsStore* settings)
      : PlayerImageSource{PlayerImage}, player_(player), settings_(settings) {}
  ~DescribedPlayerImage();
  DescribedPlayerImage(const DescribedPlayerImage&) = delete;
  DescribedPlayerImage& operator=(const DescribedPlayerImage&) = delete;

 private:
  // The player's image as it is when the comment line is empty or is not text of this system,
  // or when the image has no version resource to take it.
  static const uint8_t* PlayerImage(PlayerImageSource* source, const char** why);

  PlayerImageSource* player_;
  SettingsStore* settings_;
  uint8_t* copy_ = nullptr;
};
