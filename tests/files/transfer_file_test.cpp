// The .WWC layout byte by byte, partial and faulty files, the load refresh, saving, start-up names.
#include "files/transfer_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/headless_host.h"
#include "core/selection.h"
#include "files/file_io.h"
#include "support/recording_surface.h"

namespace tv {
namespace {

namespace fs = std::filesystem;
static_assert(std::endian::native == std::endian::little,
              "the expectations read the file natively");

const std::string kText80 =
    "1+2*KSI*p/W+p^2/W^2+0.001*p^3+0.0002*p^4+0.00003*p^5-(K*T+A*B)*0+12345.678901234";

std::int32_t I32At(const TransferFileBytes& b, std::size_t at) {
  std::int32_t v;
  std::memcpy(&v, &b[at], 4);
  return v;
}

double F64At(const TransferFileBytes& b, std::size_t at) {
  double v;
  std::memcpy(&v, &b[at], 8);
  return v;
}

std::string TextAt(const TransferFileBytes& b, std::size_t at) {
  return std::string(reinterpret_cast<const char*>(&b[at + 1]), b[at]);
}

// Three functions, odd ranges, six different parameters, boxes 1, 0, 1, 1.
DiagramState WorkState() {
  DiagramState s;
  const char* num[3] = {"K", "1+0.02*p+0.3*p^2", ""};
  for (int i = 0; i < 3; ++i) s.NumText[i].Assign(num[i]);
  s.DenText[0].Assign("1+T*p");
  s.DenText[1].Assign("p*(1+A*p)");
  s.DenText[2].Assign(kText80);
  s.CurveEnabled = {1, 0, 1, 1};
  s.DecadeMin = -6;
  s.DecadeMax = 5;
  s.GainMinDb = -90;
  s.GainMaxDb = 100;
  s.ParamA = 1.5;
  s.ParamT = 0.25;
  s.ParamK = 12.75;
  s.ParamB = 3e-4;
  s.ParamW = 100;
  s.ParamKsi = 0.7071;
  return s;
}

// The file written right after ResetDiagram with every box unticked.
std::vector<std::uint8_t> ResetFileBytes() {
  std::vector<std::uint8_t> b;
  for (int record = 0; record < 6; ++record) {
    b.push_back(1);
    b.push_back('1');
    b.insert(b.end(), 79, 0);
  }
  b.insert(b.end(), {0, 0, 0, 0});
  b.insert(b.end(), {0xFF, 0xFF, 0xFF, 0xFF});                                    // -1
  b.insert(b.end(), {0x03, 0x00, 0x00, 0x00});                                    // 3
  b.insert(b.end(), {0xD8, 0xFF, 0xFF, 0xFF});                                    // -40
  b.insert(b.end(), {0x32, 0x00, 0x00, 0x00});                                    // 50
  for (int p = 0; p < 6; ++p) b.insert(b.end(), {0, 0, 0, 0, 0, 0, 0xF0, 0x3F});  // 1.0
  return b;
}

class TransferFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tv-transfer-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  static void PutBytes(const std::string& path, const std::uint8_t* data, std::size_t n) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(n));
  }
  static std::vector<std::uint8_t> GetBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
  }

  // A load with a headless window whose box changes and refreshes are recorded in order.
  // True when the file was read whole and shown.
  bool Load(DiagramState& s, const std::string& path) {
    s.Host = &host_;
    host_.Refreshes.clear();
    host_.OnBoxChanged = [this](int box) {
      host_.Refreshes.push_back("box" + std::to_string(box));
    };
    const std::optional<DiagramState> work = ReadTransferFile(s, path);
    if (work) ShowLoadedWork(s, *work);
    calls_ = host_.Refreshes;
    return work.has_value();
  }

  fs::path dir_;
  HeadlessHost host_;
  std::vector<std::string> calls_;
};

