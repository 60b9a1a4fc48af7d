#include "keyboards/calculator_machine.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsOperator(int op) { return op >= CalculatorMachine::kAdd && op <= CalculatorMachine::kEquals; }

}  // namespace

std::u16string CalculatorMachine::Format(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

int CalculatorMachine::Precedence(int op) {
  switch (op) {
    case kAdd:
    case kSubtract: return 1;
    case kMultiply:
    case kDivide: return 2;
    default: return 0;
  }
}

double CalculatorMachine::Apply(int op, double x, double y) {
  switch (op) {
    case kAdd: return x + y;
    case kSubtract: return x - y;
    case kMultiply: return x * y;
    case kDivide: return x / y;
    default: return x;  // equals leaves the value as it is
  }
}

// The display holds only what Format and the digit keys put there, all plain ASCII.
double CalculatorMachine::ParseDisplay() const {
  std::string text(display_.begin(), display_.end());
  return std::strtod(text.c_str(), nullptr);
}

void CalculatorMachine::Show(double value) { display_ = Format(value); }

void CalculatorMachine::ClearStacks() {
  operands_.clear();
  operands_.shrink_to_fit();
  operators_.clear();
  operators_.shrink_to_fit();
  repeatValid_ = false;
}

void CalculatorMachine::StartKeypad() {
  ClearStacks();
  display_ = u"0";
}

void CalculatorMachine::Digit(WCHAR digit) {
  if (digit < u'0' || digit > u'9') return;
  if (display_ == u"0" || newNumber_) {
    display_.assign(1, digit);
    newNumber_ = false;
    point_ = false;
  } else if (display_.size() < kEntryLimit) {
    display_.push_back(digit);
  }
  current_ = ParseDisplay();
}

void CalculatorMachine::Point() {
  if (newNumber_) {
    display_ = u"0";
    newNumber_ = false;
    point_ = false;
  }
  if (!point_ && display_.size() < kEntryLimit) {
    display_.push_back(u'.');
    point_ = true;
  }
  current_ = ParseDisplay();
}

// Scans the stacked operators from the top, skipping those of the new operator's precedence:
// the first one of another precedence decides; a lower one lets the new operator bind more
// tightly (it is stacked), a higher one makes the stack reduce first.
bool CalculatorMachine::Binds(int op) const {
  const int precedence = Precedence(op);
  for (auto it = operators_.rbegin(); it != operators_.rend(); ++it) {
    const int stacked = Precedence(*it);
    if (stacked != precedence) return stacked < precedence;
  }
  return false;
}

void CalculatorMachine::PushOperator(int op) {
  if (operators_.empty() || operators_.back() != op) {
    if (!operands_.empty()) current_ = operands_.back();
  }
  operators_.push_back(op);
  if (op != kEquals) repeatValid_ = false;
}

// Evaluates the stacked operators from the top down, stopping at an equals. A lone "=" with
// nothing to evaluate repeats the last operation on the shown value instead.
double CalculatorMachine::Reduce(int op) {
  int evaluations = 0;
  int lastPopped = kEquals;
  double lastY = 0;
  while (!operators_.empty()) {
    const int stacked = operators_.back();
    operators_.pop_back();
    if (stacked == kEquals || operands_.size() < 2) {
      operators_.push_back(stacked);
      lastPopped = kEquals;
      break;
    }
    const double y = operands_.back();
    operands_.pop_back();
    const double x = operands_.back();
    operands_.pop_back();
    operands_.push_back(Apply(stacked, x, y));
    ++evaluations;
    lastPopped = stacked;
    lastY = y;
  }
  if (evaluations > 0 || op != kEquals) {
    lastOperator_ = lastPopped;
    lastOperand_ = lastY;
    repeatValid_ = true;
    return operands_.empty() ? current_ : operands_.back();
  }
  double value = current_;
  if (!operands_.empty()) {
    value = operands_.back();
    operands_.pop_back();
  }
  if (repeatValid_) value = Apply(lastOperator_, value, lastOperand_);
  operands_.push_back(value);
  current_ = value;
  return value;
}

void CalculatorMachine::PressOperator(Operator op) {
  if (!IsOperator(op)) return;
  const bool stackedEquals = !operators_.empty() && operators_.back() == kEquals;
  // Two operators in a row: the second replaces the first.
  if (!operands_.empty() && !operators_.empty() && newNumber_ && op != kEquals) {
    operators_.pop_back();
    PushOperator(op);
    return;
  }
  double shown;
  if (!stackedEquals) {
    operands_.push_back(current_);
    shown = operands_.size() == 1 || Binds(op) ? current_ : Reduce(op);
    PushOperator(op);
  } else if (op == kEquals) {
    shown = Reduce(op);
  } else {
    // An operator after "=" (with a new number typed) continues from the result.
    operators_.pop_back();
    shown = operands_.empty() ? current_ : operands_.back();
    ClearStacks();
    operands_.push_back(shown);
    PushOperator(op);
  }
  newNumber_ = true;
  Show(shown);
}

void CalculatorMachine::ClearEntryOrAll() {
  if (newNumber_) {
    ClearStacks();
  } else {
    newNumber_ = true;
  }
  display_ = u"0";
  current_ = 0;
}

void CalculatorMachine::MemoryAdd() { memory_ += ParseDisplay(); }

void CalculatorMachine::MemoryStore() { memory_ = ParseDisplay(); }

void CalculatorMachine::MemoryRecall() {
  Show(memory_);
  current_ = memory_;
}

void CalculatorMachine::SquareRoot() {
  current_ = std::sqrt(current_);
  newNumber_ = true;
  Show(current_);
}

void CalculatorMachine::Percent() {
  current_ = operands_.empty() ? 0 : current_ * operands_.back() * 0.01;
  newNumber_ = true;
  Show(current_);
}

CalculatorMachine& TheCalculator() {
  static CalculatorMachine calculator;
  return calculator;
}
