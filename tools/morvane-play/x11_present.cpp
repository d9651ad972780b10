#include "x11_present.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <cstring>

#include "engine.h"

namespace {

// MIT-SHM attach failures (a remote display, another user's server) arrive as X errors.
bool attachFailed = false;

int NoteAttachError(Display*, XErrorEvent*) {
  attachFailed = true;
  return 0;
}

bool ShiftOf(unsigned long mask, uint32_t* shift) {
  for (uint32_t s = 0; s < 32; s += 8) {
    if (mask == (0xFFul << s)) {
      *shift = s;
      return true;
    }
  }
  return false;
}

bool HostIsLittleEndian() {
  const uint16_t probe = 1;
  return *reinterpret_cast<const uint8_t*>(&probe) == 1;
}

// The staging ring's size in pixels, whatever the window's: four megabytes, a few paints of a
// busy scene. What the player writes into it and the server reads back out of it then stays
// in the processor's caches from paint to paint; a ring as large as a 4K screen (32 MB) went
// round through main memory, and the conversion and the server's copies grew with the screen.
const size_t kRingPixels = size_t{1} << 20;

// Rows of a window `width` wide that the ring holds.
int32_t RingRows(int32_t width, int32_t height) {
  const size_t rows = kRingPixels / static_cast<size_t>(width);
  return rows < static_cast<size_t>(height) ? static_cast<int32_t>(rows) : height;
}

size_t RingPixels(const X11Present* present) {
  return static_cast<size_t>(present->image->width) * static_cast<size_t>(present->image->height);
}

void ReleaseImage(X11Present* present) {
  if (!present->image) return;
  if (present->shared) {
    XShmDetach(present->display, &present->segment);
    XSync(present->display, False);
    shmdt(present->segment.shmaddr);
    present->image->data = nullptr;
  }
  XDestroyImage(present->image);
  present->image = nullptr;
  present->shared = false;
  present->used = 0;
}

bool CreateSharedImage(X11Present* present) {
  XShmSegmentInfo& segment = present->segment;
  XImage* image = XShmCreateImage(present->display, present->visual, static_cast<unsigned>(present->depth),
                                  ZPixmap, nullptr, &segment, static_cast<unsigned>(present->width),
                                  static_cast<unsigned>(RingRows(present->width, present->height)));
  if (!image) return false;
  segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * image->height, IPC_CREAT | 0600);
  if (segment.shmid < 0) {
    XDestroyImage(image);
    return false;
  }
  segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
  segment.readOnly = True;
  bool attached = false;
  if (segment.shmaddr != reinterpret_cast<char*>(-1)) {
    XSync(present->display, False);
    attachFailed = false;
    XErrorHandler previous = XSetErrorHandler(NoteAttachError);
    attached = XShmAttach(present->display, &segment) && (XSync(present->display, False), !attachFailed);
    XSetErrorHandler(previous);
  }
  // Once both sides hold the segment it can be marked for removal: it then goes with the last
  // of them, even when the process is killed.
  shmctl(segment.shmid, IPC_RMID, nullptr);
  if (!attached) {
    if (segment.shmaddr != reinterpret_cast<char*>(-1)) shmdt(segment.shmaddr);
    image->data = nullptr;
    XDestroyImage(image);
    return false;
  }
  present->image = image;
  present->shared = true;
  return true;
}

bool CreatePlainImage(X11Present* present) {
  const int32_t rows = RingRows(present->width, present->height);
  const size_t bytes = static_cast<size_t>(present->width) * static_cast<size_t>(rows) * 4;
  char* data = static_cast<char*>(std::calloc(bytes, 1));
  if (!data) return false;
  present->image = XCreateImage(present->display, present->visual, static_cast<unsigned>(present->depth),
                                ZPixmap, 0, data, static_cast<unsigned>(present->width),
                                static_cast<unsigned>(rows), 32, 0);
  if (!present->image) {
    std::free(data);
    return false;
  }
  return true;
}

bool CreateImage(X11Present* present) {
  if (present->offersShm && CreateSharedImage(present)) return true;
  return CreatePlainImage(present);
}

void SendUnsent(X11Present* present);

// How many rows ahead the conversion asks for the rows it will read and write.
const int32_t kRowsAhead = 4;

