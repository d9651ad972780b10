#include "screen_pixels.h"

std::vector<uint32_t> ScreenPixels(const RECT& area) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  std::vector<uint32_t> pixels(size_t(w) * h);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  const uint32_t* source = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = source[i] & 0x00FFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}
