// The loaders of the thirteen blocks the drawing needs. On a block's B record
// a loader looks up where its columns are; on each D row it converts the
// values found there and builds the model through VfkParser's operations.
// Between the blocks the loaders pass geometry through lookup maps: survey
// points by identifier, and the point lists of lines by their owner's
// identifier. The loaders live for one reading of one file.
#ifndef VORLANE_VFK_BLOCK_LOADERS_H_
#define VORLANE_VFK_BLOCK_LOADERS_H_

#include <cstdint>

#include "model/records.h"
#include "vfk/id_map.h"
#include "vfk/record_syntax.h"

namespace vorlane {

class VfkParser;

// Positions of the optional columns of a label row; -1 for a column the
// block does not have.
struct LabelColumns {
  int textIdx = -1;            // TEXT
  int xIdx = -1;               // SOURADNICE_X
  int yIdx = -1;               // SOURADNICE_Y
  int sizeIdx = -1;            // VELIKOST
  int angleIdx = -1;           // UHEL
  int referencePointIdx = -1;  // VZTAZNY_BOD
};

// Where each loader finds its columns: -1 until the block's B record gives
// the position (and for a column that record does not define).
struct FieldPositions {
  // SOBR
  int pointIDIdx = -1;
  int pointXIdx = -1;
  int pointYIdx = -1;
  // SBP
  int pointConnectionPointIDIdx = -1;
  int pointConnectionPointOrdinalNumberIdx = -1;
  int pointConnectionHpIDIdx = -1;
  int pointConnectionObIDIdx = -1;
  int pointConnectionDpmIDIdx = -1;
  // SBM
  int sbmPointOrdinalNumberIdx = -1;
  int sbmPointXIdx = -1;
  int sbmPointYIdx = -1;
  int sbmOpIDIdx = -1;
  int sbmDpmIDIdx = -1;
  int sbmHbpejIDIdx = -1;
  // HP
  int parcelBoundaryIDIdx = -1;
  int parcelBoundaryParcel1IDIdx = -1;
  int parcelBoundaryParcel2IDIdx = -1;
  int parcelBoundaryTypeIdx = -1;
  // OP
  int parcelAreaParcelIDIdx = -1;
  int parcelAreaOparTypeIdx = -1;
  int parcelAreaTypPPDIdx = -1;
  LabelColumns parcelAreaLabel;
  // OB
  int buildingAreaIDIdx = -1;
  int buildingAreaBuildingIDIdx = -1;
  int buildingAreaKindIdx = -1;
  int buildingAreaTypPPDIdx = -1;
  LabelColumns buildingAreaLabel;  // no TEXT and no VZTAZNY_BOD
  // DPM
  int otherElementsIDIdx = -1;
  int otherElementsDPMTypeIdx = -1;
  int otherElementsTypPPDIdx = -1;
  LabelColumns otherElementsLabel;
  // HBPEJ
  int bpejBoundaryIDIdx = -1;
  int bpejBoundaryCode1Idx = -1;
  int bpejBoundaryCode2Idx = -1;
  // OBPEJ
  int bpejIDIdx = -1;
  int bpejTypPPDIdx = -1;
  LabelColumns bpejLabel;
  // TYPBUD
  int buildingTypeCodeIdx = -1;
  int buildingTypeNameIdx = -1;
  int buildingTypeAbbreviationIdx = -1;
  // BUD
  int buildingBuildingIDIdx = -1;
  int buildingBudCodeIdx = -1;
  int buildingHouseNumberIdx = -1;
  // OBDEBO
  int obdeboBuildingIDIdx = -1;
  int obdeboXIdx = -1;
  int obdeboYIdx = -1;
};

// The parse-time lookup maps, keyed by idKey() of an identifier. A point
// list exists only once a row has put a point into it.
struct LookupMaps {
  IdMap<int> pointsIDHashIndexMap;      // SOBR ID -> index in points
  IdMap<PointList> hpPointLists;        // HP_ID, from SBP
  IdMap<PointList> obPointLists;        // OB_ID, from SBP
  IdMap<PointList> dpmPointLists;       // DPM_ID, from SBP
  // OP_ID, DPM_ID or HBPEJ_ID, from SBM; the three share the one map.
  IdMap<PointList> sbmPointLists;
};

// The highest ordinal number (PORADOVE_CISLO_BODU) placed in a point list.
// Rows beyond it are not placed: it bounds what a corrupt file can make the
// reader allocate.
constexpr int kMaxPointOrdinal = 1'000'000;

// Bounds on what one file can make the reader store beyond its own rows, so
// that memory, time and the warnings about missing points grow with the file
// and not with the numbers written in it. A real file has no gaps in its
// ordinals and takes each point list once; a corrupt one may do neither.
struct PointBudget {
  // Gaps: -1 placeholders all point lists may receive in all. A row whose
  // ordinal would pad a list beyond this is not placed.
  int64_t placeholdersLeft = 1'000'000;
  // Lines may take, in all, the entries the point lists grew by plus this
  // spare (a list taken once more, say). A line whose list would overdraw
  // it is dropped like one without a list.
  int64_t lineEntriesLeft = 1'000'000;
};

// Puts "pointIndex" at "position" of "list", first padding the list with -1
// when it is shorter. A later row for the same position replaces the point.
// REQUIRES: position >= 0.
void setPointIndexAt(PointList& list, int pointIndex, int position);

class BlockLoaders {
 public:
  // "model" must outlive the loaders.
  explicit BlockLoaders(VfkParser& model);

  // Looks up the columns of block "kind" in its split B record. A block
  // defined again is looked up again.
  void defineBlock(BlockKind kind, const SplitLine& definition);

  // Loads one split D row of block "kind".
  void loadRow(BlockKind kind, const SplitLine& row);

 private:
  void loadSobr(const SplitLine& row);
  void loadSbp(const SplitLine& row);
  void loadSbm(const SplitLine& row);
  void loadHp(const SplitLine& row);
  void loadOp(const SplitLine& row);
  void loadOb(const SplitLine& row);
  void loadDpm(const SplitLine& row);
  void loadHbpej(const SplitLine& row);
  void loadObpej(const SplitLine& row);
  void loadTypbud(const SplitLine& row);
  void loadBud(const SplitLine& row);
  void loadObdebo(const SplitLine& row);

  // Fills the working label from a label row: every field is written, so
  // nothing of an earlier row carries over. With "convert" the text is
  // converted to UTF-8 once a file has named its code page.
  const TextLabel& readTextLabel(const SplitLine& row, int typeCodeIdx,
                                 const LabelColumns& columns, bool convert);

  VfkParser& model_;
  FieldPositions positions_;
  // Places a point by its ordinal number into the list of "ownerId" in
  // "lists", creating the list. Rows without an owner, and ordinals outside
  // 1 to kMaxPointOrdinal or beyond the budget, place nothing.
  void placePoint(IdMap<PointList>& lists, std::string_view ownerId,
                  int pointIndex, int ordinal);
  // The point list of "id" for a new line, or null when there is none or it
  // would overdraw the budget.
  const PointList* takeList(IdMap<PointList>& lists, std::string_view id);

  LookupMaps maps_;
  PointBudget budget_;
  TextLabel label_;
};

}  // namespace vorlane

#endif  // VORLANE_VFK_BLOCK_LOADERS_H_
