// The map symbols as SVG "symbol" definitions, from the library's data
// (model/map_symbols.h). Their numbers are written as short as they are
// given ("0.5", "1.7321"); each shape's stroke width through the stream.
#include "svg/symbol_library.h"

#include <charconv>

#include "model/map_symbols.h"
#include "platform/std_compat.h"
#include "svg/layer_group.h"

namespace vorlane {

namespace {

// The shortest text that reads back as the number.
SvgOutput& writeShortest(SvgOutput& out, double value) {
  char digits[32];  // the shortest form of any double has at most 24 characters
  const auto result = toCharsShortest(digits, digits + sizeof digits, value);
  return out << std::string_view(digits, static_cast<size_t>(result.ptr - digits));
}

void writeShape(SvgOutput& out, const SymbolShape& shape) {
  const std::span<const double> n = shape.numbers;
  switch (shape.kind) {
    case ShapeKind::kLine: {
      const char* const names[] = {"<line x1=\"", "\" y1=\"", "\" x2=\"", "\" y2=\""};
      for (size_t k = 0; k < 4; ++k) writeShortest(out << std::string_view(names[k]), n[k]);
      out << "\"";
      break;
    }
    case ShapeKind::kCircle:
      writeShortest(out << "<circle cx=\"", n[0]);
      writeShortest(out << "\" cy=\"", n[1]);
      writeShortest(out << "\" r=\"", n[2]);
      out << "\" fill=\"none\"";
      break;
    case ShapeKind::kPolyline:
      out << "<path d=\"M";
      for (size_t k = 0; k + 1 < n.size(); k += 2) {
        writeShortest(writeShortest(out << " ", n[k]) << ",", n[k + 1]);
      }
      out << "\"";
      if (!shape.filled) out << " fill=\"none\"";
      break;
  }
  out << " stroke=\"" << shape.colour << "\" stroke-width=\"";
}

}  // namespace

void writeSymbolDefinition(SvgOutput& out, const MapSymbol& symbol) {
  out << kChildIndent << "<symbol id=\"VL_symbol_" << symbol.name << "\" description=\""
      << symbol.description << "\">\r\n";
  for (const SymbolShape& shape : symbol.shapes) {
    out << kNestedIndent;
    writeShape(out, shape);
    out << symbol.strokeWidth << "\" />\r\n";
  }
  out << kChildIndent << "</symbol>\r\n";
}

}  // namespace vorlane
