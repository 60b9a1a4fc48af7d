// The notes list window (template 117): a PagedButtonList of six overlapping row buttons over
// the note list, the folder and search buttons, the preview control and the kind-1 menu.
// Opened modeless by the start window's notes band; closed by Back or WM_CLOSE.
#include "notes/notes_list.h"

#include "common/full_screen.h"
#include "common/messages.h"
#include "drawing/back_buffer.h"
#include "drawing/font_table.h"
#include "drawing/paged_button_list.h"
#include "drawing/text_drawing.h"
#include "notes/folder_browser.h"
#include "notes/note_files.h"
#include "notes/note_paths.h"
#include "notes/view_note_window.h"
#include "resources/tavrel_dialogs.h"
#include "settings/settings_store.h"

#include <device/dialogs.h>
#include <device/edit.h>
#include <device/shell.h>

#include <cstdio>
#include <string>

using namespace notes_internal;

namespace {

constexpr int kRowCount = 6;
constexpr int kButtonCount = 8;
constexpr int kFolderButton = 6;
constexpr int kSearchButton = 7;

constexpr COLORREF kGreyText = 0xB3B3B3;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kTransparent = 0x00F2FF;

// Image slots 0-3 are the skin images viewnote02, viewnote01, folder_a and search_a.
constexpr int kListImages[] = {45, 44, 46, 47};
constexpr ButtonSpec kListButtons[kButtonCount] = {
    {.left = 0,   .top = 118, .right = 186, .bottom = 166, .imageSlot = 0, .verticalInset = 4, .transparentColour = kTransparent, .textColour = kGreyText},
    {.left = 54,  .top = 118, .right = 240, .bottom = 166, .imageSlot = 1, .verticalInset = 4, .transparentColour = kTransparent, .textColour = kGreyText},
    {.left = 0,   .top = 166, .right = 186, .bottom = 214, .imageSlot = 0, .verticalInset = 4, .transparentColour = kTransparent, .textColour = kGreyText},
    {.left = 54,  .top = 166, .right = 240, .bottom = 214, .imageSlot = 1, .verticalInset = 4, .transparentColour = kTransparent, .textColour = kGreyText},
    {.left = 0,   .top = 214, .right = 186, .bottom = 262, .imageSlot = 0, .verticalInset = 4, .transparentColour = kTransparent, .textColour = kGreyText},
    {.left = 54,  .top = 214, .right = 240, .bottom = 262, .imageSlot = 1, .verticalInset = 4, .transparentColour = kTransparent, .textColour = kGreyText},
    {.left = 0,   .top = 267, .right = 180, .bottom = 320, .imageSlot = 2, .verticalInset = 4, .transparentColour = kTransparent, .textColour = kGreyText},
    {.left = 180, .top = 267, .right = 240, .bottom = 320, .imageSlot = 3, .verticalInset = 4, .transparentColour = kTransparent, .textColour = kGreyText},
};

constexpr WCHAR kFontFace[] = u"MS SANS SERIF";
constexpr int kPanelFontHeight = 14;
constexpr int kCaptionFontHeight = 12;

constexpr UINT_PTR kFullScreenTimer = 1;
constexpr UINT_PTR kFocusTimer = 3;
constexpr UINT kFullScreenDelayMs = 100;
constexpr UINT kFocusDelayMs = 50;

constexpr int kMenuHeight = 30;
constexpr int kPreviewBottom = 118;   // the preview's bottom edge above the rows
constexpr int kPreviewTallBelow = 149;  // a preview reaching below this is grown

enum MenuCommand { kDeleteCommand = 0, kPreviousCommand = 1, kNextCommand = 2, kEditCommand = 3, kBackCommand = 4 };

constexpr WCHAR kSearchTitle[] = u"Search for";
constexpr WCHAR kConfirmCaption[] = u"confirm";

struct NotesListState {
  ButtonSpec buttons[kButtonCount];  // the list's array; the panel points into it
  PagedButtonList list;
  NoteList notes;                    // the listed notes, in the device's order
  const NotesListHost* host;
  int panelFont;                     // font ids of the FontTable
  int captionFont;                   // the search button's caption
  bool confirming;                   // the delete question is open
  HWND menu;                         // the bar (Menu on) or the pop-up grid, while it exists
};

NotesListState* State(HWND dialog) { return reinterpret_cast<NotesListState*>(GetWindowLong(dialog, GWL_USERDATA)); }

bool MenuAlwaysShown() { return TheSettings().Menu != 0; }
int PreviewTop() { return MenuAlwaysShown() ? kMenuHeight : 0; }
HWND Preview(HWND dialog) { return GetDlgItem(dialog, kNotePreviewId); }

// The search text is the search button's label; an empty label means no search.
const WCHAR* SearchText(const NotesListState& s) { return s.buttons[kSearchButton].label; }
bool Searching(const NotesListState& s) { return SearchText(s)[0] != 0; }

std::u16string NotePath(const NotesListState& s, int item) { return InFolder(NotesFolder(), s.notes[item].name); }

void FillRows(HWND dialog, NotesListState& s) {
  for (int row = 0; row < kRowCount; ++row) {
    const int item = ListItemAt(s.list, row);
    CopyBounded(s.buttons[row].label, kButtonLabelLength, item >= 0 ? View(s.notes[item].name) : u"");
  }
  SetDlgItemText(dialog, kNotePreviewId, u"");
}

void RebuildList(HWND dialog, NotesListState& s) {
  ResetList(s.list, ListNoteFiles(dialog, SearchText(s), s.notes));
  FillRows(dialog, s);
}

// The preview shows the selected note; a note that cannot be read leaves it empty.
void ShowSelectedNote(HWND dialog, const NotesListState& s) {
  SetDlgItemText(dialog, kNotePreviewId, u"");
  const int item = SelectedListItem(s.list);
  if (item >= 0) LoadNoteText(dialog, s.notes[item].name, NoteReadMode::kView);
}

void Redraw(HWND dialog, const NotesListState& s) {
  RedrawList(dialog, s.list);
  ShowSelectedNote(dialog, s);
  InvalidateRect(Preview(dialog), nullptr, TRUE);
}

// ---- labels ----

RECT Shifted(RECT rect, int state) {
  if (state == kButtonPressed) OffsetRect(&rect, 1, 1);
  return rect;
}

// A row shows its note's name up to its first ".pwi"; the names of a band's two rows both lie
// between x = 61 and 179, the even row's higher.
void DrawRowLabel(HDC back, const ButtonSpec& b, int state) {
  std::u16string name(b.label);
  const std::size_t extension = Folded(name).find(kNoteExtension);
  if (extension != std::u16string::npos) name.resize(extension);
  const bool even = b.left < 21;
  const RECT rect = even ? RECT{b.right - 125, b.top + 7, b.right - 7, b.bottom}
                         : RECT{b.left + 7, b.top + 30, b.left + 125, b.bottom};
  DrawFittedText(back, Shifted(rect, state), name.c_str(), GetAppFont(b.fontId), kGreyText,
                 kCutEndWithEllipsis | DT_CENTER);
}

void DrawFolderLabels(HDC back, const ButtonSpec& b, const NotesListState& s) {
  HFONT font = GetAppFont(b.fontId);
  DrawFittedText(back, RECT{b.left + 4, b.top + 35, b.right - 7, b.bottom}, TheSettings().directory, font, kGreyText,
                 kCutStartWithEllipsis);
  char narrow[40];
  std::snprintf(narrow, sizeof narrow, "Number of files: %d", s.list.itemCount);
  const std::u16string count(narrow, narrow + std::char_traits<char>::length(narrow));
  DrawFittedText(back, RECT{b.right - 130, b.top + 10, b.right - 7, b.bottom}, count.c_str(), font, kWhite,
                 kCutStartWithEllipsis);
}

void DrawSearchLabels(HDC back, const ButtonSpec& b, const NotesListState& s) {
  const bool searching = Searching(s);
  DrawFittedText(back, RECT{b.right - 33, b.top + 8, b.right, b.bottom}, searching ? u"Reset" : u"Search",
                 GetAppFont(s.captionFont), searching ? kRed : kWhite, 0);
  DrawFittedText(back, RECT{b.left + 4, b.top + 34, b.right - 4, b.bottom}, SearchText(s), GetAppFont(s.panelFont),
                 kGreyText, kCutEndWithEllipsis | DT_CENTER);
}

void DrawNotesListLabels(HWND dialog, const ButtonSpec& button, int state, int index) {
  const NotesListState* s = State(dialog);
  if (s == nullptr) return;
  HDC back = BackBufferDC();
  if (index < kRowCount) DrawRowLabel(back, button, state);
  else if (index == kFolderButton) DrawFolderLabels(back, button, *s);
  else if (index == kSearchButton) DrawSearchLabels(back, button, *s);
}

// ---- menu ----

bool GridMenuShown(const NotesListState& s) { return !MenuAlwaysShown() && IsWindow(s.menu); }

// Hides a pop-up grid for a question or the editor; returns whether it was shown.
bool HideGridMenu(const NotesListState& s) {
  if (!GridMenuShown(s) || !IsWindowVisible(s.menu)) return false;
  ShowWindow(s.menu, SW_HIDE);
  return true;
}

void OpenGridMenu(HWND dialog, NotesListState& s) {
  if (IsWindow(s.menu) || MenuAlwaysShown()) return;
  s.menu = s.host->createMenu(dialog, true);
}

// ---- commands ----

void DeleteSelectedNote(HWND dialog, NotesListState& s) {
  const int item = SelectedListItem(s.list);
  if (item < 0) return;
  const bool gridHidden = HideGridMenu(s);
  const std::u16string path = NotePath(s, item);
  const std::u16string question = u"Are you sure, You want to delete:\n" + path + u" ?";
  s.confirming = true;
  const int answer = MessageBox(dialog, question.c_str(), kConfirmCaption, MB_YESNO);
  s.confirming = false;
  if (answer == IDYES) {
    DeleteFile(path.c_str());  // a file that cannot be removed is listed again; nothing is said
    RebuildList(dialog, s);
    Redraw(dialog, s);
  }
  if (gridHidden && IsWindow(s.menu)) ShowWindow(s.menu, SW_SHOW);
}

// Whether the note can be opened for editing: a vanished note rebuilds the list, an
// unreadable one is reported and left alone.
bool NoteOpensForEditing(HWND dialog, NotesListState& s, const std::u16string& path) {
  std::u16string text;
  switch (ReadNoteFile(path.c_str(), text)) {
    case NoteFileRead::kRead: return true;
    case NoteFileRead::kMissing:
      RebuildList(dialog, s);
      Redraw(dialog, s);
      return false;
    case NoteFileRead::kUnreadable:
      MessageBox(dialog, kNoteUnreadableMessage, kNoteMessageCaption, MB_OK);
      return false;
  }
  return false;
}

void SetPreviewHeight(HWND dialog, int bottom) {
  SetWindowPos(Preview(dialog), nullptr, 0, PreviewTop(), kScreenWidth, bottom - PreviewTop(), SWP_NOZORDER);
}

void EditSelectedNote(HWND dialog, NotesListState& s) {
  const int item = SelectedListItem(s.list);
  if (item < 0) return;
  HideGridMenu(s);
  SetPreviewHeight(dialog, kPreviewBottom);
  ReleaseCapture();
  const std::u16string path = NotePath(s, item);
  if (!NoteOpensForEditing(dialog, s, path)) return;
  WCHAR text[kMaxEditText];
  CopyBounded(text, kMaxEditText, path);
  if (s.host->runMainScreen(dialog, kEditModeNoteFile, u"", text, kMaxEditText) == 0) return;
  if (!IsWindow(dialog)) return;
  RebuildList(dialog, s);
  Redraw(dialog, s);
}

void ChangePage(HWND dialog, NotesListState& s, bool (*move)(PagedButtonList&)) {
  if (!move(s.list)) return;
  FillRows(dialog, s);
  Redraw(dialog, s);
}

// ---- pen ----

void RunFolderButton(HWND dialog, NotesListState& s) {
  ReleaseCapture();
  RunFolderBrowser(reinterpret_cast<HINSTANCE>(GetWindowLong(dialog, GWL_HINSTANCE)), dialog,
                   TheSettings().directory);
  if (!IsWindow(dialog)) return;  // closed while the browser ran (its menu grid's Back): `s` is gone
  RebuildList(dialog, s);
  Redraw(dialog, s);
}

void RunSearchButton(HWND dialog, NotesListState& s) {
  WCHAR* search = s.buttons[kSearchButton].label;
  if (Searching(s)) {
    search[0] = 0;
  } else {
    WCHAR typed[kMaxEditText] = {};
    if (s.host->runMainScreen(dialog, kEditModeSearch, kSearchTitle, typed, kMaxEditText) == 1) {
      CopyBounded(search, kButtonLabelLength, View(typed));
    }
    if (!IsWindow(dialog)) return;
  }
  RebuildList(dialog, s);
  Redraw(dialog, s);
}

void SelectRow(HWND dialog, NotesListState& s, int row) {
  if (ListItemAt(s.list, row) < 0) return;
  DrawListButton(dialog, s.list, s.list.selected, kButtonNormal);
  s.list.selected = row;
  ShowSelectedNote(dialog, s);
}

BOOL OnPenDown(HWND dialog, int x, int y) {
  NotesListState& s = *State(dialog);
  s.list.pressed = -1;
  PressListButton(dialog, s.list, x, y);
  return TRUE;
}

BOOL OnPenUp(HWND dialog) {
  NotesListState& s = *State(dialog);
  const int pressed = TakePressedListButton(s.list);
  if (pressed < 0) return TRUE;
  if (pressed == kFolderButton) RunFolderButton(dialog, s);
  else if (pressed == kSearchButton) RunSearchButton(dialog, s);
  else SelectRow(dialog, s, pressed);
  if (!IsWindow(dialog)) return TRUE;
  const bool focused = pressed == s.list.selected && SelectedListItem(s.list) >= 0;
  DrawListButton(dialog, s.list, pressed, focused ? kButtonFocused : kButtonNormal);
  return TRUE;
}

// ---- keys, preview, timers ----

BOOL OnKeyDown(HWND dialog, UINT key) {
  NotesListState& s = *State(dialog);
  if (MenuAlwaysShown() && IsWindow(s.menu)) {
    SendMessage(s.menu, WM_KEYDOWN, key, 0);
    return TRUE;
  }
  bool handled = true;
  switch (key) {
    case VK_RETURN: OpenGridMenu(dialog, s); break;
    case VK_LEFT: PreviousListPage(s.list); break;
    case VK_RIGHT: NextListPage(s.list); break;
    case VK_UP: PreviousListRow(s.list); break;
    case VK_DOWN: NextListRow(s.list); break;
    default: handled = false; break;
  }
  if (!handled) return TRUE;
  FillRows(dialog, s);
  Redraw(dialog, s);
  return TRUE;
}

BOOL OnPreviewToggle(HWND dialog) {
  RECT rect{};
  GetWindowRect(Preview(dialog), &rect);
  SetPreviewHeight(dialog, rect.bottom > kPreviewTallBelow ? kPreviewBottom : kScreenHeight);
  return TRUE;
}

BOOL OnMenuCommand(HWND dialog, int command) {
  NotesListState& s = *State(dialog);
  switch (command) {
    case kDeleteCommand: DeleteSelectedNote(dialog, s); break;
    case kPreviousCommand: ChangePage(dialog, s, PreviousListPage); break;
    case kNextCommand: ChangePage(dialog, s, NextListPage); break;
    case kEditCommand: EditSelectedNote(dialog, s); break;
    // The menu is inside its own handler: the window closes once it has returned.
    case kBackCommand: PostMessage(dialog, WM_CLOSE, 0, 0); break;
    default: break;
  }
  return TRUE;
}

bool OwnsTheScreen(HWND dialog, const NotesListState& s) { return s.host->topWindow() == dialog && !s.confirming; }

BOOL OnActivate(HWND dialog) {
  if (OwnsTheScreen(dialog, *State(dialog))) SetTimer(dialog, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  return TRUE;
}

BOOL OnKillFocus(HWND dialog) {
  if (OwnsTheScreen(dialog, *State(dialog))) SetTimer(dialog, kFocusTimer, kFocusDelayMs, nullptr);
  return TRUE;
}

BOOL OnTimer(HWND dialog, UINT_PTR id) {
  if (id == kFullScreenTimer) {
    SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SHFullScreen(dialog, kFullScreenFlags);
    // Activation hands the focus to the preview; the list's keys come to the list itself.
    SetFocus(dialog);
  } else if (id == kFocusTimer) {
    SetFocus(dialog);
  }
  KillTimer(dialog, id);
  return TRUE;
}

BOOL OnEraseBackground(HWND dialog) {
  Redraw(dialog, *State(dialog));
  SetWindowLong(dialog, DWL_MSGRESULT, 1);
  return TRUE;
}

// ---- life ----

void CreateFontsAndPanel(HWND dialog, NotesListState& s) {
  s.panelFont = CreateAppFont(kFontFace, kPanelFontHeight, false, false);
  s.captionFont = CreateAppFont(kFontFace, kCaptionFontHeight, false, false);
  for (int i = 0; i < kButtonCount; ++i) s.buttons[i] = kListButtons[i];
  s.list.buttons = s.buttons;
  s.list.buttonCount = kButtonCount;
  s.list.rowCount = kRowCount;
  s.list.drawLabels = DrawNotesListLabels;
  s.list.panel = RegisterButtonPanel(dialog, s.buttons, kButtonCount, kListImages, 4, s.panelFont);
  s.buttons[kSearchButton].fontId = s.captionFont;
}

BOOL OnInitDialog(HWND dialog, const NotesListHost* host) {
  auto* s = new NotesListState{};
  s->host = host;
  SetWindowLong(dialog, GWL_USERDATA, reinterpret_cast<LONG_PTR>(s));
  host->pushWindow(dialog);
  if (MenuAlwaysShown()) s->menu = host->createMenu(dialog, false);
  SetPreviewHeight(dialog, kPreviewBottom);
  SetWindowLong(Preview(dialog), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(ViewNoteWindowProc));
  CreateFontsAndPanel(dialog, *s);
  RebuildList(dialog, *s);
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetTimer(dialog, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  return FALSE;  // the list keeps the focus, not the preview
}

BOOL OnClose(HWND dialog) {
  DestroyWindow(dialog);
  return TRUE;
}

BOOL OnDestroy(HWND dialog) {
  NotesListState* s = State(dialog);
  ReleaseCapture();
  s->host->popWindow(dialog);
  UnregisterButtonPanel(s->list.panel);
  DeleteAppFont(s->panelFont);
  DeleteAppFont(s->captionFont);
  SetWindowLong(dialog, GWL_USERDATA, 0);
  delete s;
  return FALSE;
}

}  // namespace

BOOL CALLBACK NotesListProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Messages before WM_INITDIALOG or after WM_DESTROY find no state.
  if (msg != WM_INITDIALOG && State(dialog) == nullptr) return FALSE;
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, reinterpret_cast<const NotesListHost*>(lParam));
    case WM_ERASEBKGND: return OnEraseBackground(dialog);
    case WM_ACTIVATE: return OnActivate(dialog);
    case WM_KILLFOCUS: return OnKillFocus(dialog);
    case WM_TIMER: return OnTimer(dialog, wParam);
    case WM_KEYDOWN: return OnKeyDown(dialog, static_cast<UINT>(wParam));
    case WM_LBUTTONDOWN: return OnPenDown(dialog, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case WM_LBUTTONUP: return OnPenUp(dialog);
    case PreviewToggleMessage: return OnPreviewToggle(dialog);
    case MenuCommandMessage: return OnMenuCommand(dialog, static_cast<int>(static_cast<LONG_PTR>(wParam)));
    case WM_CLOSE: return OnClose(dialog);
    case WM_DESTROY: return OnDestroy(dialog);
    default: return FALSE;
  }
}

HWND OpenNotesList(HINSTANCE instance, HWND owner, const NotesListHost* host) {
  return CreateDialogParam(instance, MAKEINTRESOURCE(kNotesListDialog), owner, NotesListProc,
                           reinterpret_cast<LPARAM>(host));
}
