// What every block writer shares: identifiers, the cadastral area's codes
// and the dates of the changes the rows record.
#ifndef VORLANE_TOOLS_VFK_GENERATOR_RECORDS_H_
#define VORLANE_TOOLS_VFK_GENERATOR_RECORDS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "tools/vfk_generator/random.h"
#include "tools/vfk_generator/row_writer.h"

namespace vfkgen {

// The record kinds with identifiers. An identifier is the kind's range plus
// the record's index, followed by three digits shared by the whole export,
// as in 4490307306. Ranges of different kinds may overlap in very large
// files; the reader keeps each block's identifiers apart, except those that
// own SBM points.
enum class Kind : int {
  kPointLink = 1,
  kPoint,
  kParcelLine,
  kParcel,
  // Soil-valuation borders and parcel labels both own SBM points, so their
  // ranges must not meet: the borders, far fewer, come first.
  kBpejBorder,
  kParcelLabel,
  kProceeding,
  kProceedingObject,
  kBuildingElement,
  kBuilding,
  kMapElement,
  kBpejLabel,
  kBuildingNumber,
  kSheet,
  kDeed,
  kRight,
  kOwnership,
  kSubject,
  kOtherPoint,
  kEasement,
  // The whole map's (--whole-map):
  kControlPoint,
  kPlanLink,
  kPlanLine,
  kPlanParcel,
  kPlanLabel,
  kNeighbourLink,
  kNeighbourLine,
  kNeighbour,
};

struct Context {
  // The export of an area of about "parcels" parcels: a small one records
  // fewer changes.
  Context(uint64_t seed, int parcels);

  int64_t id(Kind kind, int64_t index) const {
    return (static_cast<int64_t>(kind) * 1'000'000 + index) * 1000 + suffix;
  }

  // A change (proceeding) the rows were written by: mostly the original
  // digitisation, otherwise one of the later changes.
  int pickEvent(Rng& rng) const {
    return rng.chance(0.65) ? 0 : rng.range(1, static_cast<int>(eventDates.size()) - 1);
  }

  // The six fields STAV_DAT to RIZENI_ID_ZANIKU that open most rows.
  void writeStamp(RowWriter& w, Rng& rng) const {
    const int event = pickEvent(rng);
    w.num(0).text(eventDates[static_cast<size_t>(event)]).emptyText().num(3);
    w.num(id(Kind::kProceeding, event)).empty();
  }

  uint64_t seed;
  int suffix;            // the last three digits of every identifier
  int areaCode;          // KATUZE_KOD
  int municipalityCode;  // OBCE_KOD
  int partCode;          // CAOBCE_KOD, the part of the municipality
  int mapSheetCode;      // MAPLIS_KOD
  int firstSurvey;       // CISLO_ZPMZ of the first survey points
  std::string areaName;  // ISO-8859-2
  std::string created;   // "dd.mm.yyyy hh:mm:ss" of the export
  std::string validFrom;
  std::vector<std::string> eventDates;  // event 0 is the digitisation
};

// A date and time "dd.mm.yyyy hh:mm:ss" in the given years.
std::string randomDate(Rng& rng, int firstYear, int lastYear, bool midnight);

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_RECORDS_H_
