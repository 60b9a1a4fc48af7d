// Drawing speed: a full-screen copy from the back buffer to the screen, and a 20-character
// label with its glyphs already cached.
#include <device/gdi.h>

#include "internal/screen.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

HDC WholeScreenDC() {
  static const std::vector<RECT> whole{{0, 0, 240, 320}};
  return device::internal::CreateScreenDC(nullptr, POINT{0, 0}, whole);
}

void BM_FullScreenBitBlt(benchmark::State& state) {
  HDC screen = WholeScreenDC();
  HDC back = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 240, 320);
  HGDIOBJ old = SelectObject(back, bitmap);
  for (auto _ : state) {
    BitBlt(screen, 0, 0, 240, 320, back, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
  SelectObject(back, old);
  DeleteObject(bitmap);
  DeleteDC(back);
  device::internal::DestroyScreenDC(screen);
}
BENCHMARK(BM_FullScreenBitBlt);

void BM_DrawText20Characters(benchmark::State& state) {
  HDC screen = WholeScreenDC();
  LOGFONTW lf{};
  lf.lfHeight = 15;
  lf.lfWeight = FW_NORMAL;
  std::memcpy(lf.lfFaceName, u"MS SANS SERIF", sizeof(u"MS SANS SERIF"));
  HFONT font = CreateFontIndirect(&lf);
  HGDIOBJ old = SelectObject(screen, font);
  SetBkMode(screen, TRANSPARENT);
  SetTextColor(screen, RGB(0xB3, 0xB3, 0xB3));
  const char16_t* text = u"Pocket notes, typed!";  // 20 characters
  RECT box{0, 100, 240, 130};
  DrawText(screen, text, 20, &box, 0x825);  // warms the glyph cache
  for (auto _ : state) {
    RECT r = box;
    benchmark::DoNotOptimize(DrawText(screen, text, 20, &r, 0x825));
  }
  SelectObject(screen, old);
  DeleteObject(font);
  device::internal::DestroyScreenDC(screen);
}
BENCHMARK(BM_DrawText20Characters);

}  // namespace
