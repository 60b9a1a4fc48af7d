#include "shell/window_stack.h"

#include <device/dialogs.h>

WindowStack TheWindowStack{};

void PushWindow(HWND window) {
  if (TheWindowStack.count >= kWindowStackRoom) return;
  TheWindowStack.windows[TheWindowStack.count++] = window;
}

void PopWindow(HWND window) {
  if (TheWindowStack.count > 0 && TheWindowStack.windows[TheWindowStack.count - 1] == window) {
    --TheWindowStack.count;
    return;
  }
  MessageBox(window, u"window stack", u"tavrel", MB_OK);
}

HWND TopWindow() {
  return TheWindowStack.count > 0 ? TheWindowStack.windows[TheWindowStack.count - 1] : nullptr;
}
