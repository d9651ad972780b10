#include "gdi_pixels.h"

#include "surface_gdi.h"

void ReadGdiPixels(Surface* surface, std::vector<uint32_t>* pixels) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = surface->width;
  info.bmiHeader.biHeight = -surface->height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC context = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(context, section);
  BitBlt(context, 0, 0, surface->width, surface->height, AsGdiSurface(surface)->context, 0, 0, SRCCOPY);
  GdiFlush();
  const uint32_t* p = static_cast<const uint32_t*>(bits);
  pixels->resize(static_cast<size_t>(surface->width) * surface->height);
  for (size_t i = 0; i < pixels->size(); ++i) {
    uint32_t v = p[i];  // blue, green, red, unused
    (*pixels)[i] = ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
  }
  SelectObject(context, old);
  DeleteDC(context);
  DeleteObject(section);
}

void ReadWindow(HWND window, int32_t width, int32_t height, std::vector<uint32_t>* pixels) {
  GdiSurface shown = BorrowedSurface(GetDC(window));
  shown.width = width;
  shown.height = height;
  ReadGdiPixels(&shown, pixels);
  ReleaseDC(window, shown.context);
}
