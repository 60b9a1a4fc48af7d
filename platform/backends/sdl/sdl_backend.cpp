// The SDL2 backend: the device in a desktop window, for people.
//
// The 240 x 320 screen is drawn scaled (<prefix>_SCALE, default 2) with the device's buttons
// under it: the four application buttons (0xC1-0xC4) in one row, the d-pad arrows and Enter
// in the next. The mouse is the pen on the screen and presses the buttons below it; keys F1-F4,
// the arrows and Enter (also on the keypad) are the same buttons. Real-time clock; the
// window is redrawn whenever GDI changed the screen (ScreenGeneration). Closing the window
// posts WM_QUIT to the program (PostQuitMessage(0)): the program's loop ends as if it had
// quit itself, and its shut-down code (saving its data) still runs.
// The caret blinks every kBlinkMs. Not implemented: text input from the desktop keyboard.
#include "internal/backend.h"
#include "internal/screen.h"
#include "internal/sdl.h"

#include <device/install.h>
#include <device/user.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

namespace device::internal {

namespace {

constexpr int kPanelRow = 24;  // device pixels per button row under the screen
constexpr std::uint64_t kBlinkMs = 500;

struct PadButton {
  RECT rect;  // device pixels; y below kScreenHeight
  UINT vk;
};

constexpr PadButton kButtons[] = {
    {{0, 320, 60, 344}, VK_APP1},    {{60, 320, 120, 344}, VK_APP2},
    {{120, 320, 180, 344}, VK_APP3}, {{180, 320, 240, 344}, VK_APP4},
    {{0, 344, 48, 368}, VK_LEFT},    {{48, 344, 96, 368}, VK_UP},
    {{96, 344, 144, 368}, VK_DOWN},  {{144, 344, 192, 368}, VK_RIGHT},
    {{192, 344, 240, 368}, VK_RETURN},
};

UINT KeyFor(SDL_Keycode key) {
  switch (key) {
    case SDLK_F1: return VK_APP1;
    case SDLK_F2: return VK_APP2;
    case SDLK_F3: return VK_APP3;
    case SDLK_F4: return VK_APP4;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    default: return 0;
  }
}

class SdlBackend final : public Backend {
 public:
  bool Open(const char* title);
  void Close();
  std::uint64_t NowMs() override { return SDL_GetTicks64() - start_; }
  void SleepMs(std::uint32_t ms) override { SDL_Delay(ms); }
  void Poll() override;
  void WaitForWork(std::optional<std::uint64_t> nextTimerDue) override;
  void Wake() override;
  void BringToFront() override { SDL_RaiseWindow(window_); }

 private:
  void Handle(const SDL_Event& e);
  void OnMouseDown(int x, int y);
  void OnMouseUp(int x, int y);
  void Present();
  void Blink();
  void DrawPanel();
  void DrawGlyph(UINT vk, const SDL_Rect& r);
  POINT ToDevice(int x, int y) const { return POINT{x / scale_, y / scale_}; }
  SDL_Rect ToHost(const RECT& r) const {
    return SDL_Rect{r.left * scale_, r.top * scale_, (r.right - r.left) * scale_,
                    (r.bottom - r.top) * scale_};
  }

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SDL_Cursor* arrow_ = nullptr;
  SDL_Cursor* wait_ = nullptr;
  Uint32 wakeEvent_ = 0;
  std::uint64_t start_ = 0;
  int scale_ = 2;
  bool penDown_ = false;
  int pressedButton_ = -1;
  std::uint64_t presentedGeneration_ = ~0ull;
  bool dirty_ = true;  // the panel or the window needs redrawing regardless of the screen
  std::uint64_t nextBlink_ = kBlinkMs;
};

SdlBackend backend;

bool SdlBackend::Open(const char* title) {
  if (const char* s = device::DeviceVariable("SCALE")) scale_ = std::clamp(std::atoi(s), 1, 8);
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return false;
  window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             kScreenWidth * scale_, (kScreenHeight + 2 * kPanelRow) * scale_, 0);
  if (window_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (renderer_) {
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                 kScreenWidth, kScreenHeight);
  }
  if (!texture_) {
    Close();
    return false;
  }
  wakeEvent_ = SDL_RegisterEvents(1);
  arrow_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  wait_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
  start_ = SDL_GetTicks64();
  return true;
}

void SdlBackend::Close() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  if (arrow_) SDL_FreeCursor(arrow_);
  if (wait_) SDL_FreeCursor(wait_);
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
  arrow_ = wait_ = nullptr;
  SDL_Quit();
}

void SdlBackend::Poll() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) Handle(e);
  Blink();
  Present();
}

void SdlBackend::Blink() {
  std::uint64_t now = NowMs();
  if (now < nextBlink_) return;
  nextBlink_ = now + kBlinkMs;
  BlinkCaret();
}

void SdlBackend::WaitForWork(std::optional<std::uint64_t> nextTimerDue) {
  Blink();
  Present();
  std::uint64_t now = NowMs();
  std::uint64_t until = std::min(nextBlink_, nextTimerDue.value_or(nextBlink_));
  int timeout = until <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(until - now, 250));
  SDL_Event e;
  if (SDL_WaitEventTimeout(&e, timeout)) Handle(e);
}

// SDL_PushEvent is safe from any thread; the event only ends a wait.
void SdlBackend::Wake() {
  if (!wakeEvent_) return;
  SDL_Event e{};
  e.type = wakeEvent_;
  SDL_PushEvent(&e);
}

