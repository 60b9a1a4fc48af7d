// Skin images: any bytes decode to a bitmap within the size limits, or to none.
#include <device/gdi.h>
#include <device/imgdecmp.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct Source {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at;
};

DWORD Read(char* buffer, DWORD size, LPARAM user) {
  auto* source = reinterpret_cast<Source*>(user);
  const std::size_t n = std::min<std::size_t>(size, source->size - source->at);
  std::memcpy(buffer, source->data + source->at, n);
  source->at += n;
  return static_cast<DWORD>(n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Source source{data, size, 0};
  BYTE buffer[4096];
  HBITMAP bitmap = nullptr;
  DecompressImageInfo info{};
  info.dwSize = sizeof info;
  info.pbBuffer = buffer;
  info.dwBufferMax = sizeof buffer;
  info.phBM = &bitmap;
  info.iBitDepth = 32;
  info.lParam = reinterpret_cast<LPARAM>(&source);
  info.iScale = 100;
  info.iMaxWidth = 5120;
  info.iMaxHeight = 5120;
  info.pfnGetData = Read;
  info.crTransparentOverride = static_cast<COLORREF>(-1);
  DecompressImageIndirect(&info);
  if (!bitmap) return 0;
  BITMAP shape{};
  GetObject(bitmap, sizeof shape, &shape);
  if (shape.bmWidth <= 0 || shape.bmHeight <= 0 || shape.bmWidth > 4096 || shape.bmHeight > 4096) std::abort();
  DeleteObject(bitmap);
  return 0;
}
