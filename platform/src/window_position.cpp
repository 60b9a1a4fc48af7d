// Window geometry and visibility: GetWindowRect, GetClientRect, the coordinate mappings,
// hit testing (WindowFromPoint, ChildWindowFromPoint), ShowWindow, SetWindowPos, MoveWindow,
// BringWindowToTop and the visible region a window may paint.
//
// The frame: WS_BORDER (or WS_DLGFRAME) is one pixel on each side; a full WS_CAPTION adds a
// caption bar of kCaptionHeight pixels at the top. The client area is the rest.
// SetWindowPos sends WM_MOVE then WM_SIZE when the position or size changed (what
// DefWindowProc does for WM_WINDOWPOSCHANGED in Win32), and activates a top-level window
// unless SWP_NOACTIVATE. ShowWindow sends WM_SHOWWINDOW only when the visibility changes.
// Whatever a change uncovers is invalidated (with erase), and so is a window that moves, is
// resized, shown or raised. Not implemented: minimising and maximising (SW_MINIMIZE hides),
// HWND_TOPMOST (treated as HWND_TOP), SWP_FRAMECHANGED (accepted, no effect).
#include "internal/remote_windows.h"
#include "internal/window_state.h"
#include "internal/screen.h"

#include <algorithm>

namespace device::internal {

RECT ClientInsets(const Window* w) {
  int border = (w->style & (WS_BORDER | WS_DLGFRAME)) ? 1 : 0;
  int caption = (w->style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
  return RECT{border, border + caption, border, border};
}

RECT ScreenWindowRect(const Window* w) {
  RECT r = w->rect;
  if (w->parent) {
    RECT pc = ScreenClientRect(w->parent);
    OffsetRect(&r, pc.left, pc.top);
  }
  return r;
}

RECT ScreenClientRect(const Window* w) {
  RECT r = ScreenWindowRect(w);
  RECT in = ClientInsets(w);
  RECT c{r.left + in.left, r.top + in.top, r.right - in.right, r.bottom - in.bottom};
  if (c.right < c.left) c.right = c.left;
  if (c.bottom < c.top) c.bottom = c.top;
  return c;
}

RECT LocalClientRect(const Window* w) {
  RECT c = ScreenClientRect(w);
  return RECT{0, 0, c.right - c.left, c.bottom - c.top};
}

bool IsShown(const Window* w) {
  for (; w; w = w->parent) {
    if (!(w->style & WS_VISIBLE)) return false;
  }
  return true;
}

bool IsEnabledChain(const Window* w) {
  for (; w; w = w->parent) {
    if (w->style & WS_DISABLED) return false;
  }
  return true;
}

std::vector<RECT> VisibleRegion(const Window* w, bool clientOnly) {
  if (!IsShown(w)) return {};
  RECT r = clientOnly ? ScreenClientRect(w) : ScreenWindowRect(w);
  for (const Window* a = w->parent; a; a = a->parent) r = Intersect(r, ScreenClientRect(a));
  r = Intersect(r, RECT{0, 0, kScreenWidth, kScreenHeight});
  if (Empty(r)) return {};
  std::vector<RECT> region{r};
  for (const Window* level = w; level && !region.empty(); level = level->parent) {
    const auto& siblings = level->parent ? level->parent->children : Wm().topLevels;
    for (const Window* s : siblings) {
      if (s == level) break;
      if (s->style & WS_VISIBLE) SubtractRect(region, ScreenWindowRect(s));
    }
  }
  return region;
}

namespace {

void RaiseOwnedAbove(Window* owner) {
  auto& tops = Wm().topLevels;
  std::vector<Window*> owned;
  for (Window* t : tops) {
    if (t->owner == owner) owned.push_back(t);
  }
  // Keep the owned windows' own order: insert from the bottom-most up.
  for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
    tops.erase(std::find(tops.begin(), tops.end(), *it));
    tops.insert(tops.begin(), *it);
  }
  for (Window* o : owned) RaiseOwnedAbove(o);
}

// Returns true when the order changed.
bool PlaceInZOrder(Window* w, HWND insertAfter) {
  auto& list = w->parent ? w->parent->children : Wm().topLevels;
  std::vector<Window*> before = list;
  list.erase(std::find(list.begin(), list.end(), w));
  if (insertAfter == HWND_BOTTOM) {
    list.push_back(w);
  } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST ||
             insertAfter == HWND_NOTOPMOST) {
    list.insert(list.begin(), w);
  } else {
    Window* after = FromHandle(insertAfter);
    auto it = std::find(list.begin(), list.end(), after);
    list.insert(it == list.end() ? list.begin() : it + 1, w);
  }
  if (!w->parent) RaiseOwnedAbove(w);
  return before != list;
}

void InvalidateWhole(Window* w) {
  AddUpdate(w, LocalClientRect(w), true, true);
  for (Window* c : w->children) {
    if (c->style & WS_VISIBLE) InvalidateWhole(c);
  }
}

bool Activatable(const Window* w) {
  return !w->parent && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED);
}

Window* HitChild(Window* parent, POINT screenPoint) {
  for (Window* c : parent->children) {
    if ((c->style & WS_VISIBLE) && !(c->style & WS_DISABLED)) {
      RECT r = ScreenWindowRect(c);
      if (PtInRect(&r, screenPoint)) {
        RECT client = ScreenClientRect(c);
        return PtInRect(&client, screenPoint) ? HitChild(c, screenPoint) : c;
      }
    }
  }
  return parent;
}

}  // namespace
}  // namespace device::internal

