// The Maple step-response worksheet: fixed template, placeholder filling, writing, temporary names.
#include "files/worksheet.h"

#include <iterator>
#include <string>
#include <string_view>

#include "core/format.h"
#include "core/parameters.h"
#include "files/file_io.h"

namespace tv {

namespace {

// One template line: literal text, a run of placeholder characters, literal text.
struct TemplateLine {
  std::string_view Head;
  char Run = 0;
  int RunLength = 0;
  std::string_view Tail;
};

// Maple V worksheet text. A run is split by the line end it spans; the worksheet
// format does not count line ends, so the statement lengths (35, 97, 97, 97, 97,
// 60, 24, 31, 42, 17) hold for the joined runs.
constexpr TemplateLine kTemplateLines[] = {
    {R"t({VERSION 5 0 "IBM INTEL NT" "5.0" })t", 0, 0, ""},
    {R"t({USTYLETAB {CSTYLE "Maple Input" -1 0 "Courier" 0 1 255 0 0 1 0 1 0 0 )t", 0, 0, ""},
    {R"t(1 0 0 0 0 1 }{PSTYLE "Normal" -1 0 1 {CSTYLE "" -1 -1 "Times" 1 12 0 )t", 0, 0, ""},
    {R"t(0 0 1 2 2 2 2 2 2 1 1 1 1 }1 1 0 0 0 0 1 0 1 0 2 2 0 1 }})t", 0, 0, ""},
    {R"t({SECT 0 {EXCHG {PARA 0 "> " 0 "" {MPLTEXT 1 0 35 "restart:with(inttran)t", 0, 0, ""},
    {R"t(s):with(plots):" }}}{EXCHG {PARA 0 "> " 0 "" {MPLTEXT 1 0 97 "H1:=)t", kH1Placeholder, 4,
     ""},
    {"", kH1Placeholder, 70, ""},
    {"", kH1Placeholder, 18, R"t(;" }{TEXT -1 0 "" }}}{EXCHG {PARA 0 "> " 0 "" )t"},
    {R"t({MPLTEXT 1 0 97 "H2:=)t", kH2Placeholder, 49, ""},
    {"", kH2Placeholder, 43, R"t(;" }}}{EXCHG {PARA 0 "> " )t"},
    {R"t(0 "" {MPLTEXT 1 0 97 "H3:=)t", kH3Placeholder, 44, ""},
    {"", kH3Placeholder, 48, R"t(;" }}}{EXCHG {PARA 0 ")t"},
    {R"t(> " 0 "" {MPLTEXT 1 0 97 ")t", kParameterPlaceholder, 44, ""},
    {"", kParameterPlaceholder, 52, R"t(;" }}}{EXCHG )t"},
    {R"t({PARA 0 "> " 0 "" {MPLTEXT 1 0 60 ")t", kStatementPlaceholder, 35, ""},
    {"", kStatementPlaceholder, 24, R"t(;" }}}{EXCHG {PARA 0 "> " 0 "" {MPLTEXT 1 0 )t"},
    {R"t(24 "H:=convert(H,parfrac,P);" }{TEXT -1 0 "" }}}{EXCHG {PARA 0 "> " 0 )t", 0, 0, ""},
    {R"t("" {MPLTEXT 1 0 31 "reponse:=invlaplace(H/P, P, t);" }}}{EXCHG {PARA )t", 0, 0, ""},
    {R"t(0 "> " 0 "" {MPLTEXT 1 0 42 "Le_plot:=plot(reponse,t=0..10,color=blue))t", 0, 0, ""},
    {R"t(:" }}}{EXCHG {PARA 0 "> " 0 "" {MPLTEXT 1 0 17 "display(Le_plot);" }}})t", 0, 0, ""},
    {R"t(}{MARK "5 0 0" 59 }{VIEWOPTS 1 1 0 1 1 1803 1 1 1 1 }{PAGENUMBERS 0 1 )t", 0, 0, ""},
    {R"t(2 33 1 1 })t", 0, 0, ""},
};
static_assert(std::size(kTemplateLines) == 22);

