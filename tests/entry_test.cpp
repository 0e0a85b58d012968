// A conversion as the export runs it, and the output-path rule.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "entry/conversion.h"
#include "entry/output_path.h"
#include "tests/test_support.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;

std::u16string outputOf(std::u16string_view input) { return outputPathFor(input); }

TEST(OutputPath, ReplacesTheLastExtensionAnywhereInThePath) {
  EXPECT_EQ(outputOf(u"C:\\maps\\Brno.vfk"), u"C:\\maps\\Brno.svg");
  EXPECT_EQ(outputOf(u"D:\\x\\export.2014.vfk"), u"D:\\x\\export.2014.svg");
  EXPECT_EQ(outputOf(u"C:\\data.old\\export"), u"C:\\data.svg");
  EXPECT_EQ(outputOf(u"C:\\vfk\\export"), u"C:\\vfk\\export.svg");
  EXPECT_EQ(outputOf(u"/home/u/Hřebečná/plán.VFK"), u"/home/u/Hřebečná/plán.svg");
  EXPECT_EQ(outputOf(u""), u".svg");
}

class Conversions : public testing::ReaderTest {
 protected:
  // Converts the file at "input"; what the library printed goes to "output".
  Conversion convertFile(const fs::path& input, int units = 1, bool centreOrigin = false) {
    Conversion result;
    output = testing::captureStdout(
        [&] { result = convertVfkFile(testing::widePath(input), units, centreOrigin); });
    return result;
  }

  // Converts "vfkText" written to "name" in the test's folder; returns
  // whether the drawing was written.
  bool convert(const std::string& name, const std::string& vfkText, int units = 1,
               bool centreOrigin = false) {
    testing::writeFile(dir.path() / name, vfkText);
    const Conversion result = convertFile(dir.path() / name, units, centreOrigin);
    EXPECT_TRUE(result.opened);
    return result.written;
  }

  testing::TempDir dir;
  std::string output;  // what the library printed
};

const std::string kSquare =
    "&BSOBR;ID N30;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\n"
    "&DSOBR;1;10;20\n&DSOBR;2;11;20\n&DSOBR;3;11;21\n"
    "&BSBP;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30\n"
    "&DSBP;1;1;5\n&DSBP;2;2;5\n&DSBP;3;3;5\n&DSBP;1;4;5\n"
    "&BHP;ID N30;TYPPPD_KOD N10;PAR_ID_1 N30;PAR_ID_2 N30\n&DHP;5;0;77;\n"
    "&BOP;PAR_ID N30;OPAR_TYPE T10;TYPPPD_KOD N10;TEXT T255\n"
    "&DOP;78;\"PC\";0;\"78\"\n"  // a parcel no boundary introduced: skipped
    "&DOP;77;\"PC\";0;\"77\"\n";

TEST_F(Conversions, WriteTheDrawingBesideTheInput) {
  ASSERT_TRUE(convert("plan.2014.vfk", kSquare, -7, true));
  EXPECT_EQ(output, "");
  const std::string svg = testing::readFile(dir.path() / "plan.2014.svg");
  EXPECT_NE(svg.find("    units=\"-7\" origin=\"-10.50 -20.50\"\r\n"), std::string::npos);
  EXPECT_NE(svg.find("<path id=\"77\" style=\"fill:none;stroke:black;stroke-width:0.2\" "
                     "d=\"M-10.00,-20.00 -11.00,-20.00 -11.00,-21.00 -10.00,-20.00 \"/>"),
            std::string::npos);
  EXPECT_EQ(svg.find("id=\"78\""), std::string::npos);
  EXPECT_EQ(svg.substr(svg.size() - 8), "\r\n</svg>");

  // An existing drawing is replaced, not appended to.
  testing::writeFile(dir.path() / "again.svg", std::string(100000, 'x'));
  ASSERT_TRUE(convert("again.vfk", ""));
  const std::string again = testing::readFile(dir.path() / "again.svg");
  EXPECT_EQ(again.substr(0, 5), "<?xml");
  EXPECT_EQ(again.find('x' + std::string(10, 'x')), std::string::npos);
}

TEST_F(Conversions, ADrawingThatCannotBeCreatedIsReadButNotWritten) {
  // A folder stands where the drawing would go.
  fs::create_directory(dir.path() / "blocked.svg");
  EXPECT_FALSE(convert("blocked.vfk", kSquare));
  EXPECT_TRUE(fs::is_directory(dir.path() / "blocked.svg"));

  // A folder no one may write into (root neither, since it runs as nobody).
  const fs::path readOnly = dir.path() / "ro";
  fs::create_directory(readOnly);
  testing::writeFile(readOnly / "plan.vfk", kSquare);
  fs::permissions(readOnly / "plan.vfk", fs::perms::others_read, fs::perm_options::add);
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec |
                                fs::perms::others_read | fs::perms::others_exec);
  EXPECT_TRUE(testing::asUnprivilegedUser([&] {
    const Conversion result = convertVfkFile(testing::widePath(readOnly / "plan.vfk"), 1, false);
    return result.opened && !result.written;
  }));
  EXPECT_FALSE(fs::exists(readOnly / "plan.svg"));
}

TEST_F(Conversions, UnicodeAndLatin2FilesFollowEachOtherInOneProcess) {
  const std::string utf8 = testing::readFile(VORLANE_TEST_DATA "/utf8_current.vfk");
  const std::string latin2 = testing::readFile(VORLANE_TEST_DATA "/small_area.vfk");
  auto numbersOf = [this](const char* name) {
    return testing::groupContent(testing::readFile(dir.path() / name), "VL_cisla_budov");
  };
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(convert("current.vfk", utf8));
    EXPECT_EQ(processCodePage(), 65001);
    const std::string numbers = numbersOf("current.svg");
    EXPECT_NE(numbers.find(">č.p. 12</text>"), std::string::npos) << numbers;
    EXPECT_NE(numbers.find(">č.e. 7</text>"), std::string::npos) << numbers;
    EXPECT_NE(testing::readFile(dir.path() / "current.svg").find(">Hřebečná</text>"),
              std::string::npos);

    ASSERT_TRUE(convert("older.vfk", latin2));
    EXPECT_EQ(processCodePage(), 28592);
    EXPECT_NE(numbersOf("older.svg").find(">č.p. 42</text>"), std::string::npos);
  }
}

}  // namespace
}  // namespace vorlane
