// Safe file replacement: read-only targets, writes that fail, old content kept, whole-file reads.
#include "files/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tv {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tv-file-io-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  static void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static unsigned Mode(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    return names;
  }

  fs::path dir_;
};

// Makes every write past `limit` bytes fail with EFBIG, even for root, which
// ignores permission bits but not the file size limit.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit lower = old_;
    lower.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &lower);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

struct ModeCase {
  const char* Name;
  unsigned Before;
  unsigned After;
};

class ClearReadOnlyTest : public FileIoTest, public testing::WithParamInterface<ModeCase> {};

TEST_P(ClearReadOnlyTest, GivesOwnerWriteBackAndKeepsOtherBits) {
  const std::string file = Path("f");
  Put(file, "x");
  ASSERT_EQ(::chmod(file.c_str(), GetParam().Before), 0);
  ClearReadOnly(file);
  EXPECT_EQ(Mode(file), GetParam().After);
}

INSTANTIATE_TEST_SUITE_P(Modes, ClearReadOnlyTest,
                         testing::Values(ModeCase{"ReadOnlyForAll", 0444, 0644},
                                         ModeCase{"OwnerReadOnly", 0400, 0600},
                                         ModeCase{"ExecutableReadOnly", 0555, 0755},
                                         ModeCase{"NoBitsAtAll", 0000, 0200},
                                         ModeCase{"StickyKept", 01444, 01644},
                                         ModeCase{"AlreadyWritable", 0640, 0640},
                                         ModeCase{"GroupWritableOnly", 0464, 0664}),
                         [](const auto& tested) { return std::string(tested.param.Name); });

TEST_F(FileIoTest, ClearReadOnlyOfMissingFileCreatesNothing) {
  ClearReadOnly(Path("missing"));
  EXPECT_FALSE(fs::exists(Path("missing")));
}

TEST_F(FileIoTest, WriteCreatesFileWithTheBytesAndNoTemporaryLeft) {
  const std::string file = Path("new.bin");
  const std::string bytes("a\0b\r\n\xFF", 6);
  std::string error = "untouched";
  ASSERT_TRUE(WriteFileAtomically(file, bytes, &error));
  EXPECT_EQ(Get(file), bytes);
  EXPECT_EQ(Entries(), std::vector<std::string>{"new.bin"});
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(Mode(file), 0666u & ~static_cast<unsigned>(mask));
}

TEST_F(FileIoTest, WriteOfNoBytesLeavesEmptyFile) {
  const std::string file = Path("empty");
  Put(file, "old content");
  ASSERT_TRUE(WriteFileAtomically(file, "", nullptr));
  EXPECT_TRUE(fs::exists(file));
  EXPECT_EQ(Get(file), "");
}

TEST_F(FileIoTest, ReadOnlyTargetIsReplacedAndKeepsItsOtherModeBits) {
  const std::string file = Path("ro.WWC");
  Put(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file, "new bytes", &error)) << error;
  EXPECT_EQ(Get(file), "new bytes");
  EXPECT_EQ(Mode(file), 0644u);
}

TEST_F(FileIoTest, ReplacedFileKeepsItsMode) {
  const std::string file = Path("script");
  Put(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0751), 0);
  ASSERT_TRUE(WriteFileAtomically(file, "new", nullptr));
  EXPECT_EQ(Mode(file), 0751u);
}

TEST_F(FileIoTest, SymbolicLinkIsFollowedAndStaysALink) {
  const std::string target = Path("real");
  const std::string link = Path("link");
  Put(target, "old");
  fs::create_symlink(target, link);
  ASSERT_TRUE(WriteFileAtomically(link, "through the link", nullptr));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Get(target), "through the link");
}

struct FailCase {
  const char* Name;
  const char* Setup;   // "none", "file" (a regular file named blocker), "dir" (target is a folder)
  const char* Target;  // relative to the test folder
};

class FailedWriteTest : public FileIoTest, public testing::WithParamInterface<FailCase> {};

TEST_P(FailedWriteTest, ReportsFrenchReasonAndLeavesNoTemporary) {
  const std::string setup = GetParam().Setup;
  if (setup == "file") Put(Path("blocker"), "i am a file");
  if (setup == "dir") fs::create_directory(Path("folder"));
  const std::vector<std::string> before = Entries();

  std::string error;
  EXPECT_FALSE(WriteFileAtomically(Path(GetParam().Target), "data", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_NE(error.find(" : "), std::string::npos) << error;
  EXPECT_EQ(Entries(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FailedWriteTest,
    testing::Values(FailCase{"FolderDoesNotExist", "none", "no/such/folder/out.WWC"},
                    FailCase{"PathInsideRegularFile", "file", "blocker/out.WWC"},
                    FailCase{"TargetIsAFolder", "dir", "folder"}),
    [](const auto& tested) { return std::string(tested.param.Name); });

TEST_F(FileIoTest, EmptyNameFails) {
  std::string error;
  EXPECT_FALSE(WriteFileAtomically("", "data", &error));
  EXPECT_FALSE(error.empty());
}

TEST_F(FileIoTest, WriteThatFailsMidwayKeepsOldContent) {
  const std::string file = Path("keep.WWC");
  Put(file, "old content");
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  std::string error;
  bool written;
  {
    FileSizeLimit limit(64);
    written = WriteFileAtomically(file, std::string(4096, 'n'), &error);
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(error, "\xC9" "criture impossible : fichier trop volumineux.");
  EXPECT_EQ(Get(file), "old content");
  EXPECT_EQ(Entries(), std::vector<std::string>{"keep.WWC"});
}

TEST_F(FileIoTest, ReadMissingFileIsNotOpened) {
  const FileReadResult r = ReadFileBytes(Path("missing"), 100);
  EXPECT_FALSE(r.Opened);
  EXPECT_FALSE(r.Complete);
  EXPECT_TRUE(r.Bytes.empty());
  EXPECT_EQ(r.Error, "Lecture impossible : dossier ou fichier introuvable.");
}

struct ReadCase {
  const char* Name;
  std::size_t FileSize;
  std::size_t MaxBytes;
  std::size_t Expected;
  bool Truncated;
};

class ReadFileBytesTest : public FileIoTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(ReadFileBytesTest, ReadsUpToTheLimit) {
  std::string content(GetParam().FileSize, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  Put(Path("f"), content);
  const FileReadResult r = ReadFileBytes(Path("f"), GetParam().MaxBytes);
  EXPECT_TRUE(r.Opened);
  EXPECT_TRUE(r.Complete);
  EXPECT_EQ(r.Truncated, GetParam().Truncated);
  EXPECT_EQ(r.Bytes, content.substr(0, GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReadFileBytesTest,
                         testing::Values(ReadCase{"Empty", 0, 554, 0, false},
                                         ReadCase{"Shorter", 243, 554, 243, false},
                                         ReadCase{"Exact", 554, 554, 554, false},
                                         ReadCase{"Longer", 600, 554, 554, true},
                                         ReadCase{"BeyondOneBuffer", 200000, 150000, 150000, true},
                                         ReadCase{"ZeroLimit", 10, 0, 0, true}),
                         [](const auto& tested) { return std::string(tested.param.Name); });

TEST_F(FileIoTest, ReadFolderIsIncomplete) {
  const FileReadResult r = ReadFileBytes(dir_.string(), 100);
  EXPECT_TRUE(r.Opened);
  EXPECT_FALSE(r.Complete);
  EXPECT_EQ(r.Error, "Lecture impossible : le nom d\xE9signe un dossier.");
}

}  // namespace
}  // namespace tv
