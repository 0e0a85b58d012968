// Real exports, from the folder that the environment variable
// VORLANE_REAL_DATA names (CI points it at exports from public sources):
// every file converts to a well-formed drawing, and the building numbers of
// the current, UTF-8 format read correctly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "entry/conversion.h"
#include "tests/test_support.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;

using RealFiles = testing::ReaderTest;

TEST_F(RealFiles, EveryFileConvertsToAWellFormedDrawing) {
  const char* named = std::getenv("VORLANE_REAL_DATA");
  if (named == nullptr || *named == '\0') {
    GTEST_SKIP() << "VORLANE_REAL_DATA is not set: it names a folder of VFK files to convert";
  }
  const fs::path folder = named;
  if (!fs::is_directory(folder)) GTEST_SKIP() << "VORLANE_REAL_DATA names no folder: " << folder;
  testing::TempDir dir;
  int converted = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".vfk") continue;
    SCOPED_TRACE(entry.path().filename().string());
    setProcessCodePage(0);  // as in a freshly started application
    const fs::path input = dir.path() / entry.path().filename();
    fs::copy_file(entry.path(), input);
    Conversion result;
    testing::captureStdout([&] { result = convertVfkFile(testing::widePath(input), 1, false); });
    ASSERT_TRUE(result.opened && result.readWhole && result.written);
    fs::path output = input;
    output.replace_extension(".svg");
    const std::string drawing = testing::readFile(output);
    EXPECT_EQ(drawing.substr(drawing.size() - 6), "</svg>");
    if (const auto wellFormed = testing::isWellFormedXml(output)) {
      EXPECT_TRUE(*wellFormed);
    }

    const std::string numbers = testing::groupContent(drawing, "VL_cisla_budov");
    if (numbers.find("<text") != std::string::npos) {
      EXPECT_NE(numbers.find(">č.p. "), std::string::npos);
      EXPECT_EQ(numbers.find("Ä"), std::string::npos);  // "č" decoded twice
    }
    ++converted;
  }
  EXPECT_GT(converted, 0);
}

}  // namespace
}  // namespace vorlane
