// The dialog templates of the tavrel program, kept as data and registered once at start-up
// (before any window is created). Templates are found by number: MAKEINTRESOURCE(id).
#pragma once

constexpr int kMainScreenDialog = 101;  // the main screen: full screen, no controls of its own

// Registers every template of the program with the device.
void RegisterTavrelDialogs();
