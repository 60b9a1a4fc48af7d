// The dialog templates of the tavrel program, kept as data and registered once at start-up
// (before any window is created). Templates are found by number: MAKEINTRESOURCE(id).
#pragma once

constexpr int kMainScreenDialog = 101;  // the main screen: full screen, no controls of its own
constexpr int kFolderBrowserDialog = 110;  // the folder browser: full screen, no controls
constexpr int kNotesListDialog = 117;  // the notes list: full screen, the preview control 1057
// The contact menu shares the folder browser's empty full-screen template.
constexpr int kContactMenuDialog = kFolderBrowserDialog;
constexpr int kContactSetupDialog = 111;    // the contacts setup: the controls below
constexpr int kContactListDialog = 112;     // the contact list: full screen, no controls
constexpr int kContactDetailsDialog = 121;  // the contact details: full screen, no controls

// Controls of the contacts setup (111).
constexpr int kSetupUsedList = 1006;    // "Use these:"
constexpr int kSetupUnusedList = 1026;  // "Don't use these:"
constexpr int kSetupUp = 1029;
constexpr int kSetupDown = 1030;
constexpr int kSetupRemove = 1027;
constexpr int kSetupAdd = 1028;

// Registers every template of the program with the device.
void RegisterTavrelDialogs();
