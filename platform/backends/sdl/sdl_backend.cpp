// The SDL2 backend: the device in a desktop window, for people.
//
// The 240 x 320 screen is drawn with the device's buttons under it: the four application
// buttons (0xC1-0xC4, labelled with their keys F1-F4) in one row, the d-pad arrows and Enter
// in the next. The start scale fits the display's usable area (internal/window_fit.h), or is
// <prefix>_SCALE's (a value that is not a number from 1 to 8 is reported and ignored); the
// window can be resized and the device keeps its aspect ratio, centred. The mouse is the pen
// on the screen and presses the buttons below it; keys F1-F4, the arrows and the keypad's
// Enter are the same buttons. The desktop keyboard types through SDL text input (so the
// desktop's layouts and dead keys apply): each character, and Backspace, Return and Tab, is a
// WM_CHAR from the keyboard (lParam carries a scan code, device/user.h). Real-time clock; the
// window is redrawn whenever GDI changed the screen (ScreenGeneration). Closing the window
// closes the program's main window (RequestProgramClose), so its ordinary shut-down runs.
// The caret blinks every kBlinkMs.
#include "internal/backend.h"
#include "internal/screen.h"
#include "internal/sdl.h"
#include "internal/wide_text.h"
#include "internal/window_fit.h"

#include <device/install.h>
#include <device/user.h>

#include <SDL.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

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
    case SDLK_KP_ENTER: return VK_RETURN;
    default: return 0;
  }
}

// Keys that type a character without producing SDL text.
WCHAR CharacterFor(SDL_Keycode key) {
  switch (key) {
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_RETURN: return 13;
    default: return 0;
  }
}

class SdlBackend final : public Backend {
 public:
  bool Open(const char* title, std::string* error);
  void Close();
  std::uint64_t NowMs() override { return SDL_GetTicks64() - start_; }
  void SleepMs(std::uint32_t ms) override { SDL_Delay(ms); }
  void Poll() override;
  void WaitForWork(std::optional<std::uint64_t> nextTimerDue) override;
  void Wake() override;
  void BringToFront() override { SDL_RaiseWindow(window_); }
  void SetIcon(const std::uint32_t* pixels, int width, int height);

 private:
  void Handle(const SDL_Event& e);
  void OnMouseDown(int x, int y);
  void OnMouseUp(int x, int y);
  void OnText(const char* utf8);
  void Present();
  void Blink();
  void DrawPanel();
  void DrawGlyph(UINT vk, const SDL_Rect& r);
  void DrawKeyName(UINT vk, const SDL_Rect& r);
  double StartScale() const;
  POINT ToDevice(int x, int y) const { return HostToDevice(layout_, x, y); }
  int HostX(double deviceX) const { return static_cast<int>(std::lround(layout_.left + deviceX * layout_.scale)); }
  int HostY(double deviceY) const { return static_cast<int>(std::lround(layout_.top + deviceY * layout_.scale)); }
  SDL_Rect ToHost(const RECT& r) const {
    return SDL_Rect{HostX(r.left), HostY(r.top), HostX(r.right) - HostX(r.left), HostY(r.bottom) - HostY(r.top)};
  }
  void UpdateLayout();

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SDL_Cursor* arrow_ = nullptr;
  SDL_Cursor* wait_ = nullptr;
  Uint32 wakeEvent_ = 0;
  std::uint64_t start_ = 0;
  DeviceLayout layout_{2, 0, 0};
  bool penDown_ = false;
  int pressedButton_ = -1;
  std::uint64_t presentedGeneration_ = ~0ull;
  bool dirty_ = true;  // the panel or the window needs redrawing regardless of the screen
  std::uint64_t nextBlink_ = kBlinkMs;
};

SdlBackend backend;