constexpr std::size_t TemplateLength() {
  std::size_t n = 0;
  for (const TemplateLine& line : kTemplateLines) {
    n += line.Head.size() + static_cast<std::size_t>(line.RunLength) + line.Tail.size() + 2;
  }
  return n;
}
static_assert(TemplateLength() == kWorksheetSize);

constexpr WorksheetBuffer MakeTemplate() {
  WorksheetBuffer b{};
  std::size_t k = 0;
  for (const TemplateLine& line : kTemplateLines) {
    for (char ch : line.Head) b[k++] = ch;
    for (int i = 0; i < line.RunLength; ++i) b[k++] = line.Run;
    for (char ch : line.Tail) b[k++] = ch;
    b[k++] = '\r';
    b[k++] = '\n';
  }
  return b;
}

constexpr WorksheetBuffer kTemplate = MakeTemplate();

// Maple is case-sensitive and the fixed statements use P, H and upper-case
// names; only ASCII letters change, Windows-1252 accents stay as they are.
std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return out;
}

std::string FractionText(const FunctionText& num, const FunctionText& den) {
  std::string out;
  out.reserve(2 * kFunctionTextMax + 5);
  out += '(';
  out += num.View();
  out += ")/(";
  out += den.View();
  out += ')';
  return out;
}

// "K:=1;T:=1;A:=1;B:=1;W:=1;KSI:=1": the legend's order, the names of the texts.
std::string ParameterText(const DiagramState& s) {
  std::string text;
  for (const ParameterInfo& info : kParameters) {
    if (!text.empty()) text += ';';
    text += std::string(info.ExpressionName) + ":=" + FormatReal(s.*info.Field);
  }
  return text;
}

std::string ProductStatement(const bool checked[3], bool closedLoop) {
  std::string h;
  if (checked[0]) h += "H1";
  if (checked[1]) h += "*H2";
  if (checked[2]) h += "*H3";
  if (!h.empty() && h[0] == '*') h[0] = ' ';
  h = "H:=" + h;
  if (closedLoop) h += ";H:=H/(1+H)";
  return h;
}

}  // namespace

const WorksheetBuffer& WorksheetTemplate() { return kTemplate; }

void FillPlaceholder(WorksheetBuffer& buffer, char c, std::string_view s) {
  std::size_t k = 0;
  for (std::size_t i = 0; i < kWorksheetSize; ++i) {
    if (kTemplate[i] != c) continue;
    buffer[i] = k < s.size() ? s[k++] : ' ';
  }
}

WorksheetBuffer BuildWorksheet(const DiagramState& s, const bool checked[3], bool closedLoop) {
  WorksheetBuffer buffer = kTemplate;
  FillPlaceholder(buffer, kParameterPlaceholder, UpperAscii(ParameterText(s)));
  FillPlaceholder(buffer, kH2Placeholder, UpperAscii(FractionText(s.NumText[1], s.DenText[1])));
  FillPlaceholder(buffer, kH3Placeholder, UpperAscii(FractionText(s.NumText[2], s.DenText[2])));
  FillPlaceholder(buffer, kH1Placeholder, UpperAscii(FractionText(s.NumText[0], s.DenText[0])));
  FillPlaceholder(buffer, kStatementPlaceholder, UpperAscii(ProductStatement(checked, closedLoop)));
  return buffer;
}

bool WriteWorksheet(const WorksheetBuffer& buffer, const std::string& fileName,
                    std::string* error) {
  return WriteFileAtomically(fileName, std::string_view(buffer.data(), buffer.size()), error);
}

char NextMapleFileLetter(char letter) {
  if (letter < 'a' || letter >= 'y') return 'a';
  return static_cast<char>(letter + 1);
}

std::string TemporaryWorksheetName(const std::string& tempDir, char letter) {
  std::string name = tempDir;
  if (!name.empty() && name.back() != '/' && name.back() != '\\') name += '/';
  name += letter;
  name += ".mws";
  return name;
}

}  // namespace tv
