// The thirteen block loaders, each through parseFile with a small VFK text.
#include "vfk/block_loaders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>
#include <unordered_map>

#include "tests/test_support.h"
#include "vfk/point_lists.h"

namespace vorlane {
namespace {

using testing::bpejAreaNamed;
using testing::buildingNamed;
using testing::parcelNamed;
using testing::pointsOf;
using testing::readVfk;
using Loaders = ::testing::Test;
using testing::Indices;

using testing::indices;

// Survey points 1 to 4 at file coordinates (Y, X) = (k, 10k); in the model
// the point with ID k has index k - 1 and lies at (-k, -10k).
const std::string kFourPoints =
    "&BSOBR;ID N30;STAV_DAT N2;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\n"
    "&DSOBR;1;0;1;10\n&DSOBR;2;0;2;20\n&DSOBR;3;0;3;30\n&DSOBR;4;0;4;40\n";
const std::string kSbp =
    "&BSBP;ID N30;BP_ID N30;PORADOVE_CISLO_BODU N38;OB_ID N30;HP_ID N30;DPM_ID N30\n";
const std::string kHp = "&BHP;ID N30;TYPPPD_KOD N10;PAR_ID_1 N30;PAR_ID_2 N30\n";

TEST(IdMap, FindsWhatAStandardMapFinds) {
  // Keys that differ only in their high bits, low bits, or not at all, in a
  // table shrunk now and then as a block ends, large enough to be mapped.
  IdMap<int> map;
  std::unordered_map<uint64_t, int> expected;
  std::mt19937_64 random(3);
  for (int i = 0; i < 400000; ++i) {
    const uint64_t key = i % 3 == 0   ? random()
                         : i % 3 == 1 ? (random() % 64) << 40
                                      : random() % 500;
    map[key] = i;
    expected[key] = i;
    if (random() % 5000 == 0) map.compact();
    const uint64_t probe = random() % 1000;
    const int* found = map.find(probe);
    const auto wanted = expected.find(probe);
    ASSERT_EQ(found == nullptr, wanted == expected.end()) << probe;
    if (found != nullptr) {
      ASSERT_EQ(*found, wanted->second);
    }
  }
  EXPECT_EQ(map.size(), expected.size());
  map.compact();
  for (const auto& [key, value] : expected) ASSERT_EQ(*map.find(key), value);
  EXPECT_EQ(IdMap<int>().find(0), nullptr);
}

// Point lists as plain vectors, one per key, copied into each line: what
// PointLists keeps in one shared array, and its lines by reference.
class SimplePointLists {
 public:
  explicit SimplePointLists(PointBudget& budget) : budget_(budget) {}

  void place(uint64_t key, int32_t point, int ordinal) {
    if (ordinal < 1 || ordinal > budget_.maxOrdinal) return;
    const auto found = lists_.find(key);
    const int64_t size = found == lists_.end() ? 0 : static_cast<int64_t>(found->second.size());
    const int64_t growth = std::max<int64_t>(0, ordinal - size);
    const int64_t padding = std::max<int64_t>(0, growth - 1);
    if (padding > budget_.placeholdersLeft) return;
    budget_.placeholdersLeft -= padding;
    budget_.lineEntriesLeft += growth;
    Indices& list = lists_[key];
    if (static_cast<size_t>(ordinal) > list.size()) list.resize(static_cast<size_t>(ordinal), -1);
    list[static_cast<size_t>(ordinal - 1)] = point;
  }

  std::optional<Indices> take(uint64_t key) {
    const auto found = lists_.find(key);
    if (found == lists_.end()) return std::nullopt;
    const auto size = static_cast<int64_t>(found->second.size());
    if (size > budget_.lineEntriesLeft) return std::nullopt;
    budget_.lineEntriesLeft -= size;
    return found->second;
  }

