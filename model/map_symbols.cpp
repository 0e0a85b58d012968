#include "model/map_symbols.h"

#include <array>

namespace vorlane {

namespace {

// Each shape's numbers, named by its symbol and its place in the symbol.
constexpr double k302_0[] = {-0.5, 0, 0.5, 0};
constexpr double k302_1[] = {-0.5, 0, -0.5, 3};
constexpr double k303_0[] = {0, 0, 0, 2.5};
constexpr double k303_1[] = {-0.75, 0, -0.3726, 0.0216, 0, 0.0853, 0.249, 0.1564, 0.4869, 0.2589, 0.6479, 0.3709, 0.7141, 0.4504, 0.746, 0.5339, 0.7437, 0.6074, 0.7176, 0.6757, 0.6575, 0.7614, 0.585, 0.8364, 0.4247, 0.9674, -0.4247, 1.5326, -0.585, 1.6636, -0.6575, 1.7386, -0.7176, 1.8243, -0.7437, 1.8926, -0.746, 1.9661, -0.7141, 2.0496, -0.6479, 2.1291, -0.4869, 2.2412, -0.249, 2.3436, 0, 2.4147, 0.3726, 2.4784, 0.75, 2.5};
constexpr double k304_0[] = {0, 0.75, 0.75};
constexpr double k304_1[] = {0, 0, 1.25, 0};
constexpr double k305_0[] = {0, 1.25, 0.75};
constexpr double k305_1[] = {0, 0, 0, 0.5};
constexpr double k305_2[] = {0, 0, 1, 0};
constexpr double k306_0[] = {-0.5, 0, -0.5, 1.5};
constexpr double k306_1[] = {0.5, 0, 0.5, 1.5};
constexpr double k307_0[] = {-1, 0, 0, 1, 1, 0};
constexpr double k308_0[] = {-0.75, 0, 0, 4};
constexpr double k308_1[] = {0.75, 0, 0, 4};
constexpr double k308_2[] = {0.75, 0, 1.75, 0};
constexpr double k314_0[] = {-1, 0, 0.1};
constexpr double k314_1[] = {-1, 1.5, 0, 0, 1, 1.5};
constexpr double k314_2[] = {1, 0, 0.1};
constexpr double k315_0[] = {0, 0, 0, 2};
constexpr double k315_1[] = {-1, 1, 1, 1};
constexpr double k316_0[] = {-0.75, 1, 0.75, 1};
constexpr double k316_1[] = {0, 0, 0.1913, 0.0381, 0.3536, 0.1464, 0.4619, 0.3087, 0.5, 0.5, 0.5, 1.5, 0.4619, 1.6913, 0.3536, 1.8536, 0.1913, 1.9619, 0, 2, -0.1913, 1.9619, -0.3536, 1.8536, -0.4619, 1.6913, -0.5, 1.5, -0.5, 0.5, -0.4619, 0.3087, -0.3536, 0.1464, -0.1913, 0.0381, 0, 0};
constexpr double k318_0[] = {0, 0, 0, 1};
constexpr double k318_1[] = {0.75, 1, 0.75, 2, -0.75, 2, -0.75, 1, 0.75, 1};
constexpr double k318_2[] = {0, 2, 0, 3};
constexpr double k319_0[] = {-0.5, 0, 0.5, 0, 0.5, 1};
constexpr double k402_0[] = {0, 0, 0.175};
constexpr double k404_0[] = {0, 0, 0.175};
constexpr double k409_0[] = {0, 0, 0, 3};
constexpr double k409_1[] = {-0.75, 2, 0.75, 2};
constexpr double k410_0[] = {0, 0, 1.7321, 3, -1.7321, 3, 0, 0};
constexpr double k410_1[] = {1.7321, 1, 0, 4, -1.7321, 1, 1.7321, 1};
constexpr double k424_0[] = {-1.25, 0, -1.2374, 0.375, -1.1956, 0.5996, -1.076, 0.7941, -0.8944, 0.9327, -0.6752, 0.9968, -0.4476, 0.9779, -0.2419, 0.8784, -0.0858, 0.7117, 0.0858, 0.2883, 0.2419, 0.1216, 0.4476, 0.0221, 0.6752, 0.0032, 0.8944, 0.0673, 1.076, 0.2059, 1.1956, 0.4004, 1.2374, 0.625, 1.25, 1};
constexpr double k701_0[] = {-2, 1.5, -1, 1.5, 0, 0, 1, 1.5, 2, 1.5};
constexpr double k802_0[] = {-3, 0, 3, 0};
constexpr double k802_1[] = {1.6262, -0.5, 3, 0, 1.6262, 0.5};
constexpr double k803_0[] = {-7.5, 0, -1.5, 0};
constexpr double k803_1[] = {1.5, 0, 7.5, 0};
constexpr double k804_0[] = {-1.5, 0, 1.5, 0};
constexpr double kArrow_0[] = {0, 0, 0, kArrowLength};
constexpr double kArrow_1[] = {-0.5, 1.7, 0, kArrowLength};
constexpr double kArrow_2[] = {0.5, 1.7, 0, kArrowLength};

constexpr SymbolShape kShapes302[] = {
    {ShapeKind::kLine, k302_0, "red", false},
    {ShapeKind::kLine, k302_1, "red", false},
};
constexpr SymbolShape kShapes303[] = {
    {ShapeKind::kLine, k303_0, "green", false},
    {ShapeKind::kPolyline, k303_1, "green", true},
};
constexpr SymbolShape kShapes304[] = {
    {ShapeKind::kCircle, k304_0, "orange", false},
    {ShapeKind::kLine, k304_1, "orange", false},
};
constexpr SymbolShape kShapes305[] = {
    {ShapeKind::kCircle, k305_0, "lime", false},
    {ShapeKind::kLine, k305_1, "lime", false},
    {ShapeKind::kLine, k305_2, "lime", false},
};
constexpr SymbolShape kShapes306[] = {
    {ShapeKind::kLine, k306_0, "blue", false},
    {ShapeKind::kLine, k306_1, "blue", false},
};
constexpr SymbolShape kShapes307[] = {
    {ShapeKind::kPolyline, k307_0, "pink", false},
};
constexpr SymbolShape kShapes308[] = {
    {ShapeKind::kLine, k308_0, "brown", false},
    {ShapeKind::kLine, k308_1, "brown", false},
    {ShapeKind::kLine, k308_2, "brown", false},
};
constexpr SymbolShape kShapes314[] = {
    {ShapeKind::kCircle, k314_0, "violet", false},
    {ShapeKind::kPolyline, k314_1, "violet", false},
    {ShapeKind::kCircle, k314_2, "violet", false},
};
constexpr SymbolShape kShapes315[] = {
    {ShapeKind::kLine, k315_0, "grey", false},
    {ShapeKind::kLine, k315_1, "grey", false},
};
constexpr SymbolShape kShapes316[] = {
    {ShapeKind::kLine, k316_0, "cyan", false},
    {ShapeKind::kPolyline, k316_1, "cyan", false},
};
constexpr SymbolShape kShapes318[] = {
    {ShapeKind::kLine, k318_0, "black", false},
    {ShapeKind::kPolyline, k318_1, "black", false},
    {ShapeKind::kLine, k318_2, "black", false},
};
constexpr SymbolShape kShapes319[] = {
    {ShapeKind::kPolyline, k319_0, "gold", false},
};
constexpr SymbolShape kShapes402[] = {
    {ShapeKind::kCircle, k402_0, "coral", false},
};
constexpr SymbolShape kShapes404[] = {
    {ShapeKind::kCircle, k404_0, "coral", false},
};
constexpr SymbolShape kShapes409[] = {
    {ShapeKind::kLine, k409_0, "coral", false},
    {ShapeKind::kLine, k409_1, "coral", false},
};
constexpr SymbolShape kShapes410[] = {
    {ShapeKind::kPolyline, k410_0, "cyan", false},
    {ShapeKind::kPolyline, k410_1, "cyan", false},
};
constexpr SymbolShape kShapes424[] = {
    {ShapeKind::kPolyline, k424_0, "cyan", false},
};
constexpr SymbolShape kShapes701[] = {
    {ShapeKind::kPolyline, k701_0, "navy", false},
};
constexpr SymbolShape kShapes802[] = {
    {ShapeKind::kLine, k802_0, "maroon", false},
    {ShapeKind::kPolyline, k802_1, "maroon", false},
};
constexpr SymbolShape kShapes803[] = {
    {ShapeKind::kLine, k803_0, "plum", false},
    {ShapeKind::kLine, k803_1, "plum", false},
};
constexpr SymbolShape kShapes804[] = {
    {ShapeKind::kLine, k804_0, "indigo", false},
};
constexpr SymbolShape kArrowShapes[] = {
    {ShapeKind::kLine, kArrow_0, "black", false},
    {ShapeKind::kLine, kArrow_1, "black", false},
    {ShapeKind::kLine, kArrow_2, "black", false},
};

// The symbols the exact drawing places besides, drawn after the pictures of
// the cadastral map's symbol key (Vyhláška 357/2013 Sb., příloha, bod 10,
// "Mapové značky katastrální mapy"), simplified to a few strokes; one unit
// is a metre of the map, about a millimetre of a map at 1:1000.
// 101, a point of the control network: a triangle with a dot at its centre,
// as the key draws a trigonometric point.
constexpr double k101_0[] = {0, -1.1547, 1, 0.5774, -1, 0.5774, 0, -1.1547};
constexpr double k101_1[] = {0, 0, 0.1};
// 105, a boundary mark: a small circle around its point.
constexpr double k105_0[] = {0, 0, 0.25};
// 411, a small object given by its centre: a circle with a dot.
constexpr double k411_0[] = {0, 0, 0.5};
constexpr double k411_1[] = {0, 0, 0.1};
// 420, a bridge or culvert: two short lines bent outwards at their ends.
constexpr double k420_0[] = {-0.75, -1, -0.5, -0.75, -0.5, 0.75, -0.75, 1};
constexpr double k420_1[] = {0.75, -1, 0.5, -0.75, 0.5, 0.75, 0.75, 1};
// 601, a metal or concrete mast: a circle crossed by a line.
constexpr double k601_0[] = {0, 0, 0.5};
constexpr double k601_1[] = {-0.75, 0, 0.75, 0};
// A survey point: a dot; where its measured position (SPOL) differs, that
// position is a small cross, as survey sketches mark measured points.
constexpr double kPoint_0[] = {0, 0, 0.1};
constexpr double kMeasured_0[] = {-0.2, -0.2, 0.2, 0.2};
constexpr double kMeasured_1[] = {-0.2, 0.2, 0.2, -0.2};

constexpr SymbolShape kShapes101[] = {
    {ShapeKind::kPolyline, k101_0, "blue", false},
    {ShapeKind::kCircle, k101_1, "blue", false},
};
constexpr SymbolShape kShapes105[] = {
    {ShapeKind::kCircle, k105_0, "green", false},
};
constexpr SymbolShape kShapes411[] = {
    {ShapeKind::kCircle, k411_0, "black", false},
    {ShapeKind::kCircle, k411_1, "black", false},
};
constexpr SymbolShape kShapes420[] = {
    {ShapeKind::kPolyline, k420_0, "black", false},
    {ShapeKind::kPolyline, k420_1, "black", false},
};
constexpr SymbolShape kShapes601[] = {
    {ShapeKind::kCircle, k601_0, "black", false},
    {ShapeKind::kLine, k601_1, "black", false},
};
constexpr SymbolShape kPointShapes[] = {
    {ShapeKind::kCircle, kPoint_0, "black", false},
};
constexpr SymbolShape kMeasuredShapes[] = {
    {ShapeKind::kLine, kMeasured_0, "black", false},
    {ShapeKind::kLine, kMeasured_1, "black", false},
};

// Every symbol is drawn 0.01 units wide; the arrow 0.2.
constexpr float kSymbolStrokeWidth = 0.01f;

constexpr MapSymbol kSymbols[] = {
    {"302", "Chmelnice", kShapes302, kSymbolStrokeWidth},
    {"303", "Vinice", kShapes303, kSymbolStrokeWidth},
    {"304", "Zahrada", kShapes304, kSymbolStrokeWidth},
    {"305", "Ovocný sad", kShapes305, kSymbolStrokeWidth},
    {"306", "Trvalý travní porost", kShapes306, kSymbolStrokeWidth},
    {"307", "Pastvina", kShapes307, kSymbolStrokeWidth},
    {"308", "Lesní půda bez rozlišení druhu porostu", kShapes308, kSymbolStrokeWidth},
    {"314", "Park, okrasná zahrada", kShapes314, kSymbolStrokeWidth},
    {"315", "Hřbitov", kShapes315, kSymbolStrokeWidth},
    {"316", "Neplodná půda", kShapes316, kSymbolStrokeWidth},
    {"318", "Nemovitá kulturní památka", kShapes318, kSymbolStrokeWidth},
    {"319", "Zbořeniště, společný dvůr", kShapes319, kSymbolStrokeWidth},
    {"402", "Budova", kShapes402, kSymbolStrokeWidth},
    {"404", "Budova zděná, betonová, kovová, evidovaná", kShapes404, kSymbolStrokeWidth},
    {"409", "Kostel, kaple nebo modlitebna", kShapes409, kSymbolStrokeWidth},
    {"410", "Synagoga", kShapes410, kSymbolStrokeWidth},
    {"424", "Vodní dílo", kShapes424, kSymbolStrokeWidth},
    {"701", "Dobývací prostor", kShapes701, kSymbolStrokeWidth},
    {"802", "Koryto vodního toku", kShapes802, kSymbolStrokeWidth},
    {"803", "Vodní nádrž", kShapes803, kSymbolStrokeWidth},
    {"804", "Zamokřená plocha (močál, mokřad, bažina)", kShapes804, kSymbolStrokeWidth},
};

constexpr MapSymbol kArrow = {"arrow", "Popisná šipka", kArrowShapes, 0.2f};

// The exact drawing's own, a little heavier, since they mark points.
constexpr float kPointSymbolStrokeWidth = 0.05f;
constexpr MapSymbol kExactSymbols[] = {
    {"101", "Bod polohového bodového pole", kShapes101, kPointSymbolStrokeWidth},
    {"105", "Hraniční znak", kShapes105, kPointSymbolStrokeWidth},
    {"411", "Předmět malého rozsahu určený středem", kShapes411, kPointSymbolStrokeWidth},
    {"420", "Most, propustek", kShapes420, kPointSymbolStrokeWidth},
    {"601", "Kovový, betonový stožár", kShapes601, kPointSymbolStrokeWidth},
    {"bod", "Bod", kPointShapes, kPointSymbolStrokeWidth},
    {"bod_mereny", "Měřená poloha bodu", kMeasuredShapes, kPointSymbolStrokeWidth},
};

struct NamedColour {
  std::string_view keyword;
  Colour colour;
};

// The SVG colour keywords the symbols use.
constexpr NamedColour kColours[] = {
    {"black", {0, 0, 0}},        {"blue", {0, 0, 255}},       {"brown", {165, 42, 42}},
    {"coral", {255, 127, 80}},   {"cyan", {0, 255, 255}},     {"gold", {255, 215, 0}},
    {"green", {0, 128, 0}},      {"grey", {128, 128, 128}},   {"indigo", {75, 0, 130}},
    {"lime", {0, 255, 0}},       {"maroon", {128, 0, 0}},     {"navy", {0, 0, 128}},
    {"orange", {255, 165, 0}},   {"pink", {255, 192, 203}},   {"plum", {221, 160, 221}},
    {"red", {255, 0, 0}},        {"violet", {238, 130, 238}},
};

}  // namespace

std::span<const MapSymbol> mapSymbols() { return kSymbols; }

const MapSymbol& arrowSymbol() { return kArrow; }

std::span<const MapSymbol> exactSymbols() { return kExactSymbols; }

Colour colourNamed(std::string_view keyword) {
  for (const NamedColour& named : kColours) {
    if (named.keyword == keyword) return named.colour;
  }
  return Colour{};
}

}  // namespace vorlane
