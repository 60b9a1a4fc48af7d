// Painting: InvalidateRect, ValidateRect, UpdateWindow, GetUpdateRect, BeginPaint, EndPaint,
// GetDC, GetWindowDC, ReleaseDC, and the repainting of whatever a moved, hidden or destroyed
// window uncovers.
//
// Each window keeps one bounding rectangle of what needs painting, an erase flag and a frame
// flag. Invalidating a window also invalidates the part of each visible child that lies in
// the rectangle, because parents do not clip their children (Win32 without WS_CLIPCHILDREN)
// and so paint over them. BeginPaint sends WM_NCPAINT when the frame is pending, then
// WM_ERASEBKGND (wParam the paint DC) when erasing is pending, and returns a DC clipped to the
// window's visible region and the update rectangle; the caret is hidden from BeginPaint to
// EndPaint. Hidden windows collect no updates. When a window hides, moves or goes, exactly
// what became visible of each other window is invalidated (with erase), compared against a
// snapshot taken before the change; screen that no window covers any more is painted black
// at once. Drawing goes through GDI's screen DCs (internal/screen.h).
#include "internal/screen.h"
#include "internal/window_state.h"

#include <device/gdi.h>

namespace device::internal {

void CaretPaintBegin(HWND hwnd);  // caret.cpp
void CaretPaintEnd(HWND hwnd);

namespace {

RECT Union(const RECT& a, const RECT& b) {
  RECT r;
  UnionRect(&r, &a, &b);
  return r;
}

bool HasFrame(const Window* w) {
  RECT in = ClientInsets(w);
  return in.left || in.top || in.right || in.bottom;
}

// `rect` is in w's client coordinates.
void InvalidateWithChildren(Window* w, const RECT& rect, bool erase) {
  AddUpdate(w, rect, erase, false);
  for (Window* c : w->children) {
    if (!(c->style & WS_VISIBLE)) continue;
    RECT part = Intersect(rect, c->rect);
    if (Empty(part)) continue;
    RECT in = ClientInsets(c);
    OffsetRect(&part, -(c->rect.left + in.left), -(c->rect.top + in.top));
    InvalidateWithChildren(c, part, erase);
    if (HasFrame(c)) c->framePending = true;
  }
}

std::vector<RECT> DesktopPixels() {
  std::vector<RECT> region{RECT{0, 0, kScreenWidth, kScreenHeight}};
  for (const Window* t : Wm().topLevels) {
    if (t->style & WS_VISIBLE) SubtractRect(region, ScreenWindowRect(t));
  }
  return region;
}

void PaintDesktop(const std::vector<RECT>& region) {
  if (region.empty()) return;
  HDC dc = CreateScreenDC(nullptr, POINT{0, 0}, region);
  RECT all{0, 0, kScreenWidth, kScreenHeight};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  DestroyScreenDC(dc);
}

// Parents do not clip their children, but what a child covers is the child's to paint.
std::vector<RECT> ShownPixels(const Window* w) {
  std::vector<RECT> region = VisibleRegion(w, false);
  for (const Window* c : w->children) {
    if (c->style & WS_VISIBLE) SubtractRect(region, ScreenWindowRect(c));
  }
  return region;
}

// Marks a screen rectangle of w for repainting: the client part with erasing, the frame
// when the rectangle reaches into it.
void InvalidateScreenPart(Window* w, const RECT& screenRect) {
  RECT client = ScreenClientRect(w);
  RECT inside = Intersect(screenRect, client);
  bool reachesFrame = !EqualRect(&inside, &screenRect);
  OffsetRect(&inside, -client.left, -client.top);
  AddUpdate(w, inside, true, reachesFrame);
}

Window* FirstToPaint(const std::vector<Window*>& list) {
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    Window* w = *it;
    if (!(w->style & WS_VISIBLE)) continue;
    if (w->updatePending || w->framePending) return w;
    if (Window* c = FirstToPaint(w->children)) return c;
  }
  return nullptr;
}

void UpdateTree(Window* w) {
  HWND hwnd = w->handle;
  if (IsShown(w) && (w->updatePending || w->framePending)) {
    SendToWindow(hwnd, WM_PAINT, 0, 0);
    if (FromHandle(hwnd) != w) return;
    if (w->updatePending || w->framePending) DropUpdate(w);
  }
  std::vector<HWND> children;  // handles: a WM_PAINT handler may destroy a child
  for (const Window* c : w->children) children.push_back(c->handle);
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (Window* c = FromHandle(*it)) UpdateTree(c);
  }
}

HDC ScreenDCFor(Window* w, bool clientOnly, const RECT* clipLocal) {
  std::vector<RECT> region = VisibleRegion(w, clientOnly);
  RECT origin = clientOnly ? ScreenClientRect(w) : ScreenWindowRect(w);
  if (clipLocal) {
    RECT clip = *clipLocal;
    OffsetRect(&clip, origin.left, origin.top);
    std::vector<RECT> clipped;
    for (const RECT& r : region) {
      RECT i = Intersect(r, clip);
      if (!Empty(i)) clipped.push_back(i);
    }
    region.swap(clipped);
  }
  return CreateScreenDC(w->handle, POINT{origin.left, origin.top}, region);
}

}  // namespace

