// resource_probe: watches a running saver for a set time and says whether what it holds grows.
//   resource_probe SECONDS INTERVAL WARMUP MEMORY-SLACK-KIB CSV-FILE
// Finds the saver window of the session, samples its process every INTERVAL seconds into
// CSV-FILE, and after SECONDS compares the level of every minute after the WARMUP seconds with
// that of the first such minute: the three counts must never rise, private memory not by more
// than the slack (the allocator keeps a little of what it is given back). Exit 0 flat, 1 grown,
// 2 the saver was not found or ended early.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "process_resources.h"

namespace {

struct Sample {
  DWORD seconds;
  ProcessResources resources;
};

HWND WaitForSaver(DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindWindowA("WindowsScreenSaverClass", nullptr);
    if (window || GetTickCount() - start > timeoutMs) return window;
    Sleep(200);
  }
}

struct Figure {
  const char* name;
  uint64_t (*of)(const ProcessResources&);
  uint64_t slack;
};

// A figure's level over a minute is its lowest sample in that minute: an object that lives only
// while a picture is drawn shows in a sample now and then, but one that leaks stays and lifts
// the level of every minute after it.
uint64_t LevelAt(const Figure& figure, const std::vector<Sample>& samples, size_t first, size_t count) {
  uint64_t level = figure.of(samples[first].resources);
  for (size_t i = first; i < first + count; ++i)
    if (figure.of(samples[i].resources) < level) level = figure.of(samples[i].resources);
  return level;
}

bool Report(const Figure& figure, const std::vector<Sample>& samples, size_t baseline, size_t minute) {
  const uint64_t start = figure.of(samples.front().resources);
  const uint64_t base = LevelAt(figure, samples, baseline, minute);
  uint64_t highestLevel = base, highest = base;
  for (size_t i = baseline; i + minute <= samples.size(); ++i) {
    uint64_t level = LevelAt(figure, samples, i, minute);
    if (level > highestLevel) highestLevel = level;
  }
  for (size_t i = baseline; i < samples.size(); ++i)
    if (figure.of(samples[i].resources) > highest) highest = figure.of(samples[i].resources);
  const uint64_t end = LevelAt(figure, samples, samples.size() - minute, minute);
  bool flat = highestLevel <= base + figure.slack;
  std::printf("  %-13s first sample %7llu; level after warm-up %7llu, highest level %7llu, last level %7llu "
              "(highest sample %7llu): %s\n",
              figure.name, static_cast<unsigned long long>(start), static_cast<unsigned long long>(base),
              static_cast<unsigned long long>(highestLevel), static_cast<unsigned long long>(end),
              static_cast<unsigned long long>(highest), flat ? "flat" : "GROWS");
  return flat;
}

uint64_t Gdi(const ProcessResources& r) { return r.gdiObjects; }
uint64_t User(const ProcessResources& r) { return r.userObjects; }
uint64_t Handles(const ProcessResources& r) { return r.handles; }
uint64_t PrivateKib(const ProcessResources& r) { return r.privateBytes / 1024; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: resource_probe SECONDS INTERVAL WARMUP MEMORY-SLACK-KIB CSV-FILE\n");
    return 2;
  }
  const DWORD seconds = std::strtoul(argv[1], nullptr, 10), interval = std::strtoul(argv[2], nullptr, 10);
  const DWORD warmup = std::strtoul(argv[3], nullptr, 10);
  const uint64_t slackKib = std::strtoull(argv[4], nullptr, 10);
  FILE* csv = std::fopen(argv[5], "w");
  if (!csv || interval == 0) {
    std::fprintf(stderr, "resource_probe: cannot write %s\n", argv[5]);
    return 2;
  }

  HWND window = WaitForSaver(30000);
  DWORD processId = 0;
  if (window) GetWindowThreadProcessId(window, &processId);
  HANDLE process = processId ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId) : nullptr;
  if (!process) {
    std::fprintf(stderr, "resource_probe: no saver window came up\n");
    return 2;
  }

  std::fprintf(csv, "seconds,gdi_objects,user_objects,handles,private_kib\n");
  std::vector<Sample> samples;
  ResourceSources sources = {};
  const DWORD start = GetTickCount();
  for (DWORD due = 0; due <= seconds; due += interval) {
    while (GetTickCount() - start < due * 1000) Sleep(100);
    Sample sample = {due, {}};
    if (!SampleProcessResources(process, processId, &sample.resources, &sources)) {
      std::fprintf(stderr, "resource_probe: the saver ended or could not be read after %lu s\n",
                   static_cast<unsigned long>(due));
      return 2;
    }
    samples.push_back(sample);
    std::fprintf(csv, "%lu,%u,%u,%u,%llu\n", static_cast<unsigned long>(due), sample.resources.gdiObjects,
                 sample.resources.userObjects, sample.resources.handles,
                 static_cast<unsigned long long>(PrivateKib(sample.resources)));
    std::fflush(csv);
  }
  std::fclose(csv);

  size_t baseline = 0;
  while (baseline + 1 < samples.size() && samples[baseline].seconds < warmup) ++baseline;
  size_t minute = 60 / interval > 0 ? 60 / interval : 1;
  if (baseline + minute > samples.size()) {
    std::fprintf(stderr, "resource_probe: too short a run: it needs a minute after the warm-up\n");
    return 2;
  }
  std::printf("  %zu samples over %lu s, every %lu s (GDI objects: %s; user objects: %s; handles: %s; memory: %s)\n",
              samples.size(), static_cast<unsigned long>(seconds), static_cast<unsigned long>(interval), sources.gdi,
              sources.user, sources.handles, sources.memory);
  const Figure figures[] = {{"GDI objects", Gdi, 0}, {"user objects", User, 0}, {"handles", Handles, 0},
                            {"private KiB", PrivateKib, slackKib}};
  bool flat = true;
  for (const Figure& figure : figures) flat &= Report(figure, samples, baseline, minute);
  return flat ? 0 : 1;
}
