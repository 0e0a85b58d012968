#include "tools/vfk_generator/drawing_blocks.h"

#include <charconv>
#include <string>
#include <string_view>

#include "tools/vfk_generator/block_definitions.h"
#include "tools/vfk_generator/code_lists.h"
#include "tools/vfk_generator/text.h"

namespace vfkgen {

namespace {

constexpr uint64_t kRegisterRowsPurpose = 200;
constexpr uint64_t kDrawingRowsPurpose = 201;

constexpr int kLabelSize = 17;  // VELIKOST 1.7 of parcel numbers, in tenths
constexpr int kOutlineType = 21700;
constexpr int kInnerLineType = 21800;
constexpr int kEasementType = 23700;
constexpr int kBoundaryMarkType = 105;

// Slots of a parcel's label rows in the OP identifiers.
enum LabelSlot { kNumberSlot, kSymbolSlot, kExtraNumberSlot, kArrowLineSlot, kArrowSlot, kSlots };

// "1234" or "1234/5".
class ParcelNumber {
 public:
  explicit ParcelNumber(const Parcel& parcel) {
    char* end = std::to_chars(text_, text_ + sizeof text_, parcel.stem).ptr;
    if (parcel.subdivision > 0) {
      *end++ = '/';
      end = std::to_chars(end, text_ + sizeof text_, parcel.subdivision).ptr;
    }
    length_ = static_cast<size_t>(end - text_);
  }
  std::string_view view() const { return {text_, length_}; }

 private:
  char text_[24];
  size_t length_ = 0;
};

// Writes the rows of one register or drawing block; shares the context and
// the random stream of the row fields.
class BlockWriter {
 public:
  BlockWriter(RowWriter& w, const Context& context, const Layout& layout, uint64_t purpose)
      : w_(w), c_(context), layout_(layout), rng_(Rng::forPurpose(context.seed, purpose)) {
    for (const Building& building : layout_.buildings) outlineLines_ += building.lines.size();
  }

  void par() {
    w_.beginBlock(definitions::kPar);
    for (size_t i = 0; i < layout_.parcels.size(); ++i) {
      const Parcel& parcel = layout_.parcels[i];
      const UseCodes codes = useCodes(parcel.use);
      w_.row().num(c_.id(Kind::kParcel, static_cast<int64_t>(i)));
      c_.writeStamp(w_, rng_);
      w_.empty().text("PKN").num(c_.areaCode).empty().num(parcel.buildingPlot ? 1 : 2);
      w_.num(parcel.stem).empty();
      w_.numOrEmpty(parcel.subdivision);
      w_.empty().num(c_.mapSheetCode).num(2).num(codes.landType);
      w_.numOrEmpty(codes.usage);
      w_.empty().num(parcel.areaSquareMetres).empty().emptyText();
      w_.num(c_.id(Kind::kSheet, parcel.sheet)).empty();
      if (parcel.building >= 0) {
        w_.num(c_.id(Kind::kBuilding, parcel.building)).text("a").text("a");
      } else {
        w_.empty().text("n").text("n");
      }
      w_.empty().text("n").end();
    }
  }

  void bud() {
    w_.beginBlock(definitions::kBud);
    for (size_t b = 0; b < layout_.buildings.size(); ++b) {
      const Building& building = layout_.buildings[b];
      const Parcel& parcel = layout_.parcels[static_cast<size_t>(building.parcel)];
      w_.row().num(c_.id(Kind::kBuilding, static_cast<int64_t>(b)));
      c_.writeStamp(w_, rng_);
      w_.num(building.typeCode);
      if (building.houseNumber > 0) {
        w_.num(c_.partCode).num(building.houseNumber);
      } else {
        w_.empty().empty();
      }
      static constexpr int kUsages[] = {7, 7, 7, 8, 3, 18, 19, 6};
      const int usage = building.typeCode == 6 ? 19 : kUsages[rng_.below(8)];
      w_.empty().num(usage).num(c_.id(Kind::kSheet, parcel.sheet)).text("n").text("P").empty().end();
    }
  }

