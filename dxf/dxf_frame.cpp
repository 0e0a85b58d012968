#include "dxf/dxf_frame.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/map_symbols.h"

namespace vorlane {

namespace {

// The $HANDSEED placeholder: as wide as any handle this writer gives.
constexpr std::string_view kHandseedPlaceholder = "0000000000000000";

constexpr Colour kColourIndices[] = {
    {0, 0, 0},   {255, 0, 0},   {255, 255, 0},   {0, 255, 0},     {0, 255, 255},
    {0, 0, 255}, {255, 0, 255}, {255, 255, 255}, {128, 128, 128}, {192, 192, 192}};

// The model's extent, or a point at 0 0 for a model without points.
struct Extent {
  double minX = 0.0;
  double minY = 0.0;
  double maxX = 0.0;
  double maxY = 0.0;
};

Extent extentOf(const CadastralModel& model) {
  const BoundingBox& box = model.boundingBox;
  if (!(box.minX <= box.maxX) || !(box.minY <= box.maxY)) return Extent{};
  return Extent{box.minX, box.minY, box.maxX, box.maxY};
}

void point(DxfOutput& out, double x, double y, int code = 10) {
  out.coordinate(code, x).coordinate(code + 10, y).coordinate(code + 20, 0.0);
}

void writeHeader(const CadastralModel& model, DxfOutput& out, uint64_t& handseed) {
  const Extent extent = extentOf(model);
  out.group(0, "SECTION").group(2, "HEADER");
  out.group(9, "$ACADVER").group(1, "AC1027");
  out.group(9, "$DWGCODEPAGE").group(3, "ANSI_1252");
  out.group(9, "$INSBASE");
  point(out, 0.0, 0.0);
  out.group(9, "$EXTMIN");
  point(out, extent.minX, extent.minY);
  out.group(9, "$EXTMAX");
  point(out, extent.maxX, extent.maxY);
  out.group(9, "$INSUNITS").integer(70, 6);  // metres
  out.group(9, "$MEASUREMENT").integer(70, 1);
  out.group(9, "$HANDSEED");
  handseed = out.position() + 5;  // after the group code's line
  out.group(5, kHandseedPlaceholder);
  out.group(0, "ENDSEC");
}

// The classes of the objects the drawing holds that are not entities of the
// file format's first versions.
void writeClasses(DxfOutput& out) {
  struct Class {
    std::string_view name;
    std::string_view cppName;
  };
  constexpr Class kClasses[] = {{"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault"},
                                {"ACDBPLACEHOLDER", "AcDbPlaceHolder"},
                                {"LAYOUT", "AcDbLayout"}};
  out.group(0, "SECTION").group(2, "CLASSES");
  for (const Class& entry : kClasses) {
    out.group(0, "CLASS").group(1, entry.name).group(2, entry.cppName);
    out.group(3, "ObjectDBX Classes").integer(90, 0).integer(91, 0);
    out.integer(280, 0).integer(281, 0);
  }
  out.group(0, "ENDSEC");
}

// A table's start; returns its handle, which its entries name as owner.
uint64_t startTable(DxfOutput& out, DxfHandles& handles, std::string_view name, int entries,
                    uint64_t handle = 0) {
  if (handle == 0) handle = handles.take();
  out.group(0, "TABLE").group(2, name).handle(5, handle).handle(330, 0);
  out.group(100, "AcDbSymbolTable").integer(70, entries);
  return handle;
}

// An entry's common groups, up to its own subclass.
void startEntry(DxfOutput& out, DxfHandles& handles, std::string_view kind, uint64_t table,
                std::string_view subclass, uint64_t handle = 0) {
  out.group(0, kind).handle(5, handle == 0 ? handles.take() : handle).handle(330, table);
  out.group(100, "AcDbSymbolTableRecord").group(100, subclass);
}

void writeViewport(const CadastralModel& model, DxfOutput& out, DxfHandles& handles) {
  const Extent extent = extentOf(model);
  const uint64_t table = startTable(out, handles, "VPORT", 1);
  startEntry(out, handles, "VPORT", table, "AcDbViewportTableRecord");
  out.group(2, "*Active").integer(70, 0);
  out.coordinate(10, 0.0).coordinate(20, 0.0).coordinate(11, 1.0).coordinate(21, 1.0);
  // The view shows the whole extent.
  out.real(12, (extent.minX + extent.maxX) / 2).real(22, (extent.minY + extent.maxY) / 2);
  out.coordinate(13, 0.0).coordinate(23, 0.0).coordinate(14, 10.0).coordinate(24, 10.0);
  out.coordinate(15, 10.0).coordinate(25, 10.0);
  out.coordinate(16, 0.0).coordinate(26, 0.0).coordinate(36, 1.0);
  out.coordinate(17, 0.0).coordinate(27, 0.0).coordinate(37, 0.0);
  const double height = std::max({extent.maxY - extent.minY, extent.maxX - extent.minX, 1.0});
  out.real(40, height * 1.1).real(41, 1.0).real(42, 50.0).real(43, 0.0).real(44, 0.0);
  out.real(50, 0.0).real(51, 0.0);
  out.integer(71, 0).integer(72, 100).integer(73, 1).integer(74, 3).integer(75, 0);
  out.integer(76, 0).integer(77, 0).integer(78, 0);
  out.group(0, "ENDTAB");
}

// ByBlock, ByLayer and Continuous, then each layer's line style, drawn
// continuous: the CAD application's own line styles of these names give
// their patterns.
void writeLineTypes(DxfOutput& out, DxfHandles& handles, std::span<const DrawingLayer> layers) {
  std::vector<std::string_view> names = {"ByBlock", "ByLayer", "Continuous"};
  for (const DrawingLayer& layer : layers) {
    const std::string_view style = layer.style.lineStyle;
    if (!style.empty() && std::find(names.begin(), names.end(), style) == names.end()) {
      names.push_back(style);
    }
  }
  const size_t count = names.size();
  const uint64_t table = startTable(out, handles, "LTYPE", static_cast<int>(count));
  for (size_t k = 0; k < count; ++k) {
    startEntry(out, handles, "LTYPE", table, "AcDbLinetypeTableRecord");
    out.group(2, names[k]).integer(70, 0);
    out.group(3, k == 2 ? "Solid line" : "").integer(72, 65).integer(73, 0).real(40, 0.0);
  }
  out.group(0, "ENDTAB");
}

void writeLayer(DxfOutput& out, DxfHandles& handles, uint64_t table, std::string_view name,
                Colour colour, std::string_view lineType, int lineWeight) {
  startEntry(out, handles, "LAYER", table, "AcDbLayerTableRecord");
  out.group(2, name).integer(70, 0).integer(62, colourIndexOf(colour));
  out.integer(420, trueColourOf(colour)).group(6, lineType).integer(370, lineWeight);
  out.handle(390, DxfHandles::kNormalPlotStyle);
}

void writeLayers(DxfOutput& out, DxfHandles& handles, std::span<const DrawingLayer> layers) {
  const uint64_t table = startTable(out, handles, "LAYER", 1 + static_cast<int>(layers.size()));
  writeLayer(out, handles, table, "0", {255, 255, 255}, "Continuous", -3);
  for (const DrawingLayer& layer : layers) {
    const LayerStyle& style = layer.style;
    writeLayer(out, handles, table, layer.name, style.colour,
               style.lineStyle.empty() ? "Continuous" : style.lineStyle, style.lineWeight);
  }
  out.group(0, "ENDTAB");
}

void writeTextStyles(DxfOutput& out, DxfHandles& handles) {
  const uint64_t table = startTable(out, handles, "STYLE", 2);
  for (const std::string_view name : {"Standard", "VL_text_mapy"}) {
    startEntry(out, handles, "STYLE", table, "AcDbTextStyleTableRecord");
    out.group(2, name).integer(70, 0).real(40, 0.0).real(41, 1.0).real(50, 0.0);
    out.integer(71, 0).real(42, 2.5).group(3, "arial.ttf").group(4, "");
  }
  out.group(0, "ENDTAB");
}

void writeApplications(DxfOutput& out, DxfHandles& handles) {
  const uint64_t table = startTable(out, handles, "APPID", 2);
  for (const std::string_view name : {std::string_view("ACAD"), kIdApplication}) {
    startEntry(out, handles, "APPID", table, "AcDbRegAppTableRecord");
    out.group(2, name).integer(70, 0);
  }
  out.group(0, "ENDTAB");
}

void writeDimensionStyle(DxfOutput& out, DxfHandles& handles) {
  const uint64_t table = handles.take();
  out.group(0, "TABLE").group(2, "DIMSTYLE").handle(5, table).handle(330, 0);
  out.group(100, "AcDbSymbolTable").integer(70, 1).group(100, "AcDbDimStyleTable").integer(71, 0);
  // A dimension style's handle has the group code 105.
  out.group(0, "DIMSTYLE").handle(105, handles.take()).handle(330, table);
  out.group(100, "AcDbSymbolTableRecord").group(100, "AcDbDimStyleTableRecord");
  out.group(2, "Standard").integer(70, 0);
  out.group(0, "ENDTAB");
}

// A block's name and, for the two spaces, its layout.
struct BlockName {
  std::string name;
  uint64_t layout = 0;
  uint64_t record = 0;
};

void writeBlockRecords(DxfOutput& out, DxfHandles& handles, std::vector<BlockName>& blocks) {
  startTable(out, handles, "BLOCK_RECORD", static_cast<int>(blocks.size()),
             DxfHandles::kBlockRecordTable);
  for (BlockName& block : blocks) {
    if (block.record == 0) block.record = handles.take();
    startEntry(out, handles, "BLOCK_RECORD", DxfHandles::kBlockRecordTable, "AcDbBlockTableRecord",
               block.record);
    out.group(2, block.name).handle(340, block.layout).integer(70, 0);
    out.integer(280, 1).integer(281, 0);
  }
  out.group(0, "ENDTAB");
}

void writeShape(DxfOutput& out, DxfHandles& handles, uint64_t owner, const SymbolShape& shape) {
  const std::span<const double> n = shape.numbers;
  const Colour colour = colourNamed(shape.colour);
  auto start = [&](std::string_view kind, std::string_view subclass) {
    out.group(0, kind).handle(5, handles.take()).handle(330, owner);
    out.group(100, "AcDbEntity").group(8, "0").integer(62, colourIndexOf(colour));
    out.integer(420, trueColourOf(colour)).group(100, subclass);
  };
  switch (shape.kind) {
    case ShapeKind::kLine:
      start("LINE", "AcDbLine");
      point(out, n[0], n[1]);
      point(out, n[2], n[3], 11);
      break;
    case ShapeKind::kCircle:
      start("CIRCLE", "AcDbCircle");
      point(out, n[0], n[1]);
      out.real(40, n[2]);
      break;
    case ShapeKind::kPolyline:
      start("LWPOLYLINE", "AcDbPolyline");
      out.integer(90, static_cast<int64_t>(n.size() / 2)).integer(70, 0);
      for (size_t k = 0; k + 1 < n.size(); k += 2) out.real(10, n[k]).real(20, n[k + 1]);
      break;
  }
}

void writeBlock(DxfOutput& out, DxfHandles& handles, const BlockName& block,
                const MapSymbol* symbol) {
  const bool paper = block.record == DxfHandles::kPaperSpace;
  out.group(0, "BLOCK").handle(5, handles.take()).handle(330, block.record);
  out.group(100, "AcDbEntity");
  if (paper) out.integer(67, 1);
  out.group(8, "0").group(100, "AcDbBlockBegin").group(2, block.name).integer(70, 0);
  point(out, 0.0, 0.0);
  out.group(3, block.name).group(1, "");
  if (symbol != nullptr) {
    for (const SymbolShape& shape : symbol->shapes) writeShape(out, handles, block.record, shape);
  }
  out.group(0, "ENDBLK").handle(5, handles.take()).handle(330, block.record);
  out.group(100, "AcDbEntity");
  if (paper) out.integer(67, 1);
  out.group(8, "0").group(100, "AcDbBlockEnd");
}

// The symbol codes the model's parcels, buildings and map elements are
// marked with, in every state.
std::set<int32_t> symbolCodesOf(const CadastralModel& model) {
  std::set<int32_t> codes;
  for (const Parcel& parcel : model.parcels) codes.insert(model.symbolLabelOf(parcel).typeCode);
  for (const Building& building : model.buildings) codes.insert(building.symbolLabel.typeCode);
  for (const auto* labels : {&model.elementSymbols, &model.controlPointSymbols, &model.buildingSymbols}) {
    for (const TextLabel& label : *labels) codes.insert(label.typeCode);
  }
  for (const auto& [state, other] : model.otherStates) {
    const std::set<int32_t> theirs = symbolCodesOf(*other);
    codes.insert(theirs.begin(), theirs.end());
  }
  codes.erase(0);
  return codes;
}

}  // namespace

std::string symbolBlockName(std::string_view symbol) { return "VL_symbol_" + std::string(symbol); }

std::string_view textStyleOf(const LayerStyle& style) {
  return style.textStyle.empty() ? "Standard" : style.textStyle;
}

int colourIndexOf(Colour colour) {
  int best = 7;
  int bestDistance = 1 << 30;
  for (int k = 1; k < static_cast<int>(std::size(kColourIndices)); ++k) {
    const Colour& c = kColourIndices[k];
    const int dr = colour.red - c.red;
    const int dg = colour.green - c.green;
    const int db = colour.blue - c.blue;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      best = k;
      bestDistance = distance;
    }
  }
  return best;
}

