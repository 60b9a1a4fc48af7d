// Registration of the device's system window classes (the standard controls). Each function
// registers one class for the process; calling it again does nothing. Device start-up calls
// them all; platform tests may call them directly.
#pragma once

#include <device/user.h>

namespace device::internal {

// Registers a control class the way every standard control is: the arrow cursor, one pointer of
// window extra bytes for the control's state, no background brush. Does nothing when the class
// exists.
void RegisterControlClass(LPCWSTR name, WNDPROC procedure);

void RegisterEditClass();  // "EDIT" (edit_control.cpp)
void RegisterDialogClass();    // "#32770" (dialog.cpp), also used by MessageBox
void RegisterButtonClass();    // "BUTTON" (button.cpp)
void RegisterStaticClass();    // "STATIC" (static_control.cpp)
void RegisterListBoxClass();   // "LISTBOX" and "ComboLBox", a combo box's list (listbox.cpp)
void RegisterComboBoxClass();  // "COMBOBOX" (combobox.cpp)
void RegisterRichInkClass();   // "richink", the rich-ink control stand-in (richink.cpp)

}  // namespace device::internal
