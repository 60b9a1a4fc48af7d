// The dialog templates of tavrel, one constant record per dialog, in the order of their ids.
#include "resources/tavrel_dialogs.h"

#include "resources/setup_templates.h"

#include <device/dialogs.h>
#include <device/edit.h>

#include <iterator>

namespace {

// 101 main screen: a captionless pop-up that covers the screen. It has no controls of its
// own: the main screen makes its menu bar, editor, prediction bar and keyboard itself. The
// 8-point "MS Sans Serif" dialog font has base units of 6 x 12 pixels, so 160 x 213 dialog
// units give the 240 x 320 screen.
constexpr DialogTemplate kMainScreenTemplate{
    kMainScreenDialog, u"", WS_POPUP, 0, 0, 160, 213, u"MS Sans Serif", 8, {}};

// 110 folder browser: an empty full-screen pop-up; the browser draws its grid and buttons.
constexpr DialogTemplate kFolderBrowserTemplate{
    kFolderBrowserDialog, u"", WS_POPUP, 0, 0, 160, 213, u"MS Sans Serif", 8, {}};

// 117 notes list: full screen, with the note preview as its only control (read-only,
// multi-line, bordered, vertical scroll bar; id 1057). The list places the preview itself.
constexpr DialogItem kNotesListItems[] = {
    {1057, u"EDIT", u"", WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 0, 160, 78},
};
constexpr DialogTemplate kNotesListTemplate{
    kNotesListDialog, u"", WS_POPUP | WS_VISIBLE, 0, 0, 160, 213, u"MS Sans Serif", 8, kNotesListItems};

// 111 contacts setup: the two lists and their buttons; the shell adds the Done button. The
// 8-point "System" font, as the shell's own setup dialogs use.
constexpr DWORD kSetupLabel = WS_VISIBLE | SS_LEFT;
constexpr DWORD kSetupPush = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kSetupList = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DialogItem kContactSetupItems[] = {
    {IDC_STATIC,       u"STATIC",  u"Use these:",       kSetupLabel, 2,   2,  36, 8},
    {kSetupUsedList,   u"LISTBOX", nullptr,             kSetupList,  1,   11, 99, 61},
    {kSetupUp,         u"BUTTON",  u"Up",               kSetupPush,  103, 10, 32, 14},
    {kSetupDown,       u"BUTTON",  u"Down",             kSetupPush,  103, 26, 32, 14},
    {kSetupRemove,     u"BUTTON",  u"Remove",           kSetupPush,  103, 58, 32, 14},
    {IDC_STATIC,       u"STATIC",  u"Don't use these:", kSetupLabel, 2,   81, 54, 8},
    {kSetupUnusedList, u"LISTBOX", nullptr,             kSetupList,  0,   91, 99, 69},
    {kSetupAdd,        u"BUTTON",  u"Add",              kSetupPush,  103, 91, 32, 14},
};
constexpr DialogTemplate kContactSetupTemplate{kContactSetupDialog, u"Contact details - setup",
                                               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME,
                                               0, 0, 139, 166, u"System", 8, kContactSetupItems};

// 112 contact list and 121 contact details: empty full-screen pop-ups; the windows draw their
// rows, keyboard and pages themselves.
constexpr DialogTemplate kContactListTemplate{
    kContactListDialog, u"", WS_POPUP | WS_VISIBLE, 0, 0, 160, 213, u"MS Sans Serif", 8, {}};
constexpr DialogTemplate kContactDetailsTemplate{
    kContactDetailsDialog, u"", WS_POPUP | WS_VISIBLE, 0, 0, 160, 213, u"MS Sans Serif", 8, {}};

constexpr const DialogTemplate* kTemplates[] = {
    &kMainScreenTemplate,
    &kSetupTemplate,
    &kPredefinedTextsTemplate,
    &kLanguageSetupTemplate,
    &kFolderBrowserTemplate,
    &kNotesListTemplate,
    &kContactSetupTemplate,
    &kContactListTemplate,
    &kContactDetailsTemplate,
};

}  // namespace

void RegisterTavrelDialogs() { RegisterDialogTemplates(kTemplates, std::size(kTemplates)); }