TEST(TransferLayout, EveryFieldAtItsOffset) {
  ASSERT_EQ(kText80.size(), 80u);
  const TransferFileBytes b = EncodeTransferFile(WorkState());
  EXPECT_EQ(TextAt(b, 0), "K");
  EXPECT_EQ(TextAt(b, 81), "1+0.02*p+0.3*p^2");
  EXPECT_EQ(TextAt(b, 162), "");
  EXPECT_EQ(TextAt(b, 243), "1+T*p");
  EXPECT_EQ(TextAt(b, 324), "p*(1+A*p)");
  EXPECT_EQ(b[405], 80);
  EXPECT_EQ(TextAt(b, 405), kText80);
  EXPECT_EQ(b[486], 1);
  EXPECT_EQ(b[487], 0);
  EXPECT_EQ(b[488], 1);
  EXPECT_EQ(b[489], 1);
  EXPECT_EQ(I32At(b, 490), -6);
  EXPECT_EQ(I32At(b, 494), 5);
  EXPECT_EQ(I32At(b, 498), -90);
  EXPECT_EQ(I32At(b, 502), 100);
  EXPECT_EQ(F64At(b, 506), 1.5);     // A
  EXPECT_EQ(F64At(b, 514), 0.25);    // T
  EXPECT_EQ(F64At(b, 522), 12.75);   // K
  EXPECT_EQ(F64At(b, 530), 3e-4);    // B
  EXPECT_EQ(F64At(b, 538), 100.0);   // W
  EXPECT_EQ(F64At(b, 546), 0.7071);  // Ksi
}

TEST(TransferLayout, DecodeGivesBackEveryFieldAndTheSameBytes) {
  const DiagramState original = WorkState();
  const TransferFileBytes b = EncodeTransferFile(original);
  DiagramState s;
  EXPECT_EQ(DecodeTransferFile(b, s), kTransferFileSize);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(s.NumText[i].View(), original.NumText[i].View()) << i;
    EXPECT_EQ(s.DenText[i].View(), original.DenText[i].View()) << i;
  }
  EXPECT_EQ(s.CurveEnabled, original.CurveEnabled);
  EXPECT_EQ(s.DecadeMin, -6);
  EXPECT_EQ(s.DecadeMax, 5);
  EXPECT_EQ(s.GainMinDb, -90);
  EXPECT_EQ(s.GainMaxDb, 100);
  EXPECT_EQ(s.ParamA, 1.5);
  EXPECT_EQ(s.ParamT, 0.25);
  EXPECT_EQ(s.ParamK, 12.75);
  EXPECT_EQ(s.ParamB, 3e-4);
  EXPECT_EQ(s.ParamW, 100.0);
  EXPECT_EQ(s.ParamKsi, 0.7071);
  EXPECT_EQ(EncodeTransferFile(s), b);
}

TEST(TransferLayout, TextLeftoversAreWrittenAsHeld) {
  DiagramState s;
  s.NumText[1].Assign("123456");
  s.NumText[1].Assign("9");
  const TransferFileBytes b = EncodeTransferFile(s);
  const std::uint8_t expected[8] = {1, '9', '2', '3', '4', '5', '6', 0};
  EXPECT_EQ(std::memcmp(&b[81], expected, sizeof expected), 0);
}

TEST(TransferLayout, ValuesOutsideTheControlsRangeAreKeptAsRead) {
  DiagramState s = WorkState();
  s.DecadeMin = 2147483647;
  s.DecadeMax = -2147483647 - 1;
  s.ParamK = -3;
  s.ParamW = std::numeric_limits<double>::quiet_NaN();
  s.ParamT = -std::numeric_limits<double>::infinity();
  s.CurveEnabled = {7, 255, 0, 2};
  DiagramState back;
  DecodeTransferFile(EncodeTransferFile(s), back);
  EXPECT_EQ(back.DecadeMin, 2147483647);
  EXPECT_EQ(back.DecadeMax, -2147483647 - 1);
  EXPECT_EQ(back.ParamK, -3);
  EXPECT_TRUE(std::isnan(back.ParamW));
  EXPECT_EQ(back.ParamT, -std::numeric_limits<double>::infinity());
  EXPECT_EQ(back.CurveEnabled, (std::array<std::uint8_t, 4>{7, 255, 0, 2}));
}

