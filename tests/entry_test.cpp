// A conversion as the export runs it, and the output-path rule.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

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

// Bytes held in memory give the drawing the same bytes give as a file, in
// both drawings and both formats, one file or several into one model: the
// sample, the fixtures and the real exports.
TEST(BufferConversion, GivesTheDrawingOfTheFile) {
  std::vector<fs::path> files = {fs::path(VORLANE_TEST_DATA) / "../../examples/sample.vfk"};
  for (const auto& entry : fs::directory_iterator(VORLANE_TEST_DATA)) files.push_back(entry.path());
  if (const char* real = std::getenv("VORLANE_REAL_DATA"); real != nullptr && fs::is_directory(real)) {
    for (const auto& entry : fs::directory_iterator(real)) {
      if (entry.path().extension() == ".vfk") files.push_back(entry.path());
    }
  }
  testing::TempDir dir;
  int compared = 0;
  for (const DrawingFormat format : {DrawingFormat::kSvg, DrawingFormat::kDxf}) {
    for (const bool exact : {false, true}) {
      ConversionSettings settings;
      settings.options.exact = exact;
      settings.options.format = format;
      for (const fs::path& file : files) {
        if (file.extension() != ".vfk") continue;
        const fs::path copy = dir.path() / file.filename();
        fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
        IgnoredDiagnostics ignored;
        const Conversion onDisk = convertVfkFile(testing::widePath(copy), settings, ignored);
        ASSERT_TRUE(onDisk.written) << file;
        const std::string bytes = testing::readFile(copy);
        const InputBuffer input{file.filename().string(), bytes};
        const BufferConversion inMemory = convertVfkBuffers(std::span(&input, 1), settings, ignored);
        EXPECT_TRUE(inMemory.conversion.written);
        ASSERT_EQ(inMemory.drawing, testing::readFile(pathToUtf8(onDisk.drawingPath))) << file;
        fs::remove(pathToUtf8(onDisk.drawingPath));
        ++compared;
      }
      // All of them into one model, as --into reads them.
      std::vector<PathString> paths;
      std::vector<std::string> contents;
      for (const fs::path& file : files) {
        if (file.extension() != ".vfk") continue;
        paths.push_back(testing::widePath(dir.path() / file.filename()));
        contents.push_back(testing::readFile(file));
      }
      std::vector<InputBuffer> inputs;
      for (size_t k = 0; k < paths.size(); ++k) inputs.push_back({pathToUtf8(paths[k]), contents[k]});
      settings.drawingPath = testing::widePath(dir.path() / "all.drawing");
      IgnoredDiagnostics ignored;
      ASSERT_TRUE(convertVfkFiles(paths, settings, ignored).written);
      EXPECT_EQ(convertVfkBuffers(inputs, settings, ignored).drawing,
                testing::readFile(dir.path() / "all.drawing"));
    }
  }
  EXPECT_GE(compared, 4 * 5);
}

}  // namespace
}  // namespace vorlane
