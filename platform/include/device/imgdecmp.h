// The device's image decompression library: one entry that decodes a PNG stream, pulled
// through a caller's read callback, into a bitmap of the screen's depth (32 bits per pixel).
//
// Implemented: DecompressImageIndirect with a bitmap output, unscaled (iScale 100).
// Not implemented: image-render objects, scaling, progress callbacks, formats other than PNG.
// Transparency is a colour key chosen by the caller when drawing (TransparentImage); an alpha
// channel in the file is dropped and each pixel keeps its stored colour, so a pixel painted in
// the key colour stays the key colour whatever its alpha.
#pragma once

#include <device/win_types.h>

// Fills `buffer` with up to `size` bytes of the image and returns how many it wrote; 0 ends
// the stream. `user` is DecompressImageInfo::lParam.
using GetImageDataFunction = DWORD (*)(char* buffer, DWORD size, LPARAM user);
using ImageProgressFunction = void (*)(void* render, BOOL complete, LPARAM user);

struct DecompressImageInfo {
  DWORD dwSize;                     // any non-zero value (the device's layout was 60 bytes)
  BYTE* pbBuffer;                   // caller's read buffer
  DWORD dwBufferMax;                // its size in bytes
  DWORD dwBufferCurrent;            // bytes of the buffer in use (0 on entry)
  HBITMAP* phBM;                    // receives the bitmap (null on failure)
  void** ppImageRender;             // must be null: image-render objects are not provided
  int iBitDepth;                    // requested depth; the result is always 32 bpp
  LPARAM lParam;                    // passed to pfnGetData
  HDC hdc;                          // unused (no palettes on a 32 bpp screen)
  int iScale;                       // per cent; only 100 is supported
  int iMaxWidth;                    // larger images are refused
  int iMaxHeight;
  GetImageDataFunction pfnGetData;
  ImageProgressFunction pfnImageProgress;  // ignored
  COLORREF crTransparentOverride;   // ignored; (COLORREF)-1 means none
};

// Decodes the whole stream. Returns 0 (S_OK) with *phBM set, or a negative HRESULT
// (0x80070057 bad request, 0x80004005 undecodable stream) with *phBM null; a missing,
// truncated or corrupt stream never crashes. The HRESULT names belong to the COM header.
HRESULT DecompressImageIndirect(DecompressImageInfo* info);

// Convenience for tools and tests: decodes a PNG file on the host (UTF-8 path).
HBITMAP LoadPngFile(const char* hostPath);
