#include "tools/vfk_generator/register_blocks.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "tools/vfk_generator/block_definitions.h"
#include "tools/vfk_generator/text.h"

namespace vfkgen {

namespace {

constexpr uint64_t kRegisterPurpose = 300;
constexpr uint64_t kSamplePurpose = 301;
constexpr int kSampleRows = 64;
constexpr int kOffice = 306;  // PRARES_KOD: the cadastral office
constexpr int kDatePool = 256;

// Rows per parcel at scale 1.
constexpr double kSubjectsPerParcel = 0.3;
constexpr double kOwnershipsPerParcel = 0.5;
constexpr double kRightsPerParcel = 0.6;
constexpr double kProceedingsPerParcel = 1.0;
constexpr double kObjectsPerParcel = 4.0;
constexpr double kDeedsPerParcel = 0.8;
constexpr double kOtherPointsPerParcel = 1.5;

int rowsFor(double perParcel, size_t parcels, double scale, int minimum) {
  const double rows = std::floor(perParcel * static_cast<double>(parcels) * scale + 0.5);
  return std::max(minimum, static_cast<int>(std::min(rows, 1e9)));
}

// An identifier written as text, as T255 columns hold them.
class IdText {
 public:
  explicit IdText(int64_t id) {
    length_ = static_cast<size_t>(std::to_chars(text_, text_ + sizeof text_, id).ptr - text_);
  }
  std::string_view view() const { return {text_, length_}; }

 private:
  char text_[24];
  size_t length_ = 0;
};

std::vector<std::string> upperAll(const std::vector<std::string>& words) {
  std::vector<std::string> upper;
  upper.reserve(words.size());
  for (const std::string& word : words) upper.push_back(upperLatin2(word));
  return upper;
}

template <typename T>
const T& pick(Rng& rng, const std::vector<T>& list) {
  return list[static_cast<size_t>(rng.below(list.size()))];
}

class RegisterWriter {
 public:
  RegisterWriter(RowWriter& w, const Context& context, const Layout& layout,
                 const RegisterCounts& counts, uint64_t purpose)
      : w_(w),
        c_(context),
        layout_(layout),
        n_(counts),
        words_(vocabulary()),
        rng_(Rng::forPurpose(context.seed, purpose)),
        maleFirstUpper_(upperAll(words_.maleFirstNames)),
        femaleFirstUpper_(upperAll(words_.femaleFirstNames)),
        maleSurnamesUpper_(upperAll(words_.maleSurnames)),
        femaleSurnamesUpper_(upperAll(words_.femaleSurnames)),
        organisationsUpper_(upperAll(words_.organisations)) {
    Rng dates = Rng::forPurpose(context.seed, purpose + 1000);
    for (int i = 0; i < kDatePool; ++i) dates_.push_back(randomDate(dates, 1995, 2020, false));
  }

  void subjectRow(int i) {
    w_.row().text(IdText(c_.id(Kind::kSubject, i)).view());
    c_.writeStamp(w_, rng_);
    w_.emptyText().emptyText().emptyText();
    if (rng_.chance(0.15)) {
      const size_t org = static_cast<size_t>(rng_.below(words_.organisations.size()));
      w_.text("OPO").num(rng_.range(3, 11)).num(rng_.range(10'000'000, 99'999'999)).empty();
      w_.text(words_.organisations[org]).text(organisationsUpper_[org]);
      for (int k = 0; k < 7; ++k) w_.emptyText();
    } else {
      const bool female = rng_.chance(0.5);
      const auto& first = female ? words_.femaleFirstNames : words_.maleFirstNames;
      const auto& firstUpper = female ? femaleFirstUpper_ : maleFirstUpper_;
      const auto& last = female ? words_.femaleSurnames : words_.maleSurnames;
      const auto& lastUpper = female ? femaleSurnamesUpper_ : maleSurnamesUpper_;
      const auto f = static_cast<size_t>(rng_.below(first.size()));
      const auto s = static_cast<size_t>(rng_.below(last.size()));
      w_.text("OFO").num(1).empty().empty().emptyText().emptyText().emptyText();
      w_.text(rng_.chance(0.15) ? "Ing." : "").text(first[f]).text(firstUpper[f]);
      w_.text(last[s]).text(lastUpper[s]).emptyText();
    }
    // The address.
    w_.num(rng_.range(1, 999)).text(rng_.chance(0.3) ? "12" : "").text(pick(rng_, words_.streets));
    const std::string& town = pick(rng_, words_.areaNames);
    w_.text(town).text(town).text(pick(rng_, words_.districts)).emptyText();
    const int postCode = rng_.range(10, 79) * 1000;
    w_.num(postCode + rng_.range(0, 99) * 10 + 1).emptyText().num(1);
    w_.emptyText().empty().num(rng_.range(10'000'000, 29'999'999)).emptyText().end();
  }

