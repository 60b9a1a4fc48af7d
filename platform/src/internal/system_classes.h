// Registration of the device's system window classes (the standard controls). Each function
// registers one class for the process; calling it again does nothing. Device start-up calls
// them all; platform tests may call them directly.
#pragma once

namespace device::internal {

void RegisterEditClass();  // "EDIT" (edit_control.cpp)

}  // namespace device::internal
