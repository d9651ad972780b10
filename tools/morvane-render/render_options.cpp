#include "render_options.h"

#include <cstdlib>
#include <cstring>
#include <strings.h>

const char kRenderUsage[] =
    "Usage: morvane-render SCENE --size WxH [--seconds S] [--fps F] [--seed N] OUT\n"
    "Plays SCENE (a packaged saver .scr or a settings file) without a display and writes\n"
    "OUT: the last picture as PNG (OUT ends in .png) or the whole run as an animated GIF\n"
    "(OUT ends in .gif).\n"
    "  --size WxH     the screen the scene plays on, in pixels\n"
    "  --seconds S    how long it plays, in the scene's own time (default 5; 0.001 steps)\n"
    "  --fps F        pictures per second in a GIF, 1 to 50 (default: one per paint, at most 50)\n"
    "  --seed N       the random seed (0 to 4294967295): the same output on every run\n"
    "  --help         show this text and exit\n"
    "  --version      show the version and exit\n"
    "Exit status: 0 written, 1 the scene or the output failed, 2 usage error.\n";

namespace {

bool ParseUnsigned(const char* text, uint64_t limit, uint64_t* value) {
  if (!text || !*text) return false;
  uint64_t v = 0;
  for (const char* c = text; *c; ++c) {
    if (*c < '0' || *c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(*c - '0');
    if (v > limit) return false;
  }
  *value = v;
  return true;
}

bool ParseSize(const char* text, int32_t* width, int32_t* height) {
  const char* x = std::strchr(text, 'x');
  if (!x) return false;
  std::string w(text, static_cast<size_t>(x - text));
  uint64_t wv, hv;
  if (!ParseUnsigned(w.c_str(), kMaxRenderSide, &wv) || !ParseUnsigned(x + 1, kMaxRenderSide, &hv))
    return false;
  if (wv == 0 || hv == 0 || wv * hv > static_cast<uint64_t>(kMaxRenderPixels)) return false;
  *width = static_cast<int32_t>(wv);
  *height = static_cast<int32_t>(hv);
  return true;
}

// Decimal seconds with up to three places, as milliseconds; at most a day.
bool ParseSeconds(const char* text, int64_t* milliseconds) {
  const char* dot = std::strchr(text, '.');
  std::string whole = dot ? std::string(text, static_cast<size_t>(dot - text)) : std::string(text);
  uint64_t seconds = 0;
  if (!whole.empty() && !ParseUnsigned(whole.c_str(), 86400, &seconds)) return false;
  uint64_t fraction = 0;
  if (dot) {
    std::string places = dot + 1;
    if (places.empty() || places.size() > 3) return false;
    if (!ParseUnsigned(places.c_str(), 999, &fraction)) return false;
    for (size_t i = places.size(); i < 3; ++i) fraction *= 10;
  } else if (whole.empty()) {
    return false;
  }
  uint64_t total = seconds * 1000 + fraction;
  if (total > 86400ull * 1000) return false;
  *milliseconds = static_cast<int64_t>(total);
  return true;
}

bool EndsWith(const std::string& text, const char* suffix) {
  size_t n = std::strlen(suffix);
  return text.size() > n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

}  // namespace

bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options, std::string* problem) {
  std::string positional[2];
  int positionals = 0;
  bool sized = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const bool takesValue = !std::strcmp(arg, "--size") || !std::strcmp(arg, "--seconds") ||
                            !std::strcmp(arg, "--fps") || !std::strcmp(arg, "--seed");
    if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
      options->help = true;
      return true;
    }
    if (!std::strcmp(arg, "--version")) {
      options->version = true;
      return true;
    }
    if (takesValue) {
      if (i + 1 >= argc) {
        *problem = std::string(arg) + " needs a value";
        return false;
      }
      const char* value = argv[++i];
      uint64_t number = 0;
      if (!std::strcmp(arg, "--size")) {
        if (!ParseSize(value, &options->width, &options->height)) {
          *problem = std::string("--size ") + value + ": not WxH within 16384x16384 and 64 megapixels";
          return false;
        }
        sized = true;
      } else if (!std::strcmp(arg, "--seconds")) {
        if (!ParseSeconds(value, &options->milliseconds)) {
          *problem = std::string("--seconds ") + value + ": not a number of seconds from 0 to 86400";
          return false;
        }
      } else if (!std::strcmp(arg, "--fps")) {
        if (!ParseUnsigned(value, kMaxGifFps, &number) || number == 0) {
          *problem = std::string("--fps ") + value + ": not a whole number from 1 to 50";
          return false;
        }
        options->fps = static_cast<int32_t>(number);
      } else {
        if (!ParseUnsigned(value, 0xFFFFFFFFull, &number)) {
          *problem = std::string("--seed ") + value + ": not a whole number from 0 to 4294967295";
          return false;
        }
        options->seed = static_cast<uint32_t>(number);
        options->seeded = true;
      }
      continue;
    }
    if (arg[0] == '-' && arg[1] != '\0') {
      *problem = std::string("unknown option ") + arg;
      return false;
    }
    if (positionals == 2) {
      *problem = std::string("one scene and one output only: ") + arg;
      return false;
    }
    positional[positionals++] = arg;
  }
  if (positionals != 2) {
    *problem = "a scene and an output file are needed";
    return false;
  }
  if (!sized) {
    *problem = "--size WxH is needed";
    return false;
  }
  options->scene = positional[0];
  options->output = positional[1];
  if (EndsWith(options->output, ".png")) {
    options->format = RenderPng;
  } else if (EndsWith(options->output, ".gif")) {
    options->format = RenderGif;
  } else {
    *problem = options->output + ": the output's name must end in .png or .gif";
    return false;
  }
  if (options->fps && options->format != RenderGif) {
    *problem = "--fps is for a GIF only";
    return false;
  }
  return true;
}