  void tel() {
    w_.beginBlock(definitions::kTel);
    for (int s = 0; s < layout_.sheetCount; ++s) {
      w_.row().num(c_.id(Kind::kSheet, s));
      c_.writeStamp(w_, rng_);
      w_.num(c_.areaCode).num(s + 1).end();
    }
  }

  // Survey points, numbered within survey records of up to 80 points.
  void sobr() {
    w_.beginBlock(definitions::kSobr);
    for (size_t p = 0; p < layout_.points.size(); ++p) {
      const auto index = static_cast<int64_t>(p);
      const int64_t survey = c_.firstSurvey + index / 80;
      const int64_t number = index % 80 + 1;
      w_.row().num(c_.id(Kind::kPoint, index)).num(0).num(c_.areaCode).num(survey).empty();
      w_.num(number).num(survey * 10'000 + number);
      w_.coord(layout_.points[p].y).coord(layout_.points[p].x);
      const int quality = rng_.weighted(std::array<int, 3>{80, 15, 5});
      w_.numOrEmpty(quality == 0 ? 0 : quality == 1 ? 8 : 4);
      w_.end();
    }
  }

  // Point links: parcel lines, building outlines, map lines and easements.
  void sbp() {
    w_.beginBlock(definitions::kSbp);
    for (size_t l = 0; l < layout_.lines.size(); ++l) {
      const ParcelLine& line = layout_.lines[l];
      linkPoints(line.points, line.ordinalsBackwards, Owner::kParcelLine,
                 c_.id(Kind::kParcelLine, static_cast<int64_t>(l)));
    }
    int64_t outline = 0;
    for (const Building& building : layout_.buildings) {
      for (const auto& line : building.lines) {
        linkPoints(line, rng_.chance(0.2), Owner::kOutline, c_.id(Kind::kBuildingElement, outline++));
      }
    }
    for (size_t k = 0; k < layout_.innerLines.size(); ++k) {
      linkPoints(layout_.innerLines[k], false, Owner::kMapLine,
                 c_.id(Kind::kMapElement, static_cast<int64_t>(k)));
    }
    for (size_t e = 0; e < layout_.easements.size(); ++e) {
      linkPoints(layout_.easements[e], false, Owner::kEasement,
                 c_.id(Kind::kEasement, static_cast<int64_t>(e)));
    }
  }

  // Points with coordinates of their own: arrow lines from a parcel's
  // number to its arrow, and soil-valuation unit borders.
  void sbm() {
    w_.beginBlock(definitions::kSbm);
    for (size_t i = 0; i < layout_.parcels.size(); ++i) {
      const Parcel& parcel = layout_.parcels[i];
      if (!parcel.hasArrow) continue;
      const int64_t owner = labelId(i, kArrowLineSlot);
      const int event = c_.pickEvent(rng_);
      sbmRow(event, 1, parcel.extraNumber.at).num(owner).empty().empty().text("4").end();
      sbmRow(event, 2, parcel.arrow.at).num(owner).empty().empty().text("4").end();
    }
    for (size_t b = 0; b < layout_.bpejBorders.size(); ++b) {
      const BpejBorder& border = layout_.bpejBorders[b];
      const int event = c_.pickEvent(rng_);
      for (size_t k = 0; k < border.points.size(); ++k) {
        sbmRow(event, static_cast<int>(k) + 1, border.points[k]).empty().empty();
        w_.num(c_.id(Kind::kBpejBorder, static_cast<int64_t>(b))).text("4").end();
      }
    }
  }

  void hp() {
    w_.beginBlock(definitions::kHp);
    for (size_t l = 0; l < layout_.lines.size(); ++l) {
      const ParcelLine& line = layout_.lines[l];
      w_.row().num(c_.id(Kind::kParcelLine, static_cast<int64_t>(l)));
      c_.writeStamp(w_, rng_);
      w_.num(line.typeCode).num(c_.id(Kind::kParcel, line.parcel1));
      if (line.parcel2 >= 0) {
        w_.num(c_.id(Kind::kParcel, line.parcel2));
      } else {
        w_.empty();
      }
      w_.end();
    }
  }

  // Parcel labels: number, land-use symbol, and for some parcels a number
  // outside with an arrow line and an arrow.
  void op() {
    w_.beginBlock(definitions::kOp);
    for (size_t i = 0; i < layout_.parcels.size(); ++i) {
      const Parcel& parcel = layout_.parcels[i];
      const ParcelNumber number(parcel);
      labelRow(i, kNumberSlot, parcel.buildingPlot ? 28 : 18, parcel.number, number.view(),
               kLabelSize, "PC");
      if (parcel.symbol != 0) {
        labelRow(i, kSymbolSlot, parcel.symbol, Placement{parcel.symbolAt, 0, 0}, {}, 10, "ZDP");
      }
      if (!parcel.hasArrow) continue;
      labelRow(i, kExtraNumberSlot, 1018, parcel.extraNumber, number.view(), kLabelSize, "PPC");
      w_.row().num(labelId(i, kArrowLineSlot));
      c_.writeStamp(w_, rng_);
      w_.num(1032).empty().empty().emptyText().empty().empty();
      w_.num(c_.id(Kind::kParcel, static_cast<int64_t>(i))).text("SPC").empty().end();
      labelRow(i, kArrowSlot, 1033, parcel.arrow, {}, 10, "SPC");
    }
  }

  // Building outlines line by line, and each building's symbol.
  void ob() {
    w_.beginBlock(definitions::kOb);
    int64_t outline = 0;
    for (size_t b = 0; b < layout_.buildings.size(); ++b) {
      const Building& building = layout_.buildings[b];
      const int64_t buildingId = c_.id(Kind::kBuilding, static_cast<int64_t>(b));
      for (size_t k = 0; k < building.lines.size(); ++k) {
        w_.row().num(c_.id(Kind::kBuildingElement, outline++));
        c_.writeStamp(w_, rng_);
        w_.num(kOutlineType).empty().empty().empty().empty().num(buildingId).text("OB").end();
      }
      w_.row().num(c_.id(Kind::kBuildingElement, static_cast<int64_t>(outlineLines_ + b)));
      c_.writeStamp(w_, rng_);
      w_.num(building.symbol).coord(building.symbolAt.y).coord(building.symbolAt.x);
      w_.num(1).num(0).num(buildingId).text("ZDB").end();
    }
  }

  // Map elements: inner drawing lines, local names, boundary marks.
  void dpm() {
    w_.beginBlock(definitions::kDpm);
    int64_t index = 0;
    for (size_t k = 0; k < layout_.innerLines.size(); ++k) {
      w_.row().num(c_.id(Kind::kMapElement, index++));
      c_.writeStamp(w_, rng_);
      w_.num(kInnerLineType).empty().empty().emptyText().empty().empty().empty().text("LDPP");
      w_.empty().num(c_.areaCode).end();
    }
    const auto& names = vocabulary().fieldNames;
    for (const MapText& text : layout_.mapTexts) {
      w_.row().num(c_.id(Kind::kMapElement, index++));
      c_.writeStamp(w_, rng_);
      w_.num(text.typeCode).coord(text.at.at.y).coord(text.at.at.x);
      w_.text(text.name < 0 ? std::string_view(c_.areaName)
                            : std::string_view(names[static_cast<size_t>(text.name) % names.size()]));
      w_.fixed(text.size, 1).fixed(text.at.angle, 4).empty().text("TPP").num(text.at.reference);
      w_.num(c_.areaCode).end();
    }
    for (const int point : layout_.boundaryMarks) {
      w_.row().num(c_.id(Kind::kMapElement, index++));
      c_.writeStamp(w_, rng_);
      w_.num(kBoundaryMarkType).empty().empty().emptyText().num(1).num(0);
      w_.num(c_.id(Kind::kPoint, point)).text("MEZ").empty().num(c_.areaCode).end();
    }
  }

  void zvb() {
    w_.beginBlock(definitions::kZvb);
    for (size_t e = 0; e < layout_.easements.size(); ++e) {
      w_.row().num(c_.id(Kind::kEasement, static_cast<int64_t>(e)));
      c_.writeStamp(w_, rng_);
      w_.num(kEasementType).num(c_.areaCode).num(c_.id(Kind::kRight, static_cast<int64_t>(e))).end();
    }
  }

  void hbpej() {
    w_.beginBlock(definitions::kHbpej);
    for (size_t b = 0; b < layout_.bpejBorders.size(); ++b) {
      const BpejBorder& border = layout_.bpejBorders[b];
      w_.row().num(c_.id(Kind::kBpejBorder, static_cast<int64_t>(b)));
      c_.writeStamp(w_, rng_);
      w_.num(1040);
      bpejCode(border.unit1);
      bpejCode(border.unit2);
      w_.num(c_.areaCode).end();
    }
  }

  void obpej() {
    w_.beginBlock(definitions::kObpej);
    for (size_t u = 0; u < layout_.bpejUnits.size(); ++u) {
      const BpejUnit& unit = layout_.bpejUnits[u];
      w_.row().num(c_.id(Kind::kBpejLabel, static_cast<int64_t>(u)));
      c_.writeStamp(w_, rng_);
      w_.num(1042).coord(unit.label.y).coord(unit.label.x);
      bpejCode(static_cast<int>(u));
      w_.fixed(25, 1).num(0);
      bpejCode(static_cast<int>(u));
      w_.num(c_.areaCode).empty().end();
    }
  }

  // Positions of house numbers, and definition points of some parcels.
  void obdebo() {
    w_.beginBlock(definitions::kObdebo);
    int64_t index = 0;
    for (size_t b = 0; b < layout_.buildings.size(); ++b) {
      const Building& building = layout_.buildings[b];
      if (building.houseNumber == 0) continue;
      obdeboStart(index++).empty().num(c_.id(Kind::kBuilding, static_cast<int64_t>(b)));
      w_.empty().empty().coord(building.numberAt.y).coord(building.numberAt.x).end();
    }
    for (const int p : layout_.definitionPoints) {
      const Parcel& parcel = layout_.parcels[static_cast<size_t>(p)];
      obdeboStart(index++).num(c_.id(Kind::kParcel, p)).empty().empty().empty();
      w_.coord(parcel.number.at.y).coord(parcel.number.at.x).end();
    }
  }

 private:
  enum class Owner { kOutline, kParcelLine, kMapLine, kEasement };

  int64_t labelId(size_t parcel, LabelSlot slot) const {
    return c_.id(Kind::kParcelLabel, static_cast<int64_t>(parcel) * kSlots + slot);
  }

  void linkPoints(const std::vector<int>& points, bool backwards, Owner owner, int64_t ownerId) {
    const int event = c_.pickEvent(rng_);
    const size_t n = points.size();
    for (size_t k = 0; k < n; ++k) {
      const size_t at = backwards ? n - 1 - k : k;
      w_.row().num(c_.id(Kind::kPointLink, pointLinks_++)).num(0);
      w_.text(c_.eventDates[static_cast<size_t>(event)]).emptyText().num(3);
      w_.num(c_.id(Kind::kProceeding, event)).empty();
      w_.num(c_.id(Kind::kPoint, points[at])).num(static_cast<int64_t>(at) + 1);
      auto column = [&](Owner which) {
        if (owner == which) {
          w_.num(ownerId);
        } else {
          w_.empty();
        }
      };
      column(Owner::kOutline);
      column(Owner::kParcelLine);
      column(Owner::kMapLine);
      w_.text(rng_.chance(0.1) ? "3" : "4");
      column(Owner::kEasement);
      w_.end();
    }
  }

  RowWriter& sbmRow(int event, int ordinal, const Coord& at) {
    w_.row().text(c_.eventDates[static_cast<size_t>(event)]).emptyText().num(2).num(ordinal);
    return w_.coord(at.y).coord(at.x);
  }

  void labelRow(size_t parcel, LabelSlot slot, int typeCode, const Placement& placement,
                std::string_view text, int size, std::string_view kind) {
    w_.row().num(labelId(parcel, slot));
    c_.writeStamp(w_, rng_);
    w_.num(typeCode).coord(placement.at.y).coord(placement.at.x).text(text);
    w_.fixed(size, 1).fixed(placement.angle, 4).num(c_.id(Kind::kParcel, static_cast<int64_t>(parcel)));
    w_.text(kind);
    w_.numOrEmpty(placement.reference).end();
  }

  void bpejCode(int unit) {
    if (unit < 0) {
      w_.emptyText();
      return;
    }
    char code[8];
    const int value = layout_.bpejUnits[static_cast<size_t>(unit)].code;
    for (int d = 4; d >= 0; --d) code[4 - d] = static_cast<char>('0' + value / pow10(d) % 10);
    w_.text(std::string_view(code, 5));
  }

  static int pow10(int d) {
    int p = 1;
    while (d-- > 0) p *= 10;
    return p;
  }

  RowWriter& obdeboStart(int64_t index) {
    const int event = c_.pickEvent(rng_);
    w_.row().num(c_.id(Kind::kBuildingNumber, index)).num(0);
    return w_.text(c_.eventDates[static_cast<size_t>(event)]).emptyText().num(3);
  }

  RowWriter& w_;
  const Context& c_;
  const Layout& layout_;
  Rng rng_;
  size_t outlineLines_ = 0;
  int64_t pointLinks_ = 0;
};

}  // namespace

void writeHeader(RowWriter& w, const Context& context) {
  w.line("&HVERZE;\"5.1\"");
  w.line("&HVYTVORENO;\"" + context.created + "\"");
  w.line("&HPUVOD;\"ISKN\"");
  w.line("&HCODEPAGE;\"WE8ISO8859P2\"");
  w.line("&HSKUPINA;\"NEMO\";\"JEDN\";\"BDPA\";\"VLST\";\"JPVZ\";\"RIZE\";\"PKMP\";\"BPEJ\";\"DEBO\"");
  w.line("&HJMENO;\"KATASTR\\NOVAKJ1\"");
  w.line("&HPLATNOST;\"" + context.validFrom + "\";\"" + context.validFrom + "\"");
  w.line("&HZMENY;0");
  w.line("&HNAVRHY;0");
  w.line("&HPOLYG;0");
  w.line("&HOSOBDATA;1");
  w.line(definitions::kKatuzeHeader);
  std::string area = "&DKATUZE;" + std::to_string(context.areaCode) + ";" +
                     std::to_string(context.municipalityCode) + ";\"" + context.areaName +
                     "\";\"05.01.1999 00:00:00\";\"\";" + std::to_string(context.areaCode % 300) +
                     ";2";
  w.line(area);
}

void writeParcelRegister(RowWriter& w, const Context& context, const Layout& layout) {
  BlockWriter blocks(w, context, layout, kRegisterRowsPurpose);
  blocks.par();
  blocks.bud();
  writeTypbud(w);
  writeDrupoz(w);
  blocks.tel();
}

void writeDrawingBlocks(RowWriter& w, const Context& context, const Layout& layout) {
  BlockWriter blocks(w, context, layout, kDrawingRowsPurpose);
  blocks.sobr();
  blocks.sbp();
  blocks.sbm();
  writeTyppd(w);
  blocks.hp();
  blocks.op();
  blocks.ob();
  blocks.dpm();
  blocks.zvb();
  blocks.hbpej();
  blocks.obpej();
  blocks.obdebo();
}

}  // namespace vfkgen
