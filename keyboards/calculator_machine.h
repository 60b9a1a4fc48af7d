// The calculator of the calculator keypad, with no window: a four-function machine with
// memory, square root and percent, operator precedence and a repeated "=". The keypad window
// maps its keys to these calls and shows Display(); tests drive the machine directly.
//
// Operators are stacked with their operands; precedence (add and subtract 1, multiply and
// divide 2, equals 0) only decides whether a new operator is stacked or first reduces the
// stack, and a reduction evaluates every stacked operator from the top down. So 2 + 3 * 4 =
// gives 14, and a further = repeats the last operation (adds 12 again).
//
// Where a reader might expect otherwise:
// - A reduction that finds fewer than two operands for an operator stops there instead of
//   reading past the stack; with the keys this cannot happen, but the machine never relies on it.
// - Division by zero and the square root of a negative number follow double arithmetic; the
//   display shows whatever "%g" prints for them ("inf", "-nan").
#pragma once

#include <device/win_types.h>

#include <string>
#include <vector>

class CalculatorMachine {
 public:
  enum Operator : int { kAdd = 0, kSubtract = 1, kMultiply = 2, kDivide = 3, kEquals = 4 };

  // The display holds at most this many characters of typed entry.
  static constexpr size_t kEntryLimit = 16;

  // A keypad was made: empty stacks, no operation to repeat, the display "0". Memory, the
  // current value and the entry flags stay, as they live for the whole run.
  void StartKeypad();

  void Digit(WCHAR digit);  // '0'-'9'
  void Point();
  void PressOperator(Operator op);
  void ClearEntryOrAll();  // "CE/C": the entry while a number is typed, else everything
  void MemoryAdd();        // "M+"
  void MemoryStore();      // "Ms"
  void MemoryRecall();     // "Mr"
  void SquareRoot();
  void Percent();

  const std::u16string& Display() const { return display_; }
  double CurrentValue() const { return current_; }
  double Memory() const { return memory_; }

  // Numbers as the display shows them: "%g".
  static std::u16string Format(double value);

 private:
  static int Precedence(int op);
  static double Apply(int op, double x, double y);
  double ParseDisplay() const;
  void Show(double value);
  void ClearStacks();
  bool Binds(int op) const;  // the new operator is stacked instead of reducing
  void PushOperator(int op);
  double Reduce(int op);

  double current_ = 0;
  std::vector<double> operands_;
  std::vector<int> operators_;
  bool newNumber_ = false;  // the next digit or point starts a new number
  bool point_ = false;      // the number being typed has its decimal point
  double memory_ = 0;
  int lastOperator_ = kEquals;  // what a repeated "=" repeats
  double lastOperand_ = 0;
  bool repeatValid_ = false;
  std::u16string display_ = u"0";
};

// The process's one calculator: its state lives from start to exit, across keypads.
CalculatorMachine& TheCalculator();
