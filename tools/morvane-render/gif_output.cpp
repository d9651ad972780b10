#include "gif_output.h"

#include <gif_lib.h>

#include <cstring>

namespace {

const int kTransparent = kGifColours;  // the index left free in the table

int WriteToReplacement(GifFileType* gif, const GifByteType* bytes, int size) {
  return static_cast<int>(
      WriteFileReplacement(static_cast<FileReplacement*>(gif->UserData), bytes, static_cast<size_t>(size)));
}

}  // namespace

bool GifOutput::Open(const std::string& path, int32_t width, int32_t height, GifPalette* palette,
                     std::string* problem) {
  path_ = path;
  width_ = width;
  height_ = height;
  palette_ = palette;
  const char* why = nullptr;
  if (!BeginFileReplacement(path.c_str(), nullptr, &file_, &why)) {
    *problem = path + ": " + why;
    return false;
  }
  int error = 0;
  gif_ = EGifOpen(&file_, WriteToReplacement, &error);
  if (!gif_) {
    AbandonFileReplacement(&file_);
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
  // The whole picture is mapped, so that the dithering of the changed pixels is the one it would
  // have in the picture alone.
  bool ok = palette_->Map(pending_.data(), width_, height_, &indices_);
  ok = ok && EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extensionSize), extension) ==
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
        line[x - left] = indices_[row + x];
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
    AbandonFileReplacement(&file_);
    return false;
  }
  if (!ok) {
    *problem = path_ + ": " + GifErrorString(gif_->Error);
    Abandon();
    return false;
  }
  gif_ = nullptr;
  const char* why = nullptr;
  if (CommitFileReplacement(&file_, &why)) return true;
  *problem = path_ + ": " + why;
  return false;
}

void GifOutput::Abandon() {
  if (gif_) {
    int error = 0;
    EGifCloseFile(gif_, &error);
    gif_ = nullptr;
  }
  AbandonFileReplacement(&file_);
}
