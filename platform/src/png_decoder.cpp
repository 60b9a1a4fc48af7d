// The image decompression stand-in: DecompressImageIndirect and LoadPngFile, through libpng.
//
// The stream is pulled whole through the caller's read callback and buffer, then decoded with
// libpng: every colour type, bit depth (16-bit samples keep their high byte) and interlacing.
// libpng errors unwind through setjmp into a failure result. The result is a 32 bpp bitmap (the screen's depth)
// whatever depth is asked for; alpha is dropped and each pixel keeps its stored colour (see
// <device/imgdecmp.h>). Scaling, image-render objects and progress callbacks are not provided.
#include <device/gdi.h>

#include "internal/gdi_state.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace device::internal {
namespace {

constexpr HRESULT kOk = 0;
constexpr HRESULT kFail = static_cast<HRESULT>(0x80004005);
constexpr HRESULT kInvalidArgument = static_cast<HRESULT>(0x80070057);
// A skin file is a few kilobytes; this bounds memory when a callback never reports the end.
constexpr std::size_t kMaxStreamBytes = 64u << 20;
// No skin or picture ever needs more than this; a header asking for more is refused before any
// pixel memory is allocated, so a small damaged or hostile file cannot exhaust memory.
constexpr png_uint_32 kMaxSide = 4096;
constexpr std::size_t kMaxPixelBytes = 64u << 20;
// Bounds libpng's own buffers for ancillary chunks (text, ICC profiles) the decoder ignores.
constexpr png_alloc_size_t kMaxChunkBytes = 1u << 20;

bool SizeAllowed(png_uint_32 w, png_uint_32 h, int maxWidth, int maxHeight) {
  if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) return false;
  if (maxWidth > 0 && w > static_cast<png_uint_32>(maxWidth)) return false;
  if (maxHeight > 0 && h > static_cast<png_uint_32>(maxHeight)) return false;
  return static_cast<std::size_t>(w) * h * 4 <= kMaxPixelBytes;
}

bool ReadStream(DecompressImageInfo& info, std::vector<unsigned char>& bytes) {
  while (bytes.size() < kMaxStreamBytes) {
    DWORD got = info.pfnGetData(reinterpret_cast<char*>(info.pbBuffer), info.dwBufferMax, info.lParam);
    if (got == 0) return true;
    got = got > info.dwBufferMax ? info.dwBufferMax : got;
    info.dwBufferCurrent = got;
    bytes.insert(bytes.end(), info.pbBuffer, info.pbBuffer + got);
  }
  return false;
}

bool ValidRequest(const DecompressImageInfo* info) {
  // dwSize is not compared with sizeof: callers written for the device pass its 60 bytes.
  return info && info->dwSize != 0 && info->pbBuffer &&
         info->dwBufferMax > 0 && info->phBM && !info->ppImageRender && info->pfnGetData &&
         (info->iScale == 100 || info->iScale == 0);
}

struct MemoryStream {
  const unsigned char* data;
  std::size_t size;
  std::size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* stream = static_cast<MemoryStream*>(png_get_io_ptr(png));
  if (stream->size - stream->position < count) png_error(png, "truncated");
  std::memcpy(out, stream->data + stream->position, count);
  stream->position += count;
}

// libpng reports faults through these; a corrupt file is an ordinary outcome here, so
// nothing is printed.
[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

// Asks libpng for B, G, R, 0 bytes per pixel (a 0x00RRGGBB word) from any colour type and
// depth. The stored colour values are kept as they are: no gamma correction, so a colour key
// matches the value written in the file.
void RequestScreenFormat(png_structp png, png_infop info) {
  const int colorType = png_get_color_type(png, info);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_expand_gray_1_2_4_to_8(png);
    png_set_gray_to_rgb(png);
  }
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_bgr(png);
  png_set_filler(png, 0, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

// Everything that can longjmp lives in this frame; the buffers belong to the caller so that no
// destructor is skipped.
bool ReadPixels(png_structp png, png_infop info, int maxWidth, int maxHeight,
                std::vector<std::uint32_t>* pixels, std::vector<png_bytep>* rows, int* width,
                int* height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  const png_uint_32 w = png_get_image_width(png, info);
  const png_uint_32 h = png_get_image_height(png, info);
  if (!SizeAllowed(w, h, maxWidth, maxHeight)) return false;
  RequestScreenFormat(png, info);
  if (png_get_rowbytes(png, info) != w * 4) return false;
  pixels->resize(static_cast<std::size_t>(w) * h);
  rows->resize(h);
  for (png_uint_32 y = 0; y < h; ++y) {
    (*rows)[y] = reinterpret_cast<png_bytep>(pixels->data() + static_cast<std::size_t>(y) * w);
  }
  png_read_image(png, rows->data());
  png_read_end(png, nullptr);
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}

HBITMAP Decode(const std::vector<unsigned char>& bytes, int maxWidth, int maxHeight) {
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return nullptr;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  if (!png) return nullptr;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return nullptr;
  }
  MemoryStream stream{bytes.data(), bytes.size(), 0};
  png_set_read_fn(png, &stream, ReadFromMemory);
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  std::vector<std::uint32_t> pixels;
  std::vector<png_bytep> rows;
  int width = 0;
  int height = 0;
  const bool ok = ReadPixels(png, info, maxWidth, maxHeight, &pixels, &rows, &width, &height);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) return nullptr;
  HBITMAP handle = NewBitmap(width, height);
  if (handle) LookupBitmap(handle)->pixels = std::move(pixels);
  return handle;
}

DWORD ReadHostFile(char* buffer, DWORD size, LPARAM user) {
  auto* file = reinterpret_cast<std::FILE*>(user);
  return file ? static_cast<DWORD>(std::fread(buffer, 1, size, file)) : 0;
}

}  // namespace
}  // namespace device::internal

using namespace device::internal;

HRESULT DecompressImageIndirect(DecompressImageInfo* info) {
  if (info && info->phBM) *info->phBM = nullptr;
  if (!ValidRequest(info)) return kInvalidArgument;
  std::vector<unsigned char> bytes;
  if (!ReadStream(*info, bytes)) return kFail;
  HBITMAP bitmap = Decode(bytes, info->iMaxWidth, info->iMaxHeight);
  *info->phBM = bitmap;
  return bitmap ? kOk : kFail;
}

HBITMAP LoadPngFile(const char* hostPath) {
  std::FILE* file = hostPath ? std::fopen(hostPath, "rb") : nullptr;
  if (!file) return nullptr;
  BYTE buffer[0x4000];
  HBITMAP bitmap = nullptr;
  DecompressImageInfo info{};
  info.dwSize = sizeof info;
  info.pbBuffer = buffer;
  info.dwBufferMax = sizeof buffer;
  info.phBM = &bitmap;
  info.iBitDepth = 32;
  info.lParam = reinterpret_cast<LPARAM>(file);
  info.iScale = 100;
  info.iMaxWidth = 5120;
  info.iMaxHeight = 5120;
  info.pfnGetData = ReadHostFile;
  info.crTransparentOverride = static_cast<COLORREF>(-1);
  DecompressImageIndirect(&info);
  std::fclose(file);
  return bitmap;
}
