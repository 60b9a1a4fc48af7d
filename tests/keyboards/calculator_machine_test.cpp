// The calculator machine on its own: the key sequences a person types, the entry limit, the
// memory, and a randomized comparison with a small reference evaluator of the same rules.
#include "keyboards/calculator_machine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

using Op = CalculatorMachine::Operator;

// Plays keys written as in the keypad's labels, separated by spaces: digits and ".", the
// operators "+ - * / =", "C" (CE/C), "M+", "Ms", "Mr", "sqrt", "%". A number may be written
// whole ("200").
std::u16string Play(CalculatorMachine& m, const std::string& keys) {
  size_t at = 0;
  while (at < keys.size()) {
    size_t end = keys.find(' ', at);
    if (end == std::string::npos) end = keys.size();
    const std::string key = keys.substr(at, end - at);
    at = end + 1;
    if (key == "+") m.PressOperator(Op::kAdd);
    else if (key == "-") m.PressOperator(Op::kSubtract);
    else if (key == "*") m.PressOperator(Op::kMultiply);
    else if (key == "/") m.PressOperator(Op::kDivide);
    else if (key == "=") m.PressOperator(Op::kEquals);
    else if (key == "C") m.ClearEntryOrAll();
    else if (key == "M+") m.MemoryAdd();
    else if (key == "Ms") m.MemoryStore();
    else if (key == "Mr") m.MemoryRecall();
    else if (key == "sqrt") m.SquareRoot();
    else if (key == "%") m.Percent();
    else
      for (char c : key) c == '.' ? m.Point() : m.Digit(static_cast<WCHAR>(c));
  }
  return m.Display();
}

std::u16string U(const char* s) { return std::u16string(s, s + std::char_traits<char>::length(s)); }

TEST(CalculatorMachine, PrecedenceAndRepeatedEquals) {
  CalculatorMachine m;
  EXPECT_EQ(Play(m, "2 + 3 * 4 ="), u"14");
  EXPECT_EQ(Play(m, "="), u"26") << "the last operation was the addition of 12";
  CalculatorMachine n;
  EXPECT_EQ(Play(n, "2 + 3 ="), u"5");
  EXPECT_EQ(Play(n, "="), u"8");
  EXPECT_EQ(Play(n, "="), u"11");
  CalculatorMachine o;
  EXPECT_EQ(Play(o, "5 + ="), u"10");
  CalculatorMachine p;
  EXPECT_EQ(Play(p, "2 * 3 + 4 ="), u"10") << "a lower operator reduces the stack first";
  EXPECT_EQ(Play(p, "- 1 ="), u"9") << "an operator after = continues from the result";
}

TEST(CalculatorMachine, PercentDecimalsReplacedOperatorAndSquareRoot) {
  CalculatorMachine m;
  EXPECT_EQ(Play(m, "200 + 10 %"), u"20");
  EXPECT_EQ(Play(m, "="), u"220");
  CalculatorMachine d;
  EXPECT_EQ(Play(d, "1 . 5 + 2 . 5 ="), u"4");
  CalculatorMachine r;
  EXPECT_EQ(Play(r, "8 - + 2 ="), u"10");
  CalculatorMachine s;
  EXPECT_EQ(Play(s, "9 sqrt"), u"3");
  EXPECT_EQ(Play(s, "+ 1 ="), u"4");
  CalculatorMachine z;
  EXPECT_EQ(Play(z, "%"), u"0") << "percent with nothing stacked";
}

TEST(CalculatorMachine, ClearEntryOnceAndTwice) {
  CalculatorMachine m;
  EXPECT_EQ(Play(m, "7 + 5 C"), u"0");
  EXPECT_EQ(m.CurrentValue(), 0);
  EXPECT_EQ(Play(m, "3 ="), u"10") << "only the entry was cleared";
  CalculatorMachine a;
  EXPECT_EQ(Play(a, "7 + 5 C C 3 ="), u"3") << "twice clears the whole calculation";
  CalculatorMachine b;
  EXPECT_EQ(Play(b, "7 + C 3 ="), u"3") << "right after an operator it clears everything";
}

TEST(CalculatorMachine, MemoryStoreRecallAndAdd) {
  CalculatorMachine m;
  Play(m, "7 Ms C C");
  EXPECT_EQ(Play(m, "Mr"), u"7");
  EXPECT_EQ(Play(m, "* 3 ="), u"21");
  Play(m, "4 M+");
  EXPECT_EQ(m.Memory(), 11);
  EXPECT_EQ(Play(m, "C C Mr"), u"11");
}

TEST(CalculatorMachine, FaultsShowAsPrintedAndEntryStopsAtSixteen) {
  CalculatorMachine m;
  EXPECT_EQ(Play(m, "1 / 0 ="), CalculatorMachine::Format(1.0 / 0.0));
  EXPECT_EQ(m.Display(), u"inf");
  CalculatorMachine n;
  EXPECT_EQ(Play(n, "4 Ms C C 0 - 4 = sqrt"), CalculatorMachine::Format(std::sqrt(-4.0)));
  EXPECT_NE(n.Display().find(u"nan"), std::u16string::npos);
  CalculatorMachine e;
  EXPECT_EQ(Play(e, "12345678901234567"), u"1234567890123456");
  EXPECT_EQ(Play(e, "."), u"1234567890123456") << "no point beyond the limit";
  CalculatorMachine p;
  EXPECT_EQ(Play(p, "1 . . 5"), u"1.5") << "one point per number";
  EXPECT_EQ(Play(p, "* 1000000 ="), u"1.5e+06") << "shown with %g";
}

