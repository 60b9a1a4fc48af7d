// Headless start of the device: a fresh device image, one full-screen window with a child,
// shown, painted and idle, then torn down.
#include <device/driver.h>
#include <device/gdi.h>
#include <device/user.h>

#include <benchmark/benchmark.h>

namespace {

LRESULT CALLBACK BenchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT line{0, 0, 240, 20};
    DrawText(dc, u"Start", -1, &line, DT_CENTER | DT_SINGLELINE);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

void BM_HeadlessStartToIdle(benchmark::State& state) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = BenchProc;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = u"BenchWindow";
  RegisterClass(&wc);
  for (auto _ : state) {
    device::Driver driver;
    HWND main = CreateWindowEx(0, u"BenchWindow", u"bench", WS_VISIBLE, 0, 0, 240, 320, nullptr,
                               nullptr, nullptr, nullptr);
    CreateWindowEx(0, u"BenchWindow", u"child", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 40, 200,
                   200, main, nullptr, nullptr, nullptr);
    driver.RunUntilIdle();
    benchmark::DoNotOptimize(driver.Pixel(120, 10));
  }
}
BENCHMARK(BM_HeadlessStartToIdle)->Unit(benchmark::kMicrosecond);

}  // namespace

// The window manager alone, without the device image: create, paint to idle, destroy.
void BM_CreatePaintDestroyWindows(benchmark::State& state) {
  device::Driver driver;
  WNDCLASSW wc{};
  wc.lpfnWndProc = BenchProc;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = u"BenchWindow";
  RegisterClass(&wc);
  for (auto _ : state) {
    HWND main = CreateWindowEx(0, u"BenchWindow", u"bench", WS_VISIBLE, 0, 0, 240, 320, nullptr,
                               nullptr, nullptr, nullptr);
    CreateWindowEx(0, u"BenchWindow", u"child", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 40, 200,
                   200, main, nullptr, nullptr, nullptr);
    driver.RunUntilIdle();
    DestroyWindow(main);
    driver.RunUntilIdle();
  }
}
BENCHMARK(BM_CreatePaintDestroyWindows)->Unit(benchmark::kMicrosecond);