int64_t trueColourOf(Colour colour) {
  return int64_t{colour.red} << 16 | int64_t{colour.green} << 8 | int64_t{colour.blue};
}

void writeDxfStart(const CadastralModel& model, std::span<const DrawingLayer> layers, bool exact,
                   DxfOutput& out, DxfHandles& handles, uint64_t& handseed) {
  writeHeader(model, out, handseed);
  writeClasses(out);

  // The blocks: the two spaces, the library's symbols and the arrow, and an
  // empty block for a code the library does not have.
  std::vector<BlockName> blocks = {
      {"*Model_Space", DxfHandles::kModelLayout, DxfHandles::kModelSpace},
      {"*Paper_Space", DxfHandles::kPaperLayout, DxfHandles::kPaperSpace}};
  std::vector<const MapSymbol*> symbols = {nullptr, nullptr};
  std::set<std::string> defined;
  for (const MapSymbol& symbol : mapSymbols()) {
    blocks.push_back({symbolBlockName(symbol.name)});
    symbols.push_back(&symbol);
    defined.insert(blocks.back().name);
  }
  blocks.push_back({symbolBlockName(arrowSymbol().name)});
  symbols.push_back(&arrowSymbol());
  if (exact) {
    for (const MapSymbol& symbol : exactSymbols()) {
      blocks.push_back({symbolBlockName(symbol.name)});
      symbols.push_back(&symbol);
      defined.insert(blocks.back().name);
    }
  }
  for (const int32_t code : symbolCodesOf(model)) {
    const std::string name = symbolBlockName(std::to_string(code));
    if (defined.count(name) != 0) continue;
    blocks.push_back({name});
    symbols.push_back(nullptr);
  }

  out.group(0, "SECTION").group(2, "TABLES");
  writeViewport(model, out, handles);
  writeLineTypes(out, handles, layers);
  writeLayers(out, handles, layers);
  writeTextStyles(out, handles);
  startTable(out, handles, "VIEW", 0);
  out.group(0, "ENDTAB");
  startTable(out, handles, "UCS", 0);
  out.group(0, "ENDTAB");
  writeApplications(out, handles);
  writeDimensionStyle(out, handles);
  writeBlockRecords(out, handles, blocks);
  out.group(0, "ENDSEC");

  out.group(0, "SECTION").group(2, "BLOCKS");
  for (size_t k = 0; k < blocks.size(); ++k) writeBlock(out, handles, blocks[k], symbols[k]);
  out.group(0, "ENDSEC");
}

