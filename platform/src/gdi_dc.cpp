// Device contexts and the screen surface: CreateScreenDC / DestroyScreenDC (for the window
// manager's GetDC and BeginPaint), CreateCompatibleDC, DeleteDC, SelectObject,
// GetCurrentObject, GetDeviceCaps, WindowFromDC, the text and background colours and mode.
//
// The screen is 240 x 320 at 32 bits per pixel, 96 pixels per inch. A memory DC starts with a
// shared 1 x 1 stock bitmap selected. A bitmap can be selected into one DC at a time, and
// never into a screen DC (SelectObject returns null, as in Win32). Regions, mapping modes and
// SaveDC/RestoreDC are not provided.
#include "internal/gdi_state.h"

#include <atomic>
#include <unordered_set>

namespace device::internal {
namespace {

std::unordered_set<DeviceContext*>& LiveDCs() {
  static std::unordered_set<DeviceContext*> live;
  return live;
}

std::atomic<std::uint64_t> screenGeneration{0};

std::uint32_t* ScreenPixels() {
  static std::vector<std::uint32_t> pixels(kScreenWidth * kScreenHeight, 0);
  return pixels.data();
}

DeviceContext* NewDC() {
  auto* dc = new DeviceContext;
  dc->brush = StockBrush(WHITE_BRUSH);
  dc->pen = StockPen(BLACK_PEN);
  dc->font = StockSystemFont();
  dc->brush->selections++;
  dc->pen->selections++;
  dc->font->selections++;
  LiveDCs().insert(dc);
  return dc;
}

void ReleaseSelections(DeviceContext* dc) {
  if (dc->bitmap) dc->bitmap->selections--;
  dc->brush->selections--;
  dc->pen->selections--;
  dc->font->selections--;
}

void FreeDC(DeviceContext* dc) {
  ReleaseSelections(dc);
  LiveDCs().erase(dc);
  delete dc;
}

// Swaps `slot` to `object` and returns the previous object's handle.
template <typename T>
HGDIOBJ Swap(T*& slot, T* object) {
  T* previous = slot;
  previous->selections--;
  object->selections++;
  slot = object;
  return HandleOf(previous);
}

HGDIOBJ SelectBitmap(DeviceContext* dc, BitmapObject* bitmap) {
  // A bitmap lives in one memory DC at a time; the stock 1 x 1 bitmap is shared by all.
  if (dc->screen) return nullptr;
  if (bitmap == dc->bitmap) return HandleOf(bitmap);
  if (!bitmap->stock && bitmap->selections > 0) return nullptr;
  return Swap(dc->bitmap, bitmap);
}

}  // namespace

Surface ScreenSurface() { return Surface{ScreenPixels(), kScreenWidth, kScreenHeight}; }

std::uint64_t ScreenGeneration() { return screenGeneration.load(std::memory_order_acquire); }

void NoteScreenChanged() { screenGeneration.fetch_add(1, std::memory_order_acq_rel); }

DeviceContext* LookupDC(HDC handle) {
  auto* dc = reinterpret_cast<DeviceContext*>(handle);
  if (!dc || !LiveDCs().count(dc)) return nullptr;
  return dc;
}

DrawTarget TargetOf(const DeviceContext& dc) {
  DrawTarget t;
  if (dc.screen) {
    t.pixels = ScreenPixels();
    t.width = kScreenWidth;
    t.height = kScreenHeight;
    t.dx = dc.origin.x;
    t.dy = dc.origin.y;
    t.clips = &dc.visible;
    t.isScreen = true;
  } else {
    t.pixels = dc.bitmap->pixels.data();
    t.width = dc.bitmap->width;
    t.height = dc.bitmap->height;
  }
  t.whole = RECT{0, 0, t.width, t.height};
  return t;
}

HDC CreateScreenDC(HWND window, POINT origin, const std::vector<RECT>& visible) {
  DeviceContext* dc = NewDC();
  dc->screen = true;
  dc->window = window;
  dc->origin = origin;
  dc->visible = visible;
  return reinterpret_cast<HDC>(dc);
}

void DestroyScreenDC(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  if (dc && dc->screen) FreeDC(dc);
}

}  // namespace device::internal

using namespace device::internal;

HDC CreateCompatibleDC(HDC) {
  DeviceContext* dc = NewDC();
  dc->bitmap = StockBitmap();
  dc->bitmap->selections++;
  return reinterpret_cast<HDC>(dc);
}

BOOL DeleteDC(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  // Screen DCs belong to the window manager (ReleaseDC / EndPaint).
  if (!dc || dc->screen) return FALSE;
  FreeDC(dc);
  return TRUE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ objectHandle) {
  DeviceContext* dc = LookupDC(handle);
  GdiObject* object = LookupObject(objectHandle);
  if (!dc || !object) return nullptr;
  switch (object->kind) {
    case GdiKind::Bitmap: return SelectBitmap(dc, static_cast<BitmapObject*>(object));
    case GdiKind::Brush: return Swap(dc->brush, static_cast<BrushObject*>(object));
    case GdiKind::Pen: return Swap(dc->pen, static_cast<PenObject*>(object));
    case GdiKind::Font: return Swap(dc->font, static_cast<FontObject*>(object));
  }
  return nullptr;
}

HGDIOBJ GetCurrentObject(HDC handle, UINT kind) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return nullptr;
  switch (kind) {
    case OBJ_BITMAP: return dc->bitmap ? HandleOf(dc->bitmap) : nullptr;
    case OBJ_BRUSH: return HandleOf(dc->brush);
    case OBJ_PEN: return HandleOf(dc->pen);
    case OBJ_FONT: return HandleOf(dc->font);
    default: return nullptr;
  }
}

int GetDeviceCaps(HDC handle, int index) {
  switch (index) {
    case HORZRES: return kScreenWidth;
    case VERTRES: return kScreenHeight;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    default: return 0;
  }
}

HWND WindowFromDC(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  return dc ? dc->window : nullptr;
}

COLORREF SetTextColor(HDC handle, COLORREF color) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return CLR_INVALID;
  COLORREF previous = dc->textColor;
  dc->textColor = color & 0xFFFFFF;
  return previous;
}

COLORREF GetTextColor(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  return dc ? dc->textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC handle, COLORREF color) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return CLR_INVALID;
  COLORREF previous = dc->bkColor;
  dc->bkColor = color & 0xFFFFFF;
  return previous;
}

COLORREF GetBkColor(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  return dc ? dc->bkColor : CLR_INVALID;
}

int SetBkMode(HDC handle, int mode) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int previous = dc->bkMode;
  dc->bkMode = mode;
  return previous;
}

int GetBkMode(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  return dc ? dc->bkMode : 0;
}
