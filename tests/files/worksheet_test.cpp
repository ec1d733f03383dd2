// The Maple worksheet: template shape, counted lengths, filling, statements, names and writing.
#include "files/worksheet.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/diagram_state.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

std::string Text(const WorksheetBuffer& b) { return std::string(b.begin(), b.end()); }

// The bytes of b at the positions where the template holds placeholder c.
std::string RunText(const WorksheetBuffer& b, char c) {
  const WorksheetBuffer& t = WorksheetTemplate();
  std::string out;
  for (std::size_t i = 0; i < kWorksheetSize; ++i) {
    if (t[i] == c) out += b[i];
  }
  return out;
}

std::string Padded(std::string s, std::size_t n) {
  s.resize(n, ' ');
  return s;
}

std::string WithoutLineEnds(const WorksheetBuffer& b) {
  std::string out;
  for (char ch : b) {
    if (ch != '\r' && ch != '\n') out += ch;
  }
  return out;
}

struct CountedStatement {
  int Counted;  // the number after "MPLTEXT 1 0"
  int Actual;   // characters between the quotes that follow it
};

// Every "MPLTEXT 1 0 n "..."" of the worksheet, line ends left out as Maple does.
std::vector<CountedStatement> CountedStatements(const WorksheetBuffer& b) {
  const std::string text = WithoutLineEnds(b);
  const std::string key = "MPLTEXT 1 0 ";
  std::vector<CountedStatement> out;
  for (std::size_t p = text.find(key); p != std::string::npos; p = text.find(key, p + 1)) {
    std::size_t q = p + key.size();
    int n = 0;
    while (q < text.size() && text[q] >= '0' && text[q] <= '9') n = n * 10 + (text[q++] - '0');
    EXPECT_EQ(text.substr(q, 2), " \"");
    const std::size_t open = q + 2;
    const std::size_t close = text.find('"', open);
    out.push_back({n, static_cast<int>(close - open)});
  }
  return out;
}

DiagramState DefaultState() {
  DiagramState s;
  SetStartValues(s);
  return s;
}

TEST(WorksheetTemplateTest, Is1460BytesOf22CrLfLines) {
  const std::string t = Text(WorksheetTemplate());
  ASSERT_EQ(t.size(), 1460u);
  const std::vector<std::size_t> lengths = {35, 70, 69, 57, 70, 70, 70, 64, 70, 69, 70,
                                            70, 70, 65, 70, 68, 70, 69, 70, 70, 70, 10};
  std::vector<std::size_t> found;
  std::size_t start = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '\n') {
      ASSERT_GT(i, start);
      ASSERT_EQ(t[i - 1], '\r') << "bare LF at " << i;
      found.push_back(i - 1 - start);
      start = i + 1;
    } else if (t[i] == '\r') {
      ASSERT_LT(i + 1, t.size());
      ASSERT_EQ(t[i + 1], '\n') << "bare CR at " << i;
    }
  }
  EXPECT_EQ(start, t.size()) << "the last line ends with CR LF";
  EXPECT_EQ(found, lengths);
}

TEST(WorksheetTemplateTest, KnownLines) {
  const std::string t = Text(WorksheetTemplate());
  EXPECT_EQ(t.substr(0, 37), "{VERSION 5 0 \"IBM INTEL NT\" \"5.0\" }\r\n");
  EXPECT_EQ(t.substr(1460 - 12), "2 33 1 1 }\r\n");
  const std::string joined = WithoutLineEnds(WorksheetTemplate());
  for (const char* statement :
       {"35 \"restart:with(inttrans):with(plots):\"", "24 \"H:=convert(H,parfrac,P);\"",
        "31 \"reponse:=invlaplace(H/P, P, t);\"",
        "42 \"Le_plot:=plot(reponse,t=0..10,color=blue):\"", "17 \"display(Le_plot);\""}) {
    EXPECT_NE(joined.find(statement), std::string::npos) << statement;
  }
}

struct RunCase {
  const char* Name;
  char C;
  std::size_t Length;
  const char* Before;  // the text just before the run, line ends left out
};

