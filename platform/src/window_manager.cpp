// Window creation and destruction, the window tree and its z-order.
//
// CreateWindowEx sends, in this order: WM_NCCREATE (DefWindowProc stores the title),
// WM_CREATE (returning -1 fails the creation: the window is destroyed and null returned),
// WM_SIZE (client size), WM_MOVE (client origin); then, for WS_VISIBLE, the window is shown
// as by ShowWindow(SW_SHOW): WM_SHOWWINDOW(TRUE) and, for a top-level window, activation
// (WM_ACTIVATE to it; DefWindowProc gives it the focus: WM_KILLFOCUS / WM_SETFOCUS).
// DestroyWindow: windows owned by it are destroyed first; a visible child is hidden
// (WM_SHOWWINDOW(FALSE)); if the window (or a window inside it) is active or has the focus,
// activation or focus moves on (WM_ACTIVATE(WA_INACTIVE), WM_KILLFOCUS); then WM_DESTROY to
// the window and to its children, parents first, and WM_NCDESTROY children first, the window
// last. Timers, capture and the caret of a destroyed window go with it.
// New top-level windows go on top of the z-order; new children go below their siblings, so
// the first child created is the first found by GetWindow(GW_CHILD) (Win32's dialog order).
// Overlapped windows get no caption of their own (as on the pocket device); WS_CAPTION does.
// Extended styles are stored, not acted on. Not implemented: SetParent.
#include "internal/remote_windows.h"
#include "internal/window_state.h"

#include <algorithm>

namespace device::internal {

WindowManager& Wm() {
  static WindowManager manager;
  return manager;
}

Window* FromHandle(HWND hwnd) {
  auto& windows = Wm().windows;
  auto it = windows.find(hwnd);
  return it == windows.end() ? nullptr : it->second.get();
}

Window* TopLevelOf(Window* w) {
  while (w && w->parent) w = w->parent;
  return w;
}

std::vector<Window*>& SiblingList(Window* w) {
  return w->parent ? w->parent->children : Wm().topLevels;
}

LRESULT SendToWindow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = FromHandle(hwnd);
  if (!w) return 0;
  return CallWindowProc(w->proc, hwnd, msg, wParam, lParam);
}

void ResetWindowManager() {
  WindowManager& wm = Wm();
  wm.windows.clear();
  wm.topLevels.clear();
  wm.focus = wm.active = wm.capture = nullptr;
}

namespace {

// Top-level windows of one process stack like this: a new or raised window goes to the top,
// and the windows it owns stay above it.
void LinkNewWindow(Window* w) {
  if (w->parent) {
    w->parent->children.push_back(w);
  } else {
    Wm().topLevels.insert(Wm().topLevels.begin(), w);
  }
}

void Unlink(Window* w) {
  auto& list = SiblingList(w);
  list.erase(std::remove(list.begin(), list.end(), w), list.end());
}

RECT ResolveCreateRect(const Window* parent, int x, int y, int width, int height) {
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) {
    width = parent ? 0 : GetSystemMetrics(SM_CXSCREEN);
    height = parent ? 0 : GetSystemMetrics(SM_CYSCREEN);
  }
  return RECT{x, y, x + width, y + height};
}

void SendSizeAndMove(Window* w) {
  RECT client = LocalClientRect(w);
  SendToWindow(w->handle, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
  POINT origin{0, 0};
  ClientToScreen(w->handle, &origin);
  if (w->parent) ScreenToClient(w->parent->handle, &origin);
  SendToWindow(w->handle, WM_MOVE, 0,
               MAKELPARAM(static_cast<WORD>(origin.x), static_cast<WORD>(origin.y)));
}

// Handles, not pointers: a handler may destroy a sibling while the list is walked.
std::vector<HWND> ChildHandles(const Window* w) {
  std::vector<HWND> handles;
  for (const Window* c : w->children) handles.push_back(c->handle);
  return handles;
}

void SendDestroyMessages(Window* w) {
  w->destroying = true;
  SendToWindow(w->handle, WM_DESTROY, 0, 0);
  for (HWND child : ChildHandles(w)) {
    if (Window* c = FromHandle(child)) SendDestroyMessages(c);
  }
}

void FreeWindow(Window* w) {
  for (HWND child : ChildHandles(w)) {
    if (Window* c = FromHandle(child)) FreeWindow(c);
  }
  HWND hwnd = w->handle;
  SendToWindow(hwnd, WM_NCDESTROY, 0, 0);
  KillWindowTimers(hwnd);
  ForgetCaptureWindow(hwnd);
  ForgetCaretWindow(hwnd);
  WindowManager& wm = Wm();
  if (wm.focus == hwnd) wm.focus = nullptr;
  if (wm.active == hwnd) wm.active = nullptr;
  for (auto& [handle, other] : wm.windows) {
    if (other->owner == w) other->owner = nullptr;
  }
  Unlink(w);
  wm.windows.erase(hwnd);
}

void DestroyOwnedWindows(Window* w) {
  for (;;) {
    Window* owned = nullptr;
    for (Window* top : Wm().topLevels) {
      if (top->owner == w && !top->destroying) owned = top;
    }
    if (!owned) return;
    DestroyWindow(owned->handle);
  }
}

}  // namespace
}  // namespace device::internal

