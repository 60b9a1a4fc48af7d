// The BackBuffer: the one 240 x 320 off-screen surface through which all skinned drawing goes,
// and the ImageContext used to select images for opaque copies. The start window creates the
// back buffer when it is created; every window draws into it and copies the result out.
#pragma once

#include <device/windows.h>

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;

// Creates the back buffer compatible with `screenDC` (idempotent: a second call keeps the first).
void CreateBackBuffer(HDC screenDC);

// The back buffer's drawing context; none before CreateBackBuffer.
HDC BackBufferDC();

// The memory context images are selected into for opaque copies; made on first use and kept
// until the process ends.
HDC ImageContext();

// Copies a rectangle of the back buffer to the same place in `window`.
void CopyBackBufferToWindow(HWND window, const RECT& rect);