class PlaceholderRunTest : public testing::TestWithParam<RunCase> {};

TEST_P(PlaceholderRunTest, IsOneRunOfItsLengthAfterItsStatementStart) {
  const RunCase& c = GetParam();
  const std::string joined = WithoutLineEnds(WorksheetTemplate());
  const std::string run(c.Length, c.C);
  const std::size_t at = joined.find(std::string(c.Before) + run + ";\"");
  EXPECT_NE(at, std::string::npos);
  // Nowhere else in the template.
  EXPECT_EQ(RunText(WorksheetTemplate(), c.C), run);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PlaceholderRunTest,
    testing::Values(RunCase{"H1", kH1Placeholder, 92, "MPLTEXT 1 0 97 \"H1:="},
                    RunCase{"H2", kH2Placeholder, 92, "MPLTEXT 1 0 97 \"H2:="},
                    RunCase{"H3", kH3Placeholder, 92, "MPLTEXT 1 0 97 \"H3:="},
                    RunCase{"Parameters", kParameterPlaceholder, 96, "MPLTEXT 1 0 97 \""},
                    RunCase{"Statement", kStatementPlaceholder, 59, "MPLTEXT 1 0 60 \""}),
    [](const testing::TestParamInfo<RunCase>& tested) { return std::string(tested.param.Name); });

const std::vector<int> kCounted = {35, 97, 97, 97, 97, 60, 24, 31, 42, 17};

void ExpectCountedLengthsHold(const WorksheetBuffer& b) {
  const std::vector<CountedStatement> st = CountedStatements(b);
  ASSERT_EQ(st.size(), kCounted.size());
  for (std::size_t i = 0; i < st.size(); ++i) {
    EXPECT_EQ(st[i].Counted, kCounted[i]) << "statement " << i;
    EXPECT_EQ(st[i].Actual, kCounted[i]) << "statement " << i;
  }
}

TEST(WorksheetTemplateTest, CountedLengthsMatchTheStatements) {
  ExpectCountedLengthsHold(WorksheetTemplate());
}

TEST(FillPlaceholderTest, LeftAlignsAndPadsWithSpaces) {
  WorksheetBuffer b = WorksheetTemplate();
  FillPlaceholder(b, kH2Placeholder, "(1)/(1+P)");
  EXPECT_EQ(RunText(b, kH2Placeholder), Padded("(1)/(1+P)", 92));
  // The other runs and the rest of the template are untouched.
  for (std::size_t i = 0; i < kWorksheetSize; ++i) {
    if (WorksheetTemplate()[i] != kH2Placeholder) {
      ASSERT_EQ(b[i], WorksheetTemplate()[i]) << i;
    }
  }
}

TEST(FillPlaceholderTest, CutsALongTextToTheRun) {
  WorksheetBuffer b = WorksheetTemplate();
  const std::string longText(200, 'X');
  FillPlaceholder(b, kStatementPlaceholder, longText);
  EXPECT_EQ(RunText(b, kStatementPlaceholder), std::string(59, 'X'));
  ExpectCountedLengthsHold(b);
  EXPECT_EQ(b.size(), kWorksheetSize);
}

TEST(FillPlaceholderTest, EmptyTextGivesSpaces) {
  WorksheetBuffer b = WorksheetTemplate();
  FillPlaceholder(b, kParameterPlaceholder, "");
  EXPECT_EQ(RunText(b, kParameterPlaceholder), std::string(96, ' '));
}

TEST(FillPlaceholderTest, PlaceholderCharactersInAnEarlierTextSurvive) {
  WorksheetBuffer b = WorksheetTemplate();
  FillPlaceholder(b, kH2Placeholder, "(A&B|C~D)");
  FillPlaceholder(b, kH3Placeholder, "(3)");
  FillPlaceholder(b, kH1Placeholder, "(1)");
  FillPlaceholder(b, kStatementPlaceholder, "H:=H1");
  EXPECT_EQ(RunText(b, kH2Placeholder), Padded("(A&B|C~D)", 92));
  EXPECT_EQ(RunText(b, kH3Placeholder), Padded("(3)", 92));
  EXPECT_EQ(RunText(b, kH1Placeholder), Padded("(1)", 92));
  EXPECT_EQ(RunText(b, kStatementPlaceholder), Padded("H:=H1", 59));
}

