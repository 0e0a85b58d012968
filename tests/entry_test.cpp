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

using Conversions = testing::ConversionTest;

// A parcel no boundary introduced is skipped.
const std::string kSquare = testing::kTrianglePoints + testing::kTriangleLines +
                            "&DOP;78;\"PC\";0;\"78\"\n" + testing::kTriangleNumber;

TEST_F(Conversions, WriteTheDrawingBesideTheInput) {
  const std::string svg =
      convert(kSquare, "plan.2014", {.options = {.units = -7, .centreOrigin = true}});
  ASSERT_TRUE(result.written);
  EXPECT_EQ(output, "");
  EXPECT_NE(svg.find("    units=\"-7\" origin=\"-10.50 -20.50\"\r\n"), std::string::npos);
  EXPECT_NE(svg.find(testing::kTrianglePath), std::string::npos);
  EXPECT_EQ(svg.find("id=\"78\""), std::string::npos);
  EXPECT_EQ(svg.substr(svg.size() - 8), "\r\n</svg>");

  // An existing drawing is replaced, not appended to.
  testing::writeFile(dir.path() / "again.svg", std::string(100000, 'x'));
  const std::string again = convert("", "again");
  EXPECT_EQ(again.substr(0, 5), "<?xml");
  EXPECT_EQ(again.find('x' + std::string(10, 'x')), std::string::npos);
}

TEST_F(Conversions, ADrawingThatCannotBeCreatedIsReadButNotWritten) {
  // A folder stands where the drawing would go.
  testing::writeFile(dir.path() / "blocked.vfk", kSquare);
  fs::create_directory(dir.path() / "blocked.svg");
  result = convertFile(dir.path() / "blocked.vfk");
  EXPECT_TRUE(result.opened);
  EXPECT_FALSE(result.written);
  EXPECT_TRUE(fs::is_directory(dir.path() / "blocked.svg"));

  // A folder no one may write into (root neither, since it runs as nobody).
  const fs::path readOnly = dir.path() / "ro";
  fs::create_directory(readOnly);
  testing::writeFile(readOnly / "plan.vfk", kSquare);
  fs::permissions(readOnly / "plan.vfk", fs::perms::others_read, fs::perm_options::add);
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                fs::perms::others_exec);
  EXPECT_TRUE(testing::asUnprivilegedUser([&] {
    IgnoredDiagnostics ignored;
    const Conversion conversion =
        convertVfkFile(testing::widePath(readOnly / "plan.vfk"), {}, ignored);
    return conversion.opened && !conversion.written;
  }));
  EXPECT_FALSE(fs::exists(readOnly / "plan.svg"));
}

}  // namespace
}  // namespace vorlane