using namespace device::internal;

HWND CreateWindowEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                    int y, int width, int height, HWND parentHandle, HMENU menu,
                    HINSTANCE instance, LPVOID param) {
  WindowClass* cls = FindClass(className);
  if (!cls) return nullptr;
  Window* given = FromHandle(parentHandle);
  if (parentHandle && !given) return nullptr;
  bool child = (style & WS_CHILD) != 0;
  if (child && !given) return nullptr;

  WindowManager& wm = Wm();
  auto owned = std::make_unique<Window>();
  Window* w = owned.get();
  w->handle = reinterpret_cast<HWND>(wm.nextHandle);
  wm.nextHandle += 4;
  w->cls = cls;
  w->proc = cls->info.lpfnWndProc;
  w->style = style & ~WS_VISIBLE;  // shown below, after WM_CREATE, as Win32 does
  w->exStyle = exStyle;
  w->parent = child ? given : nullptr;
  w->owner = child ? nullptr : TopLevelOf(given);
  w->rect = ResolveCreateRect(w->parent, x, y, width, height);
  w->userData = 0;
  w->id = child ? reinterpret_cast<LONG_PTR>(menu) : 0;
  w->instance = instance;
  w->extra.assign(static_cast<size_t>(cls->info.cbWndExtra), 0);
  w->updatePending = w->erasePending = w->framePending = w->destroying = false;
  w->update = RECT{0, 0, 0, 0};
  HWND hwnd = w->handle;
  wm.windows.emplace(hwnd, std::move(owned));
  LinkNewWindow(w);

  CREATESTRUCTW cs{param,
                   instance,
                   menu,
                   parentHandle,
                   static_cast<int>(w->rect.bottom - w->rect.top),
                   static_cast<int>(w->rect.right - w->rect.left),
                   static_cast<int>(w->rect.top),
                   static_cast<int>(w->rect.left),
                   static_cast<LONG>(style),
                   windowName,
                   cls->name.c_str(),
                   exStyle};
  if (!SendToWindow(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (FromHandle(hwnd)) FreeWindow(w);
    return nullptr;
  }
  if (SendToWindow(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!FromHandle(hwnd)) return nullptr;  // destroyed itself during creation
  SendSizeAndMove(w);
  if ((style & WS_VISIBLE) && FromHandle(hwnd)) ShowWindow(hwnd, SW_SHOW);
  if (!FromHandle(hwnd)) return nullptr;
  // Other processes find a new top-level window at once, not only once this one goes idle: a
  // program that waits for its window before letting a second start go on relies on that.
  if (!child) PublishTopLevelWindows();
  return hwnd;
}

BOOL DestroyWindow(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (!w || w->destroying) return FALSE;
  if (w->parent && (w->style & WS_VISIBLE)) {
    ShowWindow(hwnd, SW_HIDE);
    if (FromHandle(hwnd) != w) return TRUE;
  }
  ScreenSnapshot before = TakeScreenSnapshot();
  w->style &= ~WS_VISIBLE;
  if (!w->parent) DestroyOwnedWindows(w);
  if (FromHandle(hwnd) != w) return TRUE;
  ForgetWindowForFocus(w);
  if (FromHandle(hwnd) != w) return TRUE;
  SendDestroyMessages(w);
  if (FromHandle(hwnd) != w) return TRUE;
  FreeWindow(w);
  ExposeChanges(before);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return FromHandle(hwnd) != nullptr; }

BOOL IsChild(HWND parent, HWND hwnd) {
  Window* w = FromHandle(hwnd);
  for (Window* p = w ? w->parent : nullptr; p; p = p->parent) {
    if (p->handle == parent) return TRUE;
  }
  return FALSE;
}

HWND GetParent(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (!w) return nullptr;
  // Win32: the parent of a child, the owner of a pop-up.
  if (w->parent) return w->parent->handle;
  return (w->style & WS_POPUP) && w->owner ? w->owner->handle : nullptr;
}

HWND GetWindow(HWND hwnd, UINT relation) {
  Window* w = FromHandle(hwnd);
  if (!w) return nullptr;
  if (relation == GW_OWNER) return w->owner ? w->owner->handle : nullptr;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
  const auto& list = SiblingList(w);
  auto it = std::find(list.begin(), list.end(), w);
  switch (relation) {
    case GW_HWNDFIRST: return list.front()->handle;
    case GW_HWNDLAST: return list.back()->handle;
    case GW_HWNDNEXT: return it + 1 == list.end() ? nullptr : (*(it + 1))->handle;
    case GW_HWNDPREV: return it == list.begin() ? nullptr : (*(it - 1))->handle;
    default: return nullptr;
  }
}