void AddUpdate(Window* w, const RECT& clientRect, bool erase, bool frame) {
  if (!IsShown(w)) return;
  RECT r = Intersect(clientRect, LocalClientRect(w));
  if (!Empty(r)) {
    w->update = w->updatePending ? Union(w->update, r) : r;
    w->updatePending = true;
    w->erasePending = w->erasePending || erase;
  }
  if (frame && HasFrame(w)) w->framePending = true;
}

void DropUpdate(Window* w) {
  w->updatePending = w->erasePending = w->framePending = false;
  w->update = RECT{0, 0, 0, 0};
}

ScreenSnapshot TakeScreenSnapshot() {
  ScreenSnapshot snapshot;
  for (auto& [handle, window] : Wm().windows) {
    if (IsShown(window.get())) snapshot.shown[handle] = ShownPixels(window.get());
  }
  snapshot.desktop = DesktopPixels();
  return snapshot;
}

void ExposeChanges(const ScreenSnapshot& before) {
  for (auto& [handle, window] : Wm().windows) {
    Window* w = window.get();
    if (!IsShown(w)) continue;
    std::vector<RECT> fresh = ShownPixels(w);
    auto old = before.shown.find(handle);
    if (old != before.shown.end()) {
      for (const RECT& r : old->second) SubtractRect(fresh, r);
    }
    for (const RECT& r : fresh) InvalidateScreenPart(w, r);
  }
  std::vector<RECT> bare = DesktopPixels();
  for (const RECT& r : before.desktop) SubtractRect(bare, r);
  PaintDesktop(bare);
}

Window* NextWindowToPaint() { return FirstToPaint(Wm().topLevels); }

}  // namespace device::internal

using namespace device::internal;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!hwnd) {
    for (Window* t : Wm().topLevels) {
      InvalidateWithChildren(t, LocalClientRect(t), erase != FALSE);
      AddUpdate(t, RECT{0, 0, 0, 0}, false, true);
    }
    return TRUE;
  }
  Window* w = FromHandle(hwnd);
  if (!w) return FALSE;
  InvalidateWithChildren(w, rect ? *rect : LocalClientRect(w), erase != FALSE);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  Window* w = FromHandle(hwnd);
  if (!w) return FALSE;
  if (!rect) {
    w->updatePending = w->erasePending = false;
    w->update = RECT{0, 0, 0, 0};
    return TRUE;
  }
  // With one bounding rectangle, only a validation covering all of it clears it.
  RECT covered;
  UnionRect(&covered, rect, &w->update);
  if (w->updatePending && EqualRect(&covered, rect)) {
    w->updatePending = w->erasePending = false;
    w->update = RECT{0, 0, 0, 0};
  }
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (!w) return FALSE;
  UpdateTree(w);
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  Window* w = FromHandle(hwnd);
  if (!w) return FALSE;
  if (rect) *rect = w->updatePending ? w->update : RECT{0, 0, 0, 0};
  if (erase && w->updatePending && w->erasePending) {
    HDC dc = ScreenDCFor(w, true, &w->update);
    if (SendToWindow(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0)) w->erasePending = false;
    DestroyScreenDC(dc);
  }
  return w->updatePending;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  Window* w = FromHandle(hwnd);
  if (!w || !ps) return nullptr;
  CaretPaintBegin(hwnd);
  if (w->framePending) {
    w->framePending = false;
    SendToWindow(hwnd, WM_NCPAINT, 1, 0);
    if (FromHandle(hwnd) != w) return nullptr;
  }
  RECT update = w->updatePending ? w->update : RECT{0, 0, 0, 0};
  bool erase = w->erasePending;
  w->updatePending = w->erasePending = false;
  w->update = RECT{0, 0, 0, 0};
  HDC dc = ScreenDCFor(w, true, &update);
  *ps = PAINTSTRUCT{};
  ps->hdc = dc;
  ps->rcPaint = update;
  if (erase && !SendToWindow(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0)) {
    ps->fErase = TRUE;
  }
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (ps && ps->hdc) DestroyScreenDC(ps->hdc);
  CaretPaintEnd(hwnd);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  if (!hwnd) {
    return CreateScreenDC(nullptr, POINT{0, 0}, {RECT{0, 0, kScreenWidth, kScreenHeight}});
  }
  Window* w = FromHandle(hwnd);
  return w ? ScreenDCFor(w, true, nullptr) : nullptr;
}

HDC GetWindowDC(HWND hwnd) {
  if (!hwnd) return GetDC(nullptr);
  Window* w = FromHandle(hwnd);
  return w ? ScreenDCFor(w, false, nullptr) : nullptr;
}

int ReleaseDC(HWND hwnd, HDC dc) {
  if (!dc) return 0;
  DestroyScreenDC(dc);
  return 1;
}
