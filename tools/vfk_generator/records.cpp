#include "tools/vfk_generator/records.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "tools/vfk_generator/text.h"

namespace vfkgen {

namespace {

constexpr uint64_t kContextPurpose = 100;
constexpr int kMostEvents = 24;
constexpr int kFewestEvents = 6;

}  // namespace

std::string randomDate(Rng& rng, int firstYear, int lastYear, bool midnight) {
  char text[64];
  const int hour = midnight ? 0 : rng.range(6, 18);
  const int minute = midnight ? 0 : rng.range(0, 59);
  const int second = midnight ? 0 : rng.range(0, 59);
  // One after another: the order of a call's arguments is the compiler's.
  const int year = rng.range(firstYear, lastYear);
  const int month = rng.range(1, 12);
  const int day = rng.range(1, 28);
  std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", day, month, year, hour, minute,
                second);
  return text;
}

Context::Context(uint64_t seedValue, int parcels) : seed(seedValue) {
  Rng rng = Rng::forPurpose(seed, kContextPurpose);
  static constexpr std::array<int, 6> kSuffixes{209, 306, 407, 510, 703, 10};
  suffix = kSuffixes[static_cast<size_t>(rng.below(kSuffixes.size()))];
  areaCode = rng.range(600'000, 799'999);
  municipalityCode = rng.range(530'000, 599'999);
  partCode = rng.range(10'000, 99'999);
  mapSheetCode = rng.range(1000, 9999);
  firstSurvey = rng.range(10, 200);
  const auto& names = vocabulary().areaNames;
  areaName = names[static_cast<size_t>(rng.below(names.size()))];
  created = randomDate(rng, 2019, 2024, false);
  validFrom = randomDate(rng, 2018, 2018, true);
  eventDates.push_back(randomDate(rng, 2000, 2008, false));
  const int events = std::clamp(parcels / 4, kFewestEvents, kMostEvents);
  for (int e = 1; e < events; ++e) eventDates.push_back(randomDate(rng, 1995, 2018, false));
}

}  // namespace vfkgen
