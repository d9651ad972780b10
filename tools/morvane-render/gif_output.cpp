#include "gif_output.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <cstring>

#include "replace_file.h"

namespace {

const int kTransparent = kGifColours;  // the index left free in the table

}  // namespace

bool GifOutput::Open(const std::string& path, int32_t width, int32_t height, const GifPalette* palette,
                     std::string* problem) {
  path_ = path;
  temporary_ = TemporaryNameFor(path);
  width_ = width;
  height_ = height;
  palette_ = palette;
  int error = 0;
  // Opened here rather than by giflib, which would make the file readable by its owner only.
  const int fd = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    *problem = path + ": " + std::strerror(errno);
    return false;
  }
  gif_ = EGifOpenFileHandle(fd, &error);
  if (!gif_) {
    close(fd);
    std::remove(temporary_.c_str());
    *problem = path + ": " + GifErrorString(error);
    return false;
  }
  EGifSetGifVersion(gif_, true);
  GifColorType table[256] = {};
  const std::vector<uint32_t>& colours = palette->colours();
  for (size_t i = 0; i < colours.size(); ++i) {
    table[i].Red = static_cast<GifByteType>(colours[i]);
    table[i].Green = static_cast<GifByteType>(colours[i] >> 8);
    table[i].Blue = static_cast<GifByteType>(colours[i] >> 16);
  }
  ColorMapObject* map = GifMakeMapObject(256, table);
  bool ok = map && EGifPutScreenDesc(gif_, width, height, 8, 0, map) == GIF_OK;
  GifFreeMapObject(map);
  // Loops for ever (the application extension browsers understand).
  static const GifByteType kLoopName[] = "NETSCAPE2.0";
  static const GifByteType kLoopForever[] = {1, 0, 0};
  ok = ok && EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
       EGifPutExtensionBlock(gif_, 11, kLoopName) == GIF_OK &&
       EGifPutExtensionBlock(gif_, 3, kLoopForever) == GIF_OK &&
       EGifPutExtensionTrailer(gif_) == GIF_OK;
  if (!ok) {
    *problem = path + ": " + GifErrorString(gif_->Error);
    Abandon();
    return false;
  }
  shown_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFFFFFFFF);
  return true;
}

bool GifOutput::Add(const uint32_t* pixels, int64_t centiseconds) {
  const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
  if (pendingSince_ >= 0) {
    if (std::memcmp(pending_.data(), pixels, count * 4) == 0) return true;
    if (!WritePending(centiseconds)) return false;
  }
  pending_.assign(pixels, pixels + count);
  pendingSince_ = centiseconds;
  return true;
}

bool GifOutput::WritePending(int64_t untilCentiseconds) {
  // The rectangle where the pending picture differs from the canvas.
  int32_t left = width_, top = height_, right = -1, bottom = -1;
  for (int32_t y = 0; y < height_; ++y) {
    const uint32_t* now = &pending_[static_cast<size_t>(y) * width_];
    const uint32_t* before = &shown_[static_cast<size_t>(y) * width_];
    for (int32_t x = 0; x < width_; ++x) {
      if (now[x] == before[x]) continue;
      if (x < left) left = x;
      if (x > right) right = x;
      if (y < top) top = y;
      bottom = y;
    }
  }
  if (right < 0) left = top = right = bottom = 0;  // nothing changed: one transparent pixel
  int64_t delay = untilCentiseconds - pendingSince_;
  if (delay > 65535) delay = 65535;
  GraphicsControlBlock control;
  control.DisposalMode = DISPOSE_DO_NOT;
  control.UserInputFlag = false;
  control.DelayTime = static_cast<int>(delay);
  control.TransparentColor = kTransparent;
  GifByteType extension[4];
  const size_t extensionSize = EGifGCBToExtension(&control, extension);
  const int32_t w = right - left + 1, h = bottom - top + 1;
  bool ok = EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extensionSize), extension) ==
                GIF_OK &&
            EGifPutImageDesc(gif_, left, top, w, h, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> line(static_cast<size_t>(w));
  for (int32_t y = top; ok && y <= bottom; ++y) {
    const size_t row = static_cast<size_t>(y) * width_;
    for (int32_t x = left; x <= right; ++x) {
      const uint32_t colour = pending_[row + x];
      if (colour == shown_[row + x]) {
        line[x - left] = kTransparent;
      } else {
        line[x - left] = palette_->IndexOf(colour);
        // The canvas keeps the picture's own colours: a pixel counts as changed when the scene
        // changed it, not when the table rounds it.
        shown_[row + x] = colour;
      }
    }
    ok = EGifPutLine(gif_, line.data(), w) == GIF_OK;
  }
  if (!ok) failed_ = true;
  return ok;
}

bool GifOutput::Close(int64_t endCentiseconds, std::string* problem) {
  bool ok = !failed_ && (pendingSince_ < 0 || WritePending(endCentiseconds));
  int error = 0;
  if (ok && EGifCloseFile(gif_, &error) != GIF_OK) {
    *problem = path_ + ": " + GifErrorString(error);
    gif_ = nullptr;
    std::remove(temporary_.c_str());
    return false;
  }
  if (!ok) {
    *problem = path_ + ": " + GifErrorString(gif_->Error);
    Abandon();
    return false;
  }
  gif_ = nullptr;
  return ReplaceWith(temporary_, path_, problem);
}

void GifOutput::Abandon() {
  if (gif_) {
    int error = 0;
    EGifCloseFile(gif_, &error);
    gif_ = nullptr;
  }
  std::remove(temporary_.c_str());
}
