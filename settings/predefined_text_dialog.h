// The predefined-text dialog (template 122): edits the ordered list of at most 20 texts that
// the Fx keys offer. Texts are typed in the main screen (SetupServices::editText). Modal; it
// joins the window stack while open and saves the settings when a text is added and when it
// closes.
//
// A text is never empty: a cancelled "Add.." adds nothing, and an "Edit.." to an empty text
// removes that text (an empty string would end the stored list early).
#pragma once

#include "settings/setup_services.h"

#include <device/dialogs.h>

int RunPredefinedTextDialog(HWND owner, const SetupServices* services);

BOOL CALLBACK PredefinedTextDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