TEST(CalculatorMachine, NewKeypadClearsTheStacksButKeepsTheMemory) {
  CalculatorMachine m;
  Play(m, "6 Ms + 2");
  m.StartKeypad();
  EXPECT_EQ(m.Display(), u"0");
  EXPECT_EQ(Play(m, "Mr = "), u"6") << "the pending addition is gone";
}

// A small evaluator of the same rules, written as plain data and one function per key, to
// catch the machine diverging on sequences no one would think to write down.
struct Reference {
  double cur = 0, mem = 0, lastY = 0;
  std::vector<double> vals;
  std::vector<int> ops;
  bool fresh = false, dot = false, rep = false;
  int lastOp = 4;
  std::string shown = "0";

  static int Prec(int o) { return o < 2 ? 1 : o < 4 ? 2 : 0; }
  static double Eval(int o, double x, double y) {
    return o == 0 ? x + y : o == 1 ? x - y : o == 2 ? x * y : o == 3 ? x / y : x;
  }
  static std::string G(double v) {
    char t[64];
    std::snprintf(t, sizeof t, "%g", v);
    return t;
  }
  void Parse() { cur = std::strtod(shown.c_str(), nullptr); }
  void Digit(char d) {
    if (shown == "0" || fresh) shown = std::string(1, d), fresh = dot = false;
    else if (shown.size() < 16) shown += d;
    Parse();
  }
  void Dot() {
    if (fresh) shown = "0", fresh = dot = false;
    if (!dot && shown.size() < 16) shown += '.', dot = true;
    Parse();
  }
  bool Shift(int b) {
    for (size_t i = ops.size(); i-- > 0;)
      if (Prec(ops[i]) != Prec(b)) return Prec(ops[i]) < Prec(b);
    return false;
  }
  void Push(int b) {
    if ((ops.empty() || ops.back() != b) && !vals.empty()) cur = vals.back();
    ops.push_back(b);
    if (b != 4) rep = false;
  }
  double Reduce(int b) {
    int n = 0, last = 4;
    double y = 0;
    while (!ops.empty() && ops.back() != 4) {
      last = ops.back();
      ops.pop_back();
      y = vals.back();
      vals.pop_back();
      vals.back() = Eval(last, vals.back(), y);
      ++n;
    }
    if (!ops.empty()) last = 4;
    if (n > 0 || b != 4) {
      lastOp = last, lastY = y, rep = true;
      return vals.back();
    }
    double v = vals.back();
    if (rep) v = Eval(lastOp, v, lastY);
    vals.back() = v;
    return cur = v;
  }
  void Operator(int b) {
    if (!vals.empty() && !ops.empty() && fresh && b != 4) {
      ops.pop_back();
      Push(b);
      return;
    }
    double v;
    if (ops.empty() || ops.back() != 4) {
      const bool first = vals.empty() || Shift(b);
      vals.push_back(cur);
      v = first ? cur : Reduce(b);
      Push(b);
    } else if (b == 4) {
      v = Reduce(4);
    } else {
      v = vals.back();
      vals.assign(1, v), ops.clear(), rep = false;
      Push(b);
    }
    fresh = true;
    shown = G(v);
  }
  void Clear() {
    if (fresh) vals.clear(), ops.clear(), rep = false;
    fresh = true;
    shown = "0";
    cur = 0;
  }
  void Key(int k) {
    if (k < 10) return Digit(static_cast<char>('0' + k));
    switch (k) {
      case 10: return Dot();
      case 11: case 12: case 13: case 14: case 15: return Operator(k - 11);
      case 16: return Clear();
      case 17: mem += std::strtod(shown.c_str(), nullptr); return;
      case 18: mem = std::strtod(shown.c_str(), nullptr); return;
      case 19: shown = G(mem), cur = mem; return;
      case 20: cur = std::sqrt(cur), fresh = true, shown = G(cur); return;
      case 21: cur = vals.empty() ? 0 : cur * vals.back() * 0.01, fresh = true, shown = G(cur); return;
    }
  }
};

void PressKey(CalculatorMachine& m, int k) {
  if (k < 10) return m.Digit(static_cast<WCHAR>(u'0' + k));
  switch (k) {
    case 10: return m.Point();
    case 11: case 12: case 13: case 14: case 15: return m.PressOperator(static_cast<Op>(k - 11));
    case 16: return m.ClearEntryOrAll();
    case 17: return m.MemoryAdd();
    case 18: return m.MemoryStore();
    case 19: return m.MemoryRecall();
    case 20: return m.SquareRoot();
    case 21: return m.Percent();
  }
}

bool SameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

TEST(CalculatorMachine, AgreesWithTheReferenceOverTenThousandRandomSequences) {
  std::mt19937 random(20261206);
  // Digits and operators come up more often than the rarer keys, as when people use it.
  std::discrete_distribution<int> keyOf({5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 3, 6, 6, 6, 6, 8, 2, 1, 1, 1, 1, 2});
  std::uniform_int_distribution<int> lengthOf(1, 40);
  for (int sequence = 0; sequence < 10000; ++sequence) {
    CalculatorMachine m;
    Reference r;
    std::string keys;
    const int length = lengthOf(random);
    for (int i = 0; i < length; ++i) {
      const int k = keyOf(random);
      keys += std::to_string(k) + ' ';
      PressKey(m, k);
      r.Key(k);
      ASSERT_EQ(m.Display(), U(r.shown.c_str())) << "sequence " << sequence << " keys " << keys;
      ASSERT_TRUE(SameValue(m.CurrentValue(), r.cur)) << "sequence " << sequence << " keys " << keys;
      ASSERT_TRUE(SameValue(m.Memory(), r.mem)) << "sequence " << sequence << " keys " << keys;
    }
  }
}

}  // namespace
