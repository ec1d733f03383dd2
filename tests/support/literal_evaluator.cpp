// The first, literal evaluator and coefficient extraction, kept as the oracle the compiled ones
// must match bit for bit.
#include "support/literal_evaluator.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <system_error>

namespace tv::oracle {

namespace {

// Function codes in the token string: SIN, COS, LN, EXP, ABS.
constexpr char kSin = static_cast<char>(0xB3);
constexpr char kCos = static_cast<char>(0xB4);
constexpr char kLn = static_cast<char>(0xB5);
constexpr char kExp = static_cast<char>(0xB6);
constexpr char kAbs = static_cast<char>(0xB7);

// Four characters per entry; entries 1..5 are functions, 6..11 parameters.
constexpr std::string_view kKeywords = "SIN$COS$LN$$EXP$ABS$A$$$B$$$T$$$K$$$KSI$W$$$$$$$$$$$";
constexpr int kFirstParameterEntry = 6;
constexpr int kLastEntry = 11;

constexpr std::string_view kOperatorOrder = "^/*-+";

constexpr int kSlotCount = 26;

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

// Entry 1..11 of the keyword table, 0 when the name is unknown.
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

class Reduction {
 public:
  // False when the text cannot be tokenized.
  bool Tokenize(std::string_view text, const ParameterValues& params);
  // False when LN or a factorial failed; the string is then left as it is.
  bool Run();
  bool Result(double& value) const;

 private:
  // 1-based character of the token string; outside it reads as a space.
  char At(long i) const {
    return i >= 1 && i <= Length() ? tokens_[static_cast<std::size_t>(i - 1)] : ' ';
  }
  long Length() const { return static_cast<long>(tokens_.size()); }
  void Delete(long i, long count = 1) {
    tokens_.erase(static_cast<std::size_t>(i - 1), static_cast<std::size_t>(count));
  }
  double& Slot(char letter) { return slots_[static_cast<std::size_t>(letter - 'a')]; }
  bool AddOperand(double value);

  void SignRule(long i);
  void SimplifySigns();
  enum class Outcome { Nothing, Reduced, Failed };
  Outcome ApplyFunction();
  bool ReduceOperator(char op);

