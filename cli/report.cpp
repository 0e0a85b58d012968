#include "cli/report.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>
#include <span>
#include <vector>

#include "Vorlane.h"
#include "platform/code_page.h"
#include "platform/std_compat.h"
#include "platform/unicode.h"
#include "vfk/block_table.h"

namespace vorlane::cli {

namespace {

constexpr std::string_view kKindNames[] = {
    "cannotOpen", "unknownCodePage", "missingPoint",     "openBorder",
    "labelWithoutPosition", "rowDropped", "endMarkBeforeEnd", "noEndRecord", "textShortened",
    "areaMismatch", "numberOutsideParcel", "parcelWithoutNumber", "chordDrawn"};
static_assert(std::size(kKindNames) == kFindingKinds);
constexpr std::string_view kLineNames[] = {"", "parcelBoundary", "buildingOutline", "bpejBoundary",
                                           "mapElement"};
constexpr std::string_view kLabelNames[] = {
    "",         "parcelNumber", "parcelArrow", "parcelSymbol", "buildingNumber", "buildingSymbol",
    "bpejCode", "mapText"};
constexpr std::string_view kReasonNames[] = {"",
                                             "beforeBlockDefinition",
                                             "lineTooLong",
                                             "badOrdinal",
                                             "ordinalBeyondBound",
                                             "tooManyGaps",
                                             "unknownPoint",
                                             "noPoints",
                                             "tooManyLineEntries",
                                             "unknownParcel",
                                             "unknownBpejArea",
                                             "textWithSemicolon",
                                             "tooFewFields",
                                             "tooManyFields",
                                             "unknownKind"};

template <typename Enum, size_t N>
std::string_view nameOf(const std::string_view (&names)[N], Enum value) {
  const auto index = static_cast<size_t>(value);
  return index < N ? names[index] : std::string_view("?");
}

// Appends JSON text to one string.
class Json {
 public:
  explicit Json(std::string& out) : out_(out) {}

  Json& raw(std::string_view text) {
    out_ += text;
    return *this;
  }
  // A string, made valid UTF-8 and escaped.
  Json& string(std::string_view text) {
    out_ += '"';
    for (const char c : repairUtf8(text)) {
      if (c == '"' || c == '\\') {
        out_ += '\\';
        out_ += c;
      } else if (static_cast<unsigned char>(c) < 0x20) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
        out_ += escape;
      } else {
        out_ += c;
      }
    }
    out_ += '"';
    return *this;
  }
  Json& number(int64_t value) {
    out_ += std::to_string(value);
    return *this;
  }
  Json& places(std::span<const Point> points) {
    out_ += '[';
    for (size_t k = 0; k < points.size(); ++k) {
      raw(k > 0 ? ", [" : "[").coordinate(points[k].x).raw(", ").coordinate(points[k].y).raw("]");
    }
    out_ += ']';
    return *this;
  }
  // A coordinate, with two decimals as in the drawing; null when not finite.
  Json& coordinate(double value) {
    char digits[400];
    const auto result =
        toCharsFixed(digits, digits + sizeof digits, value, 2);
    const std::string_view text(digits, static_cast<size_t>(result.ptr - digits));
    out_ += text.find_first_of("ni") == std::string_view::npos ? text : "null";
    return *this;
  }
  Json& key(std::string_view name) {
    string(name);
    out_ += ": ";
    return *this;
  }

