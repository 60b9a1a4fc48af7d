// PredictKeysClass: the prediction bar. Three buttons show the word tracker's three
// completions; tapping one completes the word in the editor, tapping an empty one asks the
// main screen for the Fx keys. Created once by the main screen, which moves it and switches
// its layout (horizontal above the portrait keyboards, vertical beside the landscape one).
//
// Choices this window makes where the plain behaviour would lose input or surprise the user:
// - The bar holds the pen from a pen-down on a button to the pen-up, so a pen lifted outside
//   the bar never lands as a stray pen-up on a keyboard.
// - A tap on an empty button draws it unpressed again before the Fx keys open.
// - A change of layout gives the new buttons the current completions at once.
// - The bar's layout, panel, font and pressed button live in its window's user data rather
//   than in process-wide variables; the main screen makes one bar at a time.
#include "keyboards/prediction_bar.h"

#include "common/messages.h"
#include "drawing/button_panel.h"
#include "drawing/font_table.h"
#include "drawing/skin_images.h"
#include "prediction/prediction_engine.h"
#include "settings/settings_store.h"

namespace {

constexpr int kBarButtonCount = 3;
// Image list: slot 0 the horizontal buttons, slot 1 the vertical ones.
constexpr int kBarImages[] = {kSkin01, kSkinLsspace};
constexpr COLORREF kLabelGrey = 0xB3B3B3;

constexpr int kOpaque = 1;

// Horizontal: three 80 x 26 buttons, completion k on button k from the left.
constexpr ButtonSpec HorizontalButton(int button) {
  const LONG left = 80 * button;
  return ButtonSpec{.left = left, .top = 0, .right = left + 80, .bottom = 26, .imageSlot = 0, .textFormat = DT_CENTER,
                    .textOffsetY = 2, .verticalInset = 4, .drawMode = kOpaque, .textColour = kLabelGrey};
}

// Vertical: three 31 x 103 buttons from the top, the likeliest completion at the bottom.
constexpr ButtonSpec VerticalButton(int button) {
  const LONG top = 3 + 106 * button;
  return ButtonSpec{.left = 0, .top = top, .right = 31, .bottom = top + 103, .imageSlot = 1, .textFormat = DT_BOTTOM,
                    .textOffsetX = 7, .drawMode = kOpaque, .textColour = kLabelGrey};
}

constexpr ButtonSpec kHorizontalButtons[kBarButtonCount] = {HorizontalButton(0), HorizontalButton(1),
                                                            HorizontalButton(2)};
constexpr ButtonSpec kVerticalButtons[kBarButtonCount] = {VerticalButton(0), VerticalButton(1), VerticalButton(2)};

struct BarState {
  WPARAM layout;                         // kBarHorizontal or kBarVertical
  ButtonPanel panel;                     // the buttons' panel
  int font;                              // label font; rotated in the vertical layout
  int hit;                               // button hit at the last pen-down, -1 for none
  ButtonSpec buttons[kBarButtonCount];   // the current layout's buttons; the panel points here
};

BarState* Bar(HWND hwnd) { return reinterpret_cast<BarState*>(GetWindowLong(hwnd, GWL_USERDATA)); }

// The completion a button shows: the likeliest is on the left, or at the bottom when vertical.
int CompletionOf(const BarState& bar, int button) {
  return bar.layout == kBarVertical ? kBarButtonCount - 1 - button : button;
}

void CopyLabel(ButtonSpec& button, const WCHAR* text) {
  int n = 0;
  for (; n < kButtonLabelLength - 1 && text[n] != 0; ++n) button.label[n] = text[n];
  button.label[n] = 0;
}

void TakeCompletions(BarState& bar) {
  const WordTracker& tracker = ThePredictionEngine().tracker;
  WCHAR completion[kWordBufferSize];
  for (int b = 0; b < kBarButtonCount; ++b) {
    completion[0] = 0;
    tracker.GetCompletion(CompletionOf(bar, b), completion);
    CopyLabel(bar.buttons[b], completion);
  }
}

void DrawButtons(HWND hwnd, const BarState& bar) {
  for (const ButtonSpec& button : bar.buttons) DrawButton(hwnd, button, kButtonNormal, bar.panel);
}

void RegisterLayout(HWND hwnd, BarState& bar) {
  const ButtonSpec* table = bar.layout == kBarVertical ? kVerticalButtons : kHorizontalButtons;
  for (int b = 0; b < kBarButtonCount; ++b) bar.buttons[b] = table[b];
  bar.font = CreateAppFont(u"MS SANS SERIF", 14, bar.layout == kBarVertical, false);
  bar.panel = RegisterButtonPanel(hwnd, bar.buttons, kBarButtonCount, kBarImages, 2, bar.font);
}

LRESULT OnCreate(HWND hwnd) {
  auto* bar = new BarState{};
  bar->layout = kBarHorizontal;
  bar->hit = -1;
  RegisterLayout(hwnd, *bar);
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(bar));
  ThePredictionEngine().tracker.Clear();
  return 0;
}