  std::string tokens_;
  std::array<double, kSlotCount> slots_{};
  int operands_ = 0;
};

bool Reduction::AddOperand(double value) {
  if (operands_ >= kSlotCount) return false;  // no letter left for it
  slots_[static_cast<std::size_t>(operands_)] = value;
  tokens_ += static_cast<char>('a' + operands_);
  ++operands_;
  return true;
}

bool Reduction::Tokenize(std::string_view text, const ParameterValues& params) {
  const std::array<double, 6> variables{params.A, params.B,   params.T,
                                        params.K, params.Ksi, params.W};
  const std::array<char, 5> codes{kSin, kCos, kLn, kExp, kAbs};
  tokens_.clear();
  operands_ = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (IsSingleToken(c)) {
      tokens_ += c;
      ++pos;
    } else if (IsUpper(c)) {
      std::size_t end = pos;
      while (end < text.size() && IsUpper(text[end])) ++end;
      const int entry = LookUpName(text.substr(pos, end - pos));
      if (entry == 0) return false;
      if (entry < kFirstParameterEntry) {
        tokens_ += codes[static_cast<std::size_t>(entry - 1)];
      } else if (!AddOperand(variables[static_cast<std::size_t>(entry - kFirstParameterEntry)])) {
        return false;
      }
      pos = end;
    } else if (IsNumberChar(c)) {
      std::size_t end = pos;
      while (end < text.size() && IsNumberChar(text[end])) ++end;
      double value = 0;
      if (!ConvertNumber(text.substr(pos, end - pos), value)) return false;
      if (!AddOperand(value)) return false;
      pos = end;
    } else {
      return false;
    }
  }
  return true;
}

// A sign right before an operand: '+' goes; '-' negates the operand unless a
// power or a factorial of it still has to be taken first.
void Reduction::SignRule(long i) {
  const char x = At(i + 1);
  if (!IsOperand(x)) return;
  const char c = At(i);
  if (c == '-') {
    const char after = At(i + 2);
    if (after != '^' && after != '!') {
      double& v = Slot(x);
      v = -v;
      Delete(i);
    }
  } else if (c == '+') {
    Delete(i);
  }
}

void Reduction::SimplifySigns() {
  SignRule(1);
  for (long i = 1; i <= Length() - 3; ++i) {
    if (At(i) == '(') SignRule(i + 1);
  }
  long i = 1;
  while (i <= Length() - 2) {
    if (At(i) == '(' && IsOperand(At(i + 1)) && At(i + 2) == ')') {
      Delete(i + 2);
      Delete(i);
    } else {
      ++i;
    }
  }
}

Reduction::Outcome Reduction::ApplyFunction() {
  for (long i = 1; i <= Length() - 1; ++i) {
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
    Delete(i);
    return Outcome::Reduced;
  }
  for (long i = 2; i <= Length(); ++i) {
    const char x = At(i - 1);
    if (At(i) != '!' || !IsOperand(x)) continue;
    double& v = Slot(x);
    // The range test comes first so that the conversion to int is always defined.
    if (!(v >= 0 && v < 33) || v != std::trunc(v)) return Outcome::Failed;
    v = Factorial(static_cast<int>(v));
    Delete(i);
    return Outcome::Reduced;
  }
  return Outcome::Nothing;
}

bool Reduction::ReduceOperator(char op) {
  for (long i = 1; i <= Length() - 2; ++i) {
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
        skip = r == '^' || r == '!' || Slot(y) == 0 || l == '^' || l == '/';
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
    Delete(i + 1, 2);
    return true;
  }
  return false;
}

bool Reduction::Run() {
  // Every pass that goes on has removed at least one character, so there are
  // at most as many passes as characters.
  long before = 0;
  do {
    before = Length();
    for (char op : kOperatorOrder) {
      SimplifySigns();
      const Outcome f = ApplyFunction();
      if (f == Outcome::Failed) return false;
      if (f == Outcome::Reduced || ReduceOperator(op)) break;
    }
  } while (Length() < before);
  return true;
}

bool Reduction::Result(double& value) const {
  if (tokens_.size() != 1 || !IsOperand(tokens_[0])) return false;
  value = slots_[static_cast<std::size_t>(tokens_[0] - 'a')];
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
  Reduction reduction;
  double value = 0;
  if (!reduction.Tokenize(text, params) || !reduction.Run() || !reduction.Result(value)) {
    return Evaluation{0, false};
  }
  return Evaluation{value, true};
}

namespace {

constexpr int kHighestPower = 5;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text with p^k set to 1 and every other power of p set to 0. Clears
// valid when the P set to 1 has a digit right before it ('2P', '3P^2').
std::string WorkText(const std::string& spaceless, int k, bool& valid) {
  std::string work = spaceless;
  for (char& c : work) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  for (int j = 1; j <= kHighestPower; ++j) {
    if (j == k) continue;
    const std::string power{'P', '^', static_cast<char>('0' + j)};
    const std::size_t at = work.find(power);
    if (at != std::string::npos) work.replace(at, power.size(), "000");
    if (j == 1) {
      // The plain P of the first power: only when it is the first P left.
      const std::size_t p = work.find('P');
      if (p != std::string::npos && (p + 1 >= work.size() || work[p + 1] != '^')) work[p] = '0';
    }
  }
  const std::size_t p = work.find('P');
  if (p != std::string::npos) {
    if (p > 0 && IsDigit(work[p - 1])) valid = false;
    work[p] = '1';
  }
  return work;
}

}  // namespace

bool ExtractCoefficients(std::string_view text, const ParameterValues& params,
                         CoefficientSet& coeffs) {
  std::string spaceless;
  spaceless.reserve(text.size());
  for (char c : text) {
    if (c != ' ') spaceless += c;
  }
  coeffs.fill(0.0);
  bool valid = true;
  for (int k = 0; k <= kHighestPower; ++k) {
    const Evaluation e = EvaluateExpression(WorkText(spaceless, k, valid), params);
    coeffs[static_cast<std::size_t>(k)] = k == 0 ? e.Value : e.Value - coeffs[0];
    if (!e.Ok) valid = false;
  }
  return valid;
}

}  // namespace tv::oracle
