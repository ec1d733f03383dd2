// Writes that fail (missing folder, path through a file, size limit, special file) leave the old
// file and report why.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "files/file_io.h"
#include "files/transfer_file.h"
#include "files/worksheet.h"

namespace tv::robustness {
namespace {

namespace fs = std::filesystem;

// Every write past `limit` bytes fails with EFBIG, for root as well (root
// ignores permission bits but not the file-size limit). SIGXFSZ, which would
// end the process, is ignored meanwhile.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit lowered = old_;
    lowered.rlim_cur = limit;
    active_ = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool Active() const { return active_; }

 private:
  rlimit old_{};
  void (*old_handler_)(int) = SIG_DFL;
  bool active_ = false;
};

// The three writers of the core, each writing its own bytes to a path.
struct Writer {
  const char* Name;
  std::size_t Size;  // bytes a successful write leaves
  std::function<bool(const std::string& path, std::string* error)> Write;
};

std::vector<Writer> Writers() {
  return {
      {"WriteFileAtomically", 1000,
       [](const std::string& path, std::string* error) {
         return WriteFileAtomically(path, std::string(1000, 'n'), error);
       }},
      {"SaveTransferFile", kTransferFileSize,
       [](const std::string& path, std::string* error) {
         DiagramState s;
         HeadlessHost host;
         SetStartValues(s);
         s.Host = &host;
         return SaveTransferFile(s, path, error);
       }},
      {"WriteWorksheet", kWorksheetSize,
       [](const std::string& path, std::string* error) {
         DiagramState s;
         SetStartValues(s);
         const bool checked[3] = {true, false, false};
         return WriteWorksheet(BuildWorksheet(s, checked, false), path, error);
       }},
  };
}

void PrintTo(const Writer& w, std::ostream* os) { *os << w.Name; }

constexpr const char* kOldContent = "the old file, which must survive";

class FailedWriteTest : public testing::TestWithParam<Writer> {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tv-robust-write-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
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
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // Runs the writer, expects a failure with a reason, and no new entry.
  std::string ExpectFailure(const std::string& path) {
    const std::vector<std::string> before = Entries();
    std::string error;
    EXPECT_FALSE(GetParam().Write(path, &error)) << path;
    EXPECT_FALSE(error.empty());
    EXPECT_NE(error.find(" : "), std::string::npos) << error;
    EXPECT_EQ(Entries(), before) << "a temporary or a new file was left";
    return error;
  }

  fs::path dir_;
};

TEST_P(FailedWriteTest, SucceedsWhereNothingStandsInTheWay) {
  const std::string file = Path("target");
  Put(file, kOldContent);
  std::string error;
  ASSERT_TRUE(GetParam().Write(file, &error)) << error;
  EXPECT_EQ(fs::file_size(file), GetParam().Size);
  EXPECT_EQ(Entries(), std::vector<std::string>{"target"});
}

TEST_P(FailedWriteTest, FolderThatDoesNotExist) {
  const std::string error = ExpectFailure(Path("no/such/folder/target"));
  EXPECT_NE(error.find("introuvable"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(Path("no")));
}

TEST_P(FailedWriteTest, PathInsideARegularFile) {
  const std::string blocker = Path("blocker");
  Put(blocker, kOldContent);
  const std::string error = ExpectFailure(blocker + "/target");
  EXPECT_NE(error.find("n'est pas un dossier"), std::string::npos) << error;
  EXPECT_EQ(Get(blocker), kOldContent);
}

TEST_P(FailedWriteTest, TargetIsAFolder) {
  fs::create_directory(Path("folder"));
  Put(Path("folder/inside"), kOldContent);
  ExpectFailure(Path("folder"));
  EXPECT_TRUE(fs::is_directory(Path("folder")));
  EXPECT_EQ(Get(Path("folder/inside")), kOldContent);
}

TEST_P(FailedWriteTest, FileSizeLimitKeepsTheOldFile) {
  const std::string file = Path("target");
  Put(file, kOldContent);
  std::string error;
  {
    FileSizeLimit limit(100);  // below every writer's size
    ASSERT_TRUE(limit.Active());
    EXPECT_FALSE(GetParam().Write(file, &error));
  }
  EXPECT_EQ(error, "\xC9"
                   "criture impossible : fichier trop volumineux.");
  EXPECT_EQ(Get(file), kOldContent);
  EXPECT_EQ(Entries(), std::vector<std::string>{"target"});
}

TEST_P(FailedWriteTest, FileSizeLimitWithoutAnOldFileLeavesNothing) {
  std::string error;
  {
    FileSizeLimit limit(0);
    ASSERT_TRUE(limit.Active());
    EXPECT_FALSE(GetParam().Write(Path("target"), &error));
  }
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(Entries().empty());
}

// A special file (here a FIFO; /dev/full or /dev/null alike) is not a file a
// save may replace: renaming a temporary over it would turn a device or a
// pipe into a plain file.
TEST_P(FailedWriteTest, SpecialFileIsNeitherReplacedNorOpened) {
  const std::string fifo = Path("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const std::string error = ExpectFailure(fifo);
  EXPECT_NE(error.find("fichier ordinaire"), std::string::npos) << error;
  struct stat st {};
  ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_P(FailedWriteTest, SymbolicLinkToASpecialFileLeavesBoth) {
  const std::string fifo = Path("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  fs::create_symlink(fifo, Path("link"));
  ExpectFailure(Path("link"));
  EXPECT_TRUE(fs::is_symlink(Path("link")));
  EXPECT_TRUE(fs::is_fifo(fifo));
}

INSTANTIATE_TEST_SUITE_P(Writers, FailedWriteTest, testing::ValuesIn(Writers()),
                         [](const auto& tested) { return std::string(tested.param.Name); });

}  // namespace
}  // namespace tv::robustness