double SdlBackend::StartScale() const {
  if (const char* requested = device::DeviceVariable("SCALE")) {
    if (std::optional<double> scale = ParseScale(requested)) return *scale;
    std::fprintf(stderr, "%s=%s is not a scale from 1 to 8; ignored\n", device::DeviceVariableName("SCALE").c_str(),
                 requested);
  }
  SDL_Rect usable{0, 0, 2 * kDeviceWidth, 2 * kDeviceHeight + kDecorationAllowance};
  SDL_GetDisplayUsableBounds(0, &usable);
  return ChooseScale(usable.w, usable.h);
}

bool SdlBackend::Open(const char* title, std::string* error) {
  // The device ends the program on SIGTERM and SIGINT itself (RequestProgramClose); SDL's own
  // handlers would turn them into a quit event only while the window polls.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // The display the environment names, and no other: a wrong DISPLAY must fail, not fall back
  // to a framebuffer no one looks at. SDL_VIDEODRIVER, when set, still decides.
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  SDL_SetHint(SDL_HINT_VIDEODRIVER, wayland != nullptr && *wayland != 0 ? "wayland,x11" : "x11");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    if (error) *error = SDL_GetError();
    SDL_Quit();
    return false;
  }
  const double scale = StartScale();
  window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             static_cast<int>(std::lround(kDeviceWidth * scale)),
                             static_cast<int>(std::lround(kDeviceHeight * scale)), SDL_WINDOW_RESIZABLE);
  if (window_) {
    SDL_SetWindowMinimumSize(window_, kDeviceWidth, kDeviceHeight);
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
  }
  if (renderer_) {
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                 kScreenWidth, kScreenHeight);
  }
  if (!texture_) {
    if (error) *error = SDL_GetError();
    Close();
    return false;
  }
  UpdateLayout();
  wakeEvent_ = SDL_RegisterEvents(1);
  arrow_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  wait_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
  start_ = SDL_GetTicks64();
  SDL_StartTextInput();
  return true;
}

void SdlBackend::UpdateLayout() {
  int width = 0, height = 0;
  SDL_GetWindowSize(window_, &width, &height);
  layout_ = FitDevice(width, height);
  dirty_ = true;
}

void SdlBackend::SetIcon(const std::uint32_t* pixels, int width, int height) {
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(pixels), width, height, 32,
                                                         width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (icon == nullptr) return;
  SDL_SetWindowIcon(window_, icon);
  SDL_FreeSurface(icon);
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
    case SDL_QUIT: RequestProgramClose(); break;
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button == SDL_BUTTON_LEFT) OnMouseDown(e.button.x, e.button.y);
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT) OnMouseUp(e.button.x, e.button.y);
      break;
    case SDL_MOUSEMOTION:
      if (penDown_) {
        POINT p = ToDevice(e.motion.x, e.motion.y);
        p.x = std::clamp<LONG>(p.x, 0, kScreenWidth - 1);
        p.y = std::clamp<LONG>(p.y, 0, kScreenHeight - 1);
        QueuePenInput(PenAction::Move, p);
      }
      break;
    case SDL_KEYDOWN:
      if (UINT vk = KeyFor(e.key.keysym.sym)) QueueKeyInput(WM_KEYDOWN, vk);
      else if (WCHAR c = CharacterFor(e.key.keysym.sym)) QueueKeyInput(WM_CHAR, c);
      break;
    case SDL_TEXTINPUT: OnText(e.text.text); break;
    case SDL_KEYUP:
      if (UINT vk = KeyFor(e.key.keysym.sym)) QueueKeyInput(WM_KEYUP, vk);
      break;
    case SDL_WINDOWEVENT: UpdateLayout(); break;
    default: break;
  }
}

// One WM_CHAR per UTF-16 unit of the composed text.
void SdlBackend::OnText(const char* utf8) {
  for (char16_t unit : Utf8ToUtf16(utf8)) QueueKeyInput(WM_CHAR, unit);
}

