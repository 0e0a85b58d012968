#include "tools/vfk_generator/whole_map_blocks.h"

#include <string>
#include <vector>

#include "tools/vfk_generator/block_definitions.h"

namespace vfkgen {

namespace {

constexpr uint64_t kWholeMapPurpose = 202;
constexpr int kControlPointEvery = 150;  // survey points
constexpr int kMeasuredEvery = 40;       // survey points
constexpr int kPlanEvery = 60;           // parcels
constexpr int kNeighbourEvery = 80;      // parcel lines
constexpr int kControlPointType = 101;
constexpr int kControlNumberType = 4;
constexpr int kBorderType = 21900;
constexpr int kNumberType = 1;

// A block of a map block's columns under another name: "&BSBP;..." as
// "&BSBPG;...".
std::string renamed(std::string_view definition, std::string_view name) {
  const size_t semicolon = definition.find(';');
  return "&B" + std::string(name) + std::string(definition.substr(semicolon));
}

class WholeMapWriter {
 public:
  WholeMapWriter(RowWriter& w, const Context& context, const Layout& layout)
      : w_(w), c_(context), layout_(layout), rng_(Rng::forPurpose(context.seed, kWholeMapPurpose)) {}

  void write() {
    controlPoints();
    measuredPositions();
    plan();
    neighbours();
  }

 private:
  // A symbol on every so many survey points, and its number beside it.
  void controlPoints() {
    w_.beginBlock(definitions::kObbp);
    int64_t row = 0;
    for (size_t p = 0; p < layout_.points.size(); p += kControlPointEvery) {
      const int64_t point = c_.id(Kind::kPoint, static_cast<int64_t>(p));
      w_.row().num(c_.id(Kind::kControlPoint, row++));
      c_.writeStamp(w_, rng_);
      w_.num(kControlPointType).empty().empty().emptyText().empty().empty().num(point);
      w_.text("ZB").empty().end();
      const Coord& at = layout_.points[p];
      w_.row().num(c_.id(Kind::kControlPoint, row++));
      c_.writeStamp(w_, rng_);
      w_.num(kControlNumberType).coord(at.y + 150).coord(at.x - 150);
      w_.text(std::to_string(p + 1)).fixed(20, 1).num(0).num(point).text("CB").num(1).end();
    }
  }

