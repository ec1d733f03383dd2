// A function text cut into the evaluator's tokens for each power of p: all of compiling it that
// does not depend on the parameter values.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tv {

struct TextReductions;

// Longest text the evaluator takes (only 80 characters are ever stored), and
// the operands one text can hold: one letter each, 'a' to 'z'.
inline constexpr std::size_t kLongestExpression = 255;
inline constexpr int kOperandLetters = 26;

// Highest power of p a function text can hold.
inline constexpr int kHighestPower = 5;

// An expression cut into tokens: function codes, operators and one letter
// per operand, each operand a number or a parameter read when it is evaluated.
struct TokenString {
  int Count = 0;     // tokens in Chars
  int Operands = 0;  // operand letters in use
  std::array<char, kLongestExpression> Chars{};
  // Per operand: the parameter it reads (its index in kParameters), or -1
  // for the number in Numbers.
  std::array<std::int8_t, kOperandLetters> Parameter{};
  std::array<double, kOperandLetters> Numbers{};
};

// A polynomial text compiled for every power: the work text of p^k (p^k set
// to 1, the other powers to 0) as tokens. Evaluating the six token strings
// with the current values gives the coefficients; a spin step changes values,
// not texts, so it evaluates without cutting again. A record never compiled
// stands for the empty text: nothing cut, every evaluation invalid.
struct CompiledText {
  std::string Text;  // as given, spaces included
  // No P set to 1 has a digit right before it, and every power of p is
  // written as one digit 1 to 5.
  bool FormValid = true;
  // Per power: its work text was cut into Tokens (false: it could not be,
  // and its evaluation fails).
  std::array<bool, kHighestPower + 1> Cut{};
  std::array<TokenString, kHighestPower + 1> Tokens{};
  // The text with every p replaced by each of the sample values, cut once:
  // the value the coefficients must give back there when the text is a
  // developed polynomial (false in SampleCut: it could not be cut).
  std::array<bool, 2> SampleCut{};
  std::array<TokenString, 2> AtSample{};
  // The parameters any of those tokens reads (bit i: kParameters[i]).
  std::uint8_t ReadsParameters = 0;
  // The last evaluation (EvaluatePolynomialKept): while the parameters the
  // text reads keep their values to the bit, its coefficients stand. A step
  // of Ksi then evaluates again only the texts that name Ksi.
  struct Evaluation {
    bool Known = false;
    bool Ok = false;
    std::array<double, 6> Values{};  // of the parameters, in kParameters' order
    std::array<double, kHighestPower + 1> Coeffs{};
  };
  Evaluation Kept;
  // The reductions of Tokens and AtSample, recorded when the text is
  // evaluated at a second set of values and replayed from then on: a held
  // arrow evaluates the same tokens at every step. Shared by the copies of
  // this record, never changed once made.
  std::shared_ptr<const TextReductions> Recorded;
};

}  // namespace tv
