// The folder browser (template 110): a 3 x 3 grid of folders under the current path, with an
// up cell, "..." cells for the previous and next pages, and OK / Cancel buttons along the top.
// Run modally by the notes list's folder button.
#include "notes/folder_browser.h"

#include "common/full_screen.h"
#include "drawing/back_buffer.h"
#include "drawing/button_panel.h"
#include "drawing/font_table.h"
#include "drawing/skin_images.h"
#include "drawing/text_drawing.h"
#include "notes/note_files.h"
#include "notes/note_paths.h"
#include "resources/tavrel_dialogs.h"

#include <device/dialogs.h>
#include <device/shell.h>

#include <algorithm>
#include <cstdio>
#include <string>

using namespace notes_internal;

namespace {

constexpr int kCellCount = 9;
constexpr int kMoreCell = 8;
constexpr COLORREF kGridBackground = 0xB3B3B3;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr UINT kCellTextFormat = DT_CENTER | DT_WORDBREAK;  // 0x11

constexpr UINT_PTR kFullScreenTimer = 1;
constexpr UINT kFullScreenDelayMs = 10;

constexpr int kOkButton = 0;
constexpr int kCancelButton = 1;
constexpr int kButtonCount = 2;
constexpr int kButtonImages[] = {kSkinMenuUres};
constexpr ButtonSpec kBrowserButtons[kButtonCount] = {
    {.left = 192, .top = 0, .right = 240, .bottom = 30, .label = u"OK", .textFormat = DT_CENTER, .verticalInset = 8, .drawMode = 1},
    {.left = 144, .top = 0, .right = 192, .bottom = 30, .label = u"Cancel", .textFormat = DT_CENTER, .verticalInset = 8, .drawMode = 1},
};
constexpr RECT kTitleRect{3, 0, 142, 35};

// The pen's target between pen-down and pen-up.
enum Target { kNoTarget = -1, kOkTarget = 100, kCancelTarget = 101 };  // 0-8: grid cells

struct FolderBrowserState {
  WCHAR* callerPath;            // the caller's buffer, written on OK only
  WCHAR path[MAX_PATH];         // the current path
  int depth;                    // backslashes in the path
  FolderList folders;           // direct subfolders of the path with their note counts
  int page;
  int target;                   // Target or a cell
  HBITMAP upImage, yellowImage, grayImage;
  int font;                     // font id, "MS SANS SERIF" 12
  ButtonSpec buttons[kButtonCount];
  ButtonPanel panel;
  int pressed;                  // written by PressButtonAt
};

FolderBrowserState* State(HWND dialog) {
  return reinterpret_cast<FolderBrowserState*>(GetWindowLong(dialog, GWL_USERDATA));
}

RECT CellArea(int cell) {
  const int column = cell % 3;
  const int row = cell / 3;
  return RECT{80 * column + 5, 90 * row + 35, 80 * column + 85, 90 * row + 125};
}

int CountBackslashes(const WCHAR* path) {
  return static_cast<int>(std::count(path, path + std::char_traits<char16_t>::length(path), u'\\'));
}

void ListFolders(HWND dialog, FolderBrowserState& s) {
  s.depth = CountBackslashes(s.path);
  ListSubfolders(dialog, s.path, s.folders);
  s.page = 0;
}

FolderPage CurrentPage(const FolderBrowserState& s) {
  return LayOutFolderPage(static_cast<int>(s.folders.size()), s.depth, s.page);
}

// The cell of folder k of the page, and back.
int FirstFolderCell(const FolderPage& page) { return page.special ? 1 : 0; }

// What cell `cell` shows: a folder index, or one of these.
constexpr int kEmptyCell = -1;
constexpr int kUpCell = -2;
constexpr int kPreviousCell = -3;
constexpr int kNextCell = -4;

int CellContent(const FolderBrowserState& s, int cell) {
  const FolderPage page = CurrentPage(s);
  if (cell == 0 && page.special) return s.page > 0 ? kPreviousCell : kUpCell;
  if (cell == kMoreCell && page.more) return kNextCell;
  const int k = cell - FirstFolderCell(page);
  return k >= 0 && k < page.shown ? page.first + k : kEmptyCell;
}

// ---- drawing ----

void DrawIcon(HDC dc, HBITMAP image, int x, int y) {
  if (image == nullptr) return;
  BITMAP info{};
  GetObject(image, sizeof info, &info);
  HGDIOBJ previous = SelectObject(ImageContext(), image);
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, ImageContext(), 0, 0, SRCCOPY);
  SelectObject(ImageContext(), previous);
}

