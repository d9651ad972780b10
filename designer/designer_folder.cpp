#include "designer_folder.h"

void DesignerFile(char path[MAX_PATH]) {
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  path[length < MAX_PATH ? length : MAX_PATH - 1] = '\0';
}

void DesignerFolder(char folder[MAX_PATH]) {
  DesignerFile(folder);
  // Stepping by characters: the second byte of a double-byte character may equal "\".
  char* end = folder;
  for (char* p = folder; *p; p = CharNextA(p))
    if (*p == '\\' || *p == '/' || *p == ':') end = p + 1;
  *end = '\0';
}