void SdlBackend::Handle(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT: PostQuitMessage(0); break;
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button == SDL_BUTTON_LEFT) OnMouseDown(e.button.x, e.button.y);
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT) OnMouseUp(e.button.x, e.button.y);
      break;
    case SDL_MOUSEMOTION:
      if (penDown_) {
        POINT p = ToDevice(e.motion.x, e.motion.y);
        p.y = std::min<LONG>(p.y, kScreenHeight - 1);
        QueuePenInput(PenAction::Move, p);
      }
      break;
    case SDL_KEYDOWN:
      if (UINT vk = KeyFor(e.key.keysym.sym)) QueueKeyInput(WM_KEYDOWN, vk);
      break;
    case SDL_KEYUP:
      if (UINT vk = KeyFor(e.key.keysym.sym)) QueueKeyInput(WM_KEYUP, vk);
      break;
    case SDL_WINDOWEVENT: dirty_ = true; break;
    default: break;
  }
}

void SdlBackend::OnMouseDown(int x, int y) {
  POINT p = ToDevice(x, y);
  if (p.y < kScreenHeight) {
    penDown_ = true;
    QueuePenInput(PenAction::Down, p);
    return;
  }
  for (int i = 0; i < static_cast<int>(std::size(kButtons)); ++i) {
    if (PtInRect(&kButtons[i].rect, p)) {
      pressedButton_ = i;
      dirty_ = true;
      QueueKeyInput(WM_KEYDOWN, kButtons[i].vk);
    }
  }
}

void SdlBackend::OnMouseUp(int x, int y) {
  if (penDown_) {
    POINT p = ToDevice(x, y);
    p.y = std::min<LONG>(p.y, kScreenHeight - 1);
    penDown_ = false;
    QueuePenInput(PenAction::Up, p);
  }
  if (pressedButton_ >= 0) {
    QueueKeyInput(WM_KEYUP, kButtons[pressedButton_].vk);
    pressedButton_ = -1;
    dirty_ = true;
  }
}

void SdlBackend::Present() {
  std::uint64_t generation = ScreenGeneration();
  SDL_SetCursor(IsWaitCursorShown() ? wait_ : arrow_);
  if (generation == presentedGeneration_ && !dirty_) return;
  presentedGeneration_ = generation;
  dirty_ = false;
  Surface s = ScreenSurface();
  SDL_UpdateTexture(texture_, nullptr, s.pixels, s.width * 4);
  SDL_SetRenderDrawColor(renderer_, 40, 40, 48, 255);
  SDL_RenderClear(renderer_);
  SDL_Rect screen{0, 0, kScreenWidth * scale_, kScreenHeight * scale_};
  SDL_RenderCopy(renderer_, texture_, nullptr, &screen);
  DrawPanel();
  SDL_RenderPresent(renderer_);
}

void SdlBackend::DrawPanel() {
  for (int i = 0; i < static_cast<int>(std::size(kButtons)); ++i) {
    SDL_Rect r = ToHost(kButtons[i].rect);
    r.x += scale_;
    r.y += scale_;
    r.w -= 2 * scale_;
    r.h -= 2 * scale_;
    Uint8 shade = i == pressedButton_ ? 150 : 90;
    SDL_SetRenderDrawColor(renderer_, shade, shade, static_cast<Uint8>(shade + 10), 255);
    SDL_RenderFillRect(renderer_, &r);
    SDL_SetRenderDrawColor(renderer_, 235, 235, 235, 255);
    DrawGlyph(kButtons[i].vk, r);
  }
}

// No font at this level: application buttons show 1 to 4 dots, the d-pad a triangle, Enter
// a bent arrow.
void SdlBackend::DrawGlyph(UINT vk, const SDL_Rect& r) {
  int cx = r.x + r.w / 2;
  int cy = r.y + r.h / 2;
  int u = std::max(1, r.h / 6);
  if (vk >= VK_APP1 && vk <= VK_APP4) {
    int n = static_cast<int>(vk - VK_APP1) + 1;
    for (int i = 0; i < n; ++i) {
      SDL_Rect dot{cx + (2 * i - n) * u * 2 + u, cy - u, 2 * u, 2 * u};
      SDL_RenderFillRect(renderer_, &dot);
    }
    return;
  }
  if (vk == VK_RETURN) {
    SDL_RenderDrawLine(renderer_, cx + 3 * u, cy - 2 * u, cx + 3 * u, cy + u);
    SDL_RenderDrawLine(renderer_, cx + 3 * u, cy + u, cx - 3 * u, cy + u);
    SDL_RenderDrawLine(renderer_, cx - 3 * u, cy + u, cx - u, cy - u);
    SDL_RenderDrawLine(renderer_, cx - 3 * u, cy + u, cx - u, cy + 3 * u);
    return;
  }
  for (int i = 0; i <= 2 * u; ++i) {  // a filled triangle, one line per step
    int half = i;
    switch (vk) {
      case VK_UP: SDL_RenderDrawLine(renderer_, cx - half, cy - u + i, cx + half, cy - u + i); break;
      case VK_DOWN: SDL_RenderDrawLine(renderer_, cx - half, cy + u - i, cx + half, cy + u - i); break;
      case VK_LEFT: SDL_RenderDrawLine(renderer_, cx - u + i, cy - half, cx - u + i, cy + half); break;
      case VK_RIGHT: SDL_RenderDrawLine(renderer_, cx + u - i, cy - half, cx + u - i, cy + half); break;
      default: break;
    }
  }
}

}  // namespace

bool StartSdlBackend(const char* title) {
  if (!backend.Open(title)) return false;
  SetBackend(&backend);
  MarkUiThread();
  return true;
}

void StopSdlBackend() {
  SetBackend(nullptr);
  backend.Close();
}

}  // namespace device::internal