struct StatementCase {
  const char* Name;
  bool Checked[3];
  bool ClosedLoop;
  const char* Expected;
};

class ProductStatementTest : public testing::TestWithParam<StatementCase> {};

TEST_P(ProductStatementTest, NamesTheCheckedFunctions) {
  const StatementCase& c = GetParam();
  const DiagramState s = DefaultState();
  const WorksheetBuffer b = BuildWorksheet(s, c.Checked, c.ClosedLoop);
  EXPECT_EQ(RunText(b, kStatementPlaceholder), Padded(c.Expected, 59));
  const std::string joined = WithoutLineEnds(b);
  EXPECT_NE(joined.find("MPLTEXT 1 0 60 \"" + Padded(c.Expected, 59) + ";\""), std::string::npos);
  ExpectCountedLengthsHold(b);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProductStatementTest,
    testing::Values(StatementCase{"OnlyH2AndH3Open", {false, true, true}, false, "H:= H2*H3"},
                    StatementCase{
                        "OnlyH2AndH3Closed", {false, true, true}, true, "H:= H2*H3;H:=H/(1+H)"},
                    StatementCase{"AllOpen", {true, true, true}, false, "H:=H1*H2*H3"},
                    StatementCase{"AllClosed", {true, true, true}, true, "H:=H1*H2*H3;H:=H/(1+H)"},
                    StatementCase{"OnlyH1Closed", {true, false, false}, true, "H:=H1;H:=H/(1+H)"},
                    StatementCase{"H1AndH3Open", {true, false, true}, false, "H:=H1*H3"},
                    StatementCase{"OnlyH3Open", {false, false, true}, false, "H:= H3"}),
    [](const testing::TestParamInfo<StatementCase>& tested) {
      return std::string(tested.param.Name);
    });

TEST(BuildWorksheetTest, FirstOrderWithUnitParameters) {
  DiagramState s = DefaultState();
  s.NumText[0].Assign("1+T*p");
  s.DenText[0].Assign("1");
  const bool checked[3] = {true, false, false};
  const WorksheetBuffer b = BuildWorksheet(s, checked, false);
  EXPECT_EQ(RunText(b, kH1Placeholder), Padded("(1+T*P)/(1)", 92));
  EXPECT_EQ(RunText(b, kParameterPlaceholder), Padded("K:=1;T:=1;A:=1;B:=1;W:=1;KSI:=1", 96));
  // Unchecked functions are written all the same.
  EXPECT_EQ(RunText(b, kH2Placeholder), Padded("(1)/(1)", 92));
  EXPECT_EQ(RunText(b, kH3Placeholder), Padded("(1)/(1)", 92));
  ExpectCountedLengthsHold(b);
}

TEST(BuildWorksheetTest, ParametersGoThroughFormatReal) {
  DiagramState s = DefaultState();
  s.ParamK = 2.5;
  s.ParamT = 0.0625;
  s.ParamA = 0;
  s.ParamB = 100;
  s.ParamW = 1234.5678;
  s.ParamKsi = 0.0004;
  const bool checked[3] = {true, true, true};
  const WorksheetBuffer b = BuildWorksheet(s, checked, false);
  EXPECT_EQ(RunText(b, kParameterPlaceholder),
            Padded("K:=2.5;T:=0.063;A:=0;B:=100;W:=1234.568;KSI:=0", 96));
}

TEST(BuildWorksheetTest, TwoLongTextsAreCutAt92) {
  DiagramState s = DefaultState();
  const std::string num(80, 'a'), den(80, 'b');
  s.NumText[1].Assign(num);
  s.DenText[1].Assign(den);
  const bool checked[3] = {false, true, false};
  const WorksheetBuffer b = BuildWorksheet(s, checked, true);
  // "(" + 80 + ")/(" + the first 8 of the denominator: 92 of the 165 characters.
  EXPECT_EQ(RunText(b, kH2Placeholder), "(" + std::string(80, 'A') + ")/(" + std::string(8, 'B'));
  ExpectCountedLengthsHold(b);
}

