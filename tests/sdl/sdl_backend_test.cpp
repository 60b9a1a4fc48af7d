// The SDL backend's input mapping, with SDL's dummy video driver: mouse on the scaled screen
// is the pen, mouse on the drawn buttons and keys F1-F4 / arrows / Enter are the device's
// keys, closing the window quits the program.
#include <device/user.h>

#include "internal/sdl.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

namespace {

struct Seen {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Seen&) const = default;
};
std::vector<Seen> seen;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LBUTTONDOWN || msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP || msg == WM_KEYDOWN ||
      msg == WM_KEYUP) {
    seen.push_back(Seen{msg, msg == WM_KEYDOWN || msg == WM_KEYUP ? wParam : 0,
                        msg == WM_KEYDOWN || msg == WM_KEYUP ? 0 : lParam});
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class SdlBackend : public ::testing::Test {
 protected:
  HWND window = nullptr;
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("TAVREL_SCALE", "2", 1);
    if (!device::internal::StartSdlBackend("sdl test")) GTEST_SKIP() << "SDL cannot start";
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = u"SdlTestWindow";
    RegisterClass(&wc);
    window = CreateWindowEx(0, u"SdlTestWindow", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr,
                            nullptr, nullptr, nullptr);
    Pump();
    seen.clear();
  }
  void TearDown() override {
    if (!window) return;
    DestroyWindow(window);
    Pump();
    device::internal::StopSdlBackend();
  }
  // Dispatches what is there; returns true when WM_QUIT came.
  bool Pump() {
    MSG msg;
    bool quit = false;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) quit = true;
      else DispatchMessage(&msg);
    }
    return quit;
  }
  static void Mouse(Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
      e.motion.x = x;
      e.motion.y = y;
      e.motion.state = SDL_BUTTON_LMASK;
    } else {
      e.button.button = SDL_BUTTON_LEFT;
      e.button.x = x;
      e.button.y = y;
    }
    SDL_PushEvent(&e);
  }
  static void Key(Uint32 type, SDL_Keycode key) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = key;
    SDL_PushEvent(&e);
  }
};

TEST_F(SdlBackend, MouseOnTheScreenIsThePenInDevicePixels) {
  Mouse(SDL_MOUSEBUTTONDOWN, 100, 200);
  Mouse(SDL_MOUSEMOTION, 300, 700);  // dragged below the screen: held at its last row
  Mouse(SDL_MOUSEBUTTONUP, 300, 700);
  Pump();
  EXPECT_EQ(seen, (std::vector<Seen>{{WM_LBUTTONDOWN, 0, MAKELPARAM(50, 100)},
                                     {WM_MOUSEMOVE, 0, MAKELPARAM(150, 319)},
                                     {WM_LBUTTONUP, 0, MAKELPARAM(150, 319)}}));
}

TEST_F(SdlBackend, ButtonsUnderTheScreenAndHostKeysAreDeviceKeys) {
  Mouse(SDL_MOUSEBUTTONDOWN, 2 * 70, 2 * 330);  // second application button
  Mouse(SDL_MOUSEBUTTONUP, 2 * 70, 2 * 330);
  Mouse(SDL_MOUSEBUTTONDOWN, 2 * 200, 2 * 350);  // Enter
  Mouse(SDL_MOUSEBUTTONUP, 2 * 200, 2 * 350);
  Key(SDL_KEYDOWN, SDLK_F4);
  Key(SDL_KEYUP, SDLK_F4);
  Key(SDL_KEYDOWN, SDLK_LEFT);
  Key(SDL_KEYDOWN, SDLK_a);  // not a device key
  Pump();
  EXPECT_EQ(seen, (std::vector<Seen>{{WM_KEYDOWN, VK_APP2, 0}, {WM_KEYUP, VK_APP2, 0},
                                     {WM_KEYDOWN, VK_RETURN, 0}, {WM_KEYUP, VK_RETURN, 0},
                                     {WM_KEYDOWN, VK_APP4, 0}, {WM_KEYUP, VK_APP4, 0},
                                     {WM_KEYDOWN, VK_LEFT, 0}}));
}

TEST_F(SdlBackend, ClosingTheWindowQuitsAndPostFromAnotherThreadWakesTheLoop) {
  std::thread poster([this] { PostMessage(window, WM_USER, 0, 0); });
  MSG msg;
  ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));  // waits in SDL until the post wakes it
  poster.join();
  EXPECT_EQ(msg.message, WM_USER);
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
  EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_QUIT);
}

}  // namespace
