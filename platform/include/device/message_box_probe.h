// For tests and demo scripts: find the open message box, read it and answer it.
//
// MessageBox runs its own modal loop, so the caller blocks until the box is answered. A
// script that drives a program (device::RunProgramWithScript) gets its turn while that loop
// is idle; there it finds the box, reads it, presses a button and lets the program run:
//
//   HWND box = device::FindMessageBox();
//   EXPECT_EQ(device::MessageBoxText(box), u"Are you sure?");
//   device::PressMessageBoxButton(box, IDYES);
//   driver.RunUntilIdle();   // the box closes and MessageBox returns IDYES
//
// Tapping the button (its rectangle through GetDlgItem(box, IDYES)) or pressing Enter or
// Escape with the driver answers it as a person would. The buttons' control ids are the
// results they give, so GetDlgItem(box, IDNO) also tells which buttons the box has.
// Safe to call from the script thread while the program waits for it.
#pragma once

#include <device/dialogs.h>

#include <string>

namespace device {

// The topmost open message box, or null.
HWND FindMessageBox();
std::u16string MessageBoxText(HWND box);
std::u16string MessageBoxCaption(HWND box);
UINT MessageBoxType(HWND box);  // the MessageBox `type` argument; 0 for a window that is no box
// Posts the click of the button with control id `result`; false when the box has no such
// button. The box acts on it when the program next runs.
bool PressMessageBoxButton(HWND box, int result);

}  // namespace device
