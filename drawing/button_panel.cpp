// Button panels: each window keeps its own panel; ids come from a counter that never goes back.
#include "drawing/button_panel.h"

#include "drawing/back_buffer.h"
#include "drawing/font_table.h"
#include "drawing/skin_images.h"
#include "drawing/text_drawing.h"

#include <algorithm>

namespace {

int nextPanelId = 0;

HBITMAP ImageOf(const ButtonPanel& panel, const ButtonSpec& button) {
  if (button.imageSlot < 0 || button.imageSlot >= static_cast<int>(panel.images.size())) return nullptr;
  return panel.images[button.imageSlot];
}

bool Contains(const ButtonSpec& button, int x, int y) {
  return x >= button.left && x < button.right && y >= button.top && y < button.bottom;
}

}  // namespace

RECT ButtonLabelRect(const ButtonSpec& button, int state) {
  RECT rect{button.left, button.top + button.verticalInset, button.right, button.bottom - button.verticalInset};
  if (state == kButtonPressed) {
    rect.left += 1;
    rect.right += 1;
    const int shift = button.drawMode == 2 ? -1 : 1;
    rect.top += shift;
    rect.bottom += shift;
  }
  rect.left += button.textOffsetX;
  rect.right += button.textOffsetX;
  rect.top += button.textOffsetY;
  rect.bottom += button.textOffsetY;
  return rect;
}

namespace {

void DrawLabel(HDC dc, const ButtonSpec& button, int state, const WCHAR* label, COLORREF colour) {
  if (label == nullptr || label[0] == 0) return;
  DrawFittedText(dc, ButtonLabelRect(button, state), label, GetAppFont(button.fontId), colour, button.textFormat);
}

void DrawLabel(HDC dc, const ButtonSpec& button, int state) {
  DrawLabel(dc, button, state, button.label, button.textColour);
}

RECT RectOf(const ButtonSpec& button) { return RECT{button.left, button.top, button.right, button.bottom}; }

}  // namespace

ButtonPanel RegisterButtonPanel(HWND window, ButtonSpec* buttons, int buttonCount, const int* skinIndices,
                                int indexCount, int fontId) {
  ButtonPanel panel;
  panel.id = nextPanelId++;
  panel.images.reserve(static_cast<size_t>(std::max(indexCount, 0)));
  for (int i = 0; i < indexCount; ++i) panel.images.push_back(SkinImage(skinIndices[i]));
  for (int i = 0; i < buttonCount; ++i) buttons[i].fontId = fontId;
  panel.buttonCount = buttonCount;
  panel.buttons = buttons;
  ImageContext();
  return panel;
}

void UnregisterButtonPanel(ButtonPanel& panel) { panel = ButtonPanel{}; }

bool IsButtonPanelRegistered(const ButtonPanel& panel) { return panel.id >= 0; }

HBITMAP GetPanelImage(const ButtonPanel& panel, int slot) {
  if (slot < 0 || slot >= static_cast<int>(panel.images.size())) return nullptr;
  return panel.images[slot];
}

void DrawButtonImage(HDC dc, const ButtonSpec& button, HBITMAP bitmap, int state) {
  if (bitmap == nullptr) return;
  const int width = button.right - button.left;
  const int height = button.bottom - button.top;
  const int sourceX = width * state;
  if (button.drawMode != 0) {
    HGDIOBJ previous = SelectObject(ImageContext(), bitmap);
    BitBlt(dc, button.left, button.top, width, height, ImageContext(), sourceX, 0, SRCCOPY);
    SelectObject(ImageContext(), previous);
  } else {
    TransparentImage(dc, button.left, button.top, width, height, bitmap, sourceX, 0, width, height,
                     button.transparentColour);
  }
}

void DrawButtonFace(HDC dc, const ButtonSpec& button, HBITMAP image, int frame, int labelState, const WCHAR* label,
                    COLORREF colour) {
  DrawButtonImage(dc, button, image, frame);
  DrawLabel(dc, button, labelState, label, colour);
}

void DrawPanelBackground(HWND window, const ButtonPanel& panel, HDC dc) {
  if (!IsButtonPanelRegistered(panel)) return;
  FillSolidRect(dc, RECT{0, 0, kScreenWidth, kScreenHeight}, kPanelBackground);
  for (int i = 0; i < panel.buttonCount; ++i) {
    DrawButtonImage(dc, panel.buttons[i], ImageOf(panel, panel.buttons[i]), kButtonNormal);
  }
}

