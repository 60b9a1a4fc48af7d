// The contact list window (template 112): three result rows and two arrows as a
// PagedButtonList, the search keyboard chosen by `inputmethod2`, and the kind-2 menu.
#include "contacts/contact_list_window.h"

#include "common/full_screen.h"
#include "common/messages.h"
#include "contacts/contact_details_window.h"
#include "contacts/contact_fields.h"
#include "contacts/contact_search.h"
#include "drawing/back_buffer.h"
#include "drawing/font_table.h"
#include "drawing/paged_button_list.h"
#include "drawing/text_drawing.h"
#include "keyboards/phone_keypad.h"
#include "keyboards/predict_keypad.h"
#include "prediction/language_switch.h"
#include "resources/tavrel_dialogs.h"
#include "settings/settings_store.h"

#include <device/dialogs.h>
#include <device/shell.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kButtonCount = 5;
constexpr int kPageUpButton = 3;
constexpr int kPageDownButton = 4;

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kMatchRed = 0x0000BD;
constexpr COLORREF kCounterRed = 0x0000FF;

// Image slots 0-2: viewcon_name, viewcon_up, viewcon_down.
constexpr int kListImages[] = {42, 43, 41};
// Places with the menu always shown; without it everything lies 20 pixels higher.
constexpr ButtonSpec kListButtons[kButtonCount] = {
    {.left = 0,   .top = 30, .right = 210, .bottom = 60,  .imageSlot = 0, .drawMode = 1},
    {.left = 0,   .top = 60, .right = 210, .bottom = 90,  .imageSlot = 0, .drawMode = 1},
    {.left = 0,   .top = 90, .right = 210, .bottom = 120, .imageSlot = 0, .drawMode = 1},
    {.left = 210, .top = 30, .right = 240, .bottom = 75,  .imageSlot = 1, .drawMode = 1},
    {.left = 210, .top = 75, .right = 240, .bottom = 120, .imageSlot = 2, .drawMode = 1},
};
constexpr int kMenuOffShift = 20;
constexpr int kNameInset = 50;     // the name lies 50 pixels in from both ends of its row
constexpr int kCounterWidth = 50;  // the counter fills the row's rightmost 50 pixels

constexpr int kKeyboardTopMenuOn = 120;
constexpr int kKeyboardTopMenuOff = 110;
constexpr int kKeyboardHeight = 227;
constexpr RECT kLandscapePlace{30, 30, 240, 320};

constexpr WCHAR kFontFace[] = u"MS SANS SERIF";
constexpr WCHAR kKeyboardTitle[] = u"keyboard";
constexpr WCHAR kQwertyKeyClass[] = u"QwertyKeyClass";
constexpr WCHAR kLandscapeKeyClass[] = u"LandscapeKeyClass";
constexpr WCHAR kEditLabel[] = u"edit";

constexpr UINT_PTR kFullScreenTimer = 1;
constexpr UINT_PTR kSearchTimer = 2;
constexpr UINT_PTR kFocusTimer = 3;
constexpr UINT kFullScreenDelayMs = 100;
constexpr UINT kSearchDelayMs = 10;
constexpr UINT kFocusDelayMs = 50;
constexpr UINT kParentFocusDelayMs = 150;

constexpr UINT kNextKeyboardKey = 0xC2;
constexpr UINT kNextLanguageKey = 0xC3;

enum MenuCommand { kLanguageCommand = 1, kKeysCommand = 2, kBlankCommand = 3, kBackCommand = 4 };

struct ContactListState {
  const ContactWindowsHost* host;
  ButtonSpec buttons[kButtonCount];  // the rows and arrows; the panel points into it
  PagedButtonList list;
  std::u16string searchText;         // at most kSearchTextRoom - 1 characters, folded
  int offset;                        // the match shown in row 0
  ContactSearchResult found;         // the last search
  HWND details;                      // the details window opened from here, while it is open
  ContactRecord detailsRecord;       // the contact the details window shows
  HWND keyboard;
  HWND menu;                         // the bar (Menu on) or the pop-up grid, while it exists
  int boldFont, normalFont, largeFont, smallFont;
};

