// Loading the skin images: path building and decoding through the device's image
// decompression library with a 16 KiB read buffer on the loader's stack.
#include "drawing/skin_images.h"

#include <device/files.h>
#include <device/kernel.h>

#include <array>
#include <cstring>

const WCHAR kSkinFileNames[kSkinImageCount][kSkinFileNameLength] = {
    u"newcontact_01.png", u"newcontact_02.png", u"01.png",          u"02.png",
    u"03.png",            u"04.png",            u"05.png",          u"06.png",
    u"07.png",            u"08.png",            u"09.png",          u"10.png",
    u"11.png",            u"12.png",            u"13.png",          u"add.png",
    u"caps_00.png",       u"caps_fn.png",       u"display.png",     u"fn_00.png",
    u"fura_01.png",       u"ls.png",            u"lsback.png",      u"lscaps.png",
    u"lsenter.png",       u"lsfn.png",          u"lsspace.png",     u"menu_bal.png",
    u"menu_jobb.png",     u"menu_ures.png",     u"num_01.png",      u"num_02.png",
    u"num_03.png",        u"num_04.png",        u"num_05.png",      u"open_00.png",
    u"open_01.png",       u"open_02.png",       u"open_03.png",     u"open_04.png",
    u"qwerty05.png",      u"viewcon_down.png",  u"viewcon_name.png", u"viewcon_up.png",
    u"viewnote01.png",    u"viewnote02.png",    u"folder_a.png",    u"search_a.png",
    u"fx_button.png",     u"editls.png",
};

namespace {

constexpr DWORD kReadBufferSize = 0x4000;
constexpr int kMaxImageSide = 5120;

// Allocated once at start-up and never freed: the process's end releases the bitmaps.
std::array<HBITMAP, kSkinImageCount>* skinImageTable = nullptr;

DWORD ReadImageBytes(char* buffer, DWORD size, LPARAM user) {
  HANDLE file = reinterpret_cast<HANDLE>(user);
  if (file == INVALID_HANDLE_VALUE || file == nullptr) return 0;
  DWORD read = 0;
  if (!ReadFile(file, buffer, size, &read, nullptr)) return 0;
  return read;
}

size_t Length(const WCHAR* text) {
  size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

}  // namespace

HBITMAP DecodeImageFile(const WCHAR* fullPath) {
  HANDLE file = CreateFile(fullPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;

  HDC screen = GetDC(nullptr);
  BYTE readBuffer[kReadBufferSize];
  HBITMAP bitmap = nullptr;
  DecompressImageInfo request{};
  request.dwSize = sizeof(DecompressImageInfo);
  request.pbBuffer = readBuffer;
  request.dwBufferMax = kReadBufferSize;
  request.dwBufferCurrent = 0;
  request.phBM = &bitmap;
  request.ppImageRender = nullptr;
  request.iBitDepth = GetDeviceCaps(screen, BITSPIXEL);
  request.lParam = reinterpret_cast<LPARAM>(file);
  request.hdc = screen;
  request.iScale = 100;
  request.iMaxWidth = kMaxImageSide;
  request.iMaxHeight = kMaxImageSide;
  request.pfnGetData = ReadImageBytes;
  request.pfnImageProgress = nullptr;
  request.crTransparentOverride = static_cast<COLORREF>(-1);
  DecompressImageIndirect(&request);

  CloseHandle(file);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

HBITMAP LoadSkinImage(const WCHAR* fileName) {
  WCHAR path[MAX_PATH] = {};
  DWORD length = GetModuleFileName(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  // Cut after the last backslash, keeping it.
  size_t folderEnd = 0;
  for (size_t i = 0; i < length; ++i) {
    if (path[i] == u'\\') folderEnd = i + 1;
  }
  static constexpr WCHAR kSkinFolder[] = u"gx\\";
  const size_t folderLength = Length(kSkinFolder);
  const size_t nameLength = Length(fileName);
  // A folder so deep that the image path would not fit in MAX_PATH gets no image.
  if (folderEnd + folderLength + nameLength + 1 > MAX_PATH) return nullptr;
  std::memcpy(path + folderEnd, kSkinFolder, folderLength * sizeof(WCHAR));
  std::memcpy(path + folderEnd + folderLength, fileName, nameLength * sizeof(WCHAR));
  path[folderEnd + folderLength + nameLength] = 0;
  return DecodeImageFile(path);
}

// A second start in the same process (tests, the random-input run) loads the table again: the
// images of the first are freed, not dropped.
void LoadSkinImages() {
  if (skinImageTable == nullptr) skinImageTable = new std::array<HBITMAP, kSkinImageCount>{};
  for (int i = 0; i < kSkinImageCount; ++i) {
    HBITMAP& image = (*skinImageTable)[i];
    if (image != nullptr) DeleteObject(image);
    image = LoadSkinImage(kSkinFileNames[i]);
  }
}

HBITMAP SkinImage(int index) {
  if (skinImageTable == nullptr || index < 0 || index >= kSkinImageCount) return nullptr;
  return (*skinImageTable)[index];
}
