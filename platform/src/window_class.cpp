// Window classes: RegisterClass, UnregisterClass, GetClassInfo, GetClassName.
//
// Classes are process-wide and looked up by name without regard to case (ASCII), whatever
// instance handle is passed. Class extra bytes (cbClsExtra) and class menus are not kept.
#include "internal/window_state.h"

#include <algorithm>

namespace device::internal {

std::u16string ClassKey(LPCWSTR name) {
  std::u16string key(name ? name : u"");
  for (char16_t& c : key) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return key;
}

WindowClass* FindClass(LPCWSTR name) {
  auto it = Wm().classes.find(ClassKey(name));
  return it == Wm().classes.end() ? nullptr : it->second.get();
}

}  // namespace device::internal

using namespace device::internal;

ATOM RegisterClass(const WNDCLASSW* wc) {
  if (!wc || !wc->lpszClassName || !wc->lpfnWndProc || FindClass(wc->lpszClassName)) return 0;
  auto cls = std::make_unique<WindowClass>();
  cls->name = wc->lpszClassName;
  cls->info = *wc;
  cls->info.lpszClassName = cls->name.c_str();
  cls->info.cbWndExtra = std::max(0, wc->cbWndExtra);
  auto& classes = Wm().classes;
  classes[ClassKey(wc->lpszClassName)] = std::move(cls);
  // Atoms only need to be non-zero and distinct.
  return static_cast<ATOM>(0xC000 + classes.size());
}

BOOL UnregisterClass(LPCWSTR className, HINSTANCE instance) {
  WindowClass* cls = FindClass(className);
  if (!cls) return FALSE;
  for (auto& [handle, window] : Wm().windows) {
    if (window->cls == cls) return FALSE;  // Win32 refuses while windows of the class exist
  }
  Wm().classes.erase(ClassKey(className));
  return TRUE;
}

BOOL GetClassInfo(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc) {
  WindowClass* cls = FindClass(className);
  if (!cls || !wc) return FALSE;
  *wc = cls->info;
  return TRUE;
}

int GetClassName(HWND hwnd, LPWSTR buffer, int maxCount) {
  Window* w = FromHandle(hwnd);
  if (!w || !buffer || maxCount <= 0) return 0;
  int n = std::min<int>(static_cast<int>(w->cls->name.size()), maxCount - 1);
  std::copy_n(w->cls->name.data(), n, buffer);
  buffer[n] = 0;
  return n;
}