  void ownershipRow(int i) {
    w_.row().num(c_.id(Kind::kOwnership, i));
    c_.writeStamp(w_, rng_);
    w_.text(IdText(c_.id(Kind::kSubject,
                         static_cast<int>(rng_.below(static_cast<uint64_t>(n_.subjects)))))
                .view());
    w_.text(rng_.chance(0.9) ? "30" : "109");
    w_.num(c_.id(Kind::kSheet, i % layout_.sheetCount));
    const bool shared = rng_.chance(0.3);
    w_.num(1)
        .num(shared ? rng_.range(2, 4) : 1)
        .emptyText()
        .empty()
        .empty()
        .empty()
        .empty()
        .empty();
    w_.end();
  }

  void rightRow(int i) {
    static const std::array<std::string_view, 6> kKinds{"50", "47", "105", "107", "30", "151"};
    w_.row().num(c_.id(Kind::kRight, i));
    c_.writeStamp(w_, rng_);
    const bool forParcel = rng_.chance(0.3);
    w_.raw(forParcel ? parcelId() : std::string_view()).empty().empty();
    w_.raw(parcelId()).empty().empty();
    w_.text(kKinds[static_cast<size_t>(rng_.below(kKinds.size()))]);
    w_.text(pick(rng_, words_.rightDescriptions)).empty();
    w_.text(forParcel ? std::string_view() : IdText(subjectId()).view());
    w_.text(rng_.chance(0.5) ? IdText(subjectId()).view() : std::string_view());
    w_.emptyText()
        .num(c_.id(Kind::kRight, i))
        .text(pick(rng_, dates_))
        .num(c_.id(Kind::kProceeding, proceeding()));
    w_.emptyText()
        .empty()
        .emptyText()
        .emptyText()
        .text(words_.rightPriorityNote)
        .emptyText()
        .empty();
    w_.end();
  }