ContactListState* State(HWND dialog) { return reinterpret_cast<ContactListState*>(GetWindowLong(dialog, GWL_USERDATA)); }

bool MenuAlwaysShown() { return TheSettings().Menu != 0; }
const WCHAR* LanguageName() { return ThePredictionEngine().languages.Language(TheSettings().CurrentLang).NAME; }

void SetMenuLabel(const ContactListState& s, int button, const WCHAR* label) {
  if (IsWindow(s.menu)) SendMessage(s.menu, MenuLabelMessage, static_cast<WPARAM>(button), reinterpret_cast<LPARAM>(label));
}

// ---- labels ----

void DrawRowName(HDC back, const ButtonSpec& b, const ContactListState& s) {
  const std::u16string name = OneLineText(b.label);
  std::size_t at = s.searchText.empty() ? std::u16string::npos : FoldedText(name).find(s.searchText);
  const int length = static_cast<int>(name.size());
  const int start = at == std::u16string::npos ? length : static_cast<int>(at);
  const int end = at == std::u16string::npos ? length : start + static_cast<int>(s.searchText.size());
  DrawSplitWord(back, b.left + kNameInset, b.top, b.right - kNameInset, b.bottom, name.c_str(), s.normalFont, s.boldFont,
                start, end, kBlack, kMatchRed);
}

// "position/matches": the first two characters black, the rest red once the search has
// narrowed the list.
void DrawRowCounter(HDC back, const ButtonSpec& b, int row, const ContactListState& s) {
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d", s.offset + row + 1, s.found.totalMatches);
  const std::u16string counter(text, text + std::char_traits<char>::length(text));
  const bool narrowed = s.found.totalMatches < TheContactList().count();
  DrawSplitWord(back, b.right - kCounterWidth, b.top, b.right, b.bottom, counter.c_str(), s.normalFont, s.normalFont, 0,
                2, narrowed ? kCounterRed : kBlack, kBlack);
}

void DrawContactListLabels(HWND dialog, const ButtonSpec& button, int, int index) {
  const ContactListState* s = State(dialog);
  if (s == nullptr || index >= kResultRowCount || button.label[0] == 0) return;
  if (s->offset + index >= s->found.totalMatches) return;
  HDC back = BackBufferDC();
  DrawRowName(back, button, *s);
  DrawRowCounter(back, button, index, *s);
}

// ---- searching ----

// The rows and arrows only: the keyboard below keeps its picture.
void Redraw(HWND dialog, const ContactListState& s) { RedrawListButtons(dialog, s.list); }

void ContactSearch(HWND dialog, ContactListState& s) {
  for (int row = 0; row < kResultRowCount; ++row) s.buttons[row].label[0] = 0;
  const std::vector<ContactRecord>& contacts = TheContactList().records;
  s.found = ::ContactSearch(contacts, s.searchText, s.offset);
  for (int row = 0; row < kResultRowCount && row < s.found.rowsFilled; ++row) {
    const WCHAR* fileAs = ContactString(contacts[s.found.rowContact[row]], kFileAsId);
    SetButtonLabel(s.buttons[row], fileAs);
  }
  SetWindowText(dialog, s.searchText.c_str());
  Redraw(dialog, s);
}

void PageUp(HWND dialog, ContactListState& s) {
  s.offset = PageUpOffset(s.offset);
  ContactSearch(dialog, s);
}

void PageDown(HWND dialog, ContactListState& s) {
  s.offset = PageDownOffset(s.offset, s.found.matchesCounted);
  ContactSearch(dialog, s);
}

LRESULT OnKeyboardInput(HWND dialog, WPARAM code, const WCHAR* text) {
  ContactListState& s = *State(dialog);
  if (code == kInputCharacter && text != nullptr && text[0] != 0 && s.searchText.size() < kSearchTextRoom - 1) {
    s.searchText += text[0];
  } else if (code == kInputBackspace && !s.searchText.empty()) {
    s.searchText.pop_back();
  }
  s.offset = 0;
  ContactSearch(dialog, s);
  return TRUE;
}

