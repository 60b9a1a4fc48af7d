// The SDL backend's input mapping, with SDL's dummy video driver: mouse on the scaled screen
// is the pen, mouse on the drawn buttons and keys F1-F4 / arrows / keypad Enter are the
// device's keys, desktop text and Backspace / Return are keyboard characters, closing the
// window closes the program's main window.
#include <device/user.h>

#include "internal/sdl.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
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
  const bool key = msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR;
  if (msg == WM_LBUTTONDOWN || msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP || key || msg == WM_CLOSE) {
    seen.push_back(Seen{msg, key ? wParam : 0, key ? static_cast<LPARAM>(msg == WM_CHAR && IsKeyboardCharacter(lParam)) : lParam});
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

TEST_F(SdlBackend, AResizedWindowKeepsTheAspectAndMapsThePenExactly) {
  SDL_Window* host = SDL_GetWindowFromID(1);
  ASSERT_NE(host, nullptr);
  SDL_SetWindowSize(host, 600, 552);  // scale 1.5, bars of 120 pixels left and right
  Pump();
  seen.clear();
  Mouse(SDL_MOUSEBUTTONDOWN, 100, 10);  // on the bar: not the pen
  Mouse(SDL_MOUSEBUTTONUP, 100, 10);
  Mouse(SDL_MOUSEBUTTONDOWN, 123, 479);  // device (2, 319)
  Mouse(SDL_MOUSEBUTTONUP, 479, 0);      // device (239, 0)
  Mouse(SDL_MOUSEBUTTONDOWN, 120 + 70 * 3 / 2, 330 * 3 / 2);  // the second application button
  Mouse(SDL_MOUSEBUTTONUP, 120 + 70 * 3 / 2, 330 * 3 / 2);
  Pump();
  EXPECT_EQ(seen, (std::vector<Seen>{{WM_LBUTTONDOWN, 0, MAKELPARAM(2, 319)},
                                     {WM_LBUTTONUP, 0, MAKELPARAM(239, 0)},
                                     {WM_KEYDOWN, VK_APP2, 0}, {WM_KEYUP, VK_APP2, 0}}));
}

TEST_F(SdlBackend, ButtonsUnderTheScreenAndHostKeysAreDeviceKeys) {
  Mouse(SDL_MOUSEBUTTONDOWN, 2 * 70, 2 * 330);  // second application button
  Mouse(SDL_MOUSEBUTTONUP, 2 * 70, 2 * 330);
  Mouse(SDL_MOUSEBUTTONDOWN, 2 * 200, 2 * 350);  // Enter
  Mouse(SDL_MOUSEBUTTONUP, 2 * 200, 2 * 350);
  Key(SDL_KEYDOWN, SDLK_F4);
  Key(SDL_KEYUP, SDLK_F4);
  Key(SDL_KEYDOWN, SDLK_LEFT);
  Key(SDL_KEYDOWN, SDLK_a);  // a letter types through text input, not as a key
  Key(SDL_KEYDOWN, SDLK_KP_ENTER);
  Pump();
  EXPECT_EQ(seen, (std::vector<Seen>{{WM_KEYDOWN, VK_APP2, 0}, {WM_KEYUP, VK_APP2, 0},
                                     {WM_KEYDOWN, VK_RETURN, 0}, {WM_KEYUP, VK_RETURN, 0},
                                     {WM_KEYDOWN, VK_APP4, 0}, {WM_KEYUP, VK_APP4, 0},
                                     {WM_KEYDOWN, VK_LEFT, 0}, {WM_KEYDOWN, VK_RETURN, 0}}));
}

TEST_F(SdlBackend, DesktopTextBackspaceAndReturnAreKeyboardCharacters) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  std::snprintf(e.text.text, sizeof e.text.text, "%s", "\xC3\xA9\xF0\x9F\x98\x80");  // e-acute, then a character beyond 16 bits
  SDL_PushEvent(&e);
  Key(SDL_KEYDOWN, SDLK_BACKSPACE);
  Key(SDL_KEYDOWN, SDLK_RETURN);
  Pump();
  EXPECT_EQ(seen, (std::vector<Seen>{{WM_CHAR, 0xE9, 1}, {WM_CHAR, 0xD83D, 1}, {WM_CHAR, 0xDE00, 1},
                                     {WM_CHAR, 8, 1}, {WM_CHAR, 13, 1}}));
}

TEST_F(SdlBackend, ClosingTheWindowClosesTheMainWindowAndPostFromAnotherThreadWakesTheLoop) {
  std::thread poster([this] { PostMessage(window, WM_USER, 0, 0); });
  MSG msg;
  ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));  // waits in SDL until the post wakes it
  poster.join();
  EXPECT_EQ(msg.message, WM_USER);
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
  Pump();  // DefWindowProc destroys the window on WM_CLOSE
  EXPECT_EQ(seen, (std::vector<Seen>{{WM_CLOSE, 0, 0}}));
  EXPECT_FALSE(IsWindow(window));
  window = nullptr;
  device::internal::StopSdlBackend();
}

}  // namespace
