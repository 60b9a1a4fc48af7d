// Button panels: a window registers a table of ButtonSpec records with a list of skin images
// and keeps the ButtonPanel it gets in its own record; the toolkit draws the panel and its buttons through the BackBuffer,
// finds the button under the pen (transparent pixels miss) and moves a focus with the arrows.
#pragma once

#include <device/windows.h>

#include <vector>

constexpr int kButtonLabelLength = 200;

// Key tables write the fields they need with designated initialisers; the others are zero.
struct ButtonSpec {
  LONG left = 0, top = 0, right = 0, bottom = 0;  // window pixels; right and bottom exclusive
  int imageSlot = 0;                    // index into the panel's image list
  WCHAR label[kButtonLabelLength] = {};  // empty for image-only buttons
  UINT textFormat = 0;                  // DrawFittedText flags
  int textOffsetX = 0;                  // added to the label rectangle's left and right
  int textOffsetY = 0;                  // added to the label rectangle's top and bottom
  int verticalInset = 0;                // added to the label top, taken from its bottom
  int fontId = 0;                       // written by RegisterButtonPanel for every button
  int drawMode = 0;                     // 0: transparent colour left out; else opaque (2: pressed label moves up)
  COLORREF transparentColour = 0;       // neither drawn nor hit in draw mode 0
  COLORREF textColour = 0;
};

// Writes `label` into the button's label, cut to the field (kButtonLabelLength - 1 characters).
void SetButtonLabel(ButtonSpec& button, const WCHAR* label);

// Frame index into a button's image strip; windows may pass higher states for further frames.
enum ButtonState { kButtonNormal = 0, kButtonFocused = 1, kButtonPressed = 2 };

// Background of every panel.
constexpr COLORREF kPanelBackground = 0x626262;

// A registered panel: its id, its image list and its buttons. The window that registers a
// panel keeps it in its own record beside the buttons it points to, and unregisters it when it
// is destroyed; the toolkit keeps no table of panels. Ids come from a counter that never goes
// back, so an unregistered panel (id -1) is never mistaken for a live one.
struct ButtonPanel {
  int id = -1;
  std::vector<HBITMAP> images;  // copies of SkinImageTable handles; the bitmaps are not owned
  int buttonCount = 0;
  const ButtonSpec* buttons = nullptr;  // the owner's table, which lives as long as the panel
};

// Builds the image list from the SkinImageTable, keeps the button pointer and writes the font
// id into every button.
ButtonPanel RegisterButtonPanel(HWND window, ButtonSpec* buttons, int buttonCount, const int* skinIndices,
                                int indexCount, int fontId);
// Frees the image list (the bitmaps stay); the panel then draws and hits nothing.
void UnregisterButtonPanel(ButtonPanel& panel);
bool IsButtonPanelRegistered(const ButtonPanel& panel);
HBITMAP GetPanelImage(const ButtonPanel& panel, int slot);

void DrawPanelBackground(HWND window, const ButtonPanel& panel, HDC dc);
void DrawPanel(HWND window, const ButtonSpec* buttons, const ButtonPanel& panel);
void DrawButton(HWND window, const ButtonSpec& button, int state, const ButtonPanel& panel);
void DrawButtonImage(HDC dc, const ButtonSpec& button, HBITMAP bitmap, int state);

// The rectangle a button's label is drawn in: the button less its vertical inset, one pixel
// right and down while pressed (up with draw mode 2), moved by the text offsets.
RECT ButtonLabelRect(const ButtonSpec& button, int state);
// One button into `dc` for a window that chooses its own look: image frame `frame`, then
// `label` in `colour` in the label rectangle of `labelState` (nothing when the label is empty).
// DrawButton draws through it with the button's own label, colour and state.
void DrawButtonFace(HDC dc, const ButtonSpec& button, HBITMAP image, int frame, int labelState, const WCHAR* label,
                    COLORREF colour);

bool HitTestButton(HWND window, const ButtonSpec& button, int x, int y, HBITMAP bitmap);
// The first button under (x, y) in table order (transparent pixels miss); -1 when none or for
// an unknown panel. A hit test only.
int HitButtonAt(HWND window, const ButtonSpec* buttons, int x, int y, const ButtonPanel& panel);
// The first button under (x, y) in table order, drawn pressed; -1 when none. A hit test and a
// redraw only: a window that reads strokes keeps its own pen-down point.
int PressButtonAt(HWND window, const ButtonSpec* buttons, int x, int y, const ButtonPanel& panel, int* pressedIndex);
int MoveButtonFocus(HWND window, int key, const ButtonSpec* buttons, const ButtonPanel& panel, int* focusIndex,
                    bool redraw);
int FindButtonAt(int x, int y, const ButtonSpec* buttons, int count);

enum class FocusDirection { kLeft, kUp, kRight, kDown };
int FindNeighbourButton(int index, FocusDirection direction, POINT* movedPoint, const ButtonSpec* buttons,
                        int count);