// ---- keyboard and language ----

const WCHAR* KeyboardClass(int method) {
  switch (method) {
    case 0: return kQwertyKeyClass;
    case 2: return kPhoneKeyClass;
    case 3: return kLandscapeKeyClass;
    default: return kPredictKeyClass;
  }
}

HWND CreateKeyboardWindow(HWND dialog, const WCHAR* className, const RECT& place) {
  return CreateWindowEx(0, className, kKeyboardTitle, WS_CHILD | WS_VISIBLE, place.left, place.top,
                        place.right - place.left, place.bottom - place.top, dialog, nullptr,
                        reinterpret_cast<HINSTANCE>(GetWindowLong(dialog, GWL_HINSTANCE)), nullptr);
}

// A keyboard whose class the program lacks falls back to the predictive keypad.
void CreateSearchKeyboard(HWND dialog, ContactListState& s) {
  if (IsWindow(s.keyboard)) DestroyWindow(s.keyboard);
  const int method = TheSettings().inputmethod2;
  const int top = MenuAlwaysShown() ? kKeyboardTopMenuOn : kKeyboardTopMenuOff;
  const RECT portrait{0, top, kScreenWidth, top + kKeyboardHeight};
  s.keyboard = CreateKeyboardWindow(dialog, KeyboardClass(method), method == 3 ? kLandscapePlace : portrait);
  if (s.keyboard == nullptr) s.keyboard = CreateKeyboardWindow(dialog, kPredictKeyClass, portrait);
  SetMenuLabel(s, kLanguageButton, LanguageName());
}

// "Keys" and the next-keyboard button: the phone keypad after the predictive one, else the
// predictive one.
void SwitchKeyboard(HWND dialog, ContactListState& s) {
  SettingsBlock& settings = TheSettings();
  settings.inputmethod2 = settings.inputmethod2 == 1 ? 2 : 1;
  CreateSearchKeyboard(dialog, s);
  SaveSettings();
}

void DestroyGridMenu(ContactListState& s) {
  if (MenuAlwaysShown() || !IsWindow(s.menu)) return;
  DestroyWindow(s.menu);
  s.menu = nullptr;
}

void SwitchLanguage(ContactListState& s) {
  DestroyGridMenu(s);
  SettingsBlock& settings = TheSettings();
  if (!SwitchToNextLanguage(ThePredictionEngine(), settings, false)) return;
  if (IsWindow(s.keyboard)) SendMessage(s.keyboard, LanguageChangedMessage, static_cast<WPARAM>(settings.CurrentLang), 0);
  SetMenuLabel(s, kLanguageButton, LanguageName());
}

// ---- details ----

void OpenContactDetails(HWND dialog, ContactListState& s, int listIndex) {
  const LONG oid = TheContactList().records[listIndex].Oid;
  ClearContactRecord(s.detailsRecord);
  PoomReadContactById(oid, s.detailsRecord, true);
  SetMenuLabel(s, 0, kEditLabel);
  const ContactWindowParams params{s.host, &s.detailsRecord};
  s.details = OpenContactDetailsWindow(reinterpret_cast<HINSTANCE>(GetWindowLong(dialog, GWL_HINSTANCE)), dialog,
                                       &params);
  CreateSearchKeyboard(dialog, s);
}

LRESULT OnDetailsClosed(HWND dialog) {
  ContactListState& s = *State(dialog);
  s.details = nullptr;
  SetMenuLabel(s, 0, u"");
  ContactSearch(dialog, s);
  return TRUE;
}

// ---- pen ----

BOOL OnPenDown(HWND dialog, int x, int y) {
  ContactListState& s = *State(dialog);
  s.list.pressed = -1;
  PressListButton(dialog, s.list, x, y);
  return TRUE;
}

