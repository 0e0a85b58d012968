#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vfk/record_syntax.h"

namespace vorlane {
namespace {

std::vector<std::string> fieldsOf(std::string_view line) {
  SplitLine row;
  const int count = splitFields(line, row);
  EXPECT_EQ(count, row.fieldCount);
  std::vector<std::string> fields;
  for (int i = 0; i < count; ++i) fields.emplace_back(row.field(i));
  return fields;
}

using Fields = std::vector<std::string>;

TEST(SplitFields, EmptyPiecesCountButNotATrailingOne) {
  EXPECT_EQ(fieldsOf("a;;b"), (Fields{"a", "", "b"}));
  EXPECT_EQ(fieldsOf("a;b;"), (Fields{"a", "b"}));
  EXPECT_EQ(fieldsOf("a;b;;"), (Fields{"a", "b", ""}));
  EXPECT_EQ(fieldsOf(""), Fields{});
  EXPECT_EQ(fieldsOf(";"), Fields{""});
  EXPECT_EQ(fieldsOf("abc"), Fields{"abc"});
  // A semicolon inside quotes separates like any other.
  EXPECT_EQ(fieldsOf("&DOP;\"a;b\";1"), (Fields{"&DOP", "\"a", "b\"", "1"}));
}

TEST(SplitFields, KeepsTheFirstFiftyFieldsAndReadsBeyondAsEmpty) {
  std::string line = "&DX";
  for (int i = 1; i < 60; ++i) {
    line += ';';
    line += std::to_string(i);
  }
  SplitLine row;
  EXPECT_EQ(splitFields(line, row), 50);
  EXPECT_EQ(row.field(49), "49");
  EXPECT_EQ(row.field(50), "");
  EXPECT_EQ(row.field(-1), "");

  // Fields of an earlier, longer line do not show through a shorter one.
  splitFields("&DX;1", row);
  EXPECT_EQ(row.field(1), "1");
  EXPECT_EQ(row.field(2), "");
}

TEST(SplitQuotedFields, KeepsATextWholeAndLeavesAnOverlongLineUnsplit) {
  SplitLine row;
  EXPECT_EQ(splitQuotedFields("&DOP;\"a;b\";\"say \"\"x\"\"\";1;", row, kMaxFields), 4);
  ASSERT_EQ(row.fieldCount, 4);
  EXPECT_EQ(row.field(0), "&DOP");
  EXPECT_EQ(row.field(1), "\"a;b\"");
  EXPECT_EQ(row.field(2), "\"say \"\"x\"\"\"");
  EXPECT_EQ(row.field(3), "1");
  EXPECT_EQ(splitQuotedFields("&DOP;1;2;3", row, 2), 3);
  EXPECT_EQ(row.fieldCount, 2);
  EXPECT_EQ(row.field(1), "1");
  EXPECT_EQ(splitQuotedFields("&DOP;\"open;1", row, kMaxFields), -1);
  // Too long for the offsets of its fields: not looked at at all.
  const char bytes[] = "&DOP;1";
  EXPECT_EQ(splitQuotedFields(std::string_view(bytes, kMaxSplitLength + 1), row, kMaxFields), -1);
  EXPECT_EQ(row.fieldCount, 0);
}

TEST(FindFieldIndex, MatchesTheNameBeforeTheFirstSpaceExactly) {
  SplitLine definition;
  const int count =
      splitFields("&BSOBR;ID N30;SOURADNICE_Y N10.2;SOURADNICE_X N10.2;X;ID T5", definition);
  EXPECT_EQ(findFieldIndex(definition, count, "ID"), 1);  // the first of two
  EXPECT_EQ(findFieldIndex(definition, count, "SOURADNICE_X"), 3);
  EXPECT_EQ(findFieldIndex(definition, count, "X"), 4);  // a field without a type
  EXPECT_EQ(findFieldIndex(definition, count, "SOURADNICE"), -1);
  EXPECT_EQ(findFieldIndex(definition, count, "id"), -1);
  EXPECT_EQ(findFieldIndex(definition, count, "&BSOBR"), 0);
  // Only the first "count" fields are searched.
  EXPECT_EQ(findFieldIndex(definition, 3, "SOURADNICE_X"), -1);
}

}  // namespace
}  // namespace vorlane
