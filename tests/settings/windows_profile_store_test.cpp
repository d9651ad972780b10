#include "windows_profile_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "store_contract.h"

namespace {

std::string StoreFile() {
  char folder[MAX_PATH];
  UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
  return std::string(folder, length) + "\\MORVANE.INI";
}

// The profile service under the bare name, as the designer uses it: the file in the Windows folder.
TEST(WindowsProfileStore, KeepsTheStoreContractInTheWindowsFolder) {
  std::string file = StoreFile();
  DeleteFileA(file.c_str());
  WindowsProfileStore store;
  CheckStoreContract(&store);
  EXPECT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file;

  // A value of 300 bytes put into the file by hand comes back as its first 259.
  std::string line300(300, 'q');
  WritePrivateProfileStringA("Module", "Memo5", line300.c_str(), file.c_str());
  char value[kSettingBufferSize];
  EXPECT_EQ(store.readText(&store, "Module", "Memo5", "", value), 259u);
  EXPECT_EQ(std::string(value), line300.substr(0, 259));
  DeleteFileA(file.c_str());
}

}  // namespace
