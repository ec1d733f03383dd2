// Safe file replacement: read-only targets, writes that fail, old content kept, whole-file reads.
#include "files/file_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
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
    for (const auto& e : fs::directory_iterator(dir_))
      names.push_back(e.path().filename().string());
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

INSTANTIATE_TEST_SUITE_P(
    Modes, ClearReadOnlyTest,
    testing::Values(ModeCase{"ReadOnlyForAll", 0444, 0644}, ModeCase{"OwnerReadOnly", 0400, 0600},
                    ModeCase{"ExecutableReadOnly", 0555, 0755}, ModeCase{"NoBitsAtAll", 0000, 0200},
                    ModeCase{"StickyKept", 01444, 01644}, ModeCase{"AlreadyWritable", 0640, 0640},
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

// A dangling link used to be replaced by a plain file; a loop of links
// would have been too.
TEST_F(FileIoTest, DanglingLinkCreatesItsTarget) {
  fs::create_directory(Path("sub"));
  fs::create_symlink("sub/new", Path("link"));
  ASSERT_TRUE(WriteFileAtomically(Path("link"), "created", nullptr));
  EXPECT_TRUE(fs::is_symlink(Path("link")));
  EXPECT_EQ(Get(Path("sub/new")), "created");

  fs::create_symlink("b", Path("a"));
  fs::create_symlink("a", Path("b"));
  std::string error;
  EXPECT_FALSE(CanWriteFile(Path("a"), &error));
  EXPECT_FALSE(WriteFileAtomically(Path("a"), "loop", &error));
  EXPECT_EQ(error, "\xC9"
                   "criture impossible : trop de liens symboliques.");
  EXPECT_TRUE(fs::is_symlink(Path("a")) && fs::is_symlink(Path("b")));
}

// The printer's temporary: a stale one of a killed export goes, the new one
// is there and empty.
TEST_F(FileIoTest, SweptTemporaryRemovesAStaleOne) {
  const std::string stale = Path(".tracevue-ab12cd34.tmp");
  Put(stale, "left by a killed export");
  timeval times[2] = {};
  times[0].tv_sec = times[1].tv_sec = 1000000000;
  ASSERT_EQ(::utimes(stale.c_str(), times), 0);
  const std::string made = CreateSweptTemporary(dir_.string(), nullptr);
  EXPECT_FALSE(fs::exists(stale));
  ASSERT_FALSE(made.empty());
  EXPECT_EQ(fs::file_size(made), 0u);
  EXPECT_EQ(Entries().size(), 1u);
  // The platform's temporary folder comes with its separator: one, not two.
  const std::string second = CreateSweptTemporary(dir_.string() + "/", nullptr);
  EXPECT_EQ(second.rfind(dir_.string() + "/.tracevue-", 0), 0u) << second;
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
  EXPECT_EQ(error, "\xC9"
                   "criture impossible : fichier trop volumineux.");
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

// Runs check in a child process, as an ordinary user when the tests run as
// root (folder permissions do not bind root); the child's exit code is the
// check's verdict, its reasons go to standard error.
int InChildAsOrdinaryUser(const std::string& folder, const std::function<bool()>& check) {
  constexpr uid_t kNobody = 65534;
  if (::geteuid() == 0 && ::chown(folder.c_str(), kNobody, kNobody) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) std::_Exit(2);
    std::_Exit(check() ? 0 : 1);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct InPlaceCase {
  const char* Name;
  bool Exists;           // a file of that name is there before the save
  unsigned Mode;         // its mode
  rlim_t SizeLimit;      // RLIM_INFINITY, or the limit that makes the write fail
  bool Written;          // the save succeeds
  const char* Expected;  // the file's content afterwards, or the reason of the failure
};

class InPlaceWriteTest : public FileIoTest, public testing::WithParamInterface<InPlaceCase> {};

// A folder that refuses the temporary file: a writable file in it is written
// in place, and a failed write puts its old content back.
TEST_P(InPlaceWriteTest, ReadOnlyFolder) {
  const InPlaceCase c = GetParam();
  const std::string file = Path("target.WWC");
  const std::string folder = dir_.string();
  const int verdict = InChildAsOrdinaryUser(folder, [&] {
    if (c.Exists) {
      Put(file, "old content");
      if (::chmod(file.c_str(), c.Mode) != 0) return false;
    }
    if (::chmod(folder.c_str(), 0555) != 0) return false;
    std::string error;
    bool written;
    {
      FileSizeLimit limit(c.SizeLimit);
      written = WriteFileAtomically(file, std::string(4096, 'n'), &error);
    }
    ::chmod(folder.c_str(), 0755);
    const std::string content = c.Exists ? Get(file) : std::string();
    bool ok = written == c.Written;
    if (written) ok = ok && content == std::string(4096, 'n') && Mode(file) == (c.Mode | 0200);
    if (!written) ok = ok && error == c.Expected && content == (c.Exists ? "old content" : "");
    if (!ok)
      fprintf(stderr, "written %d, error \"%s\", %zu bytes\n", written, error.c_str(),
              content.size());
    return ok && Entries().size() == (c.Exists ? 1u : 0u);
  });
  EXPECT_EQ(verdict, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InPlaceWriteTest,
    testing::Values(InPlaceCase{"WritableFile", true, 0640, RLIM_INFINITY, true, ""},
                    InPlaceCase{"ReadOnlyFileMadeWritable", true, 0444, RLIM_INFINITY, true, ""},
                    InPlaceCase{"NewFileRefused", false, 0, RLIM_INFINITY, false,
                                "Impossible de cr\xE9"
                                "er un fichier temporaire dans le dossier : "
                                "permission refus\xE9"
                                "e."},
                    InPlaceCase{"FailedWriteGivesTheOldContentBack", true, 0640, 1000, false,
                                "\xC9"
                                "criture impossible : fichier trop volumineux."}),
    [](const auto& tested) { return std::string(tested.param.Name); });

struct StaleCase {
  const char* Name;
  const char* Entry;
  int AgeSeconds;
  bool Link;  // a symbolic link of that name rather than a file
  bool Kept;
};

class StaleTemporaryTest : public FileIoTest, public testing::WithParamInterface<StaleCase> {};

// A save killed between the creation of its temporary and the rename leaves
// the temporary; the next save into the folder removes those older than a
// minute, and nothing else.
TEST_P(StaleTemporaryTest, NextSaveRemovesOnlyStaleTemporaries) {
  const StaleCase c = GetParam();
  const std::string entry = Path(c.Entry);
  if (c.Link)
    ASSERT_EQ(::symlink("elsewhere", entry.c_str()), 0);
  else
    Put(entry, "left by a killed save");
  timeval times[2] = {};
  ::gettimeofday(&times[0], nullptr);
  times[0].tv_sec -= c.AgeSeconds;
  times[1] = times[0];
  ASSERT_EQ(::lutimes(entry.c_str(), times), 0);
  ASSERT_TRUE(WriteFileAtomically(Path("target"), "new", nullptr));
  EXPECT_EQ(fs::exists(fs::symlink_status(entry)), c.Kept);
  EXPECT_EQ(Get(Path("target")), "new");
}

INSTANTIATE_TEST_SUITE_P(
    Entries, StaleTemporaryTest,
    testing::Values(StaleCase{"StaleTemporary", ".tracevue-ab12cd34.tmp", 120, false, false},
                    StaleCase{"FreshTemporary", ".tracevue-ab12cd34.tmp", 5, false, true},
                    StaleCase{"StaleLinkWithTheName", ".tracevue-ab12cd34.tmp", 120, true, true},
                    StaleCase{"OtherSuffix", ".tracevue-ab12cd34.tmp~", 120, false, true},
                    StaleCase{"ShorterRandomPart", ".tracevue-ab12.tmp", 120, false, true},
                    StaleCase{"NoLeadingDot", "tracevue-ab12cd34.tmp", 120, false, true}),
    [](const auto& tested) { return std::string(tested.param.Name); });

TEST_F(FileIoTest, StaleTemporaryOfAnotherUserIsKept) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file away";
  const std::string entry = Path(".tracevue-ab12cd34.tmp");
  Put(entry, "someone else's");
  ASSERT_EQ(::chown(entry.c_str(), 65534, 65534), 0);
  timeval times[2] = {};
  times[0].tv_sec = times[1].tv_sec = 1000000000;
  ASSERT_EQ(::utimes(entry.c_str(), times), 0);
  ASSERT_TRUE(WriteFileAtomically(Path("target"), "new", nullptr));
  EXPECT_TRUE(fs::exists(entry));
}

// A named pipe whose writer keeps it open never ends: reading stops at the
// limit, without waiting for one more byte. The reader runs in a child with
// an alarm so that a hang ends the child only.
TEST_F(FileIoTest, PipeWhoseWriterStaysOpenIsReadUpToTheLimit) {
  const std::string fifo = Path("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EXIT(
      {
        ::alarm(5);
        const int writer = ::open(fifo.c_str(), O_RDWR);  // held open for the whole read
        if (writer < 0 || ::write(writer, std::string(554, 'w').data(), 554) != 554) std::_Exit(2);
        const FileReadResult r = ReadFileBytes(fifo, 554);
        std::_Exit(r.Complete && !r.Truncated && r.Bytes == std::string(554, 'w') ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace tv
