// morvane-render: plays a scene without a display and writes its last picture as PNG or the
// whole run as an animated GIF. With --seed the file is the same on every run.
#include <cstdio>
#include <ctime>
#include <string>

#include "gif_output.h"
#include "gif_palette.h"
#include "png_output.h"
#include "render_options.h"
#include "scene_file.h"
#include "scene_render.h"
#include "tool_version.h"

namespace {

struct PngSink {
  PictureSink base;
  const RenderOptions* options;
  bool written;
  std::string problem;
};

void TakeForPng(PictureSink* sink, const uint32_t* pixels, int32_t width, int32_t height, int64_t) {
  PngSink* self = reinterpret_cast<PngSink*>(sink);
  self->written = WritePng(self->options->output, pixels, width, height, &self->problem);
}

struct PaletteSink {
  PictureSink base;
  GifPalette* palette;
  bool ok;
};

void TakeForPalette(PictureSink* sink, const uint32_t* pixels, int32_t width, int32_t height, int64_t) {
  PaletteSink* self = reinterpret_cast<PaletteSink*>(sink);
  if (self->ok) self->ok = self->palette->Count(pixels, width, height);
}

struct GifSink {
  PictureSink base;
  GifOutput* output;
  bool ok;
};

void TakeForGif(PictureSink* sink, const uint32_t* pixels, int32_t, int32_t, int64_t milliseconds) {
  GifSink* self = reinterpret_cast<GifSink*>(sink);
  if (self->ok) self->ok = self->output->Add(pixels, milliseconds / 10);
}

int Fail(const std::string& problem) {
  std::fprintf(stderr, "morvane-render: %s\n", problem.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  RenderOptions options;
  std::string problem;
  if (!ParseRenderOptions(argc, argv, &options, &problem)) {
    std::fprintf(stderr, "morvane-render: %s\n%s", problem.c_str(), kRenderUsage);
    return 2;
  }
  if (options.help) {
    std::fputs(kRenderUsage, stdout);
    return 0;
  }
  if (options.version) {
    PrintToolVersion("morvane-render");
    return 0;
  }
  SceneFile file;
  file.program = "morvane-render";
  if (!ReadSceneFile(options.scene.c_str(), &file, &problem)) return Fail(problem);
  std::string damage = PackageDamage(file);
  if (!damage.empty()) std::fprintf(stderr, "morvane-render: note: %s; playing what loaded\n", damage.c_str());

  RenderRun run = {options.width, options.height,
                   options.seeded ? options.seed : static_cast<uint32_t>(std::time(nullptr)),
                   options.milliseconds, 0};
  RenderResult result;
  if (options.format == RenderPng) {
    PngSink sink = {{TakeForPng}, &options, false, std::string()};
    if (!RenderScene(&file, run, &sink.base, &result, &problem)) return Fail(problem);
    if (!sink.written) return Fail(sink.problem);
  } else {
    // One run counts the colours, a second writes the pictures: the engine plays the same
    // seed the same way, so no picture needs keeping in between.
    run.fps = options.fps ? options.fps : kFpsOfThePaints;
    GifPalette palette;
    PaletteSink counting = {{TakeForPalette}, &palette, true};
    if (!RenderScene(&file, run, &counting.base, &result, &problem)) return Fail(problem);
    if (!counting.ok) return Fail("not enough memory to count the pictures' colours");
    if (!palette.Choose(&problem)) return Fail(problem);
    GifOutput output;
    if (!output.Open(options.output, options.width, options.height, &palette, &problem)) return Fail(problem);
    GifSink sink = {{TakeForGif}, &output, true};
    if (!RenderScene(&file, run, &sink.base, &result, &problem)) {
      output.Abandon();
      return Fail(problem);
    }
    if (!sink.ok) {
      output.Abandon();
      return Fail(options.output + ": the picture could not be written");
    }
    // The last picture stays for one picture's time.
    const int64_t end = (result.pictures * 100) / result.fps;
    if (!output.Close(end, &problem)) return Fail(problem);
  }
  std::printf("%s: %lld paints, %lld %s\n", options.output.c_str(), static_cast<long long>(result.paints),
              static_cast<long long>(result.pictures), result.pictures == 1 ? "picture" : "pictures");
  return 0;
}