TEST(TransferLayout, LengthByteAbove80IsReadAs80) {
  TransferFileBytes b = EncodeTransferFile(WorkState());
  b[81] = 200;
  std::memset(&b[82], 'x', 80);
  DiagramState s;
  DecodeTransferFile(b, s);
  EXPECT_EQ(s.NumText[1].Length, 80);
  EXPECT_EQ(s.NumText[1].View(), std::string(80, 'x'));
  EXPECT_EQ(s.NumText[2].View(), "");  // the next record is still read at its offset
}

TEST(TransferLayout, AnyBytesDecodeSafely) {
  std::mt19937 random(554);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::uint8_t> bytes(random() % 700);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
    DiagramState s;
    const std::size_t used = DecodeTransferFile(bytes, s);
    EXPECT_LE(used, std::min(bytes.size(), kTransferFileSize));
    for (int i = 0; i < 3; ++i) {
      EXPECT_LE(s.NumText[i].Length, kFunctionTextMax);
      EXPECT_LE(s.DenText[i].Length, kFunctionTextMax);
    }
  }
}

struct PartCase {
  const char* Name;
  std::size_t Size;  // bytes in the file
  std::size_t Used;  // bytes taken: whole fields only
  int NumTexts, DenTexts;
  int Boxes;  // each box byte is a field of its own
  bool Ranges;
  int Params;  // how many of A, T, K, B, W, Ksi
};

class PartialDecodeTest : public testing::TestWithParam<PartCase> {};

// Fields the bytes hold whole take the file's value; the rest keep the old one.
TEST_P(PartialDecodeTest, StopsAtTheFirstFieldNotHeldWhole) {
  const PartCase& c = GetParam();
  const TransferFileBytes file = EncodeTransferFile(WorkState());
  std::vector<std::uint8_t> bytes(file.begin(), file.end());
  bytes.resize(c.Size, 0xAB);  // bytes past 554 are never looked at

  DiagramState s;
  ResetDiagram(s);
  const DiagramState old = s;
  const DiagramState work = WorkState();
  EXPECT_EQ(DecodeTransferFile(bytes, s), c.Used);

  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(s.NumText[i].View(), (i < c.NumTexts ? work : old).NumText[i].View()) << i;
    EXPECT_EQ(s.DenText[i].View(), (i < c.DenTexts ? work : old).DenText[i].View()) << i;
  }
  for (int b = 0; b < 4; ++b) {
    EXPECT_EQ(s.CurveEnabled[b], (b < c.Boxes ? work : old).CurveEnabled[b]) << b;
  }
  EXPECT_EQ(s.DecadeMin, (c.Ranges ? work : old).DecadeMin);
  EXPECT_EQ(s.GainMaxDb, (c.Ranges ? work : old).GainMaxDb);
  const double DiagramState::*params[6] = {&DiagramState::ParamA, &DiagramState::ParamT,
                                           &DiagramState::ParamK, &DiagramState::ParamB,
                                           &DiagramState::ParamW, &DiagramState::ParamKsi};
  for (int p = 0; p < 6; ++p) {
    EXPECT_EQ(s.*params[p], (p < c.Params ? work : old).*params[p]) << p;
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, PartialDecodeTest,
                         testing::Values(PartCase{"Empty", 0, 0, 0, 0, 0, false, 0},
                                         PartCase{"HalfFirstText", 40, 0, 0, 0, 0, false, 0},
                                         PartCase{"OneText", 81, 81, 1, 0, 0, false, 0},
                                         PartCase{"NumeratorsOnly", 243, 243, 3, 0, 0, false, 0},
                                         PartCase{"AllTexts", 486, 486, 3, 3, 0, false, 0},
                                         PartCase{"ThreeBoxBytes", 489, 489, 3, 3, 3, false, 0},
                                         PartCase{"BoxesAndHalfAnInteger", 492, 490, 3, 3, 4, false,
                                                  0},
                                         PartCase{"RangesWhole", 506, 506, 3, 3, 4, true, 0},
                                         PartCase{"TwoParameters", 525, 522, 3, 3, 4, true, 2},
                                         PartCase{"AllButKsi", 553, 546, 3, 3, 4, true, 5},
                                         PartCase{"Whole", 554, 554, 3, 3, 4, true, 6},
                                         PartCase{"LongerFile", 600, 554, 3, 3, 4, true, 6}),
                         [](const auto& tested) { return std::string(tested.param.Name); });

