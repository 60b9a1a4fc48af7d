// The driver against a program with its own message loop: the script runs only while the
// program is idle, nested loops hand over too, and either side may end first.
#include <device/driver.h>
#include <device/gdi.h>
#include <device/imgdecmp.h>
#include <device/user.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

constexpr UINT kOpenModal = WM_USER + 1;

struct ProgramState {
  int taps = 0;
  int ticks = 0;
  bool inModal = false;
  int modalTaps = 0;
  bool closeOnTap = false;
};
ProgramState state;

LRESULT CALLBACK ProgramProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      if (!(GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD)) SetTimer(hwnd, 1, 100, nullptr);
      return 0;
    case WM_TIMER:
      ++state.ticks;
      return 0;
    case WM_LBUTTONUP: {
      if (state.inModal) {
        ++state.modalTaps;
        return 0;
      }
      ++state.taps;
      std::u16string text = u"taps " + std::u16string(1, static_cast<char16_t>(u'0' + state.taps));
      SetWindowText(hwnd, text.c_str());
      if (state.closeOnTap) SendMessage(hwnd, WM_CLOSE, 0, 0);
      return 0;
    }
    case kOpenModal: {
      // A modal loop as a dialog runs it: until two taps have arrived inside it.
      state.inModal = true;
      MSG m;
      while (state.modalTaps < 2 && GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
      state.inModal = false;
      return 1;
    }
    case WM_DESTROY:
      PostQuitMessage(5);
      return 0;
    default:
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

int ProgramMain() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ProgramProc;
  wc.lpszClassName = u"LockstepProgram";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClass(&wc);
  HWND main = CreateWindowEx(0, u"LockstepProgram", u"taps 0", WS_VISIBLE, 0, 0, 240, 320,
                             nullptr, nullptr, nullptr, nullptr);
  CreateWindowEx(0, u"LockstepProgram", u"inner", WS_CHILD | WS_VISIBLE, 10, 200, 50, 50, main,
                 nullptr, nullptr, nullptr);
  MSG m;
  while (GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
  return static_cast<int>(m.wParam);
}

TEST(DriverLockstep, ScriptActsWhileProgramIsIdleAndItsEndQuitsTheProgram) {
  state = ProgramState{};
  std::string deviceFolder;
  int result = device::RunProgramWithScript(ProgramMain, [&](device::Driver& d) {
    deviceFolder = d.DeviceFolder();
    EXPECT_EQ(std::getenv("TAVREL_DEVICE"), deviceFolder);
    HWND main = d.Find(u"LockstepProgram", u"taps 0");
    ASSERT_NE(main, nullptr);
    EXPECT_NE(d.Find(nullptr, u"inner"), nullptr);  // children are searched too
    d.Tap(100, 100);
    d.Tap(100, 100);
    EXPECT_EQ(state.taps, 2);
    EXPECT_EQ(d.WindowText(main), u"taps 2");
    EXPECT_EQ(d.Pixel(100, 100), RGB(255, 255, 255));
    d.AdvanceTime(350);
    EXPECT_EQ(state.ticks, 3);
    EXPECT_EQ(d.Now(), 350u);
  });
  EXPECT_EQ(result, 0);  // WM_QUIT from the end of the script
  EXPECT_FALSE(std::filesystem::exists(deviceFolder));
}

TEST(DriverLockstep, NestedLoopInsideAHandlerHandsOverToo) {
  state = ProgramState{};
  device::RunProgramWithScript(ProgramMain, [&](device::Driver& d) {
    HWND main = d.Find(u"LockstepProgram", nullptr);
    PostMessage(main, kOpenModal, 0, 0);
    d.RunUntilIdle();
    EXPECT_TRUE(state.inModal);
    d.Tap(5, 5);
    d.AdvanceTime(100);  // timers run inside the nested loop
    EXPECT_EQ(state.ticks, 1);
    EXPECT_TRUE(state.inModal);
    d.Tap(5, 5);
    EXPECT_FALSE(state.inModal);
    EXPECT_EQ(state.taps, 0);
    d.Tap(5, 5);
    EXPECT_EQ(state.taps, 1);
  });
}

TEST(DriverLockstep, ProgramThatEndsFirstLeavesTheScriptRunningAlone) {
  state = ProgramState{};
  state.closeOnTap = true;
  bool scriptFinished = false;
  int result = device::RunProgramWithScript(ProgramMain, [&](device::Driver& d) {
    d.Tap(100, 100);
    d.Tap(100, 100);  // the program is gone: nothing happens, nothing hangs
    d.AdvanceTime(1000);
    scriptFinished = true;
  });
  EXPECT_EQ(result, 5);
  EXPECT_TRUE(scriptFinished);
  EXPECT_EQ(state.taps, 1);
}

// The picture written holds the screen's pixels: a red window on the left half, black beside it.
TEST(DriverActions, ScreenshotWritesTheScreenAsAPngIntoTheShotsFolder) {
  device::Driver d;
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.hbrBackground = CreateSolidBrush(RGB(200, 20, 30));
  wc.lpszClassName = u"ShotProbe";
  RegisterClass(&wc);
  CreateWindowEx(0, u"ShotProbe", u"", WS_VISIBLE, 0, 0, 120, 320, nullptr, nullptr, nullptr, nullptr);
  d.RunUntilIdle();
  const std::string path = d.Screenshot("screen");
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(std::filesystem::path(path), std::filesystem::absolute(std::filesystem::path(std::getenv("TAVREL_SHOTS")) / "screen.png"));
  HBITMAP shot = LoadPngFile(path.c_str());
  ASSERT_NE(shot, nullptr);
  HDC probe = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(probe, shot);
  for (POINT p : {POINT{0, 0}, POINT{119, 319}, POINT{120, 0}, POINT{239, 160}}) {
    EXPECT_EQ(GetPixel(probe, p.x, p.y), d.Pixel(p.x, p.y)) << p.x << "," << p.y;
  }
  EXPECT_EQ(GetPixel(probe, 60, 160), RGB(200, 20, 30));
  EXPECT_NE(GetPixel(probe, 180, 160), RGB(200, 20, 30));
  SelectObject(probe, old);
  DeleteDC(probe);
  DeleteObject(shot);
  DeleteObject(wc.hbrBackground);
  EXPECT_EQ(d.Pixel(-1, 0), 0xFFFFFFFFu);
}

}  // namespace
