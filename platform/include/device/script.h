// Device scripts: a person's session with a program written as text, one command a line, for
// demos and for checking a program from the outside (`program --script FILE`, see the process
// entry). The driver plays them; `#` starts a comment, blank lines are skipped.
//
//   tap X Y                 pen down and up at the screen point, then run until idle
//   stroke X1 Y1 X2 Y2      pen down at the first point, moves, up at the second
//   press KEY               a hardware key: APP1 APP2 APP3 APP4 UP DOWN LEFT RIGHT RETURN
//   wait MS                 advance the virtual clock, running timers, then run until idle
//   shot NAME               write NAME.png into $<prefix>_SHOTS (default ./screenshots)
//   expect-window NAME      a visible window whose class name or title is NAME exists
//   expect-no-window NAME
//   expect-text NAME TEXT   the first visible window of that class or title holds exactly TEXT
//                           (the rest of the line; nothing after NAME expects an empty text)
//   expect-file PATH        a device file or folder exists (the rest of the line; its last
//                           part may hold * and ?)
//   expect-no-file PATH
//   answer BUTTON           press Yes, No, OK or Cancel in the open message box
//
// A NAME holding spaces is written in double quotes ("Save as"). Class names match ignoring
// case, titles exactly; "visible" means the window and all its parents are shown. Numbers are
// decimal; coordinates may lie off the screen (the device clips them), times are 0..3600000.
// Text is UTF-8.
#pragma once

#include <device/driver.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace device {

// What playing a script ended with; also the exit status of `--script`.
enum ScriptStatus : int {
  kScriptPassed = 0,     // every line passed
  kScriptFailed = 1,     // an expectation (or `answer`) failed; the rest was not played
  kScriptMalformed = 2,  // a line is not a command, or the file cannot be read; nothing was played
};

// Checks every line of `text` without playing anything: kScriptPassed, or kScriptMalformed with
// the first bad line reported to `errors` as "FILE:LINE: what is wrong".
ScriptStatus CheckScript(std::string_view fileName, std::string_view text, std::FILE* errors);

// Checks every line of `text`, then plays it against the driver's device. Each line played is
// echoed to `steps` ("FILE:LINE: tap 120 130"; null for quiet); the first failure is reported
// to `errors` as "FILE:LINE: expected ..., found ...". `fileName` only names the lines.
ScriptStatus PlayScript(Driver& driver, std::string_view fileName, std::string_view text, std::FILE* steps,
                        std::FILE* errors);

// Reads a script file whole; false (reported to `errors`) when it cannot be read.
bool ReadScriptFile(const std::string& path, std::string& text, std::FILE* errors);

}  // namespace device
