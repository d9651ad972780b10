// make_damaged_savers SAVER FOLDER SEED RANDOM-COUNT: writes damaged copies of a packaged saver
// into FOLDER, numbered 000.scr onwards, and FOLDER/index.txt with one line per copy: its file
// name, a tab, and what was done to it. The damage touches only the scene package, never the
// player image, and is the same for the same saver and seed:
//   - cut at every record boundary and at the fields inside (see FieldList), one byte into
//     every record, and at RANDOM-COUNT random offsets;
//   - RANDOM-COUNT copies with 1 to 16 random bytes flipped;
//   - every length and size field (memo lengths, frame header and bits sizes, the info header's
//     width, height, image size and colour count, the sound length) set to 0, -1 and huge.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "byte_order.h"
#include "package_reader.h"
#include "package_records.h"
#include "process_runner.h"

namespace {

typedef std::vector<uint8_t> Bytes;

struct Field {
  size_t offset;  // in the saver file
  std::string name;
  bool size;  // a length, size or dimension that damage may set to 0, -1 or huge
};

// Every field of the package in file order, found by the package reader's views.
class FieldList {
 public:
  FieldList(const Bytes& saver) : base_(saver.data() + kPlayerImageSize) {}
  void Add(const uint8_t* at, const std::string& name, bool size = false) {
    fields.push_back({kPlayerImageSize + static_cast<size_t>(at - base_), name, size});
  }
  // Every field of the first frame of each character and of the wallpaper; of the frames after
  // them, which the same code reads, only the record's start and its pixel bits.
  void AddFrame(const FrameRecordView& frame, const std::string& name, bool everyField) {
    const uint8_t* record = frame.header - kFramePrefixSize;
    Add(record, name + " tag");
    if (!everyField) {
      Add(frame.bits, name + " pixel bits");
      return;
    }
    Add(record + 1, name + " header size", true);
    Add(record + 5, name + " bits size", true);
    Add(frame.header, name + " info header");
    Add(frame.header + 4, name + " width", true);
    Add(frame.header + 8, name + " height", true);
    Add(frame.header + 14, name + " bits per pixel");
    Add(frame.header + 20, name + " image size", true);
    Add(frame.header + 32, name + " colour count", true);
    if (frame.headerSize > 40) Add(frame.header + 40, name + " colour table");
    Add(frame.bits, name + " pixel bits");
  }
  std::vector<Field> fields;

 private:
  const uint8_t* base_;
};

bool ListFields(const Bytes& saver, std::vector<Field>* fields) {
  const uint8_t* package = saver.data() + kPlayerImageSize;
  const size_t size = saver.size() - kPlayerImageSize;
  static ScenePackageView view;
  PackageError error = {0, nullptr};
  if (!ReadScenePackage(package, size, &view, &error)) {
    std::fprintf(stderr, "make_damaged_savers: the saver does not read whole: %s at %zu\n", error.reason, error.offset);
    return false;
  }
  FieldList list(saver);
  for (uint32_t line = 0; line < kMemoLineCount; ++line)
    list.Add(view.memo[line].text - 4, "memo line " + std::to_string(line + 1) + " length", true);
  const uint8_t* timing = view.memo[kMemoLineCount - 1].text + view.memo[kMemoLineCount - 1].length;
  list.Add(timing, "timing tag");
  list.Add(timing + 1, "redraw period");
  list.Add(timing + 5, "frame-change multiplier");
  list.Add(timing + 9, "transparency flag");
  const uint8_t* next = timing + kTimingRecordSize;
  for (uint32_t i = 0; i < view.characterCount; ++i) {
    const CharacterGroupView& group = view.characters[i];
    const std::string character = "character " + std::to_string(i + 1);
    for (uint32_t k = 0; k < group.frameCount; ++k) {
      list.AddFrame(group.frames[k], character + " frame " + std::to_string(k + 1), k == 0);
      next = group.frames[k].bits + group.frames[k].bitsSize;
    }
    list.Add(next, character + " motion tag");
    list.Add(next + 1, character + " speeds");
    list.Add(next + 17, character + " flags");
    next += kMotionRecordSize;
  }
  list.Add(next, "background tag");
  list.Add(next + 1, "no-colour flag");
  const uint8_t* flags = next + (view.background.noColour == 0 ? 17 : 5);
  if (view.background.noColour == 0) list.Add(next + 5, "background colour");
  list.Add(flags, "wallpaper flag");
  list.Add(flags + 4, "stretch flag");
  if (view.background.wallpaper != 0) list.AddFrame(view.wallpaper, "wallpaper", true);
  const uint8_t* sound = package + size - view.soundSize - 5;
  list.Add(sound, "sound tag");
  list.Add(sound + 1, "sound length", true);
  if (view.soundSize > 0) list.Add(sound + 5, "wave data");
  *fields = list.fields;
  return true;
}

class DamagedSet {
 public:
  DamagedSet(const std::string& folder) : folder_(folder) {
    index_ = std::fopen((folder + "/index.txt").c_str(), "w");
  }
  ~DamagedSet() {
    if (index_) std::fclose(index_);
  }
  bool ok() const { return index_ != nullptr && ok_; }
  void Add(const Bytes& bytes, const std::string& what) {
    char name[16];
    std::snprintf(name, sizeof name, "%03zu.scr", count_++);
    ok_ = ok_ && WriteWholeFile(folder_ + "/" + name, std::string(bytes.begin(), bytes.end()));
    if (index_) std::fprintf(index_, "%s\t%s\n", name, what.c_str());
  }
  size_t count() const { return count_; }

