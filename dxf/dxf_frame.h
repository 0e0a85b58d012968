// The frame of a DXF drawing around its entities: the header, the classes,
// the tables (viewport, line types, layers, text styles, applications,
// dimension style, block records), the blocks of the map symbols and the
// objects (the dictionaries and layouts a DXF of this version must have).
// Every object has a handle and names its owner's.
#ifndef VORLANE_DXF_DXF_FRAME_H_
#define VORLANE_DXF_DXF_FRAME_H_

#include <cstdint>
#include <set>
#include <span>
#include <string>

#include "dxf/dxf_output.h"
#include "model/cadastral_model.h"
#include "model/layers.h"

namespace vorlane {

// The handles of the objects others refer to, and the next free one.
struct DxfHandles {
  static constexpr uint64_t kBlockRecordTable = 0x1;
  static constexpr uint64_t kModelSpace = 0x2;
  static constexpr uint64_t kPaperSpace = 0x3;
  static constexpr uint64_t kRootDictionary = 0x4;
  static constexpr uint64_t kLayoutDictionary = 0x5;
  static constexpr uint64_t kModelLayout = 0x6;
  static constexpr uint64_t kPaperLayout = 0x7;
  static constexpr uint64_t kPlotStyles = 0x8;
  static constexpr uint64_t kNormalPlotStyle = 0x9;
  static constexpr uint64_t kGroupDictionary = 0xA;

  uint64_t next = 0x10;
  uint64_t take() { return next++; }
};

// The application name of the extended data that carries identifiers.
inline constexpr std::string_view kIdApplication = "VORLANE";

// The text style a layer's texts take ("Standard" where it names none).
std::string_view textStyleOf(const LayerStyle& style);

// The nearest of AutoCAD's first nine colours, for readers that know no
// true colours.
int colourIndexOf(Colour colour);
// The colour as a true colour (group 420).
int64_t trueColourOf(Colour colour);

// Writes the header, classes, tables and blocks, up to the ENTITIES section.
// The blocks define every map symbol, the arrow, and an empty block for
// each symbol code the model uses that the library does not define.
// "handseed" receives the position of the header's $HANDSEED value, which
// writeDxfEnd fills in.
// "layers" are the drawing's layers, in document order; the exact drawing
// has blocks of its own symbols besides.
void writeDxfStart(const CadastralModel& model, std::span<const DrawingLayer> layers, bool exact,
                   DxfOutput& out, DxfHandles& handles, uint64_t& handseed);

// Writes the objects and the end of the file, and the $HANDSEED.
void writeDxfEnd(DxfOutput& out, DxfHandles& handles, uint64_t handseed);

// The name of the block of a symbol code or name: "VL_symbol_" and it.
std::string symbolBlockName(std::string_view symbol);

}  // namespace vorlane

#endif  // VORLANE_DXF_DXF_FRAME_H_