// Converts w x h pixels 0x00BBGGRR to the window's format, packed row after row (no gaps) from
// pixel `offset` of the image. Packed, a character's box fills a few consecutive pages of the
// image instead of one page per row of a screen-wide one: both this loop and the server, which
// reads it back, then spend their time on pixels rather than on page-table walks. Made twice,
// for the processors with AVX2 (eight pixels at a time) and for all the others, and chosen when
// the program is loaded.
__attribute__((target_clones("avx2", "default"))) void Convert(X11Present* present, const uint32_t* pixels, int32_t stride, size_t offset, int32_t width,
             int32_t height) {
  const uint32_t rs = present->redShift, gs = present->greenShift, bs = present->blueShift;
  // Nearly every display is red above green above blue: then only red and blue swap places,
  // a loop the compiler turns into vector shuffles.
  const bool common = rs == 16 && gs == 8 && bs == 0 && !present->swapBytes;
  uint32_t* out = reinterpret_cast<uint32_t*>(present->image->data) + offset;
  for (int32_t row = 0; row < height; ++row, out += width) {
    const uint32_t* in = pixels + static_cast<size_t>(row) * stride;
    // The row a few rows on is asked for now, and the place it goes to: each source row lies on
    // a page of its own, where the processor's own prefetching starts afresh.
    if (row + kRowsAhead < height) {
      const char* ahead = reinterpret_cast<const char*>(in + static_cast<size_t>(kRowsAhead) * stride);
      const char* goes = reinterpret_cast<const char*>(out + static_cast<size_t>(kRowsAhead) * width);
      for (int32_t offset = 0; offset < width * 4; offset += 64) {
        __builtin_prefetch(ahead + offset);
        __builtin_prefetch(goes + offset, 1);
      }
    }
    if (common) {
      for (int32_t i = 0; i < width; ++i) {
        const uint32_t c = in[i];
        out[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
      }
      continue;
    }
    for (int32_t i = 0; i < width; ++i) {
      const uint32_t c = in[i];
      out[i] = ((c & 0xFF) << rs) | (((c >> 8) & 0xFF) << gs) | (((c >> 16) & 0xFF) << bs);
    }
    if (present->swapBytes) {
      for (int32_t i = 0; i < width; ++i) out[i] = __builtin_bswap32(out[i]);
    }
  }
}

// Room for w x h packed pixels. The image is used as a ring: rectangles follow one another
// from picture to picture, and only when the ring comes round does the program wait (one round
// trip) for the server to have read what it was sent, which it does in order. No put then asks
// for a completion event, which would wake the program once more for every picture.
size_t TakeRoom(X11Present* present, int32_t width, int32_t height) {
  const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (present->used + pixels > RingPixels(present)) {
    if (present->shared) XSync(present->display, False);
    present->used = 0;
  }
  const size_t offset = present->used;
  present->used += pixels;
  return offset;
}

// Sends w x h packed pixels from `offset` of the image to (x, y) of the window: the rectangle as
// an image of its own size, in the same memory (and segment).
void Put(X11Present* present, size_t offset, int32_t x, int32_t y, int32_t width, int32_t height) {
  XImage packed = *present->image;
  packed.width = width;
  packed.height = height;
  packed.bytes_per_line = width * 4;
  packed.data = present->image->data + offset * 4;
  if (present->shared) {
    XShmPutImage(present->display, present->window, present->gc, &packed, 0, 0, x, y, static_cast<unsigned>(width),
                 static_cast<unsigned>(height), False);
  } else {
    XPutImage(present->display, present->window, present->gc, &packed, 0, 0, x, y, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
  }
}

const int kMaxUnsent = sizeof(X11Present::unsent) / sizeof(X11Present::unsent[0]);

// Joins the rectangles of each source as the engine joins its changed areas: a character's box
// before and after one step becomes one conversion and one transfer.
void JoinOverlapping(X11Present* present) {
  X11Present::Area joined[kMaxUnsent];
  int joinedCount = 0;
  bool taken[kMaxUnsent] = {};
  for (int i = 0; i < present->unsentCount; ++i) {
    if (taken[i]) continue;
    const X11Present::Area& first = present->unsent[i];
    SceneArea areas[kMaxUnsent];
    int count = 0;
    for (int j = i; j < present->unsentCount; ++j) {
      const X11Present::Area& a = present->unsent[j];
      if (taken[j] || a.source != first.source || a.stride != first.stride || (!a.source && j != i)) continue;
      taken[j] = true;
      areas[count++] = SceneArea{a.left, a.top, a.right - a.left, a.bottom - a.top};
    }
    count = MergeChangedAreas(areas, count);
    for (int k = 0; k < count; ++k) {
      const SceneArea& area = areas[k];
      joined[joinedCount++] = X11Present::Area{area.left, area.top, area.left + area.width, area.top + area.height,
                                               first.source, first.stride};
    }
  }
  std::memcpy(present->unsent, joined, sizeof joined[0] * static_cast<size_t>(joinedCount));
  present->unsentCount = joinedCount;
}

// Converts and sends w x h pixels of `pixels` to (x, y) of the window, in bands of rows that
// the ring holds (a whole screen needs several).
void Send(X11Present* present, const uint32_t* pixels, int32_t stride, int32_t x, int32_t y, int32_t width,
          int32_t height) {
  if (width <= 0 || height <= 0) return;
  const int32_t band = static_cast<int32_t>(RingPixels(present) / static_cast<size_t>(width));
  for (int32_t top = 0; top < height; top += band) {
    const int32_t rows = height - top < band ? height - top : band;
    const size_t offset = TakeRoom(present, width, rows);
    Convert(present, pixels + static_cast<size_t>(top) * stride, stride, offset, width, rows);
    Put(present, offset, x, y + top, width, rows);
  }
}

// Converts what waited and sends every rectangle.
void SendUnsent(X11Present* present) {
  JoinOverlapping(present);
  for (int i = 0; i < present->unsentCount; ++i) {
    const X11Present::Area& a = present->unsent[i];
    Send(present, a.source + static_cast<size_t>(a.top) * a.stride + a.left, a.stride, a.left, a.top,
         a.right - a.left, a.bottom - a.top);
  }
  present->unsentCount = 0;
}

// What the engine copies onto the window. Copies of a surface's pixels (the work buffer, which
// holds still until the next picture) wait for the end of the picture, so that overlapping ones
// are converted once; a buffer of the moment (the preview's shrunk picture) goes at once, after
// what waited, so that the window sees the copies in the engine's order.
void PutPixels(SoftWindowSink* sink, const uint32_t* pixels, int32_t stride, int32_t x, int32_t y, int32_t width,
               int32_t height, bool lasting) {
  X11Present* present = reinterpret_cast<X11Present*>(sink);
  if (!present->image) return;
  if (!lasting) {
    SendUnsent(present);
    Send(present, pixels, stride, x, y, width, height);
    return;
  }
  if (present->unsentCount == kMaxUnsent) SendUnsent(present);
  present->unsent[present->unsentCount++] =
      X11Present::Area{x, y, x + width, y + height, pixels - (static_cast<ptrdiff_t>(y) * stride + x), stride};
}

}  // namespace

bool CheckPresentVisual(Display* display, Visual* visual, int depth, std::string* problem) {
  uint32_t shift;
  const bool trueColour = visual->c_class == TrueColor;
  const bool eightBits = ShiftOf(visual->red_mask, &shift) && ShiftOf(visual->green_mask, &shift) &&
                         ShiftOf(visual->blue_mask, &shift);
  int formats = 0;
  bool thirtyTwoBits = false;
  if (XPixmapFormatValues* list = XListPixmapFormats(display, &formats)) {
    for (int i = 0; i < formats; ++i)
      if (list[i].depth == depth) thirtyTwoBits = list[i].bits_per_pixel == 32;
    XFree(list);
  }
  if (trueColour && (depth == 24 || depth == 32) && eightBits && thirtyTwoBits) return true;
  *problem = "the window's visual (depth " + std::to_string(depth) +
             ") is not a 24- or 32-bit true-colour one with 8 bits per colour";
  return false;
}

bool OpenX11Present(X11Present* present, Display* display, Window window, Visual* visual, int depth,
                    int32_t width, int32_t height) {
  std::memset(present, 0, sizeof *present);
  present->sink.put = PutPixels;
  present->display = display;
  present->window = window;
  present->visual = visual;
  present->depth = depth;
  present->width = width;
  present->height = height;
  ShiftOf(visual->red_mask, &present->redShift);
  ShiftOf(visual->green_mask, &present->greenShift);
  ShiftOf(visual->blue_mask, &present->blueShift);
  present->swapBytes = (ImageByteOrder(display) == LSBFirst) != HostIsLittleEndian();
  XGCValues values;
  values.graphics_exposures = False;
  present->gc = XCreateGC(display, window, GCGraphicsExposures, &values);
  present->offersShm = XShmQueryExtension(display);
  return CreateImage(present);
}

bool ResizeX11Present(X11Present* present, int32_t width, int32_t height) {
  present->unsentCount = 0;
  ReleaseImage(present);
  present->width = width;
  present->height = height;
  return CreateImage(present);
}

void FlushX11Present(X11Present* present) {
  SendUnsent(present);
  XFlush(present->display);
}

void CloseX11Present(X11Present* present) {
  if (!present->display) return;
  present->unsentCount = 0;
  ReleaseImage(present);
  if (present->gc) XFreeGC(present->display, present->gc);
  present->gc = nullptr;
}
