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

TEST(Export, IsFalseForAFileItCannotOpenOrWouldReplace) {
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

  // A file named like its own drawing is left as it is.
  testing::writeFile(dir.path() / "plan.svg", "&HVERZE;\"6.0\"\r\n");
  EXPECT_FALSE(parse(testing::widePath(dir.path() / "plan.svg").c_str()));
  EXPECT_EQ(testing::readFile(dir.path() / "plan.svg"), "&HVERZE;\"6.0\"\r\n");
  fs::remove(dir.path() / "plan.svg");  // no drawing, for the folder's check
}

// The code page a file names holds for the files converted after it in the
// process, as long as they name none of their own.
TEST(Export, KeepsTheCodePageNamedLastForTheNextFile) {
  testing::TempDir dir;
  const std::string types = "&BTYPBUD;KOD N1;NAZEV T60;ZKRATKA T9\r\n&DTYPBUD;1;\"\xA9\";\"\xA9\"\r\n"
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

}  // namespace
}  // namespace vorlane