TEST_F(TransferFileTest, FileSavedAfterResetHoldsTheDefaults) {
  DiagramState s;
  ResetDiagram(s);
  s.CurveEnabled = {1, 1, 1, 1};  // the boxes, not these, are saved
  s.Host = &host_;
  std::string error;
  ASSERT_TRUE(SaveTransferFile(s, Path("new.WWC"), &error)) << error;
  EXPECT_EQ(GetBytes(Path("new.WWC")), ResetFileBytes());
  EXPECT_EQ(s.CurveEnabled, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
}

TEST_F(TransferFileTest, SaveCopiesTheBoxes) {
  DiagramState s = WorkState();
  s.Host = &host_;
  s.CurveTicked[0] = false;
  s.CurveTicked[1] = true;
  s.CurveTicked[2] = false;
  s.CurveTicked[3] = true;
  ASSERT_TRUE(SaveTransferFile(s, Path("b.WWC"), nullptr));
  const std::vector<std::uint8_t> bytes = GetBytes(Path("b.WWC"));
  ASSERT_EQ(bytes.size(), kTransferFileSize);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 486, bytes.begin() + 490),
            (std::vector<std::uint8_t>{0, 1, 0, 1}));
}

TEST_F(TransferFileTest, LoadingTheResetFileTicksOnlyTheProduct) {
  const std::vector<std::uint8_t> bytes = ResetFileBytes();
  PutBytes(Path("reset.WWC"), bytes.data(), bytes.size());
  DiagramState s = WorkState();
  s.CurveTicked.fill(true);

  EXPECT_TRUE(Load(s, Path("reset.WWC")));
  EXPECT_FALSE(s.CurveTicked[0]);
  EXPECT_FALSE(s.CurveTicked[1]);
  EXPECT_FALSE(s.CurveTicked[2]);
  EXPECT_TRUE(s.CurveTicked[3]);
  // The picture is cleared before the boxes change (their handlers redraw).
  EXPECT_EQ(calls_, (std::vector<std::string>{"clear", "box1", "box2", "box3", "product caption",
                                              "redraw", "parameter captions", "availability"}));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(s.NumText[i].View(), "1");
    EXPECT_EQ(s.DenText[i].View(), "1");
  }
  EXPECT_EQ(s.DecadeMin, -1);
  EXPECT_EQ(s.DecadeMax, 3);
  EXPECT_EQ(s.GainMinDb, -40);
  EXPECT_EQ(s.GainMaxDb, 50);
  EXPECT_EQ(s.ParamKsi, 1.0);
}

struct BoxCase {
  const char* Name;
  const char* Num;
  const char* Den;
  std::uint8_t StoredByte;
  bool Checked;
};

class LoadBoxTest : public TransferFileTest, public testing::WithParamInterface<BoxCase> {};

// H2's box follows its texts, whatever the stored box byte says.
TEST_P(LoadBoxTest, BoxFollowsTheTexts) {
  DiagramState file;
  ResetDiagram(file);
  file.NumText[1].Assign(GetParam().Num);
  file.DenText[1].Assign(GetParam().Den);
  file.CurveEnabled[1] = GetParam().StoredByte;
  const TransferFileBytes bytes = EncodeTransferFile(file);
  PutBytes(Path("h2.WWC"), bytes.data(), bytes.size());

  DiagramState s;
  s.CurveTicked[1] = !GetParam().Checked;
  Load(s, Path("h2.WWC"));
  EXPECT_EQ(s.CurveTicked[1], GetParam().Checked);
  EXPECT_FALSE(s.CurveTicked[0]);
  EXPECT_TRUE(s.CurveTicked[3]);
  EXPECT_EQ(s.CurveEnabled[1], GetParam().StoredByte);  // kept as read
}

