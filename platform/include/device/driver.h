// The test driver: runs the device headless and acts on it like a person with a pen, for UI
// tests and demo scripts. The virtual clock moves only through AdvanceTime.
//
// Two ways to run:
//  (a) A test owns the UI thread. `Driver driver;` starts the device on the calling thread;
//      the test creates windows and every action runs the message loop until idle. A
//      handler that runs a modal loop (a dialog) would wait in GetMessage with nobody left
//      to act, so such flows need mode (b); the device stops with a message if it happens.
//  (b) A program runs its own WinMain and message loop: RunProgramWithScript runs the
//      program on the calling thread and the script on a second thread, in strict lock-step.
//      Whenever the program's GetMessage finds nothing to do (no queued message, no window
//      to paint, no due timer) it hands control to the script, which performs actions until
//      one needs the program to run (input, time, RunUntilIdle); then it hands control back
//      and waits until the program is idle again. Only one of the two threads runs at any
//      time, so the script may read windows and the screen directly (but it posts, rather
//      than sends, anything whose handler may run a modal loop). When the script
//      returns, the program is asked to quit (PostQuitMessage(0)); if the program ends
//      first, the rest of the script runs without a program.
// Either way the device image is a fresh temporary folder (<prefix>_DEVICE), removed at the end,
// except in a program started by a program that runs on a driver's image: it joins that image
// and leaves it in place. RunProgramWithScript may instead take the image $<prefix>_DEVICE names
// (DeviceImage::kFromEnvironment, for `--script`), which is then kept. The driver starts the
// device as the process entry does (installs the image, registers the system classes) and
// resets the shell's state.
#pragma once

#include <device/user.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace device {

class Lockstep;

// Where a driver's device image comes from.
enum class DeviceImage {
  kFresh,            // a fresh temporary folder, removed at the end (see above)
  kFromEnvironment,  // the folder $<prefix>_DEVICE names, created when missing and kept; fresh when unset
};

class Driver {
 public:
  // Mode (a): starts the device headless with the calling thread as its UI thread.
  Driver();
  // Destroys every window left, stops the device and removes the device image.
  ~Driver();
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // Pen, in screen coordinates. Each call lets the device run until idle.
  void Tap(int x, int y);                                     // down and up at one point
  void Stroke(int x0, int y0, int x1, int y1, int moves = 4);  // down, `moves` moves, up
  void PenDown(int x, int y);
  void PenMove(int x, int y);
  void PenUp(int x, int y);

  // Hardware keys (virtual-key codes) and characters, delivered to the focus window.
  void PressKey(UINT virtualKey);  // WM_KEYDOWN then WM_KEYUP
  void KeyDown(UINT virtualKey);
  void KeyUp(UINT virtualKey);
  void TypeChar(char16_t ch);      // WM_CHAR
  void TypeText(std::u16string_view text);

  // Moves the virtual clock forward by `ms`, stopping at each timer's due time so that every
  // timer fires as often, and in the order, it would in real time; then runs until idle.
  void AdvanceTime(std::uint32_t ms);
  // Dispatches messages, paints and due timers until there is nothing left to do.
  void RunUntilIdle();
  std::uint64_t Now() const;  // device milliseconds

  // The first window, topmost first and parents before children, whose class and title
  // match (a null argument matches anything); null when none does.
  HWND Find(LPCWSTR className, LPCWSTR title = nullptr) const;
  std::u16string WindowText(HWND hwnd) const;  // through WM_GETTEXT, as GetWindowText
  COLORREF Pixel(int x, int y) const;          // the screen pixel; CLR_INVALID outside
  // Writes the screen as a PNG (240 x 320). A bare name goes into the shots folder
  // ($<prefix>_SHOTS, default ./screenshots), ".png" is added when missing. Returns the path
  // written (and prints it), or an empty string on failure.
  std::string Screenshot(const std::string& name) const;

  const std::string& DeviceFolder() const { return deviceFolder_; }

 private:
  friend int RunProgramWithScript(const std::function<int()>&, const std::function<void(Driver&)>&, DeviceImage);
  Driver(Lockstep* lockstep, DeviceImage image);
  void Start(DeviceImage image);
  void Settle();  // lets the device run until idle
  void StartDeviceImage(DeviceImage image);

  Lockstep* lockstep_ = nullptr;
  std::string deviceFolder_;
  std::string previousDeviceEnv_;
  bool hadDeviceEnv_ = false;
  bool keepImage_ = false;  // joined the image of the program that started this one, or $<prefix>_DEVICE's
};

// Mode (b): runs `program` (typically a call of the program's WinMain) on the calling thread
// and `script` on a second thread in lock-step as described above; returns what `program`
// returned.
int RunProgramWithScript(const std::function<int()>& program,
                         const std::function<void(Driver&)>& script,
                         DeviceImage image = DeviceImage::kFresh);

}  // namespace device
