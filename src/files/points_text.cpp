// Tokenising, number conversion and unit conversion of the points text, and its lines on file.
#include "files/points_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/format.h"
#include "files/file_io.h"

namespace tv {
namespace {

bool IsSeparator(char c) { return kPointSeparators.find(c) != std::string_view::npos; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number with `point` as its decimal separator; the conversion itself never
// depends on the process locale.
bool ConvertWith(std::string_view token, char point, double& value) {
  std::size_t i = 0;
  const std::size_t n = token.size();
  bool negative = false;
  if (i < n && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';

  const std::size_t intStart = i;
  while (i < n && IsDigit(token[i])) ++i;
  const std::string_view intDigits = token.substr(intStart, i - intStart);

  std::string_view fracDigits;
  if (i < n && token[i] == point) {
    const std::size_t fracStart = ++i;
    while (i < n && IsDigit(token[i])) ++i;
    fracDigits = token.substr(fracStart, i - fracStart);
  }
  if (intDigits.empty() && fracDigits.empty()) return false;

  std::string_view exponent;
  if (i < n && (token[i] == 'e' || token[i] == 'E')) {
    const std::size_t expStart = ++i;
    if (i < n && (token[i] == '+' || token[i] == '-')) ++i;
    const std::size_t digitStart = i;
    while (i < n && IsDigit(token[i])) ++i;
    if (i == digitStart) return false;
    exponent = token.substr(expStart, i - expStart);
  }
  if (i != n) return false;

  std::string plain;
  plain.reserve(n + 2);
  if (negative) plain += '-';
  plain += intDigits.empty() ? std::string_view("0") : intDigits;
  if (!fracDigits.empty()) {
    plain += '.';
    plain += fracDigits;
  }
  if (!exponent.empty()) {
    plain += 'e';
    plain += exponent;
  }
  double v = 0;
  const auto [end, ec] =
      std::from_chars(plain.data(), plain.data() + plain.size(), v, std::chars_format::general);
  if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

}  // namespace

bool ConvertPointToken(std::string_view token, double& value) {
  if (ConvertWith(token, '.', value)) return true;
  // Second chance with ',' as the decimal separator, so that both are accepted.
  std::string comma(token);
  for (char& c : comma)
    if (c == '.') c = ',';
  return ConvertWith(comma, ',', value);
}

bool ParsePointLine(DiagramState& s, std::string_view line, const PointUnits& units) {
  double values[3] = {0, 0, 0};
  bool ok = true;
  int n = 0;

  std::size_t size = line.size();
  while (size > 0 && line[size - 1] == ' ') --size;
  line = line.substr(0, size);

  std::string_view token;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsSeparator(line[i])) ++i;
    token = line.substr(start, i - start);
    if (token.empty() || n >= 3 || !ok) continue;

    ++n;
    double v = 0;
    ok = ConvertPointToken(token, v);
    if (!ok) continue;
    if (n == 1 && units.Hertz) {
      v = v * 6.2831853;
    } else if (n == 2 && units.RatioGain) {
      if (v > 0) {
        v = 20 * std::log(v) / 2.302585;
      } else {
        ok = false;
      }
    } else if (n == 3 && units.Radians) {
      v = v * 180 / 3.14159265;
    }
    values[n - 1] = v;
  }

  // A line ending with ':' or ';' leaves an empty last token: no point.
  if (!ok || n != 3 || token.empty()) return false;
  // The store has room for kMaxPoints; later lines are not kept.
  if (s.PointCount < 0 || s.PointCount >= kMaxPoints) return false;
  MeasuredPoint& p = s.MeasuredPoints[static_cast<std::size_t>(s.PointCount)];
  p.PulsationRadS = values[0];
  p.GainDb = values[1];
  p.PhaseDeg = values[2];
  ++s.PointCount;
  return true;
}

int DecodePoints(DiagramState& s, const std::vector<std::string>& lines, const PointUnits& units) {
  s.PointCount = 0;
  std::string line;
  for (const std::string& original : lines) {
    line = original;
    for (char& c : line)
      if (c == '\t') c = ' ';
    ParsePointLine(s, line, units);
  }
  return s.PointCount;
}

std::vector<std::string> SplitPointsText(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines.emplace_back(bytes.substr(start, i - start));
    ++i;
    if (c == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
    start = i;
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

std::string JoinPointsText(const std::vector<std::string>& lines) {
  std::string text;
  std::size_t total = 0;
  for (const std::string& line : lines) total += line.size() + 2;
  text.reserve(total);
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string PointsStoredMessage(int count) {
  return FormatReal(count) + std::string(kPointsStoredSuffix);
}

std::string PointsSaveName(std::string_view chosen) { return ReplaceExtension(chosen, ".txt"); }

}  // namespace tv
