// The meeting point of the window manager and GDI inside the device.
//
// GDI owns the one 240 x 320 screen surface that every window of the process draws into.
// The window manager decides where a window's drawing context points and which parts of
// the screen it may touch (its visible region: its rectangle, clipped to its parents and
// to the screen, minus the windows stacked above it). Backends read the surface to present it.
#pragma once

#include <device/win_types.h>

#include <cstdint>
#include <vector>

namespace device::internal {

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;

// Pixels are 0x00RRGGBB, row-major, stride == width.
struct Surface {
  std::uint32_t* pixels;
  int width;
  int height;
};

// The process's screen surface (created on first use, cleared to black).
Surface ScreenSurface();

// Bumped by GDI whenever a drawing call changes the screen surface; backends compare it
// to decide whether to present a new frame.
std::uint64_t ScreenGeneration();

// A drawing context on the screen for one window. `origin` is the window's (client or
// whole-window) top-left corner in screen coordinates; `visible` is the list of screen
// rectangles it may paint (an empty list paints nothing). The window is remembered so that
// WindowFromDC can answer.
HDC CreateScreenDC(HWND window, POINT origin, const std::vector<RECT>& visible);

// Frees a DC made by CreateScreenDC together with the objects selected into it by default.
void DestroyScreenDC(HDC dc);

// Inverts the pixels of a screen rectangle, clipped to `visible`; used to draw the caret.
void InvertScreenRect(const RECT& screenRect, const std::vector<RECT>& visible);

}  // namespace device::internal
