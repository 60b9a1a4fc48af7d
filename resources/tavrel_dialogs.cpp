// The dialog templates of tavrel, one constant record per dialog, in the order of their ids.
#include "resources/tavrel_dialogs.h"

#include "resources/setup_templates.h"

#include <device/dialogs.h>

#include <iterator>

namespace {

// 101 main screen: a captionless pop-up that covers the screen. It has no controls of its
// own: the main screen makes its menu bar, editor, prediction bar and keyboard itself. The
// 8-point "MS Sans Serif" dialog font has base units of 6 x 12 pixels, so 160 x 213 dialog
// units give the 240 x 320 screen.
constexpr DialogTemplate kMainScreenTemplate{
    kMainScreenDialog, u"", WS_POPUP, 0, 0, 160, 213, u"MS Sans Serif", 8, {}};

constexpr const DialogTemplate* kTemplates[] = {
    &kMainScreenTemplate,
    &kSetupTemplate,
    &kPredefinedTextsTemplate,
    &kLanguageSetupTemplate,
};

}  // namespace

void RegisterTavrelDialogs() { RegisterDialogTemplates(kTemplates, std::size(kTemplates)); }
