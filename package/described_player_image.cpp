#include "described_player_image.h"

#include <cstdlib>
#include <cstring>

#include "package_records.h"
#include "setting_table.h"
#include "settings_text.h"
#include "version_resource.h"

DescribedPlayerImage::~DescribedPlayerImage() { std::free(copy_); }

const uint8_t* DescribedPlayerImage::PlayerImage(PlayerImageSource* source, const char** why) {
  DescribedPlayerImage* self = static_cast<DescribedPlayerImage*>(source);
  const uint8_t* image = self->player_->playerImage(self->player_, why);
  if (!image) return nullptr;
  char line[kSettingBufferSize];
  size_t length = ReadSetting(self->settings_, kMemo1, line);
  uint16_t text[kSettingBufferSize];
  size_t units = 0;
  if (length == 0 || !WidenSettingText(line, length, text, kSettingBufferSize, &units) || units == 0) return image;
  if (!self->copy_) self->copy_ = static_cast<uint8_t*>(std::malloc(kPlayerImageSize));
  if (!self->copy_) return image;
  std::memcpy(self->copy_, image, kPlayerImageSize);
  return SetVersionDescription(self->copy_, kPlayerImageSize, text, units) ? self->copy_ : image;
}
