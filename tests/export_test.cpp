// The library's one export, called in the shared library as a CAD
// application calls it.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Vorlane.h"
#include "tests/test_support.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;

bool parse(const PathChar* path) {
  bool result = false;
  testing::captureStdout([&] { result = Vorlane_ParseVfk(path, 4, true); });
  return result;
}

TEST(Export, IsTrueOnlyForAWholeDrawingInPlace) {
  testing::TempDir dir;
  EXPECT_FALSE(parse(nullptr));
  EXPECT_FALSE(parse(u""));
  EXPECT_FALSE(parse(testing::widePath(dir.path() / "missing.vfk").c_str()));
  EXPECT_FALSE(fs::exists(dir.path() / "missing.svg"));

  testing::writeFile(dir.path() / "plan.vfk", "&HVERZE;\"6.0\"\r\n");
  EXPECT_TRUE(parse(testing::widePath(dir.path() / "plan.vfk").c_str()));
  const std::string drawing = testing::readFile(dir.path() / "plan.svg");
  EXPECT_NE(drawing.find("units=\"4\" origin=\"0.00 0.00\""), std::string::npos);

  // A drawing that cannot be created in place of what is there: false.
  fs::create_directory(dir.path() / "blocked.svg");
  testing::writeFile(dir.path() / "blocked.vfk", "");
  EXPECT_FALSE(parse(testing::widePath(dir.path() / "blocked.vfk").c_str()));
  EXPECT_TRUE(fs::is_directory(dir.path() / "blocked.svg"));

  // A file named like its own drawing, or a VFK file where the drawing
  // would go, is left as it is.
  testing::writeFile(dir.path() / "plan.svg", "&HVERZE;\"6.0\"\r\n");
  EXPECT_FALSE(parse(testing::widePath(dir.path() / "plan.svg").c_str()));
  EXPECT_EQ(testing::readFile(dir.path() / "plan.svg"), "&HVERZE;\"6.0\"\r\n");
  EXPECT_FALSE(parse(testing::widePath(dir.path() / "plan.vfk").c_str()));
  EXPECT_EQ(testing::readFile(dir.path() / "plan.svg"), "&HVERZE;\"6.0\"\r\n");
  fs::remove(dir.path() / "plan.svg");
  // Nothing is left behind.
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().string().find("unfinished"), std::string::npos) << entry.path();
  }
}

// The code page a file names holds for the files converted after it in the
// process, as long as they name none of their own.
TEST(Export, KeepsTheCodePageNamedLastForTheNextFile) {
  testing::TempDir dir;
  const std::string types =
      "&BTYPBUD;KOD N1;NAZEV T60;ZKRATKA T9\r\n&DTYPBUD;1;\"\xA9\";\"\xA9\"\r\n"
      "&BBUD;ID N30;TYPBUD_KOD N1\r\n&DBUD;5;1\r\n";
  testing::writeFile(dir.path() / "latin2.vfk", "&HCODEPAGE;\"WE8ISO8859P2\"\r\n" + types);
  testing::writeFile(dir.path() / "none.vfk", types);
  ASSERT_TRUE(parse(testing::widePath(dir.path() / "latin2.vfk").c_str()));
  ASSERT_TRUE(parse(testing::widePath(dir.path() / "none.vfk").c_str()));
  for (const char* drawing : {"latin2.svg", "none.svg"}) {
    EXPECT_NE(testing::readFile(dir.path() / drawing).find(">Š </text>"), std::string::npos)
        << drawing;
  }
}

// The fixtures, the sample and the real exports of VORLANE_REAL_DATA.
std::vector<fs::path> inputFiles() {
  std::vector<fs::path> files{fs::path(VORLANE_TEST_DATA) / "../../examples/sample.vfk"};
  std::vector<fs::path> folders{VORLANE_TEST_DATA};
  if (const char* realData = std::getenv("VORLANE_REAL_DATA"); realData != nullptr) {
    folders.emplace_back(realData);
  }
  for (const fs::path& folder : folders) {
    if (!fs::is_directory(folder)) continue;
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() == ".vfk") files.push_back(entry.path());
    }
  }
  return files;
}

bool namesItsCodePage(const fs::path& file) {
  return testing::readFile(file).substr(0, 4096).find("&HCODEPAGE;") != std::string::npos;
}

// Four threads convert the same files at once, each in a folder of its own
// and starting at another file. A file that names its code page is drawn
// exactly as one thread alone draws it; the others are decoded with whichever
// code page was named last, so only their conversion is checked. Built with
// ThreadSanitizer, this also shows the calls free of data races.
TEST(Export, ConvertsFromFourThreadsAtOnceAsFromOne) {
  constexpr int kThreads = 4;
  const std::vector<fs::path> files = inputFiles();
  testing::TempDir dir;
  const auto copyInto = [&](const fs::path& folder) {
    fs::create_directory(folder);
    std::vector<PathString> copies;
    for (const fs::path& file : files) {
      fs::copy_file(file, folder / file.filename());
      copies.push_back(testing::widePath(folder / file.filename()));
    }
    return copies;
  };
  const std::vector<PathString> alone = copyInto(dir.path() / "alone");
  for (const PathString& file : alone) ASSERT_TRUE(parse(file.c_str()));

  std::vector<std::vector<PathString>> copies;
  for (int thread = 0; thread < kThreads; ++thread) {
    copies.push_back(copyInto(dir.path() / ("thread" + std::to_string(thread))));
  }
  std::atomic<int> failures{0};
  testing::captureStdout([&] {
    std::vector<std::thread> threads;
    for (int thread = 0; thread < kThreads; ++thread) {
      threads.emplace_back([&, thread] {
        for (size_t i = 0; i < files.size(); ++i) {
          const PathString& file = copies[thread][(i + thread) % files.size()];
          if (!Vorlane_ParseVfk(file.c_str(), 4, true)) ++failures;
        }
      });
    }
    for (std::thread& thread : threads) thread.join();
  });
  EXPECT_EQ(failures, 0);

  for (const fs::path& file : files) {
    if (!namesItsCodePage(file)) continue;
    const fs::path drawing = fs::path(file.filename()).replace_extension(".svg");
    const std::string expected = testing::readFile(dir.path() / "alone" / drawing);
    for (int thread = 0; thread < kThreads; ++thread) {
      EXPECT_TRUE(testing::readFile(dir.path() / ("thread" + std::to_string(thread)) / drawing) ==
                  expected)
          << drawing << " of thread " << thread;
    }
  }
}

}  // namespace
}  // namespace vorlane
