#include "scene_render.h"

#include "engine.h"
#include "host_soft.h"
#include "scene_file.h"
#include "surface.h"
#include "surface_soft.h"
#include "tick_schedule.h"

namespace {

// Plays every tick due up to and including `until`.
void PlayUntil(SceneModel* scene, TickSchedule* schedule, int64_t until, Surface* window, RenderResult* result) {
  while (NextTickTime(schedule) <= until) {
    if (TakeNextTick(schedule) == TickFrame) {
      AdvanceFrames(scene);
    } else {
      PaintScene(scene, window);
      ++result->paints;
    }
  }
}

}  // namespace

bool RenderScene(SceneFile* file, const RenderRun& run, PictureSink* sink, RenderResult* result,
                 std::string* problem) {
  *result = RenderResult{0, 0, run.fps};
  SoftHost host;
  OpenSoftHost(&host);
  SceneModel scene;
  LoadScene(&scene, &host.base, OpenSceneFileSource(file),
            SceneGeometry{run.width, run.height, 0, 0, run.width, run.height, 0, 0, 0, {}}, run.seed);
  Surface* window = CreateSurface(nullptr, run.width, run.height);
  if (host.startupFailures || !window) {
    ReleaseSurface(window);
    ReleaseScene(&scene);
    *problem = "not enough memory to start the scene";
    return false;
  }
  TickSchedule schedule;
  StartTickSchedule(&schedule, host.redrawPeriod, host.framePeriod);
  const uint32_t* pixels = SoftSurfacePixels(window);
  if (result->fps == kFpsOfThePaints) {
    const int64_t perSecond = 1000 / schedule.paintPeriod;
    result->fps = static_cast<int32_t>(perSecond < 1 ? 1 : perSecond > kMaxPicturesPerSecond
                                                               ? kMaxPicturesPerSecond
                                                               : perSecond);
  }
  if (result->fps > 0) {
    for (int64_t k = 0;; ++k) {
      const int64_t moment = k * 1000 / result->fps;
      if (moment > run.milliseconds) break;
      PlayUntil(&scene, &schedule, moment, window, result);
      sink->take(sink, pixels, run.width, run.height, moment);
      ++result->pictures;
    }
  } else {
    PlayUntil(&scene, &schedule, run.milliseconds, window, result);
    sink->take(sink, pixels, run.width, run.height, run.milliseconds);
    ++result->pictures;
  }
  ReleaseSurface(window);
  ReleaseScene(&scene);
  return true;
}
