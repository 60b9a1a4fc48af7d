// The start window (window class "Tavrel"): five picture bands that open the program's
// functions, created by the start-up sequence and alive for the whole run.
#pragma once

#include <device/windows.h>

inline constexpr WCHAR kMainWindowClass[] = u"Tavrel";
inline constexpr WCHAR kMainWindowTitle[] = u"Tavrel";
constexpr DWORD kMainWindowStyle = 0x10010000;  // visible top-level window
constexpr int kMainWindowWidth = 240;
constexpr int kMainWindowHeight = 360;

LRESULT CALLBACK TavrelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
