#include "shell/program_folder.h"

#include <device/kernel.h>

bool ProgramFolderPath(const WCHAR* name, WCHAR* path) {
  path[0] = 0;
  WCHAR self[kPathRoom] = {};
  const DWORD length = GetModuleFileName(nullptr, self, kPathRoom);
  if (length == 0 || length >= static_cast<DWORD>(kPathRoom)) return false;
  int folderEnd = 0;
  for (int i = 0; i < static_cast<int>(length); ++i) {
    if (self[i] == u'\\') folderEnd = i + 1;
  }
  int nameLength = 0;
  while (name[nameLength] != 0) ++nameLength;
  if (folderEnd + nameLength + 1 > kPathRoom) return false;
  for (int i = 0; i < folderEnd; ++i) path[i] = self[i];
  for (int i = 0; i < nameLength; ++i) path[folderEnd + i] = name[i];
  path[folderEnd + nameLength] = 0;
  return true;
}