 private:
  std::string& out_;
};

// The parcels' names as the cadastre writes them, beside their ids, where
// the file gives them.
void writeNames(Json& json, const KeptFinding& finding, bool two = false) {
  if (finding.name.empty() && finding.name2.empty()) return;
  json.raw(", ").key("parcels").raw("[").string(finding.name);
  if (two) json.raw(", ").string(finding.name2);
  json.raw("]");
}

void writeFinding(Json& json, const KeptFinding& finding) {
  json.raw("{").key("kind").string(nameOf(kKindNames, finding.kind));
  switch (finding.kind) {
    case FindingKind::kCannotOpen:
      json.raw(", ").key("path").string(finding.subject);
      json.raw(", ").key("reason").string(finding.detail);
      break;
    case FindingKind::kUnknownCodePage:
      json.raw(", ").key("codePage").string(finding.subject);
      break;
    case FindingKind::kMissingPoint:
      json.raw(", ").key("line").string(nameOf(kLineNames, finding.line));
      json.raw(", ").key("position").number(finding.number);
      if (finding.line == LineKind::kParcelBoundary) {
        json.raw(", ").key("ids").raw("[").string(finding.subject).raw(", ");
        json.string(finding.subject2).raw("]");
        writeNames(json, finding, true);
      }
      break;
    case FindingKind::kOpenBorder:
      json.raw(", ").key("of").string(finding.line == LineKind::kParcelBoundary ? "parcel"
                                                                                : "building");
      json.raw(", ").key("ids").raw("[").string(finding.subject).raw("]");
      writeNames(json, finding);
      json.raw(", ").key("places").places(finding.places);
      break;
    case FindingKind::kLabelWithoutPosition:
      json.raw(", ").key("label").string(nameOf(kLabelNames, finding.label));
      json.raw(", ").key(finding.label == LabelKind::kMapText ? "text" : "ids");
      if (finding.label == LabelKind::kMapText) {
        json.string(finding.subject);
      } else {
        json.raw("[").string(finding.subject).raw("]");
        writeNames(json, finding);
      }
      break;
    case FindingKind::kRowDropped:
      json.raw(", ").key("reason").string(nameOf(kReasonNames, finding.reason));
      json.raw(", ").key("block").string(finding.subject);
      json.raw(", ").key("line").number(finding.number);
      break;
    case FindingKind::kEndMarkBeforeEnd:
      json.raw(", ").key("path").string(finding.subject);
      json.raw(", ").key("line").number(finding.number);
      json.raw(", ").key("offset").number(finding.offset);
      json.raw(", ").key("unreadBytes").number(finding.count);
      break;
    case FindingKind::kNoEndRecord:
      json.raw(", ").key("path").string(finding.subject);
      json.raw(", ").key("lines").number(finding.number);
      break;
    case FindingKind::kTextShortened:
      json.raw(", ").key("text").string(finding.subject);
      json.raw(", ").key("bytes").number(finding.number);
      break;
    case FindingKind::kAreaMismatch:
      json.raw(", ").key("ids").raw("[").string(finding.subject).raw("]");
      writeNames(json, finding);
      json.raw(", ").key("registeredArea").number(finding.number);
      json.raw(", ").key("borderArea").coordinate(finding.measure);
      json.raw(", ").key("tolerance").coordinate(finding.limit);
      break;
    case FindingKind::kNumberOutsideParcel:
      json.raw(", ").key("ids").raw("[").string(finding.subject).raw("]");
      writeNames(json, finding);
      json.raw(", ").key("places").places(finding.places);
      break;
    case FindingKind::kParcelWithoutNumber:
      json.raw(", ").key("ids").raw("[").string(finding.subject).raw("]");
      writeNames(json, finding);
      break;
    case FindingKind::kChordDrawn:
      json.raw(", ").key("of").string(finding.line == LineKind::kParcelBoundary ? "parcel"
                                                                                : "building");
      json.raw(", ").key("ids").raw("[").string(finding.subject).raw("]");
      writeNames(json, finding);
      json.raw(", ").key("length").coordinate(finding.measure);
      json.raw(", ").key("places").places(finding.places);
      break;
  }
  json.raw("}");
}

// Each block's rows: how many the drawing drew (the rows its loader used)
// and, for the others, why not: the reasons rows were dropped, or that the
// drawing draws nothing of the block.
void writeBlocks(Json& json, const ConversionRecord& record, bool exact) {
  for (size_t k = 0; k < record.blockRows.size(); ++k) {
    const auto& [name, rows, states] = record.blockRows[k];
    json.raw(k > 0 ? ",\n        {" : "\n        {").key("block").string(name);
    json.raw(", ").key("rows").number(rows);
    const BlockKind kind = blockKindOf(name, exact);
    int64_t notDrawn = 0;
    std::vector<std::pair<std::string_view, int64_t>> reasons;
    if (kind == BlockKind::kNone || kind == BlockKind::KATUZE) {
      // A block the other drawing reads is drawn there.
      const bool inOther = blockKindOf(name, true) != BlockKind::kNone && !exact;
      reasons.emplace_back(inOther ? "exactDrawingOnly" : "notDrawable", rows);
      notDrawn = rows;
    } else {
      for (const auto& [key, count] : record.droppedRows) {
        if (key.first != name) continue;
        reasons.emplace_back(nameOf(kReasonNames, key.second), count);
        notDrawn += count;
      }
    }
    json.raw(", ").key("drawn").number(std::max<int64_t>(0, rows - notDrawn));
    json.raw(", ").key("notDrawn").raw("{");
    for (size_t r = 0; r < reasons.size(); ++r) {
      json.raw(r > 0 ? ", " : "").key(reasons[r].first).number(reasons[r].second);
    }
    json.raw("}");
    if (!states.empty()) {
      json.raw(", ").key("states").raw("{");
      for (size_t s = 0; s < states.size(); ++s) {
        json.raw(s > 0 ? ", " : "").key(std::to_string(states[s].first)).number(states[s].second);
      }
      json.raw("}");
    }
    json.raw("}");
  }
}

void writeRecord(Json& json, const ConversionRecord& record, bool exact) {
  json.raw("    {\n      ").key("inputs").raw("[");
  for (size_t k = 0; k < record.inputs.size(); ++k) {
    json.raw(k > 0 ? ",\n        {" : "\n        {").key("path").string(record.inputs[k]);
    if (k < record.reads.size()) {
      const InputRead& read = record.reads[k];
      json.raw(", ").key("read").raw(read.opened && read.readWhole ? "true" : "false");
      if (!read.failure.empty()) json.raw(", ").key("failure").string(read.failure);
      json.raw(", ").key("codePage").string(codePageName(read.codePage));
      json.raw(", ").key("endRecord").raw(read.endRecord ? "true" : "false");
      if (read.unreadBytes > 0) {
        json.raw(", ").key("unreadBytes").number(static_cast<int64_t>(read.unreadBytes));
      }
      if (read.opened) {
        json.raw(", ").key("cadastralArea").raw("{").key("code").string(read.areaCode);
        json.raw(", ").key("name").string(read.areaName).raw("}");
        json.raw(", ").key("version").string(read.version);
        json.raw(", ").key("cutByPolygon").raw(read.cutByPolygon ? "true" : "false");
        json.raw(", ").key("extent");
        const BoundingBox& box = read.extent;
        if (box.minX <= box.maxX) {
          json.raw("[").coordinate(box.minX).raw(", ").coordinate(box.minY).raw(", ");
          json.coordinate(box.maxX).raw(", ").coordinate(box.maxY).raw("]");
        } else {
          json.raw("null");
        }
      }
    }
    json.raw("}");
  }
  json.raw("],\n      ").key("drawing").string(record.drawing);
  json.raw(",\n      ").key("status").string(record.status);
  if (!record.message.empty()) json.raw(",\n      ").key("message").string(record.message);
  json.raw(",\n      ").key("layers").raw("{");
  // Without a drawing, the standard drawing's layers, empty.
  const size_t layers = record.counts.layers.empty() ? kLayerCount : record.counts.layers.size();
  for (size_t k = 0; k < layers; ++k) {
    const bool drawn = !record.counts.layers.empty();
    const LayerCounts counts = drawn ? record.counts.counts[k] : LayerCounts();
    const std::string_view name = drawn ? std::string_view(record.counts.layers[k].name)
                                        : kLayerStyles[k].name;
    json.raw(k > 0 ? ",\n        " : "\n        ").key(name).raw("{");
    json.key("paths").number(counts.paths).raw(", ").key("segments").number(counts.segments);
    json.raw(", ")
        .key("texts")
        .number(counts.texts)
        .raw(", ")
        .key("symbols")
        .number(counts.symbols);
    json.raw(", ").key("arrows").number(counts.arrows).raw("}");
  }
  json.raw("},\n      ").key("blocks").raw("[");
  writeBlocks(json, record, exact);
  json.raw("],\n      ").key("findingCounts").raw("{");
  for (size_t k = 0; k < kFindingKinds; ++k) {
    json.raw(k > 0 ? ", " : "").key(kKindNames[k]).number(record.findingCounts[k]);
  }
  json.raw("},\n      ").key("findings").raw("[");
  for (size_t k = 0; k < record.findings.size(); ++k) {
    json.raw(k > 0 ? ",\n        " : "\n        ");
    writeFinding(json, record.findings[k]);
  }
  json.raw("]\n    }");
}

}  // namespace

