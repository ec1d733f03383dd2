// Evaluates a coefficient expression: cuts it into tokens, then rewrites the token string until one
// operand is left.
#include "expression/evaluator.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>
#include <system_error>

#include "core/diagram_state.h"

namespace tv {

namespace {

// Function codes in the token string: SIN, COS, LN, EXP, ABS.
constexpr char kSin = static_cast<char>(0xB3);
constexpr char kCos = static_cast<char>(0xB4);
constexpr char kLn = static_cast<char>(0xB5);
constexpr char kExp = static_cast<char>(0xB6);
constexpr char kAbs = static_cast<char>(0xB7);

// Four characters per entry; entries 1..5 are functions, 6..11 the
// parameters in kEvaluatorOrder.
constexpr std::string_view kKeywords = "SIN$COS$LN$$EXP$ABS$A$$$B$$$T$$$K$$$KSI$W$$$$$$$$$$$";
constexpr int kFirstParameterEntry = 6;
constexpr int kLastEntry = 11;

constexpr std::string_view kOperatorOrder = "^/*-+";

// A recorded sign rule: the operand negated.
constexpr char kNegate = 'n';

// Whole exponents of at most this magnitude are raised by repeated
// multiplication; larger ones by the library power, which takes bounded time.
constexpr double kRepeatedMultiplicationLimit = 32768.0;

bool IsOperand(char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.'; }
bool IsFunctionCode(char c) { return c == kSin || c == kCos || c == kLn || c == kExp || c == kAbs; }
bool IsSingleToken(char c) {
  switch (c) {
    case '!':
    case '(':
    case ')':
    case '*':
    case '+':
    case '-':
    case '/':
    case '^': return true;
    default: return false;
  }
}

// Entry 1..11 of the keyword table, 0 when the name is unknown: the name's
// first four characters padded with '$', searched in the table.
int LookUpName(std::string_view name) {
  std::string key(name);
  key += "$$$$";
  key.resize(4);
  const std::size_t pos = kKeywords.find(key);
  if (pos == std::string_view::npos) return 0;
  const int entry = static_cast<int>(pos / 4) + 1;
  return entry <= kLastEntry ? entry : 0;
}

// A run of digits and points as a decimal number with '.' as the point,
// independent of the regional settings. A lone '.' is 0.
bool ConvertNumber(std::string_view run, double& value) {
  int points = 0;
  for (char c : run) points += c == '.' ? 1 : 0;
  if (points > 1) return false;
  if (run == ".") {
    value = 0;
    return true;
  }
  const char* first = run.data();
  const char* last = first + run.size();
  const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
  // A run too long to be a double (far beyond any 80-character text) is refused.
  return ec == std::errc() && end == last;
}

double Factorial(int n) {
  double r = 1;
  for (int i = 2; i <= n; ++i) r *= i;
  return r;
}

// The token string being rewritten, with the operands' values. Texts are at
// most 80 characters, so the string is rewritten in place.
class Reduction {
 public:
  // With a recording, every operation on the slots is written into it.
  Reduction(const TokenString& tokens, const ParameterValues& params,
            RecordedReduction* recording = nullptr);
  // False when LN or a factorial failed; the string is then left as it is.
  bool Run();
  bool Result(double& value) const;
  // The slot of the one operand left, or -1.
  int ResultSlot() const { return length_ == 1 && IsOperand(chars_[0]) ? chars_[0] - 'a' : -1; }

 private:
  // 1-based character of the token string; outside it reads as a space.
  char At(int i) const {
    return i >= 1 && i <= length_ ? chars_[static_cast<std::size_t>(i - 1)] : ' ';
  }
  void Delete(int i, int count = 1) {
    char* at = chars_.data() + (i - 1);
    std::memmove(at, at + count, static_cast<std::size_t>(length_ - (i - 1) - count));
    length_ -= count;
  }
  double& Slot(char letter) { return slots_[static_cast<std::size_t>(letter - 'a')]; }
  void Record(char op, char x, char y = 'a') {
    if (recording_)
      recording_->Steps.push_back(
          {op, static_cast<std::uint8_t>(x - 'a'), static_cast<std::uint8_t>(y - 'a')});
  }

  void SignRule(int i);
  void SimplifySigns();
  enum class Outcome { Nothing, Reduced, Failed };
  Outcome ApplyFunction();
  bool ReduceOperator(char op);

  std::array<char, kLongestExpression> chars_;
  int length_ = 0;
  std::array<double, kOperandLetters> slots_{};
  RecordedReduction* recording_ = nullptr;
};

Reduction::Reduction(const TokenString& tokens, const ParameterValues& params,
                     RecordedReduction* recording)
    : chars_(tokens.Chars), length_(tokens.Count), recording_(recording) {
  for (std::size_t i = 0; i < static_cast<std::size_t>(tokens.Operands); ++i) {
    const int from = tokens.Parameter[i];
    slots_[i] =
        from < 0 ? tokens.Numbers[i] : params.*kParameters[static_cast<std::size_t>(from)].Value;
  }
}

// A sign right before an operand: '+' goes; '-' negates the operand unless a
// power or a factorial of it still has to be taken first.
void Reduction::SignRule(int i) {
  const char x = At(i + 1);
  if (!IsOperand(x)) return;
  const char c = At(i);
  if (c == '-') {
    const char after = At(i + 2);
    if (after != '^' && after != '!') {
      double& v = Slot(x);
      v = -v;
      Record(kNegate, x);
      Delete(i);
    }
  } else if (c == '+') {
    Delete(i);
  }
}

void Reduction::SimplifySigns() {
  SignRule(1);
  for (int i = 1; i <= length_ - 3; ++i) {
    if (At(i) == '(') SignRule(i + 1);
  }
  int i = 1;
  while (i <= length_ - 2) {
    if (At(i) == '(' && IsOperand(At(i + 1)) && At(i + 2) == ')') {
      Delete(i + 2);
      Delete(i);
    } else {
      ++i;
    }
  }
}

Reduction::Outcome Reduction::ApplyFunction() {
  for (int i = 1; i <= length_ - 1; ++i) {
    const char code = At(i);
    const char x = At(i + 1);
    if (!IsFunctionCode(code) || !IsOperand(x)) continue;
    double& v = Slot(x);
    if (code == kSin) {
      v = std::sin(v);
    } else if (code == kCos) {
      v = std::cos(v);
    } else if (code == kLn) {
      if (!(v > 0)) return Outcome::Failed;
      v = std::log(v);
    } else if (code == kExp) {
      v = std::exp(v);
    } else {
      v = std::fabs(v);
    }
    Record(code, x);
    Delete(i);
    return Outcome::Reduced;
  }
  for (int i = 2; i <= length_; ++i) {
    const char x = At(i - 1);
    if (At(i) != '!' || !IsOperand(x)) continue;
    double& v = Slot(x);
    // The range test comes first so that the conversion to int is always defined.
    if (!(v >= 0 && v < 33) || v != std::trunc(v)) return Outcome::Failed;
    v = Factorial(static_cast<int>(v));
    Record('!', x);
    Delete(i);
    return Outcome::Reduced;
  }
  return Outcome::Nothing;
}

// The first x op y that nothing on either side keeps waiting, reduced.
bool Reduction::ReduceOperator(char op) {
  for (int i = 1; i <= length_ - 2; ++i) {
    const char x = At(i);
    const char y = At(i + 2);
    if (!IsOperand(x) || At(i + 1) != op || !IsOperand(y)) continue;
    const char l = At(i - 1);
    const char r = At(i + 3);
    bool skip = false;
    switch (op) {
      case '+':
      case '-':
        skip = r == '*' || r == '/' || r == '^' || r == '!' || l == '^' || l == '*' || l == '/' ||
               l == '-';
        break;
      case '*': skip = r == '^' || r == '!' || l == '^' || l == '/'; break;
      case '/':
        // A division by zero is never done: the '/' stays and the text ends invalid.
        skip = r == '^' || r == '!' || l == '^' || l == '/';
        if (!skip && Slot(y) == 0) {
          skip = true;
          // The way the reduction goes from here depends on the values.
          if (recording_) recording_->Replayable = false;
        }
        break;
      default:  // '^'
        skip = l == '^';
        break;
    }
    if (skip) continue;
    double& a = Slot(x);
    const double b = Slot(y);
    switch (op) {
      case '+': a = a + b; break;
      case '-': a = a - b; break;
      case '*': a = a * b; break;
      case '/': a = a / b; break;
      default: a = RealPower(a, b); break;
    }
    Record(op, x, y);
    Delete(i + 1, 2);
    return true;
  }
  return false;
}

bool Reduction::Run() {
  // Every pass that goes on has removed at least one character, so there are
  // at most as many passes as characters.
  int before = 0;
  do {
    before = length_;
    for (char op : kOperatorOrder) {
      SimplifySigns();
      const Outcome f = ApplyFunction();
      if (f == Outcome::Failed) return false;
      if (f == Outcome::Reduced || ReduceOperator(op)) break;
    }
  } while (length_ < before);
  return true;
}

bool Reduction::Result(double& value) const {
  if (length_ != 1 || !IsOperand(chars_[0])) return false;
  value = slots_[static_cast<std::size_t>(chars_[0] - 'a')];
  return true;
}

// Base to a whole power of magnitude n.
double WholePower(double base, double n) {
  if (n < kRepeatedMultiplicationLimit) {
    double r = 1;
    const int count = static_cast<int>(n);
    for (int i = 0; i < count; ++i) r *= base;
    return r;
  }
  return std::pow(base, n);
}

}  // namespace

bool CutIntoTokens(std::string_view text, TokenString& tokens) {
  tokens.Count = 0;
  tokens.Operands = 0;
  // The rewriting takes time growing with the square of the length: a longer
  // text, which no caller produces, is refused before any work.
  if (text.size() > kLongestExpression) return false;
  const std::array<char, 5> codes{kSin, kCos, kLn, kExp, kAbs};
  auto add = [&](char c) { tokens.Chars[static_cast<std::size_t>(tokens.Count++)] = c; };
  // No letter left for one more operand: the text is refused.
  auto operand = [&](int parameter, double number) {
    if (tokens.Operands >= kOperandLetters) return false;
    const auto i = static_cast<std::size_t>(tokens.Operands);
    tokens.Parameter[i] = static_cast<std::int8_t>(parameter);
    tokens.Numbers[i] = number;
    add(static_cast<char>('a' + tokens.Operands));
    ++tokens.Operands;
    return true;
  };
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (IsSingleToken(c)) {
      add(c);
      ++pos;
    } else if (IsUpper(c)) {
      std::size_t end = pos;
      while (end < text.size() && IsUpper(text[end])) ++end;
      const int entry = LookUpName(text.substr(pos, end - pos));
      if (entry == 0) return false;
      if (entry < kFirstParameterEntry) {
        add(codes[static_cast<std::size_t>(entry - 1)]);
      } else {
        const Parameter p = kEvaluatorOrder[static_cast<std::size_t>(entry - kFirstParameterEntry)];
        if (!operand(static_cast<int>(p), 0)) return false;
      }
      pos = end;
    } else if (IsNumberChar(c)) {
      std::size_t end = pos;
      while (end < text.size() && IsNumberChar(text[end])) ++end;
      double value = 0;
      if (!ConvertNumber(text.substr(pos, end - pos), value)) return false;
      if (!operand(-1, value)) return false;
      pos = end;
    } else {
      return false;
    }
  }
  return true;
}

Evaluation EvaluateTokens(const TokenString& tokens, const ParameterValues& params) {
  Reduction reduction(tokens, params);
  double value = 0;
  if (!reduction.Run() || !reduction.Result(value)) return Evaluation{0, false};
  return Evaluation{value, true};
}

RecordedReduction RecordReduction(const TokenString& tokens, const ParameterValues& params) {
  RecordedReduction recording;
  recording.Replayable = true;
  Reduction reduction(tokens, params, &recording);
  // LN or a factorial refused these values; other values may pass.
  if (!reduction.Run()) recording.Replayable = false;
  recording.Result = reduction.ResultSlot();
  return recording;
}

Evaluation ReplayReduction(const RecordedReduction& recording, const TokenString& tokens,
                           const ParameterValues& params) {
  if (!recording.Replayable) return EvaluateTokens(tokens, params);
  std::array<double, kOperandLetters> slot;
  for (std::size_t i = 0; i < static_cast<std::size_t>(tokens.Operands); ++i) {
    const int from = tokens.Parameter[i];
    slot[i] =
        from < 0 ? tokens.Numbers[i] : params.*kParameters[static_cast<std::size_t>(from)].Value;
  }
  // The same operations as the rewriting, in its order, so the same bits; a
  // value that would have sent the rewriting another way (a division by 0,
  // LN or a factorial refused) hands over to it.
  for (const ReductionStep& step : recording.Steps) {
    double& a = slot[step.A];
    const double b = slot[step.B];
    switch (step.Op) {
      case kNegate: a = -a; break;
      case '+': a = a + b; break;
      case '-': a = a - b; break;
      case '*': a = a * b; break;
      case '/':
        if (b == 0) return EvaluateTokens(tokens, params);
        a = a / b;
        break;
      case '^': a = RealPower(a, b); break;
      case kSin: a = std::sin(a); break;
      case kCos: a = std::cos(a); break;
      case kLn:
        if (!(a > 0)) return EvaluateTokens(tokens, params);
        a = std::log(a);
        break;
      case kExp: a = std::exp(a); break;
      case kAbs: a = std::fabs(a); break;
      default:  // '!'
        if (!(a >= 0 && a < 33) || a != std::trunc(a)) return EvaluateTokens(tokens, params);
        a = Factorial(static_cast<int>(a));
        break;
    }
  }
  if (recording.Result < 0) return Evaluation{0, false};
  return Evaluation{slot[static_cast<std::size_t>(recording.Result)], true};
}

double RealPower(double base, double exponent) {
  if (base == 0) return 0;
  const double magnitude = std::fabs(exponent);
  double r = 1;  // also the answer for a negative base and a fractional power
  if (exponent == std::trunc(exponent)) {
    r = WholePower(base, magnitude);
  } else if (base > 0) {
    r = std::exp(magnitude * std::log(base));
  }
  if (exponent < 0) r = 1 / r;
  return r;
}

Evaluation EvaluateExpression(std::string_view text, const ParameterValues& params) {
  TokenString tokens;
  if (!CutIntoTokens(text, tokens)) return Evaluation{0, false};
  return EvaluateTokens(tokens, params);
}

Evaluation EvaluateExpression(std::string_view text, const DiagramState& s) {
  return EvaluateExpression(text, ParametersOf(s));
}

}  // namespace tv
