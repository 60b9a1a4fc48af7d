// PagedButtonList: a long list shown as pages of a few big skinned row buttons, with the
// window's extra buttons beside them in one button array and one ButtonPanel. The notes list,
// the contact list and the contact details each keep an instance in their own record; they
// differ only in the array, its length, the number of rows and the label drawer.
//
// Row i of page p shows item p * rowCount + i. Paging and row moves keep the selected row on an
// existing item: a move that would leave the list is refused and changes nothing.
#pragma once

#include "drawing/button_panel.h"

#include <device/windows.h>

// Draws the label or labels of button `index` (in `state`) into the BackBuffer. Supplied by
// the window, which finds its own record through `window`.
using ListLabelDrawer = void (*)(HWND window, const ButtonSpec& button, int state, int index);

struct PagedButtonList {
  ButtonSpec* buttons = nullptr;  // the window's array: rows first, then its extra buttons
  int buttonCount = 0;
  int rowCount = 0;               // R: the first R buttons are rows
  ButtonPanel panel;              // registered over `buttons` by the window
  ListLabelDrawer drawLabels = nullptr;
  int itemCount = 0;              // items in the window's item list
  int page = 0;                   // p >= 0
  int selected = 0;               // s in 0 .. R - 1
  int pressed = -1;               // button under the pen between pen-down and pen-up; -1 none
  bool focusShown = true;         // RedrawList draws the selected row focused
};

// The item shown by row `row` on the current page, or -1 when the row shows none.
int ListItemAt(const PagedButtonList& list, int row);
// The item of the selected row, or -1 (an empty list, or a stale row past the end).
int SelectedListItem(const PagedButtonList& list);

// The first button under (x, y) in array order (transparent pixels miss), drawn pressed, and
// written to `list.pressed`; -1 and `pressed` untouched when none is hit.
int PressListButton(HWND window, PagedButtonList& list, int x, int y);
// A pen-up: the button the pen went down on, or -1; `pressed` is cleared.
int TakePressedListButton(PagedButtonList& list);

// One button of the array in `state`: the back buffer takes the window's current picture, the
// button's image frame and labels are drawn over it and the button's rectangle copied back.
void DrawListButton(HWND window, const PagedButtonList& list, int index, int state);

// The full picture: panel background, every label in state 0, the whole back buffer copied to
// the window, then the selected row drawn focused (when it shows an item and the list shows
// its focus).
void RedrawList(HWND window, const PagedButtonList& list);

// As RedrawList, but only the rectangle around the buttons reaches the window, so that child
// windows elsewhere on it (a keyboard) keep their picture.
void RedrawListButtons(HWND window, const PagedButtonList& list);

// Paging and row moves; each returns whether anything changed. The selected row of a new page
// is 0 (the last row when moving back by rows).
bool PreviousListPage(PagedButtonList& list);
bool NextListPage(PagedButtonList& list);
bool PreviousListRow(PagedButtonList& list);
bool NextListRow(PagedButtonList& list);

// A new item list: count taken, page and selected row back to 0.
void ResetList(PagedButtonList& list, int itemCount);