namespace {

void writeLayout(DxfOutput& out, std::string_view name, uint64_t handle, uint64_t space,
                 int order) {
  out.group(0, "LAYOUT").handle(5, handle).handle(330, DxfHandles::kLayoutDictionary);
  out.group(100, "AcDbPlotSettings").group(1, "").group(2, "").group(4, "").group(6, "");
  for (const int code : {40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 140, 141}) out.real(code, 0.0);
  out.real(142, 1.0).real(143, 1.0).integer(70, 688).integer(72, 1).integer(73, 0);
  out.integer(74, 5).group(7, "").integer(75, 16).integer(76, 0).integer(77, 2);
  out.integer(78, 300).real(147, 1.0).real(148, 0.0).real(149, 0.0);
  out.group(100, "AcDbLayout").group(1, name).integer(70, 1).integer(71, order);
  out.real(10, 0.0).real(20, 0.0).real(11, 420.0).real(21, 297.0);
  out.real(12, 0.0).real(22, 0.0).real(32, 0.0);
  out.real(14, 1e20).real(24, 1e20).real(34, 1e20).real(15, -1e20).real(25, -1e20);
  out.real(35, -1e20).real(146, 0.0).real(13, 0.0).real(23, 0.0).real(33, 0.0);
  out.real(16, 1.0).real(26, 0.0).real(36, 0.0).real(17, 0.0).real(27, 1.0).real(37, 0.0);
  out.integer(76, 0).handle(330, space);
}

}  // namespace