  void proceedingRow(int i) {
    static const std::array<std::string_view, 6> kKinds{"V", "Z", "PGP", "PU", "OR", "R"};
    const int events = static_cast<int>(c_.eventDates.size());
    const std::string& date =
        i < events ? c_.eventDates[static_cast<size_t>(i)] : pick(rng_, dates_);
    char year[32] = "01.01.";
    std::string_view(date).substr(6, 4).copy(year + 6, 4);
    std::string_view(" 00:00:00").copy(year + 10, 9);
    w_.row()
        .num(c_.id(Kind::kProceeding, i))
        .text(kKinds[static_cast<size_t>(rng_.below(kKinds.size()))]);
    w_.num(rng_.range(1, 99'999))
        .text(std::string_view(year, 19))
        .text(pick(rng_, words_.proceedingStates));
    w_.num(13).num(44).num(1020).num(1064).emptyText().emptyText().text(rng_.chance(0.5) ? "n"
                                                                                         : "");
    if (rng_.chance(0.4)) {
      w_.num(rng_.chance(0.5) ? 500 : 100);
    } else {
      w_.empty();
    }
    w_.text(date).emptyText().emptyText().text(date).num(kOffice).end();
  }

  void objectRow(int i) {
    w_.row().num(c_.id(Kind::kProceedingObject, i)).num(c_.id(Kind::kProceeding, proceeding()));
    w_.raw(parcelId()).empty().empty();
    const std::string& date = pick(rng_, dates_);
    w_.text(date).text(pick(rng_, dates_)).text(date).emptyText().empty().end();
  }

  void deedRow(int i) {
    static const std::array<int, 8> kKinds{1, 6, 53, 99, 111, 204, 9, 12};
    w_.row().num(c_.id(Kind::kDeed, i)).num(kKinds[static_cast<size_t>(rng_.below(kKinds.size()))]);
    w_.text(rng_.chance(0.5) ? std::string_view(pick(rng_, words_.deedDescriptions))
                             : std::string_view());
    w_.text("n");
    if (rng_.chance(0.5)) {
      w_.num(rng_.range(1, 40));
    } else {
      w_.empty();
    }
    const std::string& date = pick(rng_, dates_);
    w_.text(date).text(pick(rng_, words_.deedAuthors)).text(IdText(rng_.range(100, 99'999)).view());
    w_.text(date).emptyText().emptyText().num(c_.id(Kind::kProceeding, proceeding()));
    w_.text(rng_.chance(0.6) ? "a" : "n").emptyText().emptyText().text(date).emptyText();
    if (rng_.chance(0.2)) {
      w_.fixed(rng_.range64(1'000, 900'000) * 100, 2).text("CZK");
    } else {
      w_.empty().emptyText();
    }
    w_.num(kOffice).num(kOffice).end();
  }

  void otherPointRow(int i) {
    const Coord& nw = layout_.northWest;
    const Coord& se = layout_.southEast;
    const int survey = c_.firstSurvey + rng_.range(0, 40);
    const int number = rng_.range(1, 999);
    w_.row()
        .num(c_.id(Kind::kOtherPoint, i))
        .num(0)
        .num(c_.areaCode)
        .num(survey)
        .empty()
        .num(number);
    w_.num(int64_t{survey} * 10'000 + number);
    w_.coord(rng_.range64(std::min(nw.y, se.y), std::max(nw.y, se.y)));
    w_.coord(rng_.range64(std::min(nw.x, se.x), std::max(nw.x, se.x)));
    w_.num(3).num(c_.areaCode).num(survey).end();
  }

 private:
  std::string_view parcelId() {
    parcelIdText_ =
        IdText(c_.id(Kind::kParcel, static_cast<int64_t>(rng_.below(layout_.parcels.size()))));
    return parcelIdText_.view();
  }
  int64_t subjectId() {
    return c_.id(Kind::kSubject,
                 static_cast<int64_t>(rng_.below(static_cast<uint64_t>(n_.subjects))));
  }
  int proceeding() { return static_cast<int>(rng_.below(static_cast<uint64_t>(n_.proceedings))); }

  RowWriter& w_;
  const Context& c_;
  const Layout& layout_;
  const RegisterCounts& n_;
  const Vocabulary& words_;
  Rng rng_;
  std::vector<std::string> maleFirstUpper_;
  std::vector<std::string> femaleFirstUpper_;
  std::vector<std::string> maleSurnamesUpper_;
  std::vector<std::string> femaleSurnamesUpper_;
  std::vector<std::string> organisationsUpper_;
  std::vector<std::string> dates_;
  IdText parcelIdText_{0};
};

using RowMethod = void (RegisterWriter::*)(int);

struct RegisterBlock {
  std::string_view definition;
  int RegisterCounts::*count;
  RowMethod row;
};

constexpr std::array<RegisterBlock, 7> kBlocks{{
    {definitions::kOpsub, &RegisterCounts::subjects, &RegisterWriter::subjectRow},
    {definitions::kVla, &RegisterCounts::ownerships, &RegisterWriter::ownershipRow},
    {definitions::kJpv, &RegisterCounts::rights, &RegisterWriter::rightRow},
    {definitions::kRizeni, &RegisterCounts::proceedings, &RegisterWriter::proceedingRow},
    {definitions::kObjriz, &RegisterCounts::objects, &RegisterWriter::objectRow},
    {definitions::kListin, &RegisterCounts::deeds, &RegisterWriter::deedRow},
    {definitions::kSpol, &RegisterCounts::otherPoints, &RegisterWriter::otherPointRow},
}};

}  // namespace

RegisterCounts registerCounts(const Context& context, const Layout& layout, double scale,
                              bool otherPoints) {
  const size_t parcels = layout.parcels.size();
  RegisterCounts counts;
  counts.subjects = rowsFor(kSubjectsPerParcel, parcels, scale, 1);
  counts.ownerships = rowsFor(kOwnershipsPerParcel, parcels, scale, 1);
  counts.rights =
      rowsFor(kRightsPerParcel, parcels, scale, static_cast<int>(layout.easements.size()));
  counts.proceedings =
      rowsFor(kProceedingsPerParcel, parcels, scale, static_cast<int>(context.eventDates.size()));
  counts.objects = rowsFor(kObjectsPerParcel, parcels, scale, 1);
  counts.deeds = rowsFor(kDeedsPerParcel, parcels, scale, 1);
  counts.otherPoints = otherPoints ? rowsFor(kOtherPointsPerParcel, parcels, scale, 1) : 0;
  return counts;
}

double scaleForBytes(const Context& context, const Layout& layout, uint64_t bytes,
                     bool otherPoints) {
  // Average row lengths, from sample rows written aside.
  const RegisterCounts sampleCounts = registerCounts(context, layout, 1.0, true);
  std::array<double, kBlocks.size()> rowBytes{};
  for (size_t b = 0; b < kBlocks.size(); ++b) {
    RowWriter sample;
    RegisterWriter rows(sample, context, layout, sampleCounts, kSamplePurpose);
    sample.beginBlock(kBlocks[b].definition);
    const uint64_t start = sample.bytes();
    for (int i = 0; i < kSampleRows; ++i) (rows.*kBlocks[b].row)(i);
    rowBytes[b] = static_cast<double>(sample.bytes() - start) / kSampleRows;
  }
  auto estimate = [&](double scale) {
    const RegisterCounts counts = registerCounts(context, layout, scale, otherPoints);
    double total = 0;
    for (size_t b = 0; b < kBlocks.size(); ++b) {
      if (counts.*kBlocks[b].count == 0) continue;
      total += static_cast<double>(counts.*kBlocks[b].count) * rowBytes[b] +
               static_cast<double>(kBlocks[b].definition.size() + 2);
    }
    return total;
  };
  double lo = 0;
  double hi = 1;
  while (estimate(hi) < static_cast<double>(bytes) && hi < 1e6) hi *= 2;
  for (int step = 0; step < 60; ++step) {
    const double mid = (lo + hi) / 2;
    (estimate(mid) < static_cast<double>(bytes) ? lo : hi) = mid;
  }
  return lo;
}

void writeRegisterBlocks(RowWriter& w, const Context& context, const Layout& layout,
                         const RegisterCounts& counts) {
  RegisterWriter rows(w, context, layout, counts, kRegisterPurpose);
  for (const RegisterBlock& block : kBlocks) {
    const int n = counts.*block.count;
    if (n == 0) continue;
    w.beginBlock(block.definition);
    for (int i = 0; i < n; ++i) (rows.*block.row)(i);
  }
}

}  // namespace vfkgen
