// Tests of the synthetic VFK generator (tools/generate_vfk): what it writes
// reads back as parcels with closed borders and every kind of drawing
// element, at the size asked for. (Its bytes are pinned with the drawings.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model/rings.h"
#include "tests/test_support.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class GeneratorTest : public ::testing::Test {
 protected:
  // Runs the generator with "arguments" and returns the file it wrote.
  fs::path generate(const std::string& arguments, const std::string& name) {
    const fs::path output = dir_.path() / name;
    const fs::path messages = dir_.path() / (name + ".log");
    const std::string command = "'" VORLANE_GENERATE_VFK "' " + arguments + " '" + output.string() +
                                "' 2>'" + messages.string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << command << "\n" << readFile(messages);
    return output;
  }

  // Reads a generated file; the reader must not complain about it.
  void read(const fs::path& file) {
    ASSERT_TRUE(parser_.parseFile(widePath(file), kAnsiCodePage).opened);
    EXPECT_EQ(findings_.messages(), "") << "the reader warned about " << file;
  }

  // Whether every subpath of the record's border, as the writer draws it,
  // is a ring of three sides or more that returns to its first point.
  template <typename Record>
  ::testing::AssertionResult ringsClose(const Record& record) {
    collectRingPath(model_, record, path_);
    for (const BorderPath::Subpath& subpath : path_.subpaths) {
      const size_t first = subpath.first;
      const size_t last = subpath.first + subpath.count - 1;
      if (last < first + 3)
        return ::testing::AssertionFailure() << "a ring of " << last - first << " sides";
      const Point& a = model_.points[static_cast<size_t>(path_.points[first])];
      const Point& b = model_.points[static_cast<size_t>(path_.points[last])];
      if (a.x != b.x || a.y != b.y) {
        return ::testing::AssertionFailure()
               << "the ring from point " << first << " does not close";
      }
    }
    return ::testing::AssertionSuccess();
  }

  TempDir dir_;
  RecordedFindings findings_;
  VfkParser parser_{findings_};
  const CadastralModel& model_ = parser_.model;
  BorderPath path_;
};

TEST_F(GeneratorTest, EveryParcelAndBuildingHasClosedRings) {
  read(generate("--seed 11 --parcels 400", "area.vfk"));

  int numbered = 0;
  int withHoles = 0;
  for (const Parcel& parcel : model_.parcels) {
    if (parcel.numberLabel.text.empty()) continue;
    ++numbered;
    withHoles += model_.ringLinesOf(parcel).hasMultipleRings ? 1 : 0;
    EXPECT_TRUE(ringsClose(parcel)) << "parcel " << model_.text(parcel.id);
  }
  // About the parcels asked for, every one with a number, some with a hole.
  EXPECT_GT(numbered, 300);
  EXPECT_LT(numbered, 500);
  EXPECT_EQ(numbered, static_cast<int>(model_.parcels.size()));
  EXPECT_GT(withHoles, 0);

  int outlined = 0;
  for (const Building& building : model_.buildings) {
    if (model_.polylineIndicesOf(building).empty()) continue;
    ++outlined;
    EXPECT_TRUE(ringsClose(building)) << "building " << model_.text(building.id);
    EXPECT_FALSE(model_.ringLinesOf(building).hasMultipleRings)
        << "building " << model_.text(building.id);
  }
  EXPECT_GT(outlined, 10);
}

}  // namespace
}  // namespace vorlane::testing
