// Evaluates a coefficient expression by rewriting its token string until one operand is left.
#include "expression/evaluator.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
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

// Four characters per entry; entries 1..5 are functions, 6..11 parameters.
constexpr std::string_view kKeywords = "SIN$COS$LN$$EXP$ABS$A$$$B$$$T$$$K$$$KSI$W$$$$$$$$$$$";
constexpr int kFirstParameterEntry = 6;
constexpr int kLastEntry = 11;

constexpr std::string_view kOperatorOrder = "^/*-+";

constexpr int kSlotCount = kOperandLetters;

// Texts are at most 80 characters (their positions fit in one byte); the
// rewriting takes time growing with the square of the length, so a longer
// text, which no caller produces, is refused before it is tokenized.
constexpr std::size_t kLongestText = kLongestExpression;

// Whole exponents of at most this magnitude are raised by repeated
// multiplication; larger ones by the library power, which takes bounded time.
constexpr double kRepeatedMultiplicationLimit = 32768.0;

// Position of each character in the operator order, -1 for the others.
constexpr std::array<signed char, 256> kOperatorRanks = [] {
  std::array<signed char, 256> ranks{};
  ranks.fill(-1);
  for (std::size_t k = 0; k < kOperatorOrder.size(); ++k)
    ranks[static_cast<unsigned char>(kOperatorOrder[k])] = static_cast<signed char>(k);
  return ranks;
}();

int OperatorRank(char c) { return kOperatorRanks[static_cast<unsigned char>(c)]; }

// For each character, bit k set when it keeps the operator of rank k waiting
// as the character before (left) or after (right) the candidate; see Skipped.
constexpr int kDivisionRank = 1;
constexpr std::array<unsigned char, 256> BlockTable(const std::string_view (&rows)[5]) {
  std::array<unsigned char, 256> table{};
  for (int k = 0; k < 5; ++k)
    for (char c : rows[k])
      table[static_cast<unsigned char>(c)] |= static_cast<unsigned char>(1 << k);
  return table;
}
constexpr std::string_view kLeftRows[5] = {"^", "^/", "^/", "^*/-", "^*/-"};
constexpr std::string_view kRightRows[5] = {"", "^!", "^!", "*/^!", "*/^!"};
constexpr std::array<unsigned char, 256> kBlockedByLeft = BlockTable(kLeftRows);
constexpr std::array<unsigned char, 256> kBlockedByRight = BlockTable(kRightRows);

