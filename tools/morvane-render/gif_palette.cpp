#include "gif_palette.h"

#include <libimagequant.h>

#include <algorithm>

namespace {

// Floyd-Steinberg at full strength: the smoothest gradients a table of 255 colours can show.
const float kDithering = 1.0f;

}  // namespace

GifPalette::GifPalette() {
  attributes_ = liq_attr_create();
  if (!attributes_) return;
  liq_set_max_colors(attributes_, kGifColours);
  histogram_ = liq_histogram_create(attributes_);
}

GifPalette::~GifPalette() {
  if (result_) liq_result_destroy(result_);
  if (histogram_) liq_histogram_destroy(histogram_);
  if (attributes_) liq_attr_destroy(attributes_);
}

bool GifPalette::Count(const uint32_t* pixels, int32_t width, int32_t height) {
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  uint32_t last = 0xFFFFFFFF;
  for (size_t i = 0; i < count && exact_; ++i) {
    const uint32_t colour = pixels[i] & 0xFFFFFF;
    if (colour == last) continue;
    last = colour;
    auto at = std::lower_bound(exactColours_.begin(), exactColours_.end(), colour);
    if (at != exactColours_.end() && *at == colour) continue;
    if (exactColours_.size() == static_cast<size_t>(kGifColours)) {
      exact_ = false;
      exactColours_.clear();
      break;
    }
    exactColours_.insert(at, colour);
  }
  if (!histogram_) return false;
  // The pixels' bytes are red, green, blue and a fourth that the library reads as opacity.
  rgba_.resize(count);
  for (size_t i = 0; i < count; ++i) rgba_[i] = pixels[i] | 0xFF000000u;
  liq_image* image = liq_image_create_rgba(attributes_, rgba_.data(), width, height, 0);
  if (!image) return false;
  const bool added = liq_histogram_add_image(histogram_, attributes_, image) == LIQ_OK;
  liq_image_destroy(image);
  return added;
}

bool GifPalette::Choose(std::string* problem) {
  if (exact_) {
    colours_ = exactColours_;
    return true;
  }
  if (!histogram_ || liq_histogram_quantize(histogram_, attributes_, &result_) != LIQ_OK) {
    *problem = "no colour table could be chosen (out of memory)";
    return false;
  }
  liq_set_dithering_level(result_, kDithering);
  const liq_palette* table = liq_get_palette(result_);
  colours_.clear();
  for (unsigned i = 0; i < table->count; ++i) {
    const liq_color& c = table->entries[i];
    colours_.push_back(c.r | (c.g << 8) | (static_cast<uint32_t>(c.b) << 16));
  }
  return true;
}

bool GifPalette::Map(const uint32_t* pixels, int32_t width, int32_t height, std::vector<uint8_t>* indices) {
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  indices->resize(count);
  if (exact_) {
    for (size_t i = 0; i < count; ++i) {
      const uint32_t colour = pixels[i] & 0xFFFFFF;
      (*indices)[i] = static_cast<uint8_t>(std::lower_bound(colours_.begin(), colours_.end(), colour) - colours_.begin());
    }
    return true;
  }
  rgba_.resize(count);
  for (size_t i = 0; i < count; ++i) rgba_[i] = pixels[i] | 0xFF000000u;
  liq_image* image = liq_image_create_rgba(attributes_, rgba_.data(), width, height, 0);
  if (!image) return false;
  const bool mapped = liq_write_remapped_image(result_, image, indices->data(), count) == LIQ_OK;
  liq_image_destroy(image);
  return mapped;
}