BOOL OnPenUp(HWND dialog) {
  ContactListState& s = *State(dialog);
  const int pressed = TakePressedListButton(s.list);
  if (pressed < 0) return TRUE;
  if (pressed < kResultRowCount && pressed < s.found.rowsFilled) OpenContactDetails(dialog, s, s.found.rowContact[pressed]);
  else if (pressed == kPageUpButton) PageUp(dialog, s);
  else if (pressed == kPageDownButton) PageDown(dialog, s);
  // Under an open details window the list is not redrawn.
  if (s.details == nullptr) DrawListButton(dialog, s.list, pressed, kButtonNormal);
  return TRUE;
}

// ---- keys, menu, timers ----

void OpenGridMenu(HWND dialog, ContactListState& s) {
  s.menu = s.host->createMenu(dialog, kContactListMenuKind, true);
  SetMenuLabel(s, kLanguageButton, LanguageName());
}

BOOL OnKeyDown(HWND dialog, UINT key) {
  ContactListState& s = *State(dialog);
  if (!MenuAlwaysShown() && IsWindow(s.menu)) {
    SendMessage(s.menu, WM_KEYDOWN, key, 0);
    return TRUE;
  }
  switch (key) {
    case VK_RETURN: if (!MenuAlwaysShown()) OpenGridMenu(dialog, s); break;
    case VK_UP: PageUp(dialog, s); break;
    case VK_DOWN: PageDown(dialog, s); break;
    case kNextKeyboardKey: SwitchKeyboard(dialog, s); break;
    case kNextLanguageKey: SwitchLanguage(s); break;
    default: break;
  }
  return TRUE;
}

BOOL OnMenuCommand(HWND dialog, int command) {
  ContactListState& s = *State(dialog);
  switch (command) {
    case kLanguageCommand: SwitchLanguage(s); break;
    case kKeysCommand: SwitchKeyboard(dialog, s); break;
    // The menu is inside its own handler: the window closes once it has returned.
    case kBlankCommand:
    case kBackCommand: PostMessage(dialog, WM_CLOSE, 0, 0); break;
    default: break;
  }
  return TRUE;
}

bool OwnsTheScreen(HWND dialog, const ContactListState& s) { return s.host->topWindow() == dialog; }