void DrawPanel(HWND window, const ButtonSpec* buttons, const ButtonPanel& panel) {
  if (!IsButtonPanelRegistered(panel)) return;
  HDC back = BackBufferDC();
  DrawPanelBackground(window, panel, back);
  for (int i = 0; i < panel.buttonCount; ++i) DrawLabel(back, buttons[i], kButtonNormal);
  CopyBackBufferToWindow(window, RECT{0, 0, kScreenWidth, kScreenHeight});
}

void DrawButton(HWND window, const ButtonSpec& button, int state, const ButtonPanel& panel) {
  if (!IsButtonPanelRegistered(panel)) return;
  DrawButtonFace(BackBufferDC(), button, ImageOf(panel, button), state, state, button.label, button.textColour);
  CopyBackBufferToWindow(window, RectOf(button));
}

bool HitTestButton(HWND window, const ButtonSpec& button, int x, int y, HBITMAP bitmap) {
  if (!Contains(button, x, y)) return false;
  if (button.drawMode != 0) return true;
  if (bitmap == nullptr) return true;  // nothing drawn to be transparent: the rectangle decides
  HDC back = BackBufferDC();
  HDC probe = ImageContext();
  HGDIOBJ previous = SelectObject(probe, bitmap);
  const COLORREF pixel = GetPixel(probe, x - button.left, y - button.top);
  SelectObject(probe, previous);
  return pixel != GetNearestColor(back, button.transparentColour);
}

int HitButtonAt(HWND window, const ButtonSpec* buttons, int x, int y, const ButtonPanel& panel) {
  if (!IsButtonPanelRegistered(panel)) return -1;
  for (int i = 0; i < panel.buttonCount; ++i) {
    if (HitTestButton(window, buttons[i], x, y, ImageOf(panel, buttons[i]))) return i;
  }
  return -1;
}

int PressButtonAt(HWND window, const ButtonSpec* buttons, int x, int y, const ButtonPanel& panel, int* pressedIndex) {
  const int hit = HitButtonAt(window, buttons, x, y, panel);
  if (hit < 0) return -1;
  DrawButton(window, buttons[hit], kButtonPressed, panel);
  if (pressedIndex != nullptr) *pressedIndex = hit;
  return hit;
}

int FindButtonAt(int x, int y, const ButtonSpec* buttons, int count) {
  for (int i = 0; i < count; ++i) {
    if (Contains(buttons[i], x, y)) return i;
  }
  return -1;
}

int FindNeighbourButton(int index, FocusDirection direction, POINT* movedPoint, const ButtonSpec* buttons,
                        int count) {
  if (index < 0 || index >= count) return -1;
  const ButtonSpec& button = buttons[index];
  const int width = button.right - button.left;
  const int height = button.bottom - button.top;
  POINT point{button.left + width / 2, button.top + height / 2};
  switch (direction) {
    case FocusDirection::kLeft: point.x -= width / 2 + 4; break;
    case FocusDirection::kRight: point.x += width / 2 + 4; break;
    case FocusDirection::kUp: point.y -= height / 2 + 4; break;
    case FocusDirection::kDown: point.y += height / 2 + 4; break;
  }
  if (movedPoint != nullptr) *movedPoint = point;
  return FindButtonAt(point.x, point.y, buttons, count);
}

int MoveButtonFocus(HWND window, int key, const ButtonSpec* buttons, const ButtonPanel& panel, int* focusIndex,
                    bool redraw) {
  FocusDirection direction;
  switch (key) {
    case VK_LEFT: direction = FocusDirection::kLeft; break;
    case VK_UP: direction = FocusDirection::kUp; break;
    case VK_RIGHT: direction = FocusDirection::kRight; break;
    case VK_DOWN: direction = FocusDirection::kDown; break;
    default: return -1;
  }
  if (!IsButtonPanelRegistered(panel) || focusIndex == nullptr) return -1;
  POINT moved{};
  const int neighbour = FindNeighbourButton(*focusIndex, direction, &moved, buttons, panel.buttonCount);
  if (neighbour < 0) return -1;
  if (redraw && neighbour != *focusIndex) {
    DrawButton(window, buttons[*focusIndex], kButtonNormal, panel);
    *focusIndex = neighbour;
    DrawButton(window, buttons[neighbour], kButtonFocused, panel);
  }
  return neighbour;
}

void SetButtonLabel(ButtonSpec& button, const WCHAR* label) {
  int n = 0;
  for (; label != nullptr && n < kButtonLabelLength - 1 && label[n] != 0; ++n) button.label[n] = label[n];
  button.label[n] = 0;
}
