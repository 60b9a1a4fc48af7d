// Templates 119, 122, 123 and 103 as data. Positions are dialog units of the 8-point
// "MS Sans Serif" dialog font (6 x 12 pixel base units: 160 x 213 units cover the screen).
#include "resources/setup_templates.h"

#include <device/edit.h>

#include <iterator>

namespace {

constexpr DWORD kLabel = WS_VISIBLE | SS_LEFT;
constexpr DWORD kPush = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefault = WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kCheck = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kRadio = WS_VISIBLE | BS_AUTORADIOBUTTON;
constexpr DWORD kFirstRadio = kRadio | WS_GROUP | WS_TABSTOP;
constexpr DWORD kDropDown = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kList = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME;

// The setup dialog. Below the controls every setup offers come the word pairs, the keypad's
// hand and the notes folder.
constexpr DialogItem kSetupItems[] = {
    {IDC_STATIC, u"STATIC", u"Gesture sensitivness:", kLabel, 8, 8, 83, 8},
    {kSetupLow, u"BUTTON", u"low", kFirstRadio, 8, 20, 27, 10},
    {kSetupMedium, u"BUTTON", u"medium", kRadio, 58, 20, 42, 10},
    {kSetupHigh, u"BUTTON", u"high", kRadio, 112, 20, 30, 10},
    {kSetupPredefinedKeys, u"BUTTON", u"Predefined keys..", kPush | WS_GROUP, 5, 43, 70, 14},
    {kSetupLanguages, u"BUTTON", u"Languages...", kPush, 80, 43, 65, 14},
    {IDC_STATIC, u"STATIC", u"Phone press timer:", kLabel, 8, 67, 63, 8},
    {kSetupPhoneTimer, u"COMBOBOX", nullptr, kDropDown, 79, 65, 66, 94},
    {kSetupAddSpace, u"BUTTON", u"Add space after suggested word", kCheck, 8, 90, 144, 10},
    {kSetupAutoRepeat, u"BUTTON", u"Auto repeat", kCheck, 8, 106, 140, 10},
    {kSetupShowPredict, u"BUTTON", u"Mark suggested next keys", kCheck, 8, 122, 138, 10},
    {kSetupMenu, u"BUTTON", u"Show menu always", kCheck, 8, 138, 130, 10},
    {kSetupAssign, u"BUTTON", u"Assign to hardware key..", kPush, 8, 160, 93, 14},
    {IDOK, u"BUTTON", u"OK", kDefault, 105, 160, 41, 14},
    {kSetupLearnPairs, u"BUTTON", u"Learn word pairs", kCheck, 8, 148, 130, 10},
    {kSetupRightHanded, u"BUTTON", u"right-handed", kFirstRadio, 8, 175, 60, 10},
    {kSetupLeftHanded, u"BUTTON", u"left-handed", kRadio, 80, 175, 60, 10},
    {IDC_STATIC, u"STATIC", u"Notes:", kLabel, 8, 189, 24, 8},
    {kSetupDirectory, u"EDIT", nullptr, WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 34, 187, 112, 12},
};

constexpr DialogItem kPredefinedTextsItems[] = {
    {kTextsList, u"LISTBOX", nullptr, kList, 1, 1, 95, 166},
    {kTextsAdd, u"BUTTON", u"Add..", kPush, 100, 1, 56, 14},
    {kTextsRemove, u"BUTTON", u"Remove", kPush, 100, 19, 56, 14},
    {kTextsEdit, u"BUTTON", u"Edit..", kPush, 100, 37, 56, 14},
    {kTextsUp, u"BUTTON", u"Up", kPush, 100, 61, 56, 14},
    {kTextsDown, u"BUTTON", u"Down", kPush, 100, 79, 56, 14},
    {IDOK, u"BUTTON", u"Ok", kDefault, 100, 153, 56, 14},
};

constexpr DialogItem kLanguageSetupItems[] = {
    {IDC_STATIC, u"STATIC", u"Use these:", kLabel, 4, 4, 64, 8},
    {kLanguagesUsed, u"LISTBOX", nullptr, kList | LBS_SORT, 4, 14, 64, 120},
    {IDC_STATIC, u"STATIC", u"Don't use these:", kLabel, 92, 4, 64, 8},
    {kLanguagesUnused, u"LISTBOX", nullptr, kList | LBS_SORT, 92, 14, 64, 120},
    {kLanguagesUse, u"BUTTON", u"<<", kPush, 71, 50, 18, 14},
    {kLanguagesDrop, u"BUTTON", u">>", kPush, 71, 70, 18, 14},
    {IDOK, u"BUTTON", u"OK", kDefault, 59, 142, 42, 14},
};

constexpr DialogItem kAssignItems[] = {
    {kAssignCheck, u"BUTTON", u"Assign this software to a hardware button", kCheck, 6, 10, 148, 10},
    {kAssignButtons, u"COMBOBOX", nullptr, kDropDown | CBS_SORT, 6, 28, 100, 80},
    {IDOK, u"BUTTON", u"OK", kDefault, 112, 27, 40, 14},
};

}  // namespace

const DialogTemplate kSetupTemplate{kSetupDialog, u"Tavrel 1.0 - setup", kDialogStyle, 0, 0, 160, 213,
                                    u"MS Sans Serif", 8, kSetupItems};
const DialogTemplate kPredefinedTextsTemplate{kPredefinedTextsDialog, u"", WS_POPUP | WS_VISIBLE, 0, 0, 160, 213,
                                              u"MS Sans Serif", 8, kPredefinedTextsItems};
const DialogTemplate kLanguageSetupTemplate{kLanguageSetupDialog, u"Languages", kDialogStyle, 0, 0, 160, 213,
                                            u"MS Sans Serif", 8, kLanguageSetupItems};

namespace {
const DialogTemplate kAssignTemplate{kAssignDialog, u"Assign", kDialogStyle, 0, 0, 160, 213, u"MS Sans Serif", 8,
                                     kAssignItems};
constexpr const DialogTemplate* kAssignTemplates[] = {&kAssignTemplate};
}  // namespace

void RegisterAssignDialogs() { RegisterDialogTemplates(kAssignTemplates, std::size(kAssignTemplates)); }