void writeDxfEnd(DxfOutput& out, DxfHandles& handles, uint64_t handseed) {
  out.group(0, "SECTION").group(2, "OBJECTS");
  out.group(0, "DICTIONARY").handle(5, DxfHandles::kRootDictionary).handle(330, 0);
  out.group(100, "AcDbDictionary").integer(281, 1);
  out.group(3, "ACAD_GROUP").handle(350, DxfHandles::kGroupDictionary);
  out.group(3, "ACAD_LAYOUT").handle(350, DxfHandles::kLayoutDictionary);
  out.group(3, "ACAD_PLOTSTYLENAME").handle(350, DxfHandles::kPlotStyles);

  out.group(0, "DICTIONARY").handle(5, DxfHandles::kGroupDictionary);
  out.handle(330, DxfHandles::kRootDictionary).group(100, "AcDbDictionary").integer(281, 1);

  out.group(0, "DICTIONARY").handle(5, DxfHandles::kLayoutDictionary);
  out.handle(330, DxfHandles::kRootDictionary).group(100, "AcDbDictionary").integer(281, 1);
  out.group(3, "Model").handle(350, DxfHandles::kModelLayout);
  out.group(3, "Layout1").handle(350, DxfHandles::kPaperLayout);

  out.group(0, "ACDBDICTIONARYWDFLT").handle(5, DxfHandles::kPlotStyles);
  out.handle(330, DxfHandles::kRootDictionary).group(100, "AcDbDictionary").integer(281, 1);
  out.group(3, "Normal").handle(350, DxfHandles::kNormalPlotStyle);
  out.group(100, "AcDbDictionaryWithDefault").handle(340, DxfHandles::kNormalPlotStyle);
  out.group(0, "ACDBPLACEHOLDER").handle(5, DxfHandles::kNormalPlotStyle);
  out.handle(330, DxfHandles::kPlotStyles);

  writeLayout(out, "Model", DxfHandles::kModelLayout, DxfHandles::kModelSpace, 0);
  writeLayout(out, "Layout1", DxfHandles::kPaperLayout, DxfHandles::kPaperSpace, 1);
  out.group(0, "ENDSEC").group(0, "EOF");

  // The next free handle, in the placeholder's width.
  std::string seed(kHandseedPlaceholder);
  for (uint64_t rest = handles.next, k = seed.size(); k-- > 0; rest >>= 4) {
    seed[static_cast<size_t>(k)] = "0123456789ABCDEF"[rest & 0xF];
  }
  out.overwrite(handseed, seed);
}

}  // namespace vorlane