 private:
  PointBudget& budget_;
  std::map<uint64_t, Indices> lists_;
};

// Random rows for a few lines, in and out of order, with gaps, repeats and
// lines taken twice or while they still grow: every line keeps exactly the
// points its list had when it was taken, and no two lines share an entry.
TEST(PointLists, HoldWhatSimpleListsHold) {
  std::mt19937 random(17);
  for (int round = 0; round < 300; ++round) {
    PodVector<int32_t> pool;
    PointBudget budget;
    PointBudget simpleBudget;
    budget.placeholdersLeft = simpleBudget.placeholdersLeft = random() % 50;
    budget.lineEntriesLeft = simpleBudget.lineEntriesLeft = random() % 50;
    budget.maxOrdinal = simpleBudget.maxOrdinal = 1 + static_cast<int>(random() % 14);
    PointLists lists(pool, budget);
    SimplePointLists simple(simpleBudget);
    std::vector<std::pair<IndexRange, Indices>> lines;
    // A third of the rounds begin as real files do: lists made one after
    // another, then taken in that order, before the random rows.
    for (uint64_t key = 0; round % 3 == 0 && key < 12; ++key) {
      const uint64_t made = key % 6;
      if (key < 6) {
        for (int ordinal = 1; ordinal <= 3; ++ordinal) {
          lists.place(made, static_cast<int32_t>(key * 10 + ordinal), ordinal);
          simple.place(made, static_cast<int32_t>(key * 10 + ordinal), ordinal);
        }
        continue;
      }
      DropReason why = DropReason::kNone;
      const auto range = lists.take(made, why);
      const auto expected = simple.take(made);
      ASSERT_EQ(range.has_value(), expected.has_value());
      if (range) lines.emplace_back(range->range, *expected);
    }
    for (int step = 0; step < 400; ++step) {
      const uint64_t key = random() % 6;
      if (random() % 4 == 0) {
        DropReason why = DropReason::kNone;
        const auto range = lists.take(key, why);
        const auto expected = simple.take(key);
        ASSERT_EQ(range.has_value(), expected.has_value());
        if (range) lines.emplace_back(range->range, *expected);
      } else {
        const int ordinal =
            random() % 50 == 0 ? static_cast<int>(random()) : static_cast<int>(random() % 14) - 1;
        const auto point = static_cast<int32_t>(random() % 100);
        lists.place(key, point, ordinal);
        simple.place(key, point, ordinal);
      }
    }
    std::vector<bool> used(pool.size(), false);
    for (const auto& [range, expected] : lines) {
      ASSERT_EQ(Indices(pool.begin() + range.first, pool.begin() + range.first + range.count),
                expected);
      for (uint32_t i = range.first; i < range.first + range.count; ++i) {
        ASSERT_FALSE(used[i]) << "two lines share entry " << i;
        used[i] = true;
      }
    }
  }
}

TEST_F(Loaders, SbpPlacesSurveyPointsByOrdinal) {
  const auto result = readVfk(
      kFourPoints + kSbp +
      "&DSBP;1;1;1;;100;\n"
      "&DSBP;2;2;2;;100;\n"
      "&DSBP;3;4;4;200;100;300\n"  // one row in a parcel boundary, an outline and an element
      "&DSBP;4;9;3;;100;\n"        // a point no SOBR row defined
      "&DSBP;5;3;0;;100;\n"        // ordinals outside 1 to 1000000
      "&DSBP;6;3;-5;;100;\n"
      "&DSBP;7;3;1000001;;100;\n"
      "&DSBP;7;3;2147483648;;100;\n"
      "&DSBP;8;3;1;;101;\n"
      "&DSBP;9;4;1;;101;\n"         // the same ordinal again: the later point wins
      "&DSBP;10;3;1000001;;102;\n"  // never placed: no list for 102
      + kHp +
      "&DHP;100;21900;10;11\n"
      "&DHP;101;20602;11;\n"
      "&DHP;102;21900;12;13\n"  // no points: no boundary
      "&DHP;999;21900;14;15\n"
      "&BOB;ID N30;BUD_ID N30;OBRBUD_TYPE T10;TYPPPD_KOD N10\n"
      "&DOB;200;7;\"OB\";0\n"
      "&BDPM;ID N30;DPM_TYPE T10;TYPPPD_KOD N10\n"
      "&DDPM;300;\"X\";21800\n"
      "&DDPM;300;\"X\";21801\n");  // another type: no line
  const CadastralModel& model = result.model();
  ASSERT_EQ(model.parcelBoundaries.size(), 2u);
  // Ordinals 1, 2 and 4 give p1, p2, -1, p4; the placeholder goes with a warning.
  EXPECT_EQ(pointsOf(model, model.parcelBoundaries[0]), (Indices{0, 1, 3}));
  // The outline had only its fourth point; map-element lines are cleaned silently.
  EXPECT_EQ(result.output,
            "[Warning]: Parcel border polyline point missing (point index = 2, parcel ID1 = 10, "
            "parcel ID2 = 11)\n"
            "[Warning]: General polyline point missing (point index = 0)\n"
            "[Warning]: General polyline point missing (point index = 1)\n"
            "[Warning]: General polyline point missing (point index = 2)\n");
  EXPECT_EQ(pointsOf(model, model.parcelBoundaries[1]), Indices{3});
  EXPECT_EQ(model.parcelBoundaries[1].typeCode, 20602);
  EXPECT_EQ(model.parcelBoundaries[1].area2, kNoArea);
  EXPECT_EQ(model.parcels.size(), 2u);  // 10 and 11
  ASSERT_EQ(model.generalPolylines.size(), 1u);
  EXPECT_EQ(pointsOf(model, model.generalPolylines[0]), (Indices{3}));
  EXPECT_EQ(indices(model.polylineIndicesOf(buildingNamed(model, "7"))), Indices{0});
  ASSERT_EQ(model.elementPolylines.size(), 1u);
  EXPECT_EQ(pointsOf(model, model.elementPolylines[0]), (Indices{3}));
  EXPECT_EQ(model.elementPolylines[0].typeCode, 21800);

  // Each row that placed nothing, or took no line, is reported with its line.
  std::vector<std::pair<DropReason, int64_t>> dropped;
  for (const auto& finding : result.findings->of(FindingKind::kRowDropped)) {
    dropped.emplace_back(finding.reason, finding.number);
  }
  EXPECT_EQ(dropped,
            (std::vector<std::pair<DropReason, int64_t>>{{DropReason::kUnknownPoint, 10},
                                                         {DropReason::kBadOrdinal, 11},
                                                         {DropReason::kBadOrdinal, 12},
                                                         {DropReason::kOrdinalBeyondBound, 13},
                                                         {DropReason::kOrdinalBeyondBound, 14},
                                                         {DropReason::kOrdinalBeyondBound, 17},
                                                         {DropReason::kNoPoints, 21},
                                                         {DropReason::kNoPoints, 22}}));
}

TEST_F(Loaders, LinesTakeTheirPointListAsItStandsWhenTheyAreRead) {
  const auto result =
      readVfk(kFourPoints + kSbp + "&DSBP;1;1;1;;100;\n" + kHp + "&DHP;100;0;10;\n" + kSbp +
              "&DSBP;2;2;2;;100;\n" + kHp + "&DHP;100;0;10;\n");
  const CadastralModel& model = result.model();
  ASSERT_EQ(model.parcelBoundaries.size(), 2u);
  EXPECT_EQ(pointsOf(model, model.parcelBoundaries[0]), Indices{0});
  EXPECT_EQ(pointsOf(model, model.parcelBoundaries[1]), (Indices{0, 1}));
  EXPECT_EQ(indices(model.boundaryIndicesOf(parcelNamed(model, "10"))), (Indices{0, 1}));
}

TEST_F(Loaders, HpBeforeSbpYieldsNothingAndItsParcelLabelsAreSkipped) {
  const auto result = readVfk(kFourPoints + kHp + "&DHP;100;0;10;\n" + kSbp +
                              "&DSBP;1;1;1;;100;\n"
                              "&BOP;PAR_ID N30;OPAR_TYPE T10;TYPPPD_KOD N10;TEXT T255\n"
                              "&DOP;10;\"PC\";0;\"10\"\n");
  EXPECT_TRUE(result.read.opened);
  EXPECT_TRUE(result.model().parcelBoundaries.empty());
  EXPECT_TRUE(result.model().parcels.empty());
  EXPECT_EQ(result.output, "");
}

TEST_F(Loaders, SbmAddsAPointPerRowUnderItsFirstOwner) {
  const auto result = readVfk(
      "&BSBM;PORADOVE_CISLO_BODU N38;SOURADNICE_Y N10.2;SOURADNICE_X N10.2;OP_ID N30;"
      "DPM_ID N30;HBPEJ_ID N30\n"
      "&DSBM;1;1;10;;;50\n"
      "&DSBM;2;2;20;;;50\n"
      "&DSBM;3;3;30;;;\n"     // no owner: a point all the same
      "&DSBM;2;4;40;7;;51\n"  // OP_ID first: not under 51
      "&DSBM;1;5;50;;8;51\n"  // DPM_ID before HBPEJ_ID
      "&DSBM;0;6;60;;;51\n"   // ordinal 0: a point, placed nowhere
      "&DSBM;1;7;70;;;52\n"
      "&DSBM;3;8;80;;;52\n"
      "&BHBPEJ;ID N30;BPEJ_KOD_HRANICE_1 T5;BPEJ_KOD_HRANICE_2 T5\n"
      "&DHBPEJ;50;\"87311\";\"83541\"\n"
      "&DHBPEJ;51;\"87311\";\"\"\n"  // only placed elsewhere: no border
      "&DHBPEJ;52;\"83541\";\"\"\n"
      "&DHBPEJ;8;\"11111\";\"\"\n"  // SBM points under a DPM_ID share the one map
      "&BOBPEJ;BPEJ_KOD T5;TYPPPD_KOD N10;TEXT T255;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\n"
      "&DOBPEJ;\"83541\";1042;\"83541\";1.5;2.5\n"
      "&DOBPEJ;\"99999\";1042;\"99999\";1;1\n");  // no such unit
  const CadastralModel& model = result.model();
  EXPECT_EQ(model.points.size(), 8u);
  EXPECT_EQ(model.points[7].x, -8.0);
  EXPECT_EQ(model.points[7].y, -80.0);
  ASSERT_EQ(model.bpejBoundaries.size(), 3u);
  EXPECT_EQ(pointsOf(model, model.bpejBoundaries[0]), (Indices{0, 1}));
  EXPECT_EQ(testing::bpejCodeAt(model, model.bpejBoundaries[0].area1), "87311");
  EXPECT_EQ(testing::bpejCodeAt(model, model.bpejBoundaries[0].area2), "83541");
  EXPECT_EQ(pointsOf(model, model.bpejBoundaries[1]), (Indices{6, 7}));
  EXPECT_EQ(pointsOf(model, model.bpejBoundaries[2]), Indices{4});
  EXPECT_EQ(result.output, "[Warning]: BPEJ polyline point missing (point index = 1)\n");
  ASSERT_EQ(model.bpejAreas.size(), 3u);
  const BpejArea& area = bpejAreaNamed(model, "83541");
  EXPECT_EQ(indices(model.boundaryIndicesOf(area)), (Indices{0, 1}));
  EXPECT_EQ(model.text(area.label.text), "83541");
  EXPECT_EQ(area.label.typeCode, 1042);
  EXPECT_EQ(area.label.x, -1.5);
  EXPECT_EQ(area.label.y, -2.5);
  EXPECT_EQ(model.text(bpejAreaNamed(model, "87311").label.text), "");
}

// A parcel "10" from one boundary, for label rows.
const std::string kParcel10 = kFourPoints + kSbp + "&DSBP;1;1;1;;100;\n" + kHp + "&DHP;100;0;10;\n";

TEST_F(Loaders, OpRowsLabelTheirParcel) {
  // OP texts keep the file's bytes whatever the code page.
  const auto result =
      readVfk(kParcel10 +
                  "&BOP;ID N30;TYPPPD_KOD N10;SOURADNICE_Y N10.2;SOURADNICE_X N10.2;TEXT T255;"
                  "VELIKOST N10.2;UHEL N10.4;PAR_ID N30;OPAR_TYPE T10;VZTAZNY_BOD N2\n"
                  "&DOP;1;0;100;200;\"10\";2.5;100;10;\"PC\";5\n"
                  "&DOP;2;0;1;2;\"10/\xE8\";;50;10;\"PPC\";\n"
                  "&DOP;3;0;3;4;\"x\";1;0;10;\"PPC\";7\n"
                  "&DOP;4;1033;5;6;\"\";1;-50;10;\"SPC\";\n"
                  "&DOP;5;1034;7;8;\"\";1;0;10;\"SPC\";\n"  // not an arrow type
                  "&DOP;6;308;9;10;\"\";1;0;10;\"ZDP\";\n"
                  "&DOP;7;0;1;1;\"a\";1;0;10;\"XYZ\";\n"  // an unknown kind
                  "&DOP;8;0;1;1;\"b\";1;0;99;\"PC\";\n"   // a parcel no boundary introduced
                  "&DOP;9;1033;11;12;\"\";1;0;10;\"SPC\";\n",
              kIso8859_2CodePage);
  EXPECT_EQ(result.output, "");
  const CadastralModel& model = result.model();
  const Parcel& parcel = parcelNamed(model, "10");
  const TextLabel& number = parcel.numberLabel;
  EXPECT_EQ(model.text(number.text), "10");
  EXPECT_EQ(number.x, -100.0);
  EXPECT_EQ(number.y, -200.0);
  EXPECT_EQ(number.size, 2.5f);
  EXPECT_EQ(number.angle, 90.0f);  // 100 gon
  EXPECT_EQ(number.referencePoint, 5);
  EXPECT_EQ(number.typeCode, 0);

  const auto extras = model.extraNumberLabelsOf(parcel);
  ASSERT_EQ(extras.size(), 2u);
  const TextLabel& extra = extras[0].label;
  EXPECT_EQ(model.text(extra.text), "10/\xE8");
  EXPECT_EQ(extra.size, 0.0f);  // an empty VELIKOST
  EXPECT_EQ(extra.angle, 45.0f);
  EXPECT_EQ(extra.referencePoint, 0);  // an empty VZTAZNY_BOD
  EXPECT_EQ(extras[1].label.referencePoint, 7);

  const auto arrows = model.arrowsOf(parcel);
  ASSERT_EQ(arrows.size(), 2u);
  EXPECT_EQ(arrows[0].x, -5.0);
  EXPECT_EQ(arrows[0].y, -6.0);
  EXPECT_EQ(arrows[0].angle, -45.0f);
  EXPECT_EQ(arrows[1].x, -11.0);

  EXPECT_EQ(model.symbolLabelOf(parcel).typeCode, 308);
  EXPECT_EQ(model.symbolLabelOf(parcel).x, -9.0);
  EXPECT_EQ(model.parcels.size(), 1u);
}

TEST_F(Loaders, LabelsWithoutOptionalColumnsTakeTheirDefaults) {
  // A label row of another block comes first: nothing of it carries over.
  const auto result =
      readVfk(kParcel10 +
              "&BDPM;ID N30;DPM_TYPE T10;TYPPPD_KOD N10;TEXT T255;UHEL N10.4;VELIKOST N10.2;"
              "VZTAZNY_BOD N2;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\n"
              "&DDPM;1;\"TPP\";1;\"Hradcany\";100;3;5;7;8\n"
              "&BOP;PAR_ID N30;OPAR_TYPE T10;TYPPPD_KOD N10\n"
              "&DOP;10;\"PC\";17\n");
  const TextLabel& label = parcelNamed(result.model(), "10").numberLabel;
  EXPECT_TRUE(label.text.empty());
  EXPECT_EQ(label.angle, 0.0f);
  EXPECT_EQ(label.size, 1.0f);
  EXPECT_EQ(label.referencePoint, 1);
  EXPECT_EQ(label.typeCode, 17);
  EXPECT_TRUE(label.x == 0.0 && std::signbit(label.x));
}

TEST_F(Loaders, ObRowsGiveBuildingsSymbolsAndOutlines) {
  const auto result =
      readVfk(kFourPoints + kSbp +
              "&DSBP;1;1;1;500;;\n&DSBP;2;2;2;500;;\n&DSBP;3;3;1;501;;\n"
              "&BOB;ID N30;TYPPPD_KOD N10;SOURADNICE_Y N10.2;SOURADNICE_X N10.2;VELIKOST N10.2;"
              "UHEL N10.4;BUD_ID N30;OBRBUD_TYPE T10;TEXT T255;VZTAZNY_BOD N2\n"
              "&DOB;1;404;10;20;2;100;7;\"ZDB\";\"ignored\";5\n"
              "&DOB;500;0;;;;;7;\"OB\";;\n"
              "&DOB;501;0;;;;;7;\"OB\";;\n"
              "&DOB;502;0;;;;;8;\"OB\";;\n"   // no points: the building exists, without outline
              "&DOB;503;0;;;;;;\"OB\";;\n");  // an empty BUD_ID is a building too
  const CadastralModel& model = result.model();
  ASSERT_EQ(model.buildings.size(), 3u);
  const Building& building = buildingNamed(model, "7");
  EXPECT_EQ(building.symbolLabel.typeCode, 404);
  EXPECT_EQ(building.symbolLabel.x, -10.0);
  EXPECT_EQ(building.symbolLabel.y, -20.0);
  EXPECT_EQ(building.symbolLabel.size, 2.0f);
  EXPECT_EQ(building.symbolLabel.angle, 90.0f);
  EXPECT_TRUE(building.symbolLabel.text.empty());     // OB labels read no text
  EXPECT_EQ(building.symbolLabel.referencePoint, 1);  // nor a reference point
  EXPECT_EQ(indices(model.polylineIndicesOf(building)), (Indices{0, 1}));
  EXPECT_EQ(pointsOf(model, model.generalPolylines[0]), (Indices{0, 1}));
  EXPECT_TRUE(model.polylineIndicesOf(buildingNamed(model, "8")).empty());
  EXPECT_GE(model.findBuilding(""), 0);
}

TEST_F(Loaders, DpmTextsAreConvertedOnlyOnceTheCodePageIsKnown) {
  const std::string dpm =
      "&BDPM;ID N30;TYPPPD_KOD N10;SOURADNICE_Y N10.2;SOURADNICE_X N10.2;TEXT T255;"
      "VELIKOST N10.2;UHEL N10.4;DPM_TYPE T10;VZTAZNY_BOD N2\n"
      "&DDPM;1;22500;1;2;\"Hrad\xE8\x61ny\";3;0;\"TPP\";8\n"
      "&DDPM;2;21800;1;2;\"\";3;0;\"TPP\";8\n";
  auto result = readVfk(dpm);
  ASSERT_EQ(result.model().mapTexts.size(), 2u);
  EXPECT_EQ(result.model().text(result.model().mapTexts[0].text), "Hrad\xE8\x61ny");
  EXPECT_TRUE(result.model().elementPolylines.empty());

  result = readVfk("&HCODEPAGE;\"WE8ISO8859P2\"\n" + dpm);
  const TextLabel& text = result.model().mapTexts[0];
  EXPECT_EQ(result.model().text(text.text), "Hradčany");
  EXPECT_EQ(text.typeCode, 22500);
  EXPECT_EQ(text.size, 3.0f);
  EXPECT_EQ(text.referencePoint, 8);
  EXPECT_EQ(text.x, -1.0);
}

TEST_F(Loaders, BuildingTypesAreAlwaysConverted) {
  // Code page 0 decodes as Windows-1250 here: 0x9A is "š".
  auto result = readVfk(
      "&BTYPBUD;KOD N1;NAZEV T60;ZKRATKA T9\n"
      "&DTYPBUD;1;\"budova \x9A\";\"\x9A.p.\"\n"
      "&DTYPBUD;2;\"x\";\"y\"\n"
      "&DTYPBUD;2;\"druh\xE1\";\"d.\"\n");  // the later row wins
  const CadastralModel* model = &result.model();
  ASSERT_EQ(model->buildingTypes.size(), 2u);  // no defaults once the file has a type
  EXPECT_EQ(model->text(model->findBuildingType(1)->name), "budova š");
  EXPECT_EQ(model->text(model->findBuildingType(1)->abbreviation), "š.p.");
  EXPECT_EQ(model->text(model->findBuildingType(2)->name), "druhá");

  result =
      readVfk("&BTYPBUD;KOD N1;NAZEV T60\n&DTYPBUD;4;\"rozestav\xECn\xE1\"\n", kIso8859_2CodePage);
  model = &result.model();
  EXPECT_EQ(model->text(model->findBuildingType(4)->name), "rozestavěná");
  EXPECT_TRUE(model->findBuildingType(4)->abbreviation.empty());
}

TEST_F(Loaders, BudAndObdeboFillOneBuildingInAnyOrder) {
  const auto result = readVfk(
      "&BOBDEBO;ID N30;PAR_ID N30;BUD_ID N30;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\n"
      "&DOBDEBO;1;5;7;100.5;200.5\n"
      "&DOBDEBO;2;5;;1;1\n"  // no building: nothing
      "&BBUD;ID N30;TYPBUD_KOD N1;CISLO_DOMOVNI N4\n"
      "&DBUD;7;1;12\n"
      "&DBUD;8;2;\"3\"\n"  // the number is kept as read
      "&DBUD;7;1;13\n"     // the later row wins
      "&BOBDEBO;BUD_ID N30\n"
      "&DOBDEBO;9\n"
      "&BBUD;ID N30;TYPBUD_KOD N1\n"
      "&DBUD;10;4\n");
  const CadastralModel& model = result.model();
  ASSERT_EQ(model.buildings.size(), 4u);
  const Building& building = buildingNamed(model, "7");
  EXPECT_EQ(model.text(building.numberLabel.text), "13");
  EXPECT_EQ(building.typeCode, 1);
  EXPECT_EQ(building.numberLabel.x, -100.5);
  EXPECT_EQ(building.numberLabel.y, -200.5);
  EXPECT_EQ(building.numberLabel.referencePoint, 1);
  EXPECT_EQ(model.text(buildingNamed(model, "8").numberLabel.text), "\"3\"");
  const TextLabel& origin = buildingNamed(model, "9").numberLabel;
  EXPECT_TRUE(origin.x == 0.0 && std::signbit(origin.x) && std::signbit(origin.y));
  EXPECT_TRUE(buildingNamed(model, "10").numberLabel.text.empty());
  EXPECT_EQ(buildingNamed(model, "10").typeCode, 4);
}

}  // namespace
}  // namespace vorlane
