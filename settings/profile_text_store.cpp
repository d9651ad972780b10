#include "profile_text_store.h"

#include <cstring>

#include "profile_text.h"

ProfileTextStore::ProfileTextStore() : SettingsStore{ReadText, WriteText} {}

ProfileTextStore::ProfileTextStore(std::string text)
    : SettingsStore{ReadText, WriteText}, text_(static_cast<std::string&&>(text)) {}

size_t ProfileTextStore::ReadText(SettingsStore* store, const char* section, const char* key, const char* fallback,
                                  char value[kSettingBufferSize]) {
  const std::string& text = static_cast<ProfileTextStore*>(store)->text_;
  const char* found = nullptr;
  size_t length = 0;
  if (FindProfileValue(text.data(), text.size(), section, key, &found, &length))
    return CopySettingText(found, length, value);
  const char* def = fallback ? fallback : "";
  return CopySettingText(def, std::strlen(def), value);
}

bool ProfileTextStore::WriteText(SettingsStore* store, const char* section, const char* key, const char* value) {
  if (!IsValidProfileName(section, ']') || !IsValidProfileName(key, '=')) return false;
  ProfileTextStore* self = static_cast<ProfileTextStore*>(store);
  self->text_ = SetProfileValue(self->text_, section, key, value ? value : "");
  return true;
}
