// The dialog templates of the settings dialogs of tavrel (setup 119, predefined texts 122,
// language setup 123) and of the button tool assign (103), with their control ids.
#pragma once

#include <device/dialogs.h>

// --- 119 setup ---
constexpr int kSetupDialog = 119;
constexpr int kSetupLow = 1066;            // radio buttons of the gesture sensitivity
constexpr int kSetupMedium = 1065;
constexpr int kSetupHigh = 1064;
constexpr int kSetupPredefinedKeys = 1015;
constexpr int kSetupLanguages = 1016;
constexpr int kSetupPhoneTimer = 1070;     // drop-down list, entries carry 1..5
constexpr int kSetupAddSpace = 1005;
constexpr int kSetupAutoRepeat = 1069;
constexpr int kSetupShowPredict = 1071;
constexpr int kSetupMenu = 1072;
constexpr int kSetupLearnPairs = 1073;
constexpr int kSetupLeftHanded = 1061;     // radio pair of the keypad layout
constexpr int kSetupRightHanded = 1062;
constexpr int kSetupDirectory = 1068;      // the notes folder
constexpr int kSetupAssign = 1014;

// --- 122 predefined texts ---
constexpr int kPredefinedTextsDialog = 122;
constexpr int kTextsList = 1006;
constexpr int kTextsAdd = 1028;
constexpr int kTextsRemove = 1027;
constexpr int kTextsEdit = 1057;
constexpr int kTextsUp = 1017;
constexpr int kTextsDown = 1016;

// --- 123 language setup ---
constexpr int kLanguageSetupDialog = 123;
constexpr int kLanguagesUsed = 1006;       // "Use these:"
constexpr int kLanguagesUnused = 1026;     // "Don't use these:"
constexpr int kLanguagesUse = 1028;        // "<<"
constexpr int kLanguagesDrop = 1027;       // ">>"

// --- 103 assign (the button tool) ---
constexpr int kAssignDialog = 103;
constexpr int kAssignCheck = 1004;
constexpr int kAssignButtons = 1001;

extern const DialogTemplate kSetupTemplate;
extern const DialogTemplate kPredefinedTextsTemplate;
extern const DialogTemplate kLanguageSetupTemplate;

// Registers template 103 with the device (assign's only dialog).
void RegisterAssignDialogs();
