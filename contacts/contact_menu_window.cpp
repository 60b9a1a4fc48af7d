// The contact menu (template 110): twelve entry buttons in six bands of two as a
// PagedButtonList over the FieldSelection, the kind-3 menu, and saving into the store.
#include "contacts/contact_menu_window.h"

#include "common/full_screen.h"
#include "common/messages.h"
#include "contacts/contact_fields.h"
#include "contacts/contacts_setup_dialog.h"
#include "drawing/back_buffer.h"
#include "drawing/font_table.h"
#include "drawing/paged_button_list.h"
#include "drawing/text_drawing.h"
#include "resources/tavrel_dialogs.h"
#include "settings/settings_store.h"

#include <device/dialogs.h>
#include <device/shell.h>

#include <algorithm>
#include <string>

namespace {

constexpr int kEntryButtonCount = 12;
constexpr int kBandHeight = 48;
constexpr int kFirstBandTop = 28;   // with the menu always shown; 12 pixels higher without
constexpr int kMenuOffShift = 12;
constexpr int kLeftButtonRight = 186;
constexpr int kRightButtonLeft = 55;
constexpr int kLeftButtonSlot = 2;
constexpr int kRightButtonSlot = 1;
constexpr COLORREF kTransparent = 0x00F2FF;
constexpr COLORREF kEntryLabelColour = 0x46B9DB;
constexpr COLORREF kValueGrey = 0xB3B3B3;

// Image slots 0-2: menu_ures, newcontact_01 (right buttons), newcontact_02 (left buttons).
constexpr int kMenuImages[] = {29, 0, 1};

constexpr WCHAR kFontFace[] = u"MS SANS SERIF";
constexpr WCHAR kValueMarker[] = u"~!;";
constexpr WCHAR kDateHint[] = u"(day/month/year)";
constexpr std::size_t kLongLabel = 200;  // a longer label is cut to its first 198 characters
constexpr std::size_t kCutLabel = 198;

constexpr UINT_PTR kFullScreenTimer = 1;
constexpr UINT kFullScreenDelayMs = 100;

enum MenuCommand { kSetupCommand = 0, kPreviousCommand = 1, kNextCommand = 2, kSaveCommand = 3 };

struct ContactMenuState {
  const ContactWindowsHost* host;
  ContactRecord* given;          // the details window's contact; null for a new contact
  ContactRecord record;          // the contact being edited
  bool modal;                    // run by the details window (ended by EndDialog)
  FieldEntryList selection;      // the FieldSelection with the value texts
  FieldEntryList unused;         // the entries not in use (the setup dialog fills it)
  ButtonSpec buttons[kEntryButtonCount];
  PagedButtonList list;          // page = the contact menu's page; itemCount = selection size
  int titleFont, buttonFont, smallFont;
  HWND menu;                     // the bar (Menu on) or the pop-up grid, while it exists
};

ContactMenuState* State(HWND dialog) { return reinterpret_cast<ContactMenuState*>(GetWindowLong(dialog, GWL_USERDATA)); }

bool MenuAlwaysShown() { return TheSettings().Menu != 0; }

// Button 2k is the left button of band k, 2k + 1 the right one; the two overlap in the middle.
ButtonSpec EntryButton(int index, bool menuShown) {
  const int top = kFirstBandTop + kBandHeight * (index / 2) - (menuShown ? 0 : kMenuOffShift);
  const bool left = index % 2 == 0;
  return ButtonSpec{.left = left ? 0 : kRightButtonLeft,
                    .top = top,
                    .right = left ? kLeftButtonRight : kScreenWidth,
                    .bottom = top + kBandHeight,
                    .imageSlot = left ? kLeftButtonSlot : kRightButtonSlot,
                    .transparentColour = kTransparent,
                    .textColour = kValueGrey};
}

// ---- labels ----

std::u16string EntryButtonLabel(const ContactFieldEntry& entry) {
  std::u16string label(entry.label);
  if (entry.valueText) label += kValueMarker + *entry.valueText;
  if (label.size() > kLongLabel) label.resize(kCutLabel);
  return label;
}

void SetButtonLabels(ContactMenuState& s) {
  s.list.itemCount = s.selection.Count();
  for (int i = 0; i < kEntryButtonCount; ++i) {
    const ContactFieldEntry* entry = s.selection.At(ListItemAt(s.list, i));
    SetButtonLabel(s.buttons[i], entry != nullptr ? EntryButtonLabel(*entry).c_str() : u"");
  }
}

RECT Shifted(RECT rect, int state) {
  if (state == kButtonPressed) OffsetRect(&rect, 1, 1);
  return rect;
}

void DrawContactMenuLabels(HWND, const ButtonSpec& b, int state, int) {
  if (b.label[0] == 0) return;
  const std::u16string text(b.label);
  const std::size_t marker = text.find(kValueMarker);
  const std::u16string label = text.substr(0, marker);
  const std::u16string value = marker == std::u16string::npos ? u"" : text.substr(marker + 3);
  const bool left = b.left <= 19;
  const RECT labelBox = left ? RECT{b.left + 7, b.top + 5, b.left + 55, b.bottom} : RECT{b.right - 55, b.top + 8, b.right - 7, b.bottom};
  const RECT valueBox = left ? RECT{b.right - 125, b.top + 7, b.right - 7, b.bottom} : RECT{b.left + 7, b.top + 30, b.left + 125, b.bottom};
  HDC back = BackBufferDC();
  HFONT font = GetAppFont(b.fontId);
  DrawPlainText(back, Shifted(labelBox, state), label.c_str(), font, kEntryLabelColour, left ? DT_LEFT : DT_RIGHT);
  DrawFittedText(back, Shifted(valueBox, state), value.c_str(), font, kValueGrey, DT_CENTER | kCutEndWithEllipsis);
}

void Redraw(HWND dialog, const ContactMenuState& s) { RedrawList(dialog, s.list); }

// ---- editing ----

void EditEntry(HWND dialog, ContactMenuState& s, ContactFieldEntry& entry) {
  std::u16string title(entry.label);
  if (entry.fieldId == kAnniversaryId || entry.fieldId == kBirthdayId) title += kDateHint;
  WCHAR text[kFieldEditRoom] = {};
  const std::u16string value = entry.valueText.value_or(u"");
  value.copy(text, std::min<std::size_t>(value.size(), kFieldEditRoom - 1));
  s.host->editText(dialog, title.c_str(), text, kFieldEditRoom, entry.numeric != 0);
  // A cancelled edit brings the text back unchanged; it is parsed again all the same.
  if (text[0] == 0) return;
  ParseFieldValue(s.record, entry.fieldId, text);
  entry.valueText = std::u16string(text);
  SetButtonLabels(s);
  Redraw(dialog, s);
}

void RunSetup(HWND dialog, ContactMenuState& s) {
  if (!MenuAlwaysShown() && IsWindow(s.menu)) {
    DestroyWindow(s.menu);
    s.menu = nullptr;
  }
  const ContactSetupParams params{s.host, &s.selection, &s.unused};
  RunContactSetupDialog(reinterpret_cast<HINSTANCE>(GetWindowLong(dialog, GWL_HINSTANCE)), dialog, &params);
  ResetList(s.list, s.selection.Count());
  SetButtonLabels(s);
  Redraw(dialog, s);
  PostMessage(dialog, kContactMenuFullScreenMessage, 0, 0);
}

void ChangePage(HWND dialog, ContactMenuState& s, bool (*move)(PagedButtonList&)) {
  if (!move(s.list)) return;
  SetButtonLabels(s);
  Redraw(dialog, s);
}

void Close(HWND dialog, const ContactMenuState& s) {
  if (s.modal) EndDialog(dialog, 0);
  else PostMessage(dialog, WM_CLOSE, 0, 0);  // the menu is inside its own handler
}

// An edited contact is stored as a new one in place of the old (a new Oid, which only grows).
void StoreEditedContact(ContactMenuState& s) {
  const LONG oldOid = s.record.Oid;
  ContactRecord probe;
  const bool stored = PoomReadContactById(oldOid, probe, false) == kPoomOk;
  const LONG newOid = PoomReplaceContact(oldOid, s.record);
  if (!stored || newOid <= oldOid) return;
  ContactListRemove(oldOid);
  s.record.Oid = newOid;
  ContactListInsert(CopyContactRecord(s.record));
  if (s.given != nullptr) *s.given = CopyContactRecord(s.record);
}

void Save(HWND dialog, ContactMenuState& s) {
  if (IsEmptyRecord(s.record)) {
    Close(dialog, s);
    return;
  }
  if (s.record.Oid == -1) {
    s.record.Oid = PoomCreateContact(s.record);
    ReloadContacts();
  } else {
    StoreEditedContact(s);
  }
  Close(dialog, s);
}

// ---- messages ----

BOOL OnMenuCommand(HWND dialog, int command) {
  ContactMenuState& s = *State(dialog);
  switch (command) {
    case kSetupCommand: RunSetup(dialog, s); break;
    case kPreviousCommand: ChangePage(dialog, s, PreviousListPage); break;
    case kNextCommand: ChangePage(dialog, s, NextListPage); break;
    case kSaveCommand: Save(dialog, s); break;
    default: Close(dialog, s); break;
  }
  return TRUE;
}

BOOL OnPenDown(HWND dialog, int x, int y) {
  ContactMenuState& s = *State(dialog);
  s.list.pressed = -1;
  PressListButton(dialog, s.list, x, y);
  return TRUE;
}

BOOL OnPenUp(HWND dialog) {
  ContactMenuState& s = *State(dialog);
  const int pressed = TakePressedListButton(s.list);
  if (pressed < 0) return TRUE;
  ContactFieldEntry* entry = s.selection.At(ListItemAt(s.list, pressed));
  if (entry != nullptr) EditEntry(dialog, s, *entry);
  if (IsWindow(dialog)) DrawListButton(dialog, s.list, pressed, kButtonNormal);
  return TRUE;
}

BOOL OnKeyDown(HWND dialog, UINT key) {
  ContactMenuState& s = *State(dialog);
  const bool shown = IsWindow(s.menu);
  if (shown && MenuAlwaysShown()) SendMessage(s.menu, WM_KEYDOWN, key, 0);
  else if (key == VK_RETURN && !shown && !MenuAlwaysShown()) s.menu = s.host->createMenu(dialog, kContactMenuMenuKind, true);
  return TRUE;
}

BOOL OnActivate(HWND dialog) {
  SetTimer(dialog, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  return TRUE;
}

BOOL OnTimer(HWND dialog, UINT_PTR id) {
  KillTimer(dialog, id);
  if (id != kFullScreenTimer || State(dialog)->host->topWindow() != dialog) return TRUE;
  SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SHFullScreen(dialog, kFullScreenFlags);
  return TRUE;
}

BOOL OnFullScreenAgain(HWND dialog) {
  SHFullScreen(dialog, kFullScreenFlags);
  return TRUE;
}

BOOL OnEraseBackground(HWND dialog) {
  Redraw(dialog, *State(dialog));
  SetWindowLong(dialog, DWL_MSGRESULT, 1);
  return TRUE;
}

// ---- life ----

void CreateFontsAndPanel(HWND dialog, ContactMenuState& s) {
  s.titleFont = CreateAppFont(kFontFace, 18, false, true);
  s.buttonFont = CreateAppFont(kFontFace, 12, false, false);
  s.smallFont = CreateAppFont(kFontFace, 13, false, false);
  for (int i = 0; i < kEntryButtonCount; ++i) s.buttons[i] = EntryButton(i, MenuAlwaysShown());
  s.list.buttons = s.buttons;
  s.list.buttonCount = kEntryButtonCount;
  s.list.rowCount = kEntryButtonCount;
  s.list.drawLabels = DrawContactMenuLabels;
  s.list.focusShown = false;
  s.list.panel = RegisterButtonPanel(dialog, s.buttons, kEntryButtonCount, kMenuImages, 3, s.buttonFont);
}

BOOL OnInitDialog(HWND dialog, const ContactWindowParams* params) {
  auto* s = new ContactMenuState{};
  s->host = params->host;
  s->given = params->record;
  s->modal = params->record != nullptr;
  SetWindowLong(dialog, GWL_USERDATA, reinterpret_cast<LONG_PTR>(s));
  s->host->pushWindow(dialog);
  SetWindowPos(dialog, nullptr, 0, 0, kScreenWidth, kScreenHeight, SWP_NOZORDER);
  if (MenuAlwaysShown()) s->menu = s->host->createMenu(dialog, kContactMenuMenuKind, false);
  CreateFontsAndPanel(dialog, *s);
  LoadFieldSelection(s->selection);
  if (s->given != nullptr) s->record = CopyContactRecord(*s->given);
  else ClearContactRecord(s->record, -1);
  FormatFieldValue(s->selection, s->record);
  ResetList(s->list, s->selection.Count());
  SetButtonLabels(*s);
  SetTimer(dialog, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  return TRUE;
}

BOOL OnClose(HWND dialog) {
  if (State(dialog)->modal) EndDialog(dialog, 0);
  else DestroyWindow(dialog);
  return TRUE;
}

BOOL OnDestroy(HWND dialog) {
  ContactMenuState* s = State(dialog);
  s->host->popWindow(dialog);
  UnregisterButtonPanel(s->list.panel);
  for (int font : {s->titleFont, s->buttonFont, s->smallFont}) DeleteAppFont(font);
  SetWindowLong(dialog, GWL_USERDATA, 0);
  delete s;  // releases both selection lists
  RaiseOwnerFullScreen(dialog);
  return FALSE;
}

}  // namespace

BOOL CALLBACK ContactMenuWindowProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Messages before WM_INITDIALOG or after WM_DESTROY find no state.
  if (msg != WM_INITDIALOG && State(dialog) == nullptr) return FALSE;
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, reinterpret_cast<const ContactWindowParams*>(lParam));
    case WM_ERASEBKGND: return OnEraseBackground(dialog);
    case WM_ACTIVATE: return OnActivate(dialog);
    case WM_TIMER: return OnTimer(dialog, wParam);
    case WM_KEYDOWN: return OnKeyDown(dialog, static_cast<UINT>(wParam));
    case WM_LBUTTONDOWN: return OnPenDown(dialog, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case WM_LBUTTONUP: return OnPenUp(dialog);
    case kContactMenuFullScreenMessage: return OnFullScreenAgain(dialog);
    case MenuCommandMessage: return OnMenuCommand(dialog, static_cast<int>(static_cast<LONG_PTR>(wParam)));
    case WM_CLOSE: return OnClose(dialog);
    case WM_DESTROY: return OnDestroy(dialog);
    default: return FALSE;
  }
}

void RunContactMenuWindow(HINSTANCE instance, HWND owner, const ContactWindowParams* params) {
  DialogBoxParam(instance, MAKEINTRESOURCE(kContactMenuDialog), owner, ContactMenuWindowProc,
                 reinterpret_cast<LPARAM>(params));
}

HWND OpenNewContactMenu(HINSTANCE instance, HWND owner, const ContactWindowsHost* host) {
  // The dialog reads its parameters during creation only.
  const ContactWindowParams params{host, nullptr};
  HWND dialog = CreateDialogParam(instance, MAKEINTRESOURCE(kContactMenuDialog), owner, ContactMenuWindowProc,
                                  reinterpret_cast<LPARAM>(&params));
  // The shared template is not visible of itself (the folder browser runs it modally).
  if (dialog != nullptr) ShowWindow(dialog, SW_SHOW);
  return dialog;
}
