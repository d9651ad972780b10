// A settings store kept in memory as the text of a profile file: the designer's working copy of
// a scene file, changed by the pages and written out only when the user saves it.
#pragma once
#include <string>

#include "settings_store.h"

class ProfileTextStore : public SettingsStore {
 public:
  ProfileTextStore();
  explicit ProfileTextStore(std::string text);

  const std::string& Text() const { return text_; }
  void SetText(std::string text) { text_ = static_cast<std::string&&>(text); }

 private:
  static size_t ReadText(SettingsStore* store, const char* section, const char* key, const char* fallback,
                         char value[kSettingBufferSize]);
  static bool WriteText(SettingsStore* store, const char* section, const char* key, const char* value);

  std::string text_;
};
