#include "described_player_image.h"

#include <cstdlib>
#include <cstring>

#include "package_records.h"
#include "settings_text.h"
#include "version_resource.h"

DescribedPlayerImage::~DescribedPlayerImage() { std::free(copy_); }

const uint8_t* DescribedPlayerImage::PlayerImage(const char** why) {
  const uint8_t* image = player_->PlayerImage(why);
  if (!image) return nullptr;
  char line[kSettingBufferSize];
  size_t length = settings_->ReadText("Module", "Memo1", "", line);
  uint16_t text[kSettingBufferSize];
  size_t units = 0;
  if (length == 0 || !WidenSettingText(line, length, text, kSettingBufferSize, &units) || units == 0) return image;
  if (!copy_) copy_ = static_cast<uint8_t*>(std::malloc(kPlayerImageSize));
  if (!copy_) return image;
  std::memcpy(copy_, image, kPlayerImageSize);
  return SetVersionDescription(copy_, kPlayerImageSize, text, units) ? copy_ : image;
}