 private:
  std::string folder_;
  FILE* index_;
  size_t count_ = 0;
  bool ok_ = true;
};

Bytes Cut(const Bytes& saver, size_t size) { return Bytes(saver.begin(), saver.begin() + size); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: make_damaged_savers SAVER FOLDER SEED RANDOM-COUNT\n");
    return 2;
  }
  const std::string file = ReadWholeFile(argv[1]);
  const Bytes saver(file.begin(), file.end());
  std::vector<Field> fields;
  if (saver.size() <= kPlayerImageSize || !ListFields(saver, &fields)) {
    std::fprintf(stderr, "make_damaged_savers: %s is not a packaged saver\n", argv[1]);
    return 1;
  }
  std::mt19937 random(static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)));
  const size_t randomCount = std::strtoul(argv[4], nullptr, 10);
  const size_t packageSize = saver.size() - kPlayerImageSize;
  DamagedSet set(argv[2]);

  set.Add(Cut(saver, kPlayerImageSize), "cut at 49152: the player image alone");
  for (const Field& field : fields)
    if (field.offset > kPlayerImageSize) set.Add(Cut(saver, field.offset), "cut before the " + field.name);
  for (const Field& field : fields)
    if (field.name.size() > 4 && field.name.compare(field.name.size() - 4, 4, " tag") == 0)
      set.Add(Cut(saver, field.offset + 1), "cut one byte into the " + field.name.substr(0, field.name.size() - 4));
  for (size_t i = 0; i < randomCount; ++i) {
    size_t at = kPlayerImageSize + 1 + random() % (packageSize - 1);
    set.Add(Cut(saver, at), "cut at random offset " + std::to_string(at));
  }

  for (size_t i = 0; i < randomCount; ++i) {
    Bytes damaged = saver;
    size_t flips = 1 + random() % 16;
    std::string what = "flipped bytes at";
    for (size_t f = 0; f < flips; ++f) {
      size_t at = kPlayerImageSize + random() % packageSize;
      damaged[at] ^= static_cast<uint8_t>(1 + random() % 255);
      what += " " + std::to_string(at);
    }
    set.Add(damaged, what);
  }

  const struct {
    uint32_t value;
    const char* name;
  } sizes[] = {{0, "0"}, {0xFFFFFFFFu, "-1"}, {0x7FFFFFFFu, "huge (0x7FFFFFFF)"}, {0x10000000u, "huge (256 MiB)"}};
  for (const Field& field : fields) {
    if (!field.size) continue;
    for (const auto& size : sizes) {
      Bytes damaged = saver;
      WriteU32LE(&damaged[field.offset], size.value);
      set.Add(damaged, field.name + " set to " + size.name);
    }
  }

  if (!set.ok()) {
    std::fprintf(stderr, "make_damaged_savers: cannot write into %s\n", argv[2]);
    return 1;
  }
  std::printf("%zu damaged savers in %s\n", set.count(), argv[2]);
  return 0;
}