INSTANTIATE_TEST_SUITE_P(Texts, LoadBoxTest,
                         testing::Values(BoxCase{"DenominatorNotOne", "1", "1+p", 0, true},
                                         BoxCase{"NumeratorNotOne", "K", "1", 0, true},
                                         BoxCase{"BothOneButSavedTicked", "1", "1", 1, false},
                                         BoxCase{"OnePointZero", "1.0", "1", 0, true},
                                         BoxCase{"SpaceThenOne", " 1", "1", 0, true},
                                         BoxCase{"OneThenSpace", "1", "1 ", 0, true},
                                         BoxCase{"EmptyText", "", "1", 0, true}),
                         [](const auto& tested) { return std::string(tested.param.Name); });

TEST_F(TransferFileTest, TextOf80CharactersSurvivesSaveAndLoad) {
  DiagramState s = WorkState();
  s.NumText[0].Assign(kText80);
  s.Host = &host_;
  ASSERT_TRUE(SaveTransferFile(s, Path("t80.WWC"), nullptr));
  DiagramState back;
  EXPECT_TRUE(Load(back, Path("t80.WWC")));
  EXPECT_EQ(back.NumText[0].View(), kText80);
  EXPECT_EQ(back.DenText[2].View(), kText80);
}

// Anything but a transfer file is refused whole: not one field, box,
// refresh or pixel changes, and the reason names what is wrong.
TEST_F(TransferFileTest, AnythingButATransferFileIsRefusedUntouched) {
  const TransferFileBytes work = EncodeTransferFile(WorkState());
  const std::string points = "0.1 -0.02 -1.1\r\n1 -3.5 -45.2\r\n10 -20.1 -84.3\r\n";
  std::vector<std::uint8_t> longer(work.begin(), work.end());
  longer.push_back(0);
  std::vector<std::uint8_t> lengthByte(work.begin(), work.end());
  lengthByte[kDenTextOffset + 2 * kTextRecordSize] = 81;  // the denominator of H3
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    bool create;
    const char* reason;
  };
  const Case cases[] = {
      {"missing", {}, false, "introuvable"},
      {"empty", {}, true, "il fait 0 octet au lieu de 554."},
      {"numerators only", {work.begin(), work.begin() + 243}, true, "il fait 243 octets"},
      {"one byte too many", longer, true, "il fait 555 octets au lieu de 554."},
      {"points text", {points.begin(), points.end()}, true, "il fait 46 octets"},
      {"length byte 81", lengthByte, true,
       "le texte du d\xE9nominateur de H3 annonce 81 caract\xE8res, 80 au plus."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = Path(std::string(c.name) + ".WWC");
    if (c.create) PutBytes(file, c.bytes.data(), c.bytes.size());
    DiagramState s = WorkState();
    const bool boxes[4] = {true, false, true, false};
    std::copy(boxes, boxes + 4, s.CurveTicked.begin());
    host_.Refreshes.clear();
    std::string problem;
    s.Host = &host_;
    EXPECT_FALSE(ReadTransferFile(s, file, &problem));
    EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
    EXPECT_EQ(EncodeTransferFile(s), work);
    EXPECT_TRUE(std::equal(boxes, boxes + 4, s.CurveTicked.begin()));
    EXPECT_TRUE(host_.Refreshes.empty());
  }
}

TEST_F(TransferFileTest, AFolderIsRefusedAndAFullLengthTextLoads) {
  DiagramState s = WorkState();
  std::string problem;
  EXPECT_FALSE(ReadTransferFile(s, dir_.string(), &problem));
  EXPECT_NE(problem.find("Lecture impossible"), std::string::npos) << problem;
  // 80, the longest text the writer makes, is no reason to refuse.
  EXPECT_EQ(TransferFileProblem(EncodeTransferFile(s), kTransferFileSize), "");
}

