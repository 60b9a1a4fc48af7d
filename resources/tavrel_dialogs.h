// The dialog templates of the tavrel program, kept as data and registered once at start-up
// (before any window is created). Templates are found by number: MAKEINTRESOURCE(id).
#pragma once

constexpr int kMainScreenDialog = 101;  // the main screen: full screen, no controls of its own
constexpr int kFolderBrowserDialog = 110;  // the folder browser: full screen, no controls
constexpr int kNotesListDialog = 117;  // the notes list: full screen, the preview control 1057

// Registers every template of the program with the device.
void RegisterTavrelDialogs();