TEST(BuildWorksheetTest, UpperCasesAsciiLettersOnly) {
  DiagramState s = DefaultState();
  s.NumText[2].Assign("k*\xE9z");
  s.DenText[2].Assign("1+2*ksi*p/w+p^2/w^2");
  const bool checked[3] = {false, false, true};
  const WorksheetBuffer b = BuildWorksheet(s, checked, false);
  EXPECT_EQ(RunText(b, kH3Placeholder), Padded("(K*\xE9Z)/(1+2*KSI*P/W+P^2/W^2)", 92));
}

TEST(BuildWorksheetTest, AlwaysTheTemplateSize) {
  DiagramState s = DefaultState();
  for (int i = 0; i < 3; ++i) {
    s.NumText[i].Assign(std::string(80, '9'));
    s.DenText[i].Assign(std::string(80, '8'));
  }
  s.ParamK = s.ParamT = s.ParamA = s.ParamB = s.ParamW = s.ParamKsi = 123456.789;
  const bool checked[3] = {true, true, true};
  const WorksheetBuffer b = BuildWorksheet(s, checked, true);
  EXPECT_EQ(b.size(), 1460u);
  ExpectCountedLengthsHold(b);
  EXPECT_EQ(Text(b).find('\n'), Text(WorksheetTemplate()).find('\n'));
}

TEST(ClosedLoopQuestionTest, Windows1252Texts) {
  EXPECT_EQ(kClosedLoopQuestion,
            "La fonction de transfert est  la FTBO d'un syst\xE8me \xE0 retour unitaire ?");
  EXPECT_EQ(kClosedLoopQuestion.size(), 70u);
  EXPECT_EQ(kClosedLoopCaption, "Syst\xE8me boucl\xE9 ?");
  EXPECT_EQ(kClosedLoopCaption.size(), 16u);
}

struct LetterCase {
  const char* Name;
  char Letter;
  char Next;
};

class NextLetterTest : public testing::TestWithParam<LetterCase> {};

TEST_P(NextLetterTest, Advances) {
  EXPECT_EQ(NextMapleFileLetter(GetParam().Letter), GetParam().Next);
}

INSTANTIATE_TEST_SUITE_P(Cases, NextLetterTest,
                         testing::Values(LetterCase{"AToB", 'a', 'b'}, LetterCase{"BToC", 'b', 'c'},
                                         LetterCase{"XToY", 'x', 'y'},
                                         LetterCase{"YWrapsToA", 'y', 'a'},
                                         LetterCase{"ZIsNeverUsed", 'z', 'a'},
                                         LetterCase{"UnsetStartsAtA", '\0', 'a'},
                                         LetterCase{"UpperCaseStartsAtA", 'M', 'a'}),
                         [](const testing::TestParamInfo<LetterCase>& tested) {
                           return std::string(tested.param.Name);
                         });

TEST(TemporaryWorksheetNameTest, FirstThreeExportsThenWrapAfterY) {
  DiagramState s = DefaultState();
  s.TempDir = "/var/tmp/";
  std::vector<std::string> names;
  for (int i = 0; i < 26; ++i) {
    names.push_back(TemporaryWorksheetName(s.TempDir, s.MapleFileLetter));
    s.MapleFileLetter = NextMapleFileLetter(s.MapleFileLetter);
  }
  EXPECT_EQ(names[0], "/var/tmp/a.mws");
  EXPECT_EQ(names[1], "/var/tmp/b.mws");
  EXPECT_EQ(names[2], "/var/tmp/c.mws");
  EXPECT_EQ(names[24], "/var/tmp/y.mws");
  EXPECT_EQ(names[25], "/var/tmp/a.mws");  // the 26th export overwrites the first
}

TEST(TemporaryWorksheetNameTest, SeparatorAddedWhenMissing) {
  EXPECT_EQ(TemporaryWorksheetName("/var/tmp", 'c'), "/var/tmp/c.mws");
}

class WriteWorksheetTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) /
           ("tv_worksheet_" + std::to_string(::getpid()) + "_" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }
  static std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void WriteAll(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir_)) out.push_back(e.path().filename().string());
    return out;
  }
  WorksheetBuffer Sample() const {
    DiagramState s = DefaultState();
    const bool checked[3] = {true, false, false};
    return BuildWorksheet(s, checked, false);
  }
  fs::path dir_;
};

TEST_F(WriteWorksheetTest, WritesExactlyTheBuffer) {
  const WorksheetBuffer b = Sample();
  const fs::path target = dir_ / "a.mws";
  ASSERT_TRUE(WriteWorksheet(b, target.string()));
  EXPECT_EQ(ReadAll(target), Text(b));
  EXPECT_EQ(Entries(), std::vector<std::string>{"a.mws"});
}

TEST_F(WriteWorksheetTest, ReplacesALongerFile) {
  const fs::path target = dir_ / "b.mws";
  WriteAll(target, std::string(5000, 'z'));
  const WorksheetBuffer b = Sample();
  ASSERT_TRUE(WriteWorksheet(b, target.string()));
  EXPECT_EQ(ReadAll(target), Text(b));
}

TEST_F(WriteWorksheetTest, ReplacesAReadOnlyFileAndGivesWriteBack) {
  const fs::path target = dir_ / "c.mws";
  WriteAll(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                  fs::perm_options::replace);
  const WorksheetBuffer b = Sample();
  ASSERT_TRUE(WriteWorksheet(b, target.string()));
  EXPECT_EQ(ReadAll(target), Text(b));
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                  fs::perms::group_read | fs::perms::others_read);
}

TEST_F(WriteWorksheetTest, FolderThatIsAFileFails) {
  const fs::path notAFolder = dir_ / "plain";
  WriteAll(notAFolder, "keep");
  EXPECT_FALSE(WriteWorksheet(Sample(), (notAFolder / "a.mws").string()));
  EXPECT_EQ(ReadAll(notAFolder), "keep");
}

TEST_F(WriteWorksheetTest, MissingFolderFails) {
  EXPECT_FALSE(WriteWorksheet(Sample(), (dir_ / "absent" / "a.mws").string()));
  EXPECT_FALSE(fs::exists(dir_ / "absent"));
}

TEST_F(WriteWorksheetTest, TargetThatIsAFolderFailsWithoutDebris) {
  const fs::path target = dir_ / "d.mws";
  fs::create_directory(target);
  WriteAll(target / "inside", "x");
  EXPECT_FALSE(WriteWorksheet(Sample(), target.string()));
  EXPECT_EQ(ReadAll(target / "inside"), "x");
  EXPECT_EQ(Entries(), std::vector<std::string>{"d.mws"});
}

TEST_F(WriteWorksheetTest, WriteCutShortLeavesTheOldFile) {
  const fs::path target = dir_ / "e.mws";
  WriteAll(target, "previous worksheet");
  // Files may grow to 100 bytes only: the 1460-byte write fails midway.
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 100;
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = WriteWorksheet(Sample(), target.string());
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ReadAll(target), "previous worksheet");
  EXPECT_EQ(Entries(), std::vector<std::string>{"e.mws"});
}

TEST_F(WriteWorksheetTest, UnwritableFolderFailsAndKeepsTheFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind the superuser";
  const fs::path target = dir_ / "f.mws";
  WriteAll(target, "keep me");
  // Unreadable, the file cannot be written in place either: its old content
  // could not be put back after a failed write.
  fs::permissions(target, fs::perms::owner_write, fs::perm_options::replace);
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
  EXPECT_FALSE(WriteWorksheet(Sample(), target.string()));
  fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
  fs::permissions(target, fs::perms::owner_read, fs::perm_options::add);
  EXPECT_EQ(ReadAll(target), "keep me");
  EXPECT_EQ(Entries(), std::vector<std::string>{"f.mws"});
}

}  // namespace
}  // namespace tv