  // The measured position of every so many points, a few centimetres off.
  void measuredPositions() {
    w_.beginBlock(definitions::kSpol);
    for (size_t p = 0; p < layout_.points.size(); p += kMeasuredEvery) {
      const auto index = static_cast<int64_t>(p);
      const int64_t survey = c_.firstSurvey + index / 80;
      const int64_t number = index % 80 + 1;
      const Coord& at = layout_.points[p];
      w_.row().num(c_.id(Kind::kPoint, index)).num(0).num(c_.areaCode).num(survey).empty();
      w_.num(number).num(survey * 10'000 + number);
      w_.coord(at.y + rng_.range(-6, 6)).coord(at.x + rng_.range(-6, 6)).num(3).empty().empty();
      w_.end();
    }
  }

  // The plan's new state of every so many parcels: their boundaries again,
  // as the borders of one parcel of the next subdivision each.
  void plan() {
    std::vector<size_t> lines;
    for (size_t l = 0; l < layout_.lines.size(); ++l) {
      const ParcelLine& line = layout_.lines[l];
      if (line.parcel1 % kPlanEvery == 0 || (line.parcel2 >= 0 && line.parcel2 % kPlanEvery == 0)) {
        lines.push_back(l);
      }
    }
    w_.beginBlock(renamed(definitions::kSbp, "SBPG"));
    int64_t link = 0;
    for (const size_t l : lines) linkPoints(l, Kind::kPlanLink, Kind::kPlanLine, 1, link);
    w_.beginBlock(renamed(definitions::kHp, "HPG"));
    for (const size_t l : lines) {
      const ParcelLine& line = layout_.lines[l];
      w_.row().num(c_.id(Kind::kPlanLine, static_cast<int64_t>(l))).num(1).emptyText();
      w_.emptyText().num(3).empty().empty().num(kBorderType);
      for (const int parcel : {line.parcel1, line.parcel2}) {
        if (parcel >= 0 && parcel % kPlanEvery == 0) {
          w_.num(c_.id(Kind::kPlanParcel, parcel));
        } else {
          w_.empty();
        }
      }
      w_.end();
    }
    w_.beginBlock(renamed(definitions::kPar, "PARG"));
    for (size_t i = 0; i < layout_.parcels.size(); i += kPlanEvery) {
      const Parcel& parcel = layout_.parcels[i];
      w_.row().num(c_.id(Kind::kPlanParcel, static_cast<int64_t>(i))).num(1).emptyText();
      w_.emptyText().num(3).empty().empty().empty().text("PKN").num(c_.areaCode).empty();
      w_.num(parcel.buildingPlot ? 1 : 2).num(parcel.stem).empty().num(parcel.subdivision + 1);
      w_.empty().num(c_.mapSheetCode).num(2).num(2).empty().empty();
      w_.num(parcel.areaSquareMetres).empty().emptyText().empty().empty().empty();
      w_.text("n").text("n").empty().text("n").end();
    }
    w_.beginBlock(renamed(definitions::kOp, "OPG"));
    for (size_t i = 0; i < layout_.parcels.size(); i += kPlanEvery) {
      const Parcel& parcel = layout_.parcels[i];
      std::string number = std::to_string(parcel.stem) + "/";
      number += std::to_string(parcel.subdivision + 1);
      w_.row().num(c_.id(Kind::kPlanLabel, static_cast<int64_t>(i))).num(1).emptyText();
      w_.emptyText().num(3).empty().empty().num(kNumberType);
      w_.coord(parcel.number.at.y).coord(parcel.number.at.x).text(number).fixed(17, 1).num(0);
      w_.num(c_.id(Kind::kPlanParcel, static_cast<int64_t>(i))).text("PC").num(1).end();
    }
  }

  // A neighbour's line beside every so many parcel lines: the same points,
  // between parcels the file does not describe.
  void neighbours() {
    w_.beginBlock(definitions::kSbp);
    int64_t link = 0;
    for (size_t l = 0; l < layout_.lines.size(); l += kNeighbourEvery) {
      linkPoints(l, Kind::kNeighbourLink, Kind::kNeighbourLine, 0, link);
    }
    w_.beginBlock(definitions::kHp);
    for (size_t l = 0; l < layout_.lines.size(); l += kNeighbourEvery) {
      w_.row().num(c_.id(Kind::kNeighbourLine, static_cast<int64_t>(l))).num(0).emptyText();
      w_.emptyText().num(3).empty().empty().num(kBorderType);
      w_.num(c_.id(Kind::kNeighbour, static_cast<int64_t>(l))).empty().end();
    }
  }

  // The SBP rows of a copy of parcel line "l", as line "lineKind" of state
  // "state", its rows numbered on from "link".
  void linkPoints(size_t l, Kind linkKind, Kind lineKind, int state, int64_t& link) {
    const std::vector<int>& points = layout_.lines[l].points;
    for (size_t k = 0; k < points.size(); ++k) {
      w_.row().num(c_.id(linkKind, link++)).num(state).emptyText().emptyText().num(3);
      w_.empty().empty().num(c_.id(Kind::kPoint, points[k])).num(static_cast<int64_t>(k) + 1);
      w_.empty().num(c_.id(lineKind, static_cast<int64_t>(l))).empty();
      w_.text(k == 0 ? "4" : "").empty().end();
    }
  }

  RowWriter& w_;
  const Context& c_;
  const Layout& layout_;
  Rng rng_;
};

}  // namespace

void writeWholeMapBlocks(RowWriter& w, const Context& context, const Layout& layout) {
  WholeMapWriter(w, context, layout).write();
}

}  // namespace vfkgen
