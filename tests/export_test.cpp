// The library's one export, called in the shared library as a CAD
// application calls it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

TEST(Export, IsFalseOnlyForAFileItCannotOpen) {
  testing::TempDir dir;
  EXPECT_FALSE(parse(nullptr));
  EXPECT_FALSE(parse(u""));
  EXPECT_FALSE(parse(testing::widePath(dir.path() / "missing.vfk").c_str()));
  EXPECT_FALSE(fs::exists(dir.path() / "missing.svg"));

  testing::writeFile(dir.path() / "plan.vfk", "&HVERZE;\"6.0\"\r\n");
  EXPECT_TRUE(parse(testing::widePath(dir.path() / "plan.vfk").c_str()));
  const std::string drawing = testing::readFile(dir.path() / "plan.svg");
  EXPECT_NE(drawing.find("units=\"4\" origin=\"0.00 0.00\""), std::string::npos);

  // A drawing that cannot be created: the file was read all the same.
  fs::create_directory(dir.path() / "blocked.svg");
  testing::writeFile(dir.path() / "blocked.vfk", "");
  EXPECT_TRUE(parse(testing::widePath(dir.path() / "blocked.vfk").c_str()));
}

}  // namespace
}  // namespace vorlane