BOOL OnActivate(HWND dialog) {
  SetTimer(dialog, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  return TRUE;
}

BOOL OnKillFocus(HWND dialog) {
  if (OwnsTheScreen(dialog, *State(dialog))) SetTimer(dialog, kFocusTimer, kFocusDelayMs, nullptr);
  return TRUE;
}

void OnFirstSearch(HWND dialog, ContactListState& s) {
  SetMenuLabel(s, kLanguageButton, LanguageName());
  s.offset = 0;
  ContactSearch(dialog, s);
  SetCursor(nullptr);
}

BOOL OnTimer(HWND dialog, UINT_PTR id) {
  ContactListState& s = *State(dialog);
  KillTimer(dialog, id);
  if (id == kSearchTimer) {
    OnFirstSearch(dialog, s);
  } else if (id == kFullScreenTimer && OwnsTheScreen(dialog, s)) {
    SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SHFullScreen(dialog, kFullScreenFlags);
  } else if (id == kFocusTimer) {
    SetFocus(dialog);
  }
  return TRUE;
}

BOOL OnEraseBackground(HWND dialog) {
  RedrawList(dialog, State(dialog)->list);
  SetWindowLong(dialog, DWL_MSGRESULT, 1);
  return TRUE;
}

// ---- life ----

void PlaceButtons(ContactListState& s) {
  for (int i = 0; i < kButtonCount; ++i) {
    s.buttons[i] = kListButtons[i];
    if (MenuAlwaysShown()) continue;
    s.buttons[i].top -= kMenuOffShift;
    s.buttons[i].bottom -= kMenuOffShift;
  }
}

void CreateFontsAndPanel(HWND dialog, ContactListState& s) {
  s.boldFont = CreateAppFont(kFontFace, 14, false, true);
  s.normalFont = CreateAppFont(kFontFace, 14, false, false);
  s.largeFont = CreateAppFont(kFontFace, 16, false, false);
  s.smallFont = CreateAppFont(kFontFace, 13, false, false);
  PlaceButtons(s);
  s.list.buttons = s.buttons;
  s.list.buttonCount = kButtonCount;
  s.list.rowCount = kResultRowCount;
  s.list.drawLabels = DrawContactListLabels;
  s.list.panel = RegisterButtonPanel(dialog, s.buttons, kButtonCount, kListImages, 3, s.normalFont);
}

BOOL OnInitDialog(HWND dialog, const ContactWindowsHost* host) {
  auto* s = new ContactListState{};
  s->host = host;
  SetWindowLong(dialog, GWL_USERDATA, reinterpret_cast<LONG_PTR>(s));
  host->pushWindow(dialog);
  CreateFontsAndPanel(dialog, *s);
  if (MenuAlwaysShown()) s->menu = host->createMenu(dialog, kContactListMenuKind, false);
  CreateSearchKeyboard(dialog, *s);
  SetWindowPos(dialog, nullptr, 0, 0, kScreenWidth, kScreenHeight, SWP_NOZORDER);
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  SetTimer(dialog, kSearchTimer, kSearchDelayMs, nullptr);
  SetTimer(dialog, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  return TRUE;
}

BOOL OnClose(HWND dialog) {
  DestroyWindow(dialog);
  return TRUE;
}

BOOL OnDestroy(HWND dialog) {
  ContactListState* s = State(dialog);
  // The details window tells this window when it closes; it goes first, while the state lives.
  if (IsWindow(s->details)) DestroyWindow(s->details);
  s->host->popWindow(dialog);
  UnregisterButtonPanel(s->list.panel);
  for (int font : {s->boldFont, s->normalFont, s->largeFont, s->smallFont}) DeleteAppFont(font);
  HWND parent = GetWindow(dialog, GW_OWNER);
  if (parent != nullptr) {
    SetTimer(parent, kFullScreenTimer, kFullScreenDelayMs, nullptr);
    SetTimer(parent, kFocusTimer, kParentFocusDelayMs, nullptr);
  }
  SetWindowLong(dialog, GWL_USERDATA, 0);
  delete s;
  return FALSE;
}

}  // namespace

BOOL CALLBACK ContactSearchWindowProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Messages before WM_INITDIALOG or after WM_DESTROY find no state.
  if (msg != WM_INITDIALOG && State(dialog) == nullptr) return FALSE;
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, reinterpret_cast<const ContactWindowsHost*>(lParam));
    case WM_ERASEBKGND: return OnEraseBackground(dialog);
    case WM_ACTIVATE: return OnActivate(dialog);
    case WM_KILLFOCUS: return OnKillFocus(dialog);
    case WM_TIMER: return OnTimer(dialog, wParam);
    case WM_KEYDOWN: return OnKeyDown(dialog, static_cast<UINT>(wParam));
    case WM_LBUTTONDOWN: return OnPenDown(dialog, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case WM_LBUTTONUP: return OnPenUp(dialog);
    case KeyboardInputMessage: return OnKeyboardInput(dialog, wParam, reinterpret_cast<const WCHAR*>(lParam));
    case kDetailsClosedMessage: return OnDetailsClosed(dialog);
    case MenuCommandMessage: return OnMenuCommand(dialog, static_cast<int>(static_cast<LONG_PTR>(wParam)));
    case WM_CLOSE: return OnClose(dialog);
    case WM_DESTROY: return OnDestroy(dialog);
    default: return FALSE;
  }
}

HWND OpenContactSearchWindow(HINSTANCE instance, HWND owner, const ContactWindowsHost* host) {
  return CreateDialogParam(instance, MAKEINTRESOURCE(kContactListDialog), owner, ContactSearchWindowProc,
                           reinterpret_cast<LPARAM>(host));
}
