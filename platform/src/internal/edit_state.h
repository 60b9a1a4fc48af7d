// The per-window record of an EDIT control and the geometry its modules share
// (edit_control.cpp handles the messages, edit_paint.cpp draws).
#pragma once

#include "internal/edit_buffer.h"

#include <device/edit.h>
#include <device/gdi.h>

#include <unordered_map>
#include <vector>

namespace device::internal {

// Character widths of one font, measured once each with GetTextExtentPoint32. The font is
// selected into the measuring DC only while measuring, so the program may delete its font
// without the control holding it.
class FontMeasure : public CharMeasure {
 public:
  FontMeasure();
  ~FontMeasure() override;
  FontMeasure(const FontMeasure&) = delete;
  FontMeasure& operator=(const FontMeasure&) = delete;

  void SetFont(HFONT font);  // null: the system font
  int Width(char32_t codePoint) override;
  int TabStop() override { return 8 * aveCharWidth_; }
  int LineHeight() const { return lineHeight_; }
  int AveCharWidth() const { return aveCharWidth_; }

 private:
  int Measure(char32_t codePoint);

  HDC dc_ = nullptr;
  HFONT font_ = nullptr;
  int lineHeight_ = 1;
  int aveCharWidth_ = 1;
  std::vector<short> common_;  // widths of U+0000..U+2FFF, -1 until measured
  std::unordered_map<char32_t, int> rare_;
};

constexpr int kEditScrollBarWidth = 13;
constexpr int kEditMargin = 1;  // pixels between the client edge and the text, left and right
constexpr int kEditDefaultLimit = 32767;  // Win32's limit before EM_LIMITTEXT

// What the pen is doing since it went down on the control.
enum class PenAction {
  None,
  Selecting,   // dragging the caret end of the selection
  BarLineUp,   // holding a scroll-bar arrow or the track: repeats on the timer
  BarLineDown,
  BarPageUp,
  BarPageDown,
  BarThumb,    // dragging the thumb
};

struct EditState {
  explicit EditState(HWND window) : hwnd(window), buffer(&measure) {}

  HWND hwnd;
  HWND notify = nullptr;  // receives WM_COMMAND: the parent (or owner) given at creation
  DWORD style = 0;        // GWL_STYLE at creation; EM_SETREADONLY keeps ES_READONLY in step
  FontMeasure measure;    // declared before `buffer`, which measures through it
  EditBuffer buffer;
  HFONT font = nullptr;   // as set by WM_SETFONT; null means the system font
  int anchor = 0;         // the selection end that stays put when the selection is extended
  int caret = 0;          // the moving end, where the caret is drawn
  int firstLine = 0;      // first visible line (multi-line)
  int xOffset = 0;        // pixels scrolled sideways (controls that do not wrap)
  int limit = kEditDefaultLimit;
  int columnX = -1;       // caret x kept while moving up and down through shorter lines
  bool modified = false;
  bool focused = false;
  bool shiftDown = false;  // VK_SHIFT seen down and not yet up: arrow keys extend
  PenAction pen = PenAction::None;
  int thumbGrab = 0;      // pen y minus thumb top while dragging the thumb
  std::vector<INT> advances;  // scratch for drawing one line (per code unit)

  bool Multiline() const { return (style & ES_MULTILINE) != 0; }
  bool ReadOnly() const { return (style & ES_READONLY) != 0; }
  bool Wraps() const { return Multiline() && !(style & ES_AUTOHSCROLL); }
  bool HasScrollBar() const { return Multiline() && (style & WS_VSCROLL); }
  int SelStart() const { return anchor < caret ? anchor : caret; }
  int SelEnd() const { return anchor < caret ? caret : anchor; }
};

EditState* StateOf(HWND hwnd);

// Geometry, in client coordinates.
RECT EditTextRect(const EditState& s);
int EditVisibleLines(const EditState& s);  // whole lines that fit, at least 1
int EditMaxFirstLine(const EditState& s);
int EditLineOriginX(const EditState& s, int line);  // where the line's first character starts
int EditLineTop(const EditState& s, int line);

struct EditScrollBar {
  RECT bar;
  RECT up;      // arrow buttons
  RECT down;
  RECT track;   // between the arrows
  RECT thumb;   // empty when there is nothing to scroll
};
EditScrollBar EditScrollBarParts(const EditState& s);

void PaintEdit(EditState& s, HDC dc, const RECT& update);

}  // namespace device::internal
