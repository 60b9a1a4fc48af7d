// The text of an edit control and its division into display lines.
//
// Lines end at a line break (CR LF, or a lone CR or LF, which count as one break each) and,
// when a wrap width is set, where the next word no longer fits: a line is broken after the
// last run of spaces or tabs that fits, and a word wider than the whole line is broken between
// characters. Spaces at a soft break stay at the end of their line and may hang past the
// wrap width. A single-line buffer treats line breaks as ordinary (invisible) characters.
//
// Editing relays out from two lines before the change and stops as soon as a new line start
// meets an old one beyond the changed text, so typing costs a few lines of measuring, not the
// whole text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace device::internal {

// How wide a character is drawn; the edit control answers from its font.
class CharMeasure {
 public:
  virtual ~CharMeasure() = default;
  virtual int Width(char32_t codePoint) = 0;  // pixels
  virtual int TabStop() = 0;                  // distance between tab stops, pixels (> 0)
};

class EditBuffer {
 public:
  // What a change did to the line list, for repainting only what moved.
  struct Change {
    int firstLine;    // first line whose text or start changed
    int lastLine;     // last such line (in the new numbering)
    bool countChanged;  // lines were added or removed: everything below firstLine moved
  };

  explicit EditBuffer(CharMeasure* measure) : measure_(measure) { lines_.push_back({0, 0}); }

  // Multi-line buffers break at CR/LF; wrapWidth <= 0 turns word wrap off. Both relayout.
  void Configure(bool multiline, bool wrap, int wrapWidth);
  // Measures everything again (after a font change).
  void Relayout();

  const std::u16string& Text() const { return text_; }
  int Length() const { return static_cast<int>(text_.size()); }
  void SetText(std::u16string_view text);
  // Replaces [from, to) by `with`.
  Change Replace(int from, int to, std::u16string_view with);

  int LineCount() const { return static_cast<int>(lines_.size()); }
  int LineStart(int line) const { return lines_[line].start; }
  // Characters of the line without its line break (a soft-broken line keeps its spaces).
  int LineLength(int line) const;
  int LineEnd(int line) const { return LineStart(line) + LineLength(line); }
  int LineWidth(int line) const { return lines_[line].width; }
  bool EndsSoftly(int line) const;  // broken by wrapping, not by a line break
  int LineFromChar(int index) const;

  // Pixel offset of `index` from the start of its line (index within [start, end]).
  int XOfChar(int line, int index) const;
  // The character boundary on `line` nearest to pixel offset x. On a soft-broken line the
  // result stays before the line's last character, so that it is shown on this line.
  int CharFromX(int line, int x) const;
  // Width of the character at `index` drawn at pixel offset x (tabs depend on x); sets
  // `units` to the code units it takes (2 for a surrogate pair).
  int Advance(int index, int x, int& units) const;

  // A CR LF pair (or a surrogate pair) before/after `index` counts as one step.
  int PreviousBoundary(int index) const;
  int NextBoundary(int index) const;

 private:
  struct Line {
    int start;
    int width;  // pixels, including spaces at a soft break
  };
  struct Break {
    int next;   // start of the following line; == Length() for the last line
    int width;
    bool last;  // no line follows
  };

  Break BreakLine(int start) const;
  void LayoutAll();
  bool IsBreak(char16_t c) const { return multiline_ && (c == u'\r' || c == u'\n'); }

  CharMeasure* measure_;
  std::u16string text_;
  std::vector<Line> lines_;  // never empty; lines_[0].start == 0
  bool multiline_ = false;
  bool wrap_ = false;
  int wrapWidth_ = 0;
};

}  // namespace device::internal
