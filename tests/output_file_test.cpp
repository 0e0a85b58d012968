// Outputs are written whole or not at all (the tests' files are not named
// .svg, which the test folder would check to be drawings): the file at the path is replaced
// only by commit(), and whatever fails, or is never committed, leaves it as it
// was, with no temporary file behind.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iterator>
#include <set>
#include <string>

#include "platform/files.h"
#include "tests/test_support.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

bool writeAll(OutputFile& file, const std::string& bytes) {
  return file.write(bytes.data(), bytes.size());
}

TEST(OutputFile, ReplacesTheFileOnlyWhenCommitted) {
  testing::TempDir dir;
  const fs::path drawing = dir.path() / "plan.out";
  testing::writeFile(drawing, "old");
  fs::create_hard_link(drawing, dir.path() / "backup.out");
  ::chmod(drawing.c_str(), 0640);
  {
    OutputFile file(testing::widePath(drawing));
    ASSERT_TRUE(file.isOpen()) << file.failure();
    EXPECT_TRUE(writeAll(file, "new"));
    // While it is written, the old file stands, and the new one has a name
    // that says what it is.
    EXPECT_EQ(testing::readFile(drawing), "old");
    const auto names = namesIn(dir.path());
    ASSERT_EQ(names.size(), 3u);
    const std::string temporary = *std::next(names.begin(), 2);
    EXPECT_EQ(temporary.rfind("plan.out.vorlane-unfinished-" + std::to_string(::getpid()) + "-", 0),
              0u)
        << temporary;
  }
  EXPECT_EQ(testing::readFile(drawing), "old");
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"backup.out", "plan.out"}));

  OutputFile file(testing::widePath(drawing));
  EXPECT_TRUE(writeAll(file, "new"));
  EXPECT_TRUE(file.writeAt(0, "N", 1));
  EXPECT_TRUE(file.commit());
  EXPECT_EQ(testing::readFile(drawing), "New");
  // The other name of the old file keeps it; the new file keeps its mode.
  EXPECT_EQ(testing::readFile(dir.path() / "backup.out"), "old");
  struct stat info;
  ASSERT_EQ(::stat(drawing.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"backup.out", "plan.out"}));

  // A symbolic link is replaced itself; what it named is not written.
  fs::create_directory(dir.path() / "elsewhere");
  testing::writeFile(dir.path() / "elsewhere" / "target.out", "theirs");
  fs::create_symlink("elsewhere/target.out", dir.path() / "link.out");
  OutputFile linked(testing::widePath(dir.path() / "link.out"));
  EXPECT_TRUE(writeAll(linked, "ours") && linked.commit());
  EXPECT_FALSE(fs::is_symlink(dir.path() / "link.out"));
  EXPECT_EQ(testing::readFile(dir.path() / "link.out"), "ours");
  EXPECT_EQ(testing::readFile(dir.path() / "elsewhere" / "target.out"), "theirs");

  // A name too long for a suffix still gets its temporary file.
  const fs::path longName = dir.path() / (std::string(250, 'x') + ".out");
  OutputFile longFile(testing::widePath(longName));
  EXPECT_TRUE(writeAll(longFile, "long") && longFile.commit()) << longFile.failure();
  EXPECT_EQ(testing::readFile(longName), "long");
}

TEST(OutputFile, FailsWithoutTouchingWhatIsThere) {
  testing::TempDir dir;
  fs::create_directory(dir.path() / "folder.out");
  const auto failure = [](const fs::path& path) {
    const OutputFile file(testing::widePath(path));
    EXPECT_FALSE(file.isOpen()) << path;
    EXPECT_EQ(whyNotWritable(testing::widePath(path)), file.failure());
    return file.failure();
  };
  EXPECT_EQ(failure(dir.path() / "folder.out"), "Is a directory");
  EXPECT_EQ(failure(dir.path() / "missing" / "plan.out"), "No such file or directory");
  EXPECT_EQ(failure("/dev/null"), "Not a regular file");
  EXPECT_EQ(whyNotWritable(testing::widePath(dir.path() / "new.out")), "");
  EXPECT_FALSE(fs::exists(dir.path() / "new.out"));

  // A write beyond the file-size limit fails: nothing is committed, and
  // the old file and the folder are as they were.
  const fs::path drawing = dir.path() / "plan.out";
  testing::writeFile(drawing, "old");
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit limit = {1000, 1000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    OutputFile file(testing::widePath(drawing));
    const bool wrote = writeAll(file, std::string(5000, 'x'));
    const bool committed = file.commit();
    ::_exit(!wrote && !committed && file.failure() == "File too large" ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(testing::readFile(drawing), "old");
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"folder.out", "plan.out"}));
}

}  // namespace
}  // namespace vorlane
