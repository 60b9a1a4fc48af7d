#include "tools/assign/assign_program.h"

#include "resources/setup_templates.h"
#include "tools/assign/assign_dialog.h"
#include "tools/assign/assign_window.h"

int RunAssign(HINSTANCE instance, LPCWSTR commandLine) {
  const AssignRequest request = MakeAssignRequest(commandLine);
  HWND running = FindWindow(kAssignClassName, kAssignTitle);
  if (running != nullptr) {
    SetForegroundWindow(running);
    return 0;
  }
  RegisterWindowClass(instance, kAssignClassRow);
  RegisterAssignDialogs();
  HWND window = CreateWindowEx(0, kAssignClassName, kAssignTitle, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                               const_cast<AssignRequest*>(&request));
  if (window == nullptr) return 0;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return 0;
}
