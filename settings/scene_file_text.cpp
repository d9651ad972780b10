#include "scene_file_text.h"

#include <cstdio>
#include <cstring>

#include "file_replacement.h"
#include "profile_text.h"
#include "setting_table.h"

const char kSceneFileExtension[] = ".morvane";

namespace {

bool IsKnownSection(const char* name, size_t length) {
  for (int id = 0; id < kSettingCount; ++id) {
    const char* section = Setting(static_cast<SettingId>(id)).section;
    if (ProfileNameEquals(name, length, section, std::strlen(section))) return true;
  }
  return false;
}

}  // namespace

bool IsSceneFileName(const char* path) {
  const size_t length = std::strlen(path), extension = sizeof kSceneFileExtension - 1;
  return length > extension && ProfileNameEquals(path + length - extension, extension, kSceneFileExtension, extension);
}

SceneFileProblem CheckSceneText(const char* text, size_t size, std::string* detail) {
  if (size > kMaxSceneFileSize) return SceneFileTooLarge;
  for (size_t i = 0; i < size; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 && c != '\t' && c != '\r' && c != '\n') return SceneFileNotText;
  }
  ProfileScanner scanner(text, size);
  ProfileLine line;
  bool anySetting = false;
  while (scanner.Next(&line)) {
    if (line.kind == ProfileLine::Section && !IsKnownSection(line.entry.section, line.entry.sectionLength)) {
      detail->assign(line.entry.section, line.entry.sectionLength);
      return SceneFileForeignSection;
    }
    if (line.kind == ProfileLine::Key && line.entry.section) anySetting = true;
  }
  return anySetting ? SceneFileFine : SceneFileEmpty;
}

SceneFileProblem ReadSceneFileText(const char* path, std::string* text, std::string* detail) {
  text->clear();
  FILE* file = std::fopen(path, "rb");
  if (!file) return SceneFileNotRead;
  char chunk[8192];
  SceneFileProblem problem = SceneFileFine;
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
    // One byte past the limit is enough to know; a large file is never read whole.
    if (text->size() + got > kMaxSceneFileSize) {
      problem = SceneFileTooLarge;
      break;
    }
    text->append(chunk, got);
  }
  if (problem == SceneFileFine && std::ferror(file)) problem = SceneFileNotRead;
  std::fclose(file);
  if (problem == SceneFileFine) problem = CheckSceneText(text->data(), text->size(), detail);
  if (problem != SceneFileFine) text->clear();
  return problem;
}

const char* SceneFileProblemText(SceneFileProblem problem) {
  switch (problem) {
    case SceneFileFine: return "it is a scene file";
    case SceneFileNotRead: return "it cannot be read";
    case SceneFileEmpty: return "it holds no settings";
    case SceneFileTooLarge: return "it is larger than 1 MB, far more than a scene takes";
    case SceneFileNotText: return "it is not text";
    case SceneFileForeignSection: return "it has a section that no setting belongs to";
  }
  return "it is not a scene file";
}

bool WriteSceneFileText(const char* path, const std::string& text, const char** problem) {
  const char* why = nullptr;
  FileReplacement replacement;
  if (!BeginFileReplacement(path, nullptr, &replacement, &why)) {
    if (problem) *problem = why;
    return false;
  }
  if (WriteFileReplacement(&replacement, text.data(), text.size()) != text.size()) {
    AbandonFileReplacement(&replacement);
    if (problem) *problem = "the file could not be written whole";
    return false;
  }
  const bool committed = CommitFileReplacement(&replacement, &why);
  if (!committed && problem) *problem = why;
  return committed;
}
