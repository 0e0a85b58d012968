// Parcel numbers, arrows, building numbers and the text element itself.
#include <gtest/gtest.h>

#include <string>

#include "svg/text_element.h"
#include "tests/test_support.h"

namespace vorlane {
namespace {

using testing::groupContent;

TEST(TextAlignment, ReferencePointsSelectAnchorAndBaseline) {
  const struct {
    int referencePoint;
    const char* anchor;
    const char* baseline;
  } cases[] = {
      {1, "start", "baseline"}, {2, "middle", "baseline"}, {3, "end", "baseline"},
      {4, "start", "hanging"},  {5, "middle", "hanging"},  {6, "end", "hanging"},
      {7, "start", "middle"},   {8, "middle", "middle"},   {9, "end", "middle"},
      {0, "middle", "middle"},  {-1, "middle", "middle"},  {10, "middle", "middle"},
      {12, "middle", "middle"},
  };
  for (const auto& c : cases) {
    const TextAlignment alignment = textAlignmentAttributes(c.referencePoint);
    EXPECT_EQ(alignment.anchor, "text-anchor=\"" + std::string(c.anchor) + "\"")
        << c.referencePoint;
    EXPECT_EQ(alignment.baseline, "alignment-baseline=\"" + std::string(c.baseline) + "\"")
        << c.referencePoint;
  }
}

std::string textElement(const CadastralModel& model, const TextLabel& label,
                        std::optional<std::string_view> id) {
  SvgOutput out;
  writeTextElement(out, label, model.text(label.text), id);
  return std::string(out.text());
}

TEST(TextElement, TurnsOnlyByAPositiveAngleAndEscapesItsText) {
  CadastralModel model;
  TextLabel label;
  label.text = model.addText("1<2 & \"3\"");
  label.x = 10;
  label.y = -20.5;
  label.angle = 30;
  label.referencePoint = 5;
  EXPECT_EQ(
      textElement(model, label, "2140587101"),
      "<text id=\"2140587101\" x=\"10.00\" y=\"-20.50\" text-anchor=\"middle\" "
      "alignment-baseline=\"hanging\" transform=\"rotate(30.00 10.00 -20.50)\" fill=\"black\" "
      "font-size=\"1.00\">1&lt;2 &amp; &quot;3&quot;</text>\r\n");
  label.text = model.addText("7");
  for (const float angle : {0.0005f, 0.001f, -30.0f, 0.0f}) {
    label.angle = angle;
    EXPECT_EQ(
        textElement(model, label, std::nullopt),
        "<text x=\"10.00\" y=\"-20.50\" text-anchor=\"middle\" alignment-baseline=\"hanging\" "
        "fill=\"black\" font-size=\"1.00\">7</text>\r\n")
        << angle;
  }
}

TEST(ParcelTextLayer, WritesNumberTextsWithTheirParcelIdThenArrows) {
  CadastralModel model;
  model.addPoint(0, 0);
  for (const char* id : {"3", "2", "1"}) {
    model.addParcelBoundary(model.addPointList(std::vector<int32_t>{0}), id, "", 0);
  }
  const int32_t numbered = model.findParcel("1");
  TextLabel& number = model.parcels[static_cast<size_t>(numbered)].numberLabel;
  number.text = model.addText("15/2");
  number.x = 1;
  number.y = 2;
  const int32_t extras = model.findParcel("2");  // no number row: two extra texts and an arrow
  model.addArrow(extras, 7, 8, 45);
  model.addArrow(numbered, 3, 4, 0);
  for (const char* text : {"a", "", "b"}) {
    TextLabel label;
    label.text = model.addText(text);
    label.size = 0.5f;
    model.addExtraNumberLabel(extras, label);
  }
  model.addArrow(numbered, 5, 6, -30);
  model.resolveGeometry();
  // The arrow symbol between the texts and the arrows is pinned with the
  // drawings.
  const std::string content = groupContent(testing::drawing(model), "VL_text_parcel");
  const size_t definition = content.find("\n        <!-- Parcel arrow definition -->");
  const std::string usage = "        <!-- Parcels arrows usage -->\n";
  EXPECT_EQ(content.substr(0, definition) + content.substr(content.find(usage) + usage.size()),
            "        <text id=\"1\" x=\"1.00\" y=\"2.00\" text-anchor=\"start\" "
            "alignment-baseline=\"baseline\" "
            "fill=\"black\" font-size=\"1.00\">15/2</text>\n"
            "        <text id=\"2\" x=\"0.00\" y=\"0.00\" text-anchor=\"start\" "
            "alignment-baseline=\"baseline\" "
            "fill=\"black\" font-size=\"0.50\">a</text>\n"
            "        <text id=\"2\" x=\"0.00\" y=\"0.00\" text-anchor=\"start\" "
            "alignment-baseline=\"baseline\" "
            "fill=\"black\" font-size=\"0.50\">b</text>\n"
            "        <line x1=\"1.00\" y1=\"2.00\" x2=\"3.00\" y2=\"4.00\" stroke=\"black\" "
            "stroke-width=\"0.20\" />\n"
            "        <use x=\"3.00\" y=\"4.00\" xlink:href=\"#VL_symbol_arrow\"/>\n"
            "        <line x1=\"1.00\" y1=\"2.00\" x2=\"5.00\" y2=\"6.00\" stroke=\"black\" "
            "stroke-width=\"0.20\" />\n"
            "        <use x=\"5.00\" y=\"6.00\" xlink:href=\"#VL_symbol_arrow\" "
            "transform=\"rotate(-30.00 5.00 6.00)\"/>\n"
            "        <line x1=\"0.00\" y1=\"0.00\" x2=\"7.00\" y2=\"8.00\" stroke=\"black\" "
            "stroke-width=\"0.20\" />\n"
            "        <use x=\"7.00\" y=\"8.00\" xlink:href=\"#VL_symbol_arrow\" "
            "transform=\"rotate(45.00 7.00 8.00)\"/>\n");
}

TEST(BuildingNumberLayer, NumbersFollowTheBuildingType) {
  CadastralModel model;
  auto building = [&model](const char* id, int type, const char* number) {
    const TextRef text = model.addText(number);
    Building& b = model.getOrCreateBuilding(id);
    b.typeCode = type;
    b.numberLabel.text = text;
    b.numberLabel.x = 1;
    b.numberLabel.y = -1;
    b.numberLabel.angle = 45;  // ignored: building numbers are never turned
  };
  building("a", 1, "12");
  building("b", 1, "");
  building("c", 2, "<7>");
  building("d", 4, "99");
  building("e", 9, "5");
  model.resolveGeometry();  // the default types
  std::string expected;
  for (const char* text : {"č.p. 12", "č.p. ", "č.e. &lt;7&gt;", "rozestav."}) {
    expected +=
        "        <text x=\"1.00\" y=\"-1.00\" text-anchor=\"start\" "
        "alignment-baseline=\"baseline\" fill=\"black\" font-size=\"1.00\">" +
        std::string(text) + "</text>\n";
  }
  EXPECT_EQ(groupContent(testing::drawing(model), "VL_cisla_budov"), expected);

  // Type 2 missing from the table: the house number after an empty abbreviation.
  CadastralModel withoutType2;
  withoutType2.getOrCreateBuilding("c").typeCode = 2;
  withoutType2.getOrCreateBuilding("c").numberLabel.text = withoutType2.addText("<7>");
  withoutType2.addBuildingType(1, "a", "b");
  withoutType2.resolveGeometry();
  EXPECT_EQ(
      groupContent(testing::drawing(withoutType2), "VL_cisla_budov"),
      "        <text x=\"0.00\" y=\"0.00\" text-anchor=\"start\" alignment-baseline=\"baseline\" "
      "fill=\"black\" font-size=\"1.00\"> &lt;7&gt;</text>\n");
}

}  // namespace
}  // namespace vorlane