void DrawDotsCell(HDC dc, const FolderBrowserState& s, int cell, const RECT& area) {
  DrawIcon(dc, s.yellowImage, area.left, area.top);
  // The previous-page cell centres its dots under the icon, the next-page cell across the cell.
  const LONG right = cell == kMoreCell ? area.right : area.left + 64;
  DrawPlainText(dc, RECT{area.left, area.top + 32, right, area.top + 52}, u"...", GetAppFont(s.font), kRed, DT_CENTER);
}

void DrawFolderCell(HDC dc, const FolderBrowserState& s, const RECT& area, const FolderEntry& folder) {
  HFONT font = GetAppFont(s.font);
  DrawIcon(dc, folder.noteCount != 0 ? s.yellowImage : s.grayImage, area.left, area.top);
  DrawPlainText(dc, RECT{area.left, area.top + 64, area.left + 64, area.top + 90}, folder.name, font, kRed,
                kCellTextFormat);
  if (folder.noteCount == 0) return;
  char narrow[16];
  std::snprintf(narrow, sizeof narrow, "%d", static_cast<int>(folder.noteCount));
  const std::u16string count(narrow, narrow + std::char_traits<char>::length(narrow));
  DrawPlainText(dc, RECT{area.left, area.top + 29, area.left + 64, area.top + 52}, count.c_str(), font, kBlack,
                kCellTextFormat);
}

void DrawCell(HDC dc, const FolderBrowserState& s, int cell) {
  const RECT area = CellArea(cell);
  const int content = CellContent(s, cell);
  if (content == kUpCell) DrawIcon(dc, s.upImage, area.left, area.top);
  else if (content == kPreviousCell || content == kNextCell) DrawDotsCell(dc, s, cell, area);
  else if (content >= 0) DrawFolderCell(dc, s, area, s.folders[content]);
}

void DrawBrowser(HWND dialog, const FolderBrowserState& s) {
  HDC back = BackBufferDC();
  DrawPanelBackground(dialog, s.panel, back);
  FillSolidRect(back, RECT{0, 30, kScreenWidth, kScreenHeight}, kGridBackground);
  for (const ButtonSpec& button : s.buttons) {
    DrawFittedText(back, ButtonLabelRect(button, kButtonNormal), button.label, GetAppFont(button.fontId), kBlack,
                   button.textFormat);
  }
  for (int cell = 0; cell < kCellCount; ++cell) DrawCell(back, s, cell);
  DrawPlainText(back, kTitleRect, s.path[0] != 0 ? s.path : u"\\", GetAppFont(s.font), kWhite, DT_VCENTER | DT_SINGLELINE);
  CopyBackBufferToWindow(dialog, RECT{0, 0, kScreenWidth, kScreenHeight});
}

// ---- pen ----

int CellAt(int x, int y) {
  for (int cell = 0; cell < kCellCount; ++cell) {
    const RECT a = CellArea(cell);
    if (x >= a.left && x < a.right && y >= a.top && y < a.bottom) return cell;
  }
  return kNoTarget;
}

BOOL OnPenDown(HWND dialog, int x, int y) {
  FolderBrowserState& s = *State(dialog);
  s.target = kNoTarget;
  const int button = PressButtonAt(dialog, s.buttons, x, y, s.panel, &s.pressed);
  if (button == kOkButton) s.target = kOkTarget;
  else if (button == kCancelButton) s.target = kCancelTarget;
  else if (const int cell = CellAt(x, y); cell != kNoTarget && CellContent(s, cell) != kEmptyCell) s.target = cell;
  return TRUE;
}

void GoUp(HWND dialog, FolderBrowserState& s) {
  WCHAR* cut = std::find(s.path, s.path + MAX_PATH, u'\0');
  while (cut != s.path && *cut != u'\\') --cut;
  *cut = 0;
  ListFolders(dialog, s);
}

void GoInto(HWND dialog, FolderBrowserState& s, const FolderEntry& folder) {
  const std::u16string deeper = std::u16string(s.path) + u"\\" + folder.name;
  // A path that would not fit is not walked into: it would name another folder.
  if (deeper.size() >= MAX_PATH) return;
  CopyBounded(s.path, MAX_PATH, deeper);
  ListFolders(dialog, s);
}