bool IsOperand(char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.'; }
bool IsFunctionCode(char c) { return c == kSin || c == kCos || c == kLn || c == kExp || c == kAbs; }
// '(', a function code or '!': the characters the sign and function rules start at.
constexpr std::array<bool, 256> kRuleStarts = [] {
  std::array<bool, 256> starts{};
  for (char c : {'(', '!', kSin, kCos, kLn, kExp, kAbs})
    starts[static_cast<unsigned char>(c)] = true;
  return starts;
}();
bool IsRuleStart(char c) { return kRuleStarts[static_cast<unsigned char>(c)]; }
bool IsSingleToken(char c) {
  switch (c) {
    case '!': case '(': case ')': case '*': case '+': case '-': case '/': case '^':
      return true;
    default:
      return false;
  }
}

// Length of the name in entry 1..11 of the keyword table.
constexpr std::size_t EntryLength(int entry) {
  std::size_t n = 0;
  while (n < 4 && kKeywords[static_cast<std::size_t>(entry - 1) * 4 + n] != '$') ++n;
  return n;
}

// The entry whose name starts with a given capital and has a given length
// (one to three letters); no two entries share both.
constexpr std::array<std::array<signed char, 3>, 26> kEntryByStart = [] {
  std::array<std::array<signed char, 3>, 26> table{};
  for (int entry = 1; entry <= kLastEntry; ++entry) {
    const char first = kKeywords[static_cast<std::size_t>(entry - 1) * 4];
    table[static_cast<std::size_t>(first - 'A')][EntryLength(entry) - 1] =
        static_cast<signed char>(entry);
  }
  return table;
}();

// Entry 1..11 of the keyword table, 0 when the name is unknown. The table
// is searched for the name's first four characters padded with '$'; a name
// is a run of capitals, so it can only be found at the start of an entry and
// as the whole of it (three letters at most, the rest '$'): the entry of its
// first letter and length, if its other letters match, is the one found.
int LookUpName(std::string_view name) {
  const std::size_t n = name.size();
  if (n == 0 || n > 3 || name[0] < 'A' || name[0] > 'Z') return 0;
  const int entry = kEntryByStart[static_cast<std::size_t>(name[0] - 'A')][n - 1];
  if (entry == 0) return 0;
  const char* e = kKeywords.data() + static_cast<std::size_t>(entry - 1) * 4;
  for (std::size_t i = 1; i < n; ++i)
    if (e[i] != name[i]) return 0;
  return entry;
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

// A set of token nodes, in text order: one bit per node, and one bit per
// word of them that is not empty.
class NodeSet {
 public:
  void Add(int n) {
    words_[Word(n)] |= Bit(n);
    used_ |= 1u << Word(n);
  }
  void Remove(int n) {
    std::uint64_t& w = words_[Word(n)];
    w &= ~Bit(n);
    if (w == 0) used_ &= ~(1u << Word(n));
  }
  bool Empty() const { return used_ == 0; }
  // The first node after n (the first of all for n = 0), 0 when there is none.
  int FirstAfter(int n) const {
    const std::size_t word = Word(n + 1);
    if (word >= kWords) return 0;
    const std::uint64_t w = words_[word] & (~std::uint64_t{0} << ((n + 1) & 63));
    if (w != 0) return static_cast<int>(word * 64) + std::countr_zero(w);
    const unsigned later = used_ >> (word + 1);
    if (later == 0) return 0;
    const std::size_t next = word + 1 + static_cast<std::size_t>(std::countr_zero(later));
    return static_cast<int>(next * 64) + std::countr_zero(words_[next]);
  }
  int First() const {
    if (used_ == 0) return 0;
    const auto word = static_cast<std::size_t>(std::countr_zero(used_));
    return static_cast<int>(word * 64) + std::countr_zero(words_[word]);
  }

 private:
  static constexpr std::size_t kWords = (kLongestText + 1 + 63) / 64;
  static std::size_t Word(int n) { return static_cast<std::size_t>(n) >> 6; }
  static std::uint64_t Bit(int n) { return std::uint64_t{1} << (n & 63); }
  std::array<std::uint64_t, kWords> words_{};
  unsigned used_ = 0;
};

// The token string as a list of nodes 1..count in text order, so that a
// reduction unlinks its characters instead of moving the rest of the string.
// Node 0 stands for "no node" and reads as a space, which is what a position
// outside the string reads as. Every rule looks only at a few neighbours of
// a node, and finds its first place through a set of the nodes it starts at.
class Reduction {
 public:
  Reduction() {
    chars_[0] = ' ';
    next_[0] = prev_[0] = 0;
    rank_[0] = kNoRank;
  }
  Reduction(const Reduction&) = delete;
  Reduction& operator=(const Reduction&) = delete;
  // The string of tokens with the operands' values.
  void Load(const TokenString& tokens, const ParameterValues& params);
  // False when LN or a factorial failed; the string is then left as it is.
  bool Run();
  bool Result(double& value) const;

 private:
  static constexpr int kMaxNodes = static_cast<int>(kLongestText);
  static constexpr signed char kNoRank = -1;

  char C(int n) const { return chars_[n]; }
  int Next(int n) const { return next_[n]; }
  int Prev(int n) const { return prev_[n]; }
  double& Slot(char letter) { return slots_[static_cast<std::size_t>(letter - 'a')]; }
  // Makes the loaded characters the string.
  void Link();
  void Unlink(int n);
  void Detach(int n);
  [[gnu::always_inline]] void SetRank(int x, signed char rank);
  [[gnu::always_inline]] signed char CandidateRank(int x);
  [[gnu::always_inline]] void UpdateRank(int x);

  bool SignRule(int n);
  bool SimplifySigns();
  enum class Outcome { Nothing, Reduced, Failed };
  Outcome ApplyFunction();
  [[gnu::always_inline]] bool Skipped(int rank, char l, char r, char y);
  void Reduce(int x);
  bool ReduceFirstOperator(int from, int to);

  // Filled node by node by the tokenizer; only node 0 is set beforehand.
  char chars_[kMaxNodes + 1];
  std::uint16_t next_[kMaxNodes + 1];
  std::uint16_t prev_[kMaxNodes + 1];
  // For each node, the operator of the order (its index) that could be
  // reduced with its left operand there, or kNoRank; kept exact through
  // every change of the string.
  signed char rank_[kMaxNodes + 1];
  int count_ = 0;   // nodes made by the tokenizer
  int head_ = 0;    // first node of the string
  int length_ = 0;  // nodes still linked
  NodeSet parentheses_;  // every '('
  NodeSet functions_;    // every function code
  NodeSet factorials_;   // every '!'
  std::array<NodeSet, 5> candidates_;  // by rank
  unsigned ranksUsed_ = 0;             // bit k: candidates_[k] is not empty
  std::array<double, kSlotCount> slots_{};
  int operands_ = 0;
};

void Reduction::Link() {
  for (int n = 1; n <= count_; ++n) {
    prev_[n] = static_cast<std::uint16_t>(n - 1);
    next_[n] = static_cast<std::uint16_t>(n + 1);
    rank_[n] = kNoRank;
  }
  if (count_ > 0) next_[count_] = 0;
  head_ = count_ > 0 ? 1 : 0;
  length_ = count_;
  for (int n = 1; n <= count_; ++n) {
    const char c = chars_[n];
    if (IsOperand(c)) {
      UpdateRank(n);
    } else if (IsRuleStart(c)) {
      if (c == '(') parentheses_.Add(n);
      if (IsFunctionCode(c)) functions_.Add(n);
      if (c == '!') factorials_.Add(n);
    }
  }
}

void Reduction::Load(const TokenString& tokens, const ParameterValues& params) {
  const std::array<double, 6> variables{params.A, params.B, params.T, params.K, params.Ksi, params.W};
  count_ = tokens.Count;
  for (int n = 1; n <= count_; ++n) chars_[n] = tokens.Chars[static_cast<std::size_t>(n - 1)];
  operands_ = tokens.Operands;
  for (std::size_t i = 0; i < static_cast<std::size_t>(operands_); ++i) {
    const int from = tokens.Parameter[i];
    slots_[i] = from < 0 ? tokens.Numbers[i] : variables[static_cast<std::size_t>(from)];
  }
  Link();
}

// The operator index of a reducible x op y with x at node x, or kNoRank.
// It reads the characters from the one before x to the one after y, and y's
// value (a division by zero waits).
inline signed char Reduction::CandidateRank(int x) {
  if (!IsOperand(C(x))) return kNoRank;
  const int opNode = Next(x);
  const int rank = OperatorRank(C(opNode));
  if (rank < 0) return kNoRank;
  const int yNode = Next(opNode);
  const char y = C(yNode);
  if (!IsOperand(y)) return kNoRank;
  if (Skipped(rank, C(Prev(x)), C(Next(yNode)), y))
    return kNoRank;
  return static_cast<signed char>(rank);
}

inline void Reduction::SetRank(int x, signed char rank) {
  signed char& old = rank_[x];
  if (rank == old) return;
  if (old != kNoRank) {
    NodeSet& set = candidates_[static_cast<std::size_t>(old)];
    set.Remove(x);
    if (set.Empty()) ranksUsed_ &= ~(1u << old);
  }
  if (rank != kNoRank) {
    candidates_[static_cast<std::size_t>(rank)].Add(x);
    ranksUsed_ |= 1u << rank;
  }
  old = rank;
}

inline void Reduction::UpdateRank(int x) {
  if (x != 0) SetRank(x, CandidateRank(x));
}

// Takes node n out of the string. The candidates whose characters included
// it are the node after it and the three before it; they are found again
// (the node after reads a new character before it, the others new ones after).
void Reduction::Unlink(int n) {
  const int p = Prev(n);
  const int q = Next(n);
  Detach(n);
  UpdateRank(q);
  UpdateRank(p);
  UpdateRank(Prev(p));
  UpdateRank(Prev(Prev(p)));
}

// Unlink without finding the candidates again (the caller does).
void Reduction::Detach(int n) {
  const int p = Prev(n);
  const int q = Next(n);
  if (p != 0) next_[p] = static_cast<std::uint16_t>(q);
  else head_ = q;
  if (q != 0) prev_[q] = static_cast<std::uint16_t>(p);
  --length_;
  SetRank(n, kNoRank);
  const char c = C(n);
  if (!IsRuleStart(c)) return;
  if (c == '(') parentheses_.Remove(n);
  if (IsFunctionCode(c)) functions_.Remove(n);
  if (c == '!') factorials_.Remove(n);
}

// A sign right before an operand: '+' goes; '-' negates the operand unless a
// power or a factorial of it still has to be taken first. True when it
// changed the string. n is the node of the sign (0 reads as a space).
bool Reduction::SignRule(int n) {
  if (n == 0) return false;
  const int xNode = Next(n);
  const char x = C(xNode);
  if (!IsOperand(x)) return false;
  const char c = C(n);
  if (c == '-') {
    const char after = C(Next(xNode));
    if (after != '^' && after != '!') {
      double& v = Slot(x);
      v = -v;
      Unlink(n);  // finds again the candidate whose y is x
      return true;
    }
  } else if (c == '+') {
    Unlink(n);
    return true;
  }
  return false;
}

// True when it changed the string.
bool Reduction::SimplifySigns() {
  bool changed = SignRule(head_);
  if (parentheses_.Empty()) return changed;
  // A '(' with at least three characters after it: the sign rule after it.
  for (int n = parentheses_.First(); n != 0; n = parentheses_.FirstAfter(n)) {
    if (Next(Next(Next(n))) == 0) break;
    changed = SignRule(Next(n)) || changed;
  }
  // '(' x ')' becomes x.
  for (int n = parentheses_.First(); n != 0; n = parentheses_.FirstAfter(n)) {
    const int xNode = Next(n);
    const int close = Next(xNode);
    if (IsOperand(C(xNode)) && C(close) == ')') {
      Unlink(close);
      Unlink(n);
      changed = true;
    }
  }
  return changed;
}

Reduction::Outcome Reduction::ApplyFunction() {
  for (int n = functions_.First(); n != 0; n = functions_.FirstAfter(n)) {
    const char code = C(n);
    const char x = C(Next(n));
    if (!IsOperand(x)) continue;
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
    Unlink(n);  // finds again the candidate whose y is x
    return Outcome::Reduced;
  }
  for (int n = factorials_.First(); n != 0; n = factorials_.FirstAfter(n)) {
    const char x = C(Prev(n));
    if (!IsOperand(x)) continue;
    double& v = Slot(x);
    // The range test comes first so that the conversion to int is always defined.
    if (!(v >= 0 && v < 33) || v != std::trunc(v)) return Outcome::Failed;
    v = Factorial(static_cast<int>(v));
    Unlink(n);  // finds again the candidate whose y is x
    return Outcome::Reduced;
  }
  return Outcome::Nothing;
}

// Whether the candidate x op y (op of the given rank), with l before it and
// r after it, has to wait for something on either side:
//   '+' '-': r is '*' '/' '^' '!', or l is '^' '*' '/' '-';
//   '*':     r is '^' '!', or l is '^' '/';
//   '/':     r is '^' '!', or y is exactly 0, or l is '^' '/';
//   '^':     l is '^'.
// A division by zero is never done: the '/' stays and the text ends invalid.
inline bool Reduction::Skipped(int rank, char l, char r, char y) {
  if ((kBlockedByLeft[static_cast<unsigned char>(l)] >> rank) & 1) return true;
  if ((kBlockedByRight[static_cast<unsigned char>(r)] >> rank) & 1) return true;
  return rank == kDivisionRank && Slot(y) == 0;
}

// x op y at node x: x's slot takes the result, op and y go.
void Reduction::Reduce(int x) {
  const int opNode = Next(x);
  const int yNode = Next(opNode);
  double& a = Slot(C(x));
  const double b = Slot(C(yNode));
  switch (C(opNode)) {
    case '+': a = a + b; break;
    case '-': a = a - b; break;
    case '*': a = a * b; break;
    case '/': a = a / b; break;
    default: a = RealPower(a, b); break;
  }
  Detach(yNode);
  Detach(opNode);
  // The candidates that read op or y, and the one whose y is x. The node
  // after x reads x where it read y, a letter for a letter: it stays as it was.
  const int p = Prev(x);
  UpdateRank(x);
  UpdateRank(p);
  UpdateRank(Prev(p));
}

// The operators from..to of the order in turn, each at its first candidate,
// until one reduces.
bool Reduction::ReduceFirstOperator(int from, int to) {
  const unsigned wanted = ranksUsed_ & (((2u << to) - 1) & ~((1u << from) - 1));
  if (wanted == 0) return false;
  Reduce(candidates_[static_cast<std::size_t>(std::countr_zero(wanted))].First());
  return true;
}

bool Reduction::Run() {
  // Every pass that goes on has removed at least one character, so there are
  // at most as many passes as characters.
  const int operators = static_cast<int>(kOperatorOrder.size());
  int before = 0;
  do {
    before = length_;
    for (int k = 0; k < operators; ++k) {
      const bool signsChanged = SimplifySigns();
      const Outcome f = ApplyFunction();
      if (f == Outcome::Failed) return false;
      if (f == Outcome::Reduced) break;
      // Signs and functions left the string as it was: they will again
      // before each of the operators still to try, so try those at once.
      if (!signsChanged) {
        ReduceFirstOperator(k, operators - 1);
        break;
      }
      if (ReduceFirstOperator(k, k)) break;
    }
  } while (length_ < before);
  return true;
}

bool Reduction::Result(double& value) const {
  if (length_ != 1 || !IsOperand(C(head_))) return false;
  value = slots_[static_cast<std::size_t>(C(head_) - 'a')];
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
  if (text.size() > kLongestText) return false;
  const std::array<char, 5> codes{kSin, kCos, kLn, kExp, kAbs};
  auto add = [&](char c) { tokens.Chars[static_cast<std::size_t>(tokens.Count++)] = c; };
  // No letter left for one more operand: the text is refused.
  auto operand = [&](int parameter, double number) {
    if (tokens.Operands >= kSlotCount) return false;
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
      } else if (!operand(entry - kFirstParameterEntry, 0)) {
        return false;
      }
      pos = end;
    } else if (IsNumberChar(c)) {
      std::size_t end = pos;
      // A whole number of up to 15 digits is a double exactly, with nothing
      // to round: it is read on the way, without the library conversion.
      bool whole = true;
      double wholeValue = 0;
      while (end < text.size() && IsNumberChar(text[end])) {
        if (text[end] == '.') whole = false;
        else wholeValue = wholeValue * 10 + (text[end] - '0');
        ++end;
      }
      double value = 0;
      if (whole && end - pos <= 15) {
        value = wholeValue;
      } else if (!ConvertNumber(text.substr(pos, end - pos), value)) {
        return false;
      }
      if (!operand(-1, value)) return false;
      pos = end;
    } else {
      return false;
    }
  }
  return true;
}

Evaluation EvaluateTokens(const TokenString& tokens, const ParameterValues& params) {
  Reduction reduction;
  reduction.Load(tokens, params);
  double value = 0;
  if (!reduction.Run() || !reduction.Result(value)) return Evaluation{0, false};
  return Evaluation{value, true};
}

ParameterValues ParametersOf(const DiagramState& s) {
  return ParameterValues{s.ParamA, s.ParamB, s.ParamT, s.ParamK, s.ParamKsi, s.ParamW};
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