std::string_view codePageName(int codePage) {
  switch (codePage) {
    case kIso8859_2CodePage:
      return "ISO-8859-2";
    case kUtf8CodePage:
      return "UTF-8";
    default:
      return "Windows-1250";  // the ANSI code page a file without a header is read with
  }
}

std::string reportJson(const Options& options, std::span<const ConversionRecord> records) {
  std::string out;
  Json json(out);
  json.raw("{\n  ").key("version").string(std::to_string(VORLANE_VERSION_MAJOR) + "." +
                                          std::to_string(VORLANE_VERSION_MINOR) + "." +
                                          std::to_string(VORLANE_VERSION_PATCH));
  json.raw(",\n  ").key("drawing").string(options.drawing.exact ? "exact" : "standard");
  json.raw(",\n  ").key("format").string(options.drawing.format == DrawingFormat::kDxf ? "dxf"
                                                                                       : "svg");
  json.raw(",\n  ").key("keptPerKind").number(ConversionFindings::kKeptPerKind);
  json.raw(",\n  ").key("conversions").raw("[");
  for (size_t k = 0; k < records.size(); ++k) {
    json.raw(k > 0 ? ",\n" : "\n");
    writeRecord(json, records[k], options.drawing.exact);
  }
  json.raw("\n  ]\n}\n");
  return out;
}

}  // namespace vorlane::cli
