// The edit control's text and display lines; see internal/edit_buffer.h for the line rules.
#include "internal/edit_buffer.h"

#include <algorithm>

namespace device::internal {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

void EditBuffer::Configure(bool multiline, bool wrap, int wrapWidth) {
  multiline_ = multiline;
  wrap_ = multiline && wrap;
  wrapWidth_ = wrapWidth;
  LayoutAll();
}

void EditBuffer::Relayout() { LayoutAll(); }

void EditBuffer::SetText(std::u16string_view text) {
  text_.assign(text);
  LayoutAll();
}

int EditBuffer::Advance(int index, int x, int& units) const {
  const char16_t c = text_[index];
  units = 1;
  if (c == u'\t') {
    const int stop = std::max(1, measure_->TabStop());
    return stop - (std::max(0, x) % stop);
  }
  if (IsBreak(c)) return 0;
  char32_t cp = c;
  if (IsHighSurrogate(c) && index + 1 < Length() && IsLowSurrogate(text_[index + 1])) {
    cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text_[index + 1] - 0xDC00);
    units = 2;
  }
  return measure_->Width(cp);
}

EditBuffer::Break EditBuffer::BreakLine(int start) const {
  const int n = Length();
  int x = 0;
  int wordStart = -1;  // the latest place after blanks where the line may be broken
  int widthAtWordStart = 0;
  for (int i = start; i < n;) {
    const char16_t c = text_[i];
    if (IsBreak(c)) {
      const int next = (c == u'\r' && i + 1 < n && text_[i + 1] == u'\n') ? i + 2 : i + 1;
      return Break{next, x, false};
    }
    if (i > start && !IsBlank(c) && IsBlank(text_[i - 1])) {
      wordStart = i;
      widthAtWordStart = x;
    }
    int units = 1;
    const int w = Advance(i, x, units);
    // Blanks may hang past the edge; anything else that does not fit starts a new line,
    // taking its whole word along when the word began on this line.
    if (wrap_ && i > start && !IsBlank(c) && x + w > wrapWidth_) {
      if (wordStart > start) return Break{wordStart, widthAtWordStart, false};
      return Break{i, x, false};
    }
    x += w;
    i += units;
  }
  return Break{n, x, true};
}

void EditBuffer::LayoutAll() {
  lines_.clear();
  int pos = 0;
  for (;;) {
    const Break b = BreakLine(pos);
    lines_.push_back(Line{pos, b.width});
    if (b.last) break;
    pos = b.next;
  }
}

EditBuffer::Change EditBuffer::Replace(int from, int to, std::u16string_view with) {
  from = std::clamp(from, 0, Length());
  to = std::clamp(to, from, Length());
  const int delta = static_cast<int>(with.size()) - (to - from);
  const int oldCount = LineCount();
  const int editLine = LineFromChar(from);
  // Two lines back: removing text can pull a word up onto the line before, and that line's
  // own break may depend on the word that follows it.
  const int first = std::max(0, editLine - 2);
  text_.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), with);
  const int editEnd = from + static_cast<int>(with.size());

  std::vector<Line> fresh;
  int pos = lines_[first].start;
  int resume = oldCount;  // old line from which the old layout holds again (shifted)
  for (int old = first + 1;;) {
    const Break b = BreakLine(pos);
    fresh.push_back(Line{pos, b.width});
    if (b.last) break;
    pos = b.next;
    // Past the changed text, a line that starts where an old line started (shifted) is laid
    // out exactly as before, and so is everything after it.
    if (pos >= editEnd) {
      const int oldPos = pos - delta;
      while (old < oldCount && lines_[old].start < oldPos) ++old;
      if (old < oldCount && lines_[old].start == oldPos) {
        resume = old;
        break;
      }
    }
  }

  int firstChanged = editLine;
  for (int k = first; k < editLine && k - first < static_cast<int>(fresh.size()); ++k) {
    const Line& now = fresh[static_cast<size_t>(k - first)];
    if (now.start != lines_[k].start || now.width != lines_[k].width) {
      firstChanged = k;
      break;
    }
  }
  lines_.erase(lines_.begin() + first, lines_.begin() + resume);
  lines_.insert(lines_.begin() + first, fresh.begin(), fresh.end());
  const size_t tail = static_cast<size_t>(first) + fresh.size();
  if (delta != 0) {
    for (size_t k = tail; k < lines_.size(); ++k) lines_[k].start += delta;
  }
  Change change;
  change.firstLine = std::min(firstChanged, LineCount() - 1);
  change.lastLine = static_cast<int>(tail) - 1;
  change.countChanged = LineCount() != oldCount;
  return change;
}

int EditBuffer::LineLength(int line) const {
  const int start = lines_[line].start;
  int end = line + 1 < LineCount() ? lines_[line + 1].start : Length();
  if (multiline_ && end > start) {
    if (text_[end - 1] == u'\n') {
      --end;
      if (end > start && text_[end - 1] == u'\r') --end;  // a CR LF pair is one break
    } else if (text_[end - 1] == u'\r') {
      --end;
    }
  }
  return end - start;
}

bool EditBuffer::EndsSoftly(int line) const {
  if (line + 1 >= LineCount()) return false;
  const char16_t last = text_[lines_[line + 1].start - 1];
  return !IsBreak(last);
}

int EditBuffer::LineFromChar(int index) const {
  auto it = std::upper_bound(lines_.begin(), lines_.end(), index,
                             [](int i, const Line& l) { return i < l.start; });
  return std::max(0, static_cast<int>(it - lines_.begin()) - 1);
}

int EditBuffer::XOfChar(int line, int index) const {
  const int end = std::min(index, LineEnd(line));
  int x = 0;
  for (int i = LineStart(line); i < end;) {
    int units = 1;
    x += Advance(i, x, units);
    i += units;
  }
  return x;
}

int EditBuffer::CharFromX(int line, int x) const {
  const int start = LineStart(line);
  int end = LineEnd(line);
  if (EndsSoftly(line) && end > start) end = PreviousBoundary(end);
  int cx = 0;
  for (int i = start; i < end;) {
    int units = 1;
    const int w = Advance(i, cx, units);
    if (x < cx + (w + 1) / 2) return i;
    cx += w;
    i += units;
  }
  return end;
}

int EditBuffer::PreviousBoundary(int index) const {
  if (index <= 0) return 0;
  index = std::min(index, Length());
  if (index >= 2) {
    const char16_t a = text_[index - 2];
    const char16_t b = text_[index - 1];
    if ((a == u'\r' && b == u'\n') || (IsHighSurrogate(a) && IsLowSurrogate(b))) return index - 2;
  }
  return index - 1;
}

int EditBuffer::NextBoundary(int index) const {
  if (index >= Length()) return Length();
  index = std::max(index, 0);
  if (index + 1 < Length()) {
    const char16_t a = text_[index];
    const char16_t b = text_[index + 1];
    if ((a == u'\r' && b == u'\n') || (IsHighSurrogate(a) && IsLowSurrogate(b))) return index + 2;
  }
  return index + 1;
}

}  // namespace device::internal