using namespace device::internal;

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = FromHandle(hwnd);
  if (!w || !rect) return FALSE;
  *rect = ScreenWindowRect(w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = FromHandle(hwnd);
  if (!w || !rect) return FALSE;
  *rect = LocalClientRect(w);
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  Window* w = FromHandle(hwnd);
  if (!w || !point) return FALSE;
  RECT c = ScreenClientRect(w);
  point->x += c.left;
  point->y += c.top;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  Window* w = FromHandle(hwnd);
  if (!w || !point) return FALSE;
  RECT c = ScreenClientRect(w);
  point->x -= c.left;
  point->y -= c.top;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT o{0, 0};
  if (from) ClientToScreen(from, &o);
  if (to) ScreenToClient(to, &o);
  for (UINT i = 0; i < count; ++i) {
    points[i].x += o.x;
    points[i].y += o.y;
  }
  return MAKELPARAM(static_cast<WORD>(o.x), static_cast<WORD>(o.y));
}

// Disabled top-level windows are returned (the input code discards pen events on them);
// disabled or hidden children are passed over in favour of their parent.
HWND WindowFromPoint(POINT point) {
  for (Window* t : Wm().topLevels) {
    if (!(t->style & WS_VISIBLE)) continue;
    RECT r = ScreenWindowRect(t);
    if (!PtInRect(&r, point)) continue;
    RECT client = ScreenClientRect(t);
    if (!PtInRect(&client, point) || (t->style & WS_DISABLED)) return t->handle;
    return HitChild(t, point)->handle;
  }
  return nullptr;
}

// Win32: immediate children only, hidden and disabled ones included.
HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
  Window* p = FromHandle(parent);
  if (!p) return nullptr;
  RECT local = LocalClientRect(p);
  if (!PtInRect(&local, clientPoint)) return nullptr;
  POINT screen = clientPoint;
  ClientToScreen(parent, &screen);
  for (Window* c : p->children) {
    RECT r = ScreenWindowRect(c);
    if (PtInRect(&r, screen)) return c->handle;
  }
  return parent;
}

BOOL ShowWindow(HWND hwnd, int command) {
  if (IsRemoteWindow(hwnd)) return command != SW_HIDE && command != SW_MINIMIZE && RaiseRemoteWindow(hwnd);
  Window* w = FromHandle(hwnd);
  if (!w) return FALSE;
  bool wasVisible = (w->style & WS_VISIBLE) != 0;
  bool show = command != SW_HIDE && command != SW_MINIMIZE;
  if (show != wasVisible) {
    SendToWindow(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (FromHandle(hwnd) != w) return wasVisible;
  }
  if (show) {
    bool activate = !w->parent && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE;
    w->style |= WS_VISIBLE;
    if (!wasVisible) InvalidateWhole(w);
    if (activate && Activatable(w)) {
      if (PlaceInZOrder(w, HWND_TOP) && wasVisible) InvalidateWhole(w);
      ActivateWindow(w, WA_ACTIVE);
    }
  } else if (wasVisible) {
    ScreenSnapshot before = TakeScreenSnapshot();
    w->style &= ~WS_VISIBLE;
    ExposeChanges(before);
    ForgetWindowForFocus(w);
  }
  return wasVisible;
}

// A window of another process can only be raised: to the top or left in place, neither
// moved, sized nor hidden.
static bool RaisesOnly(HWND insertAfter, UINT flags) {
  bool keepsPlace = (flags & SWP_NOZORDER) || insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST;
  return keepsPlace && (flags & SWP_NOMOVE) && (flags & SWP_NOSIZE) && !(flags & SWP_HIDEWINDOW);
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  if (IsRemoteWindow(hwnd)) return RaisesOnly(insertAfter, flags) && RaiseRemoteWindow(hwnd);
  Window* w = FromHandle(hwnd);
  if (!w) return FALSE;
  bool wasShown = IsShown(w);
  RECT r = w->rect;
  if (!(flags & SWP_NOMOVE)) OffsetRect(&r, x - r.left, y - r.top);
  if (!(flags & SWP_NOSIZE)) {
    r.right = r.left + std::max(0, width);
    r.bottom = r.top + std::max(0, height);
  }
  bool moved = r.left != w->rect.left || r.top != w->rect.top;
  bool sized = (r.right - r.left) != (w->rect.right - w->rect.left) ||
               (r.bottom - r.top) != (w->rect.bottom - w->rect.top);
  bool hiding = (flags & SWP_HIDEWINDOW) && (w->style & WS_VISIBLE);
  bool uncovers = wasShown && !(flags & SWP_NOREDRAW) && (moved || sized || hiding);
  ScreenSnapshot before;
  if (uncovers) before = TakeScreenSnapshot();
  w->rect = r;
  bool restacked = !(flags & SWP_NOZORDER) && PlaceInZOrder(w, insertAfter);
  if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
  bool shown = IsShown(w);

  if (!(flags & SWP_NOREDRAW)) {
    if (uncovers) ExposeChanges(before);
    if (shown && (moved || sized || restacked || !wasShown)) InvalidateWhole(w);
  }
  if (!shown && wasShown) ForgetWindowForFocus(w);
  if (moved) {
    RECT c = ScreenClientRect(w);
    POINT origin{c.left, c.top};
    if (w->parent) ScreenToClient(w->parent->handle, &origin);
    SendToWindow(hwnd, WM_MOVE, 0,
                 MAKELPARAM(static_cast<WORD>(origin.x), static_cast<WORD>(origin.y)));
  }
  if (sized && FromHandle(hwnd) == w) {
    RECT c = LocalClientRect(w);
    SendToWindow(hwnd, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(c.right), static_cast<WORD>(c.bottom)));
  }
  if (!(flags & SWP_NOACTIVATE) && FromHandle(hwnd) == w && Activatable(w)) {
    ActivateWindow(w, WA_ACTIVE);
  }
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