void SdlBackend::OnMouseDown(int x, int y) {
  POINT p = ToDevice(x, y);
  if (p.x < 0 || p.x >= kDeviceWidth || p.y < 0) return;  // the bars beside the device
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
    p.x = std::clamp<LONG>(p.x, 0, kScreenWidth - 1);
    p.y = std::clamp<LONG>(p.y, 0, kScreenHeight - 1);
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
  SDL_Rect screen = ToHost(RECT{0, 0, kScreenWidth, kScreenHeight});
  SDL_RenderCopy(renderer_, texture_, nullptr, &screen);
  DrawPanel();
  SDL_RenderPresent(renderer_);
}

void SdlBackend::DrawPanel() {
  for (int i = 0; i < static_cast<int>(std::size(kButtons)); ++i) {
    SDL_Rect r = ToHost(kButtons[i].rect);
    const int inset = std::max(1, static_cast<int>(layout_.scale));
    r.x += inset;
    r.y += inset;
    r.w -= 2 * inset;
    r.h -= 2 * inset;
    Uint8 shade = i == pressedButton_ ? 150 : 90;
    SDL_SetRenderDrawColor(renderer_, shade, shade, static_cast<Uint8>(shade + 10), 255);
    SDL_RenderFillRect(renderer_, &r);
    SDL_SetRenderDrawColor(renderer_, 235, 235, 235, 255);
    DrawGlyph(kButtons[i].vk, r);
  }
}

// 3 x 5 pixel glyphs of the application buttons' key names: "F" and "1" to "4". Each row is
// three bits, the leftmost pixel highest.
constexpr unsigned char kKeyGlyphs[5][5] = {
    {7, 4, 6, 4, 4},  // F
    {2, 6, 2, 2, 7},  // 1
    {6, 1, 2, 4, 7},  // 2
    {6, 1, 2, 1, 6},  // 3
    {5, 5, 7, 1, 1},  // 4
};

// No font at this level: application buttons show the names of their keys (F1-F4) in a
// tiny pixel font, the d-pad a triangle, Enter a bent arrow.
void SdlBackend::DrawKeyName(UINT vk, const SDL_Rect& r) {
  const int u = std::max(1, r.h / 9);  // one glyph pixel
  const int glyphs[2] = {0, static_cast<int>(vk - VK_APP1) + 1};
  const int left = r.x + r.w / 2 - 7 * u / 2;
  const int top = r.y + r.h / 2 - 5 * u / 2;
  for (int g = 0; g < 2; ++g) {
    for (int row = 0; row < 5; ++row) {
      for (int col = 0; col < 3; ++col) {
        if ((kKeyGlyphs[glyphs[g]][row] & (4 >> col)) == 0) continue;
        SDL_Rect dot{left + (g * 4 + col) * u, top + row * u, u, u};
        SDL_RenderFillRect(renderer_, &dot);
      }
    }
  }
}

void SdlBackend::DrawGlyph(UINT vk, const SDL_Rect& r) {
  int cx = r.x + r.w / 2;
  int cy = r.y + r.h / 2;
  int u = std::max(1, r.h / 6);
  if (vk >= VK_APP1 && vk <= VK_APP4) {
    DrawKeyName(vk, r);
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

bool StartSdlBackend(const char* title, std::string* error) {
  if (!backend.Open(title, error)) return false;
  SetBackend(&backend);
  MarkUiThread();
  return true;
}

bool SetSdlWindowIcon(const char* pngFile) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, pngFile)) return false;
  image.format = PNG_FORMAT_BGRA;  // a 32-bit 0xAARRGGBB word on a little-endian host
  if (image.width > 1024 || image.height > 1024) {
    png_image_free(&image);
    return false;
  }
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return false;
  backend.SetIcon(pixels.data(), static_cast<int>(image.width), static_cast<int>(image.height));
  return true;
}

void StopSdlBackend() {
  SetBackend(nullptr);
  backend.Close();
}

}  // namespace device::internal
