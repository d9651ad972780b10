#include "png_output.h"

#include <png.h>

#include <vector>

#include "file_replacement.h"

bool WritePng(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height,
              std::string* problem) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  for (size_t i = 0, n = static_cast<size_t>(width) * static_cast<size_t>(height); i < n; ++i) {
    const uint32_t colour = pixels[i];  // 0x00BBGGRR
    rgb[i * 3] = static_cast<uint8_t>(colour);
    rgb[i * 3 + 1] = static_cast<uint8_t>(colour >> 8);
    rgb[i * 3 + 2] = static_cast<uint8_t>(colour >> 16);
  }
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  FileReplacement file;
  const char* why = nullptr;
  if (!BeginFileReplacement(path.c_str(), nullptr, &file, &why)) {
    *problem = path + ": " + why;
    return false;
  }
  if (!png_image_write_to_stdio(&image, file.stream, 0, rgb.data(), width * 3, nullptr)) {
    *problem = path + ": " + image.message;
    AbandonFileReplacement(&file);
    return false;
  }
  if (CommitFileReplacement(&file, &why)) return true;
  *problem = path + ": " + why;
  return false;
}