// A named pipe gives what its writer has written so far, or nothing until a
// writer comes: refused at once, with no writer and with one that never ends.
TEST_F(TransferFileTest, NamedPipeIsRefusedWithoutWaiting) {
  const std::string pipe = Path("pipe.WWC");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  DiagramState s = WorkState();
  const TransferFileBytes work = EncodeTransferFile(s);
  std::string problem;
  EXPECT_FALSE(ReadTransferFile(s, pipe, &problem));
  EXPECT_NE(problem.find("pas un fichier ordinaire"), std::string::npos) << problem;
  const int writer = ::open(pipe.c_str(), O_RDWR);  // a writer that stays
  ASSERT_GE(writer, 0);
  EXPECT_FALSE(ReadTransferFile(s, pipe, &problem));
  ::close(writer);
  EXPECT_EQ(EncodeTransferFile(s), work);
}

TEST_F(TransferFileTest, SaveOverReadOnlyFileSucceeds) {
  const std::string file = Path("ro.WWC");
  PutBytes(file, reinterpret_cast<const std::uint8_t*>("old"), 3);
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  DiagramState s = WorkState();
  s.Host = &host_;
  s.CurveTicked[0] = s.CurveTicked[2] = s.CurveTicked[3] = true;
  std::string error;
  ASSERT_TRUE(SaveTransferFile(s, file, &error)) << error;
  const TransferFileBytes expected = EncodeTransferFile(s);
  EXPECT_EQ(GetBytes(file), std::vector<std::uint8_t>(expected.begin(), expected.end()));
}

TEST_F(TransferFileTest, FailedSaveKeepsTheOldFileAndSaysWhy) {
  const std::string file = Path("old.WWC");
  const TransferFileBytes old = EncodeTransferFile(WorkState());
  PutBytes(file, old.data(), old.size());
  DiagramState s;
  ResetDiagram(s);
  s.Host = &host_;

  // A file size limit below 554 bytes fails the write, even for root.
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit lower = saved;
  lower.rlim_cur = 100;
  ::setrlimit(RLIMIT_FSIZE, &lower);
  std::string error;
  const bool saved_ok = SaveTransferFile(s, file, &error);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_FALSE(saved_ok);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(GetBytes(file), std::vector<std::uint8_t>(old.begin(), old.end()));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(TransferFileTest, SaveIntoMissingFolderFails) {
  DiagramState s;
  ResetDiagram(s);
  std::string error;
  EXPECT_FALSE(SaveTransferFile(s, Path("no/such/dir/x.WWC"), &error));
  EXPECT_FALSE(error.empty());
}

struct NameCase {
  const char* Name;
  const char* Argument;
  const char* Expected;
};

class TransferNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(TransferNameTest, ExtensionBecomesWWC) {
  EXPECT_EQ(TransferFileNameFromArgument(GetParam().Argument), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, TransferNameTest,
    testing::Values(NameCase{"NoExtension", "dir/loop", "dir/loop.WWC"},
                    NameCase{"TextExtension", "dir/loop.txt", "dir/loop.WWC"},
                    NameCase{"AlreadyWWC", "loop.WWC", "loop.WWC"},
                    NameCase{"LowerWwc", "loop.wwc", "loop.WWC"},
                    NameCase{"DotInFolderOnly", "dir.v2/loop", "dir.v2/loop.WWC"},
                    NameCase{"LastDotOnly", "/a/b.c.d", "/a/b.c.WWC"},
                    NameCase{"TrailingDot", "loop.", "loop.WWC"},
                    NameCase{"BareName", "loop", "loop.WWC"}, NameCase{"Empty", "", ".WWC"}),
    [](const auto& tested) { return std::string(tested.param.Name); });

TEST_F(TransferFileTest, LowerCaseExtensionIsTheFallback) {
  PutBytes(Path("only.wwc"), nullptr, 0);
  EXPECT_EQ(ResolveTransferFileName(Path("only.WWC")), Path("only.wwc"));

  PutBytes(Path("both.wwc"), nullptr, 0);
  PutBytes(Path("both.WWC"), nullptr, 0);
  EXPECT_EQ(ResolveTransferFileName(Path("both.WWC")), Path("both.WWC"));

  EXPECT_EQ(ResolveTransferFileName(Path("none.WWC")), Path("none.WWC"));
  PutBytes(Path("other.wwc"), nullptr, 0);
  EXPECT_EQ(ResolveTransferFileName(Path("other")), Path("other"));
}

}  // namespace
}  // namespace tv
