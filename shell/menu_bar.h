// The soft-key menu bar (window class MenuClass): up to nine picture buttons whose labels
// depend on the screen it serves. As a bar it is a 240 x 30 strip at the top of its owner; as
// a grid it is a 3 x 3 block that pops up in the middle of the screen on VK_RETURN and closes
// after a choice. A chosen button goes to the owner as MenuCommandMessage.
#pragma once

#include "common/window_class.h"

#include <device/windows.h>

#include <cstdint>

inline constexpr WCHAR kMenuClassName[] = u"MenuClass";
inline constexpr WCHAR kMenuTitle[] = u"menu";

// Creation styles: a bar is a visible pop-up child of its owner, a grid one with a border.
constexpr DWORD kMenuBarStyle = 0x94000000;
constexpr DWORD kMenuGridStyle = 0x94800000;

// The screen a menu serves; selects its labels, images and grid places.
enum MenuKind : std::int32_t {
  kMenuMainScreen = 0,
  kMenuNotesList = 1,
  kMenuContactList = 2,
  kMenuContactMenu = 3,
  kMenuContactDetails = 4,
  kMenuMainWindow = 5,
  kMenuFxKeys = 6,
};

// The creation parameter (lpCreateParams), copied on creation.
struct MenuSpec {
  std::int32_t kind;  // MenuKind
  std::int32_t flag;  // kind 0: 1 portrait keyboards, 0 the landscape keyboard (collapsible button 0)
  std::int32_t grid;  // 0 bar, 1 pop-up grid
};

// The timer a closing menu starts on its owner, 100 ms ahead (the start window shrinks to
// 240 x 320 and repaints on it).
constexpr UINT_PTR kMenuClosedTimer = 3;

constexpr int kMenuButtonCount = 9;  // 0-4 commands; 5-8 the grid's corner "x" buttons

LRESULT CALLBACK MenuClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// MenuClass: arrow cursor, no background brush; start-up registers it.
inline constexpr WindowClassRow kMenuClassRow{kMenuClassName, MenuClassProc, true, kNoBackground};