BOOL OnPenUp(HWND dialog) {
  FolderBrowserState& s = *State(dialog);
  const int target = s.target;
  s.target = kNoTarget;
  if (target == kOkTarget) {
    CopyBounded(s.callerPath, MAX_PATH, View(s.path));
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (target == kCancelTarget) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  if (target == kNoTarget) return TRUE;
  const int content = CellContent(s, target);
  if (content == kPreviousCell) --s.page;
  else if (content == kNextCell) ++s.page;
  else if (content == kUpCell) GoUp(dialog, s);
  else if (content >= 0) GoInto(dialog, s, s.folders[content]);
  DrawBrowser(dialog, s);
  return TRUE;
}

// ---- life ----

BOOL OnInitDialog(HWND dialog, WCHAR* callerPath) {
  auto* s = new FolderBrowserState{};
  SetWindowLong(dialog, GWL_USERDATA, reinterpret_cast<LONG_PTR>(s));
  s->callerPath = callerPath;
  s->upImage = LoadSkinImage(u"arrowfolder.png");
  s->yellowImage = LoadSkinImage(u"yellowfolder.png");
  s->grayImage = LoadSkinImage(u"grayfolder.png");
  CopyBounded(s->path, MAX_PATH, View(callerPath));
  ListFolders(dialog, *s);
  s->font = CreateAppFont(u"MS SANS SERIF", 12, false, false);
  s->target = kNoTarget;
  s->pressed = -1;
  for (int i = 0; i < kButtonCount; ++i) s->buttons[i] = kBrowserButtons[i];
  s->panel = RegisterButtonPanel(dialog, s->buttons, kButtonCount, kButtonImages, 1, s->font);
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetTimer(dialog, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  return TRUE;
}

BOOL OnEraseBackground(HWND dialog) {
  DrawBrowser(dialog, *State(dialog));
  SetWindowLong(dialog, DWL_MSGRESULT, 1);
  return TRUE;
}

BOOL OnActivate(HWND dialog) {
  SetTimer(dialog, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  return TRUE;
}

BOOL OnTimer(HWND dialog) {
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SHFullScreen(dialog, kFullScreenFlags);
  KillTimer(dialog, kFullScreenTimer);
  return TRUE;
}

BOOL OnClose(HWND dialog) {
  EndDialog(dialog, IDCANCEL);
  return TRUE;
}

BOOL OnDestroy(HWND dialog) {
  FolderBrowserState* s = State(dialog);
  UnregisterButtonPanel(s->panel);
  DeleteObject(s->upImage);
  DeleteObject(s->yellowImage);
  DeleteObject(s->grayImage);
  DeleteAppFont(s->font);
  SetWindowLong(dialog, GWL_USERDATA, 0);
  delete s;
  return FALSE;
}

}  // namespace

FolderPage LayOutFolderPage(int folderCount, int depth, int page) {
  // Walk the pages from the first: a page shows up to eight folders, one fewer when more
  // follow (cell 8 then leads on), so every folder appears on exactly one page.
  FolderPage layout{0, 0, false, false};
  for (int p = 0;; ++p) {
    layout.special = p > 0 || depth > 0;
    const int rest = std::max(0, folderCount - layout.first);
    layout.more = rest > kMoreCell;
    layout.shown = std::min(kMoreCell, rest) - (layout.more ? 1 : 0);
    if (p == page || !layout.more) return layout;
    layout.first += layout.shown;
  }
}

BOOL CALLBACK FolderBrowserProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_INITDIALOG && State(dialog) == nullptr) return FALSE;
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, reinterpret_cast<WCHAR*>(lParam));
    case WM_ERASEBKGND: return OnEraseBackground(dialog);
    case WM_ACTIVATE: return OnActivate(dialog);
    case WM_TIMER: return OnTimer(dialog);
    case WM_LBUTTONDOWN: return OnPenDown(dialog, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case WM_LBUTTONUP: return OnPenUp(dialog);
    case WM_CLOSE: return OnClose(dialog);
    case WM_DESTROY: return OnDestroy(dialog);
    default: return FALSE;
  }
}

bool RunFolderBrowser(HINSTANCE instance, HWND owner, WCHAR* path) {
  return DialogBoxParam(instance, MAKEINTRESOURCE(kFolderBrowserDialog), owner, FolderBrowserProc,
                        reinterpret_cast<LPARAM>(path)) == IDOK;
}
