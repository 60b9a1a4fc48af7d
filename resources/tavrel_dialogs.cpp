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

constexpr const DialogTemplate* kTemplates[] = {
    &kMainScreenTemplate,
    &kSetupTemplate,
    &kPredefinedTextsTemplate,
    &kLanguageSetupTemplate,
    &kFolderBrowserTemplate,
    &kNotesListTemplate,
};

}  // namespace

void RegisterTavrelDialogs() { RegisterDialogTemplates(kTemplates, std::size(kTemplates)); }
