// PNG decoding (first cut: always fails until the libpng decoder lands).
#include <device/gdi.h>

HRESULT DecompressImageIndirect(DecompressImageInfo* info) {
  if (info && info->phBM) *info->phBM = nullptr;
  return static_cast<HRESULT>(0x80004005);
}
HBITMAP LoadPngFile(const char* hostPath) { return nullptr; }
