// The paged list's mechanics: item arithmetic, press, draw and the four moves.
#include "drawing/paged_button_list.h"

#include "drawing/back_buffer.h"

namespace {

bool IsButton(const PagedButtonList& list, int index) { return index >= 0 && index < list.buttonCount; }

void DrawLabels(HWND window, const PagedButtonList& list, int index, int state) {
  if (list.drawLabels != nullptr) list.drawLabels(window, list.buttons[index], state, index);
}

}  // namespace

int ListItemAt(const PagedButtonList& list, int row) {
  if (row < 0 || row >= list.rowCount) return -1;
  const int item = list.page * list.rowCount + row;
  return item < list.itemCount ? item : -1;
}

int SelectedListItem(const PagedButtonList& list) { return ListItemAt(list, list.selected); }

int PressListButton(HWND window, PagedButtonList& list, int x, int y) {
  const int hit = HitButtonAt(window, list.buttons, x, y, list.panel);
  if (hit < 0) return -1;
  DrawListButton(window, list, hit, kButtonPressed);
  list.pressed = hit;
  return hit;
}

int TakePressedListButton(PagedButtonList& list) {
  const int pressed = list.pressed;
  list.pressed = -1;
  return pressed;
}

void DrawListButton(HWND window, const PagedButtonList& list, int index, int state) {
  if (!IsButton(list, index) || !IsButtonPanelRegistered(list.panel)) return;
  HDC back = BackBufferDC();
  // The back buffer holds what another window drew last; take this window's picture first so
  // that the overlapping neighbours of the button stay as they are on the screen.
  HDC screen = GetDC(window);
  BitBlt(back, 0, 0, kScreenWidth, kScreenHeight, screen, 0, 0, SRCCOPY);
  ReleaseDC(window, screen);
  const ButtonSpec& button = list.buttons[index];
  DrawButtonImage(back, button, GetPanelImage(list.panel, button.imageSlot), state);
  DrawLabels(window, list, index, state);
  CopyBackBufferToWindow(window, RECT{button.left, button.top, button.right, button.bottom});
}

namespace {

void RedrawListPart(HWND window, const PagedButtonList& list, const RECT& part) {
  if (!IsButtonPanelRegistered(list.panel)) return;
  HDC back = BackBufferDC();
  DrawPanelBackground(window, list.panel, back);
  for (int i = 0; i < list.buttonCount; ++i) DrawLabels(window, list, i, kButtonNormal);
  CopyBackBufferToWindow(window, part);
  if (list.focusShown && SelectedListItem(list) >= 0) DrawListButton(window, list, list.selected, kButtonFocused);
}

}  // namespace

void RedrawList(HWND window, const PagedButtonList& list) {
  RedrawListPart(window, list, RECT{0, 0, kScreenWidth, kScreenHeight});
}

void RedrawListButtons(HWND window, const PagedButtonList& list) {
  RECT around{0, 0, 0, 0};
  for (int i = 0; i < list.buttonCount; ++i) {
    const ButtonSpec& b = list.buttons[i];
    const RECT rect{b.left, b.top, b.right, b.bottom};
    if (i == 0) around = rect;
    else UnionRect(&around, &around, &rect);
  }
  RedrawListPart(window, list, around);
}

bool PreviousListPage(PagedButtonList& list) {
  if (list.page < 1) return false;
  --list.page;
  list.selected = 0;
  return true;
}

bool NextListPage(PagedButtonList& list) {
  if ((list.page + 1) * list.rowCount >= list.itemCount) return false;
  ++list.page;
  list.selected = 0;
  return true;
}

bool PreviousListRow(PagedButtonList& list) {
  if (list.selected > 0) {
    --list.selected;
    return true;
  }
  if (!PreviousListPage(list)) return false;
  list.selected = list.rowCount - 1;
  return true;
}

bool NextListRow(PagedButtonList& list) {
  if (list.selected < list.rowCount - 1 && ListItemAt(list, list.selected + 1) >= 0) {
    ++list.selected;
    return true;
  }
  return NextListPage(list);
}

void ResetList(PagedButtonList& list, int itemCount) {
  list.itemCount = itemCount < 0 ? 0 : itemCount;
  list.page = 0;
  list.selected = 0;
}