LRESULT OnDestroy(HWND hwnd) {
  BarState* bar = Bar(hwnd);
  DeleteAppFont(bar->font);
  UnregisterButtonPanel(bar->panel);
  SetWindowLong(hwnd, GWL_USERDATA, 0);
  delete bar;
  return 0;
}

LRESULT OnEraseBackground(HWND hwnd) {
  BarState* bar = Bar(hwnd);
  DrawPanel(hwnd, bar->buttons, bar->panel);
  return 1;
}

LRESULT OnPenDown(HWND hwnd, int x, int y) {
  BarState* bar = Bar(hwnd);
  bar->hit = PressButtonAt(hwnd, bar->buttons, x, y, bar->panel, nullptr);
  if (bar->hit >= 0) SetCapture(hwnd);
  return 0;
}

LRESULT OnRefresh(HWND hwnd) {
  BarState* bar = Bar(hwnd);
  TakeCompletions(*bar);
  DrawButtons(hwnd, *bar);
  return 0;
}

// The rest of the word goes to the main screen to be put in at the caret, and then the space
// that AddSpace asks for, as a typed character.
void SendAcceptedCompletion(HWND hwnd, const AcceptedCompletion& accepted) {
  SendMessage(GetParent(hwnd), KeyboardInputMessage, kInputCompleteWord, reinterpret_cast<LPARAM>(accepted.rest));
  if (accepted.addedSpace && Bar(hwnd) != nullptr) {
    static constexpr WCHAR kSpace[] = u" ";
    SendMessage(GetParent(hwnd), KeyboardInputMessage, kInputCharacter, reinterpret_cast<LPARAM>(kSpace));
  }
}

// Selection: the button hit at pen-down decides, wherever the pen is lifted.
LRESULT OnPenUp(HWND hwnd) {
  BarState* bar = Bar(hwnd);
  if (GetCapture() == hwnd) ReleaseCapture();
  const int button = bar->hit;
  bar->hit = -1;
  if (button < 0) return 0;
  if (bar->buttons[button].label[0] == 0) {
    DrawButton(hwnd, bar->buttons[button], kButtonNormal, bar->panel);
    SendMessage(GetParent(hwnd), OpenFxKeysMessage, 0, 0);
    return 0;
  }
  WordTracker& tracker = ThePredictionEngine().tracker;
  AcceptedCompletion accepted;
  if (tracker.AcceptCompletion(CompletionOf(*bar, button), TheSettings().AddSpace != 0, accepted)) {
    SendAcceptedCompletion(hwnd, accepted);
  }
  if (Bar(hwnd) == nullptr) return 0;  // the main screen closed meanwhile
  tracker.TypeCharacter(0);
  return OnRefresh(hwnd);
}

// wParam: the word before the caret, which becomes the tracker's current word.
LRESULT OnWordBeforeCaret(HWND hwnd, const WCHAR* word) {
  WordTracker& tracker = ThePredictionEngine().tracker;
  tracker.SetCurrentWord(word != nullptr ? word : u"");
  tracker.TypeCharacter(0);
  return OnRefresh(hwnd);
}

// Switching to the layout already in use re-creates nothing.
LRESULT OnLayout(HWND hwnd, WPARAM layout) {
  BarState* bar = Bar(hwnd);
  if (layout == bar->layout) return 0;
  bar->layout = layout;
  DeleteAppFont(bar->font);
  UnregisterButtonPanel(bar->panel);
  RegisterLayout(hwnd, *bar);
  TakeCompletions(*bar);
  return 0;
}

}  // namespace

LRESULT CALLBACK PredictKeysClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Messages before WM_CREATE or after WM_DESTROY find no state.
  if (msg != WM_CREATE && Bar(hwnd) == nullptr) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd);
    case WM_DESTROY: return OnDestroy(hwnd);
    case WM_ERASEBKGND: return OnEraseBackground(hwnd);
    case WM_LBUTTONDOWN: return OnPenDown(hwnd, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case WM_LBUTTONUP: return OnPenUp(hwnd);
    case WM_KEYUP: return 0;
    case WordBeforeCaretMessage: return OnWordBeforeCaret(hwnd, reinterpret_cast<const WCHAR*>(wParam));
    case RefreshMessage: return OnRefresh(hwnd);
    case BarLayoutMessage: return OnLayout(hwnd, wParam == kBarVertical ? kBarVertical : kBarHorizontal);
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

KeyPlace PredictionBarButtonPlace(WPARAM layout, int button) {
  if (button < 0 || button >= kBarButtonCount) return KeyPlace{RECT{0, 0, 0, 0}, -1};
  const ButtonSpec& b = layout == kBarVertical ? kVerticalButtons[button] : kHorizontalButtons[button];
  return KeyPlace{RECT{b.left, b.top, b.right, b.bottom}, kBarImages[b.imageSlot]};
}
