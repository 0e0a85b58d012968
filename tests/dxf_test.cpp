// The DXF drawing of a tiny model, group by group: a layer of the tables, a
// polyline with its identifier, a turned and aligned text, a symbol's
// insert; and the group codes' lines. The readers' view of whole drawings is in dxf_readers_test.sh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "dxf/write_dxf.h"
#include "tests/test_support.h"

namespace vorlane {
namespace {

using Groups = std::vector<std::pair<int, std::string>>;

// The document's groups, each code with its value.
Groups groupsOf(std::string_view document) {
  Groups groups;
  while (!document.empty()) {
    const size_t codeEnd = document.find("\r\n");
    const size_t valueEnd = document.find("\r\n", codeEnd + 2);
    groups.emplace_back(std::stoi(std::string(document.substr(0, codeEnd))),
                        std::string(document.substr(codeEnd + 2, valueEnd - codeEnd - 2)));
    document.remove_prefix(valueEnd + 2);
  }
  return groups;
}

// The groups of the first "kind" object, of all the file's sections, that
// holds the group "marker", up to the next object; handles (5, 330) left out.
Groups object(const Groups& groups, std::string_view kind, std::pair<int, std::string> marker) {
  for (size_t k = 0; k < groups.size(); ++k) {
    if (groups[k] != std::pair(0, std::string(kind))) continue;
    Groups found;
    for (++k; k < groups.size() && groups[k].first != 0; ++k) {
      if (groups[k].first != 5 && groups[k].first != 330) found.push_back(groups[k]);
    }
    if (std::find(found.begin(), found.end(), marker) != found.end()) return found;
    --k;
  }
  return {};
}

// Every group code, from the table of the codes a drawing uses or beyond
// it, right-aligned in three characters as printf's "%3d" writes it.
TEST(DxfOutput, GroupCodesAreRightAlignedInThreeCharacters) {
  for (int code = -20; code <= 1200; ++code) {
    DxfOutput out;
    out.group(code, "v");
    char expected[32];
    std::snprintf(expected, sizeof expected, "%3d\r\nv\r\n", code);
    ASSERT_EQ(out.text(), expected) << code;
  }
}

TEST(DxfDrawing, TablesPolylineTextAndInsertGroupByGroup) {
  CadastralModel model;
  model.addPoint(-10, -20);
  model.addPoint(-11.5, -20);
  model.addPoint(-11.5, -21.25);
  const int32_t building = model.positionOf(model.getOrCreateBuilding("7"));
  model.addGeneralPolyline(model.addPointList(testing::Indices{0, 1, 2, 0}), building);
  model.addParcelBoundary(model.addPointList(testing::Indices{0, 1}), "15", "", 0);
  TextLabel& number = model.getParcel("15").numberLabel;
  number.text = model.addText("15/2");
  number.x = 1;
  number.y = 2;
  number.size = 2.5f;
  number.angle = 90.0f;
  number.referencePoint = 6;  // hanging, ending at its position
  number.placed = true;
  TextLabel symbol;
  symbol.typeCode = 303;
  symbol.x = 3;
  symbol.y = 4;
  symbol.angle = -45.0f;
  model.setSymbolLabel(model.findParcel("15"), symbol);
  model.resolveGeometry();
  DxfOutput out;
  IgnoredDiagnostics ignored;
  writeDxfDocument(model, out, {}, ignored);
  const Groups groups = groupsOf(out.text());

  // The building layer: true colour 255,191,0 (the nearest of the nine
  // colours is 2, yellow), its line style, line weight 0.30 mm.
  EXPECT_EQ(object(groups, "LAYER", {2, "VL_hranice_budov"}),
            (Groups{{100, "AcDbSymbolTableRecord"},
                    {100, "AcDbLayerTableRecord"},
                    {2, "VL_hranice_budov"},
                    {70, "0"},
                    {62, "2"},
                    {420, "16760576"},
                    {6, "VL_hranice_budov"},
                    {370, "30"},
                    {390, "9"}}));

  // The outline's ring: closed, its last point the first again, unwritten.
  EXPECT_EQ(object(groups, "LWPOLYLINE", {8, "VL_hranice_budov"}), (Groups{{100, "AcDbEntity"},
                                                                           {8, "VL_hranice_budov"},
                                                                           {100, "AcDbPolyline"},
                                                                           {90, "3"},
                                                                           {70, "1"},
                                                                           {10, "-10.00"},
                                                                           {20, "-20.00"},
                                                                           {10, "-11.50"},
                                                                           {20, "-20.00"},
                                                                           {10, "-11.50"},
                                                                           {20, "-21.25"},
                                                                           {1001, "VORLANE"},
                                                                           {1000, "7"}}));
  EXPECT_EQ(object(groups, "TEXT", {8, "VL_text_parcel"}), (Groups{{100, "AcDbEntity"},
                                                                   {8, "VL_text_parcel"},
                                                                   {100, "AcDbText"},
                                                                   {10, "1.00"},
                                                                   {20, "2.00"},
                                                                   {30, "0.00"},
                                                                   {40, "2.5"},
                                                                   {1, "15/2"},
                                                                   {50, "90"},
                                                                   {7, "VL_text_mapy"},
                                                                   {72, "2"},
                                                                   {11, "1.00"},
                                                                   {21, "2.00"},
                                                                   {31, "0.00"},
                                                                   {100, "AcDbText"},
                                                                   {73, "3"},
                                                                   {1001, "VORLANE"},
                                                                   {1000, "15"}}));
  EXPECT_EQ(object(groups, "INSERT", {8, "VL_mapove_znacky"}), (Groups{{100, "AcDbEntity"},
                                                                       {8, "VL_mapove_znacky"},
                                                                       {100, "AcDbBlockReference"},
                                                                       {2, "VL_symbol_303"},
                                                                       {10, "3.00"},
                                                                       {20, "4.00"},
                                                                       {30, "0.00"},
                                                                       {50, "-45"}}));
  // The file ends as DXF does.
  EXPECT_EQ(groups.back(), std::pair(0, std::string("EOF")));
}

// The exact drawing's arc of more than half a circle, with what the file
// says of its parcel, and a text with control bytes and "%%". The points A (5,0), B (0,5), C (-3,-4) of the
// circle of radius 5 about 0 0, as drawn: from A through B to C the arc
// turns with growing angles through 233.13 degrees (C lies at -126.87), so
// its bulge is tan(233.13 / 4) = 1.618034, and the chord C A closes it.
TEST(DxfDrawing, AnArcOverHalfACircleAndATextWithControlBytes) {
  const std::string vfk =
      testing::kSobrDefinition + "&DSOBR;1;-5;0\n&DSOBR;2;0;-5\n&DSOBR;3;3;4\n" +
      "&BSBP;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30;PARAMETRY_SPOJENI T100\n"
      "&DSBP;1;1;5;\"16\"\n&DSBP;2;2;5;\n&DSBP;3;3;5;\n&DSBP;3;1;6;\"4\"\n&DSBP;1;2;6;\n"
      "&BHP;ID N30;TYPPPD_KOD N10;PAR_ID_1 N30;PAR_ID_2 N30\n&DHP;5;0;10;\n&DHP;6;0;10;\n"
      "&BPAR;ID N30;DRUH_CISLOVANI_PAR N1;KMENOVE_CISLO_PAR N5;PODDELENI_CISLA_PAR N3;"
      "VYMERA_PARCELY N9\n&DPAR;10;2;5;1;40\n"
      "&BDPM;ID N30;DPM_TYPE T10;TYPPPD_KOD N10;TEXT T255;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\n"
      "&DDPM;7;\"TPP\";1009;\"a\x01" "b\x1f%%u\";1;2\n&K\n";
  const testing::ReadResult read = testing::readVfk(vfk, kUtf8CodePage, {.exact = true});
  DxfOutput out;
  IgnoredDiagnostics ignored;
  writeDxfDocument(read.model(), out, {.exact = true}, ignored);
  const Groups groups = groupsOf(out.text());

  const Groups ring = object(groups, "LWPOLYLINE", {1000, "10"});
  const Groups expected = {{10, "5.00"}, {20, "-0.00"}, {42, ""}, {10, "-3.00"}, {20, "-4.00"}};
  std::vector<std::pair<int, std::string>> vertices;
  for (const auto& group : ring) {
    if (group.first == 10 || group.first == 20 || group.first == 42) vertices.push_back(group);
  }
  ASSERT_EQ(vertices.size(), expected.size());
  for (size_t k = 0; k < expected.size(); ++k) {
    EXPECT_EQ(vertices[k].first, expected[k].first) << k;
    if (expected[k].first != 42) {
      EXPECT_EQ(vertices[k].second, expected[k].second) << k;
    }
  }
  EXPECT_NEAR(std::stod(vertices[2].second), 1.618034, 1e-6);
  // Closed: the chord from C back to A is its closing segment.
  EXPECT_NE(std::find(ring.begin(), ring.end(), std::pair(70, std::string("1"))), ring.end());
  // Its identifier, then each attribute as "name=value", in extended data.
  EXPECT_EQ(Groups(ring.end() - 4, ring.end()), (Groups{{1001, "VORLANE"},
                                                        {1000, "10"},
                                                        {1000, "cislo=5/1"},
                                                        {1000, "vymera=40"}}));

  // Each control byte becomes U+FFFD; "%%" is written "%%%" and "%", so that
  // a CAD program shows "%%u" as typed.
  const Groups text = object(groups, "TEXT", {8, "VL_prvky_mapy"});
  EXPECT_NE(std::find(text.begin(), text.end(),
                      std::pair(1, std::string("a\xEF\xBF\xBD" "b\xEF\xBF\xBD%%%%u"))),
            text.end());
}

}  // namespace
}  // namespace vorlane
