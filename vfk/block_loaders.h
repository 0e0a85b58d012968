// The loaders of the thirteen blocks the drawing needs. On a block's B record
// a loader looks up where its columns are; on each D row it converts the
// values found there and builds the model through its operations. Between
// the blocks the loaders pass geometry through lookup tables: survey points
// by identifier, and the point lists of lines by their owner's identifier.
// The loaders live for one reading of one file.
#ifndef VORLANE_VFK_BLOCK_LOADERS_H_
#define VORLANE_VFK_BLOCK_LOADERS_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "model/cadastral_model.h"
#include "model/diagnostics.h"
#include "vfk/id_map.h"
#include "vfk/point_lists.h"
#include "vfk/record_syntax.h"
#include "vfk/row_pipeline.h"

namespace vorlane {

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
  int pointConnectionShapeIdx = -1;  // PARAMETRY_SPOJENI
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
  int parcelAreaIDIdx = -1;
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

// idKey() of the identifiers of consecutive rows, which are often the same
// (the rows of one line follow each other): the key is worked out once.
class KeyCache {
 public:
  uint64_t keyOf(std::string_view id) {
    if (!valid_ || id != last_) {
      last_.assign(id);
      key_ = idKey(id);
      valid_ = true;
    }
    return key_;
  }

 private:
  std::string last_;
  uint64_t key_ = 0;
  bool valid_ = false;
};

// The lookup tables passed between the blocks, keyed by idKey() of an
// identifier. A point list exists only once a row has put a point into it.
struct LookupMaps {
  LookupMaps(PodVector<int32_t>& pool, const PointBudget& limits)
      : budget(limits),
        hpPointLists(pool, budget),
        obPointLists(pool, budget),
        dpmPointLists(pool, budget),
        sbmPointLists(pool, budget) {}

  IdMap<int32_t> pointsIDHashIndexMap;  // SOBR ID -> index in points
  PointBudget budget;                   // shared by all point lists
  PointLists hpPointLists;              // HP_ID, from SBP
  PointLists obPointLists;              // OB_ID, from SBP
  PointLists dpmPointLists;             // DPM_ID, from SBP
  // OP_ID, DPM_ID or HBPEJ_ID, from SBM; the three share the one table.
  PointLists sbmPointLists;

  // The lists an SBP row places its point in, in the order of its HP_ID,
  // OB_ID and DPM_ID columns.
  std::array<PointLists*, 3> sbpPointLists() {
    return {&hpPointLists, &obPointLists, &dpmPointLists};
  }
};

class BlockLoaders {
 public:
  // "model" and "diagnostics" must outlive the loaders; "limits" bounds what
  // the point lists may grow to.
  BlockLoaders(CadastralModel& model, Diagnostics& diagnostics, const PointBudget& limits = {});

  // Starts a file: no column is known, and texts that are converted are
  // decoded with "codePage" until setCodePage() gives another. The lookup
  // tables stay from the files before. With "onePerId", a survey point,
  // line or label whose row's ID an earlier file gave is that file's: the
  // row is passed over. With "exactTexts", a doubled quote inside a text is
  // one quote (unquotedText), as the format means it.
  void beginFile(int codePage, bool onePerId = false, bool exactTexts = false);
  void setCodePage(int codePage) { codePage_ = codePage; }
  int codePage() const { return codePage_; }

  // Looks up the columns of block "kind" in its split B record. A block
  // defined again is looked up again.
  void defineBlock(BlockKind kind, const SplitLine& definition);

  // How many fields of a D row of block "kind" its loader reads: the fields
  // after them need not be split.
  int fieldsRead(BlockKind kind) const { return fieldsRead_[static_cast<size_t>(kind)]; }

  // Loads one split D row of block "kind", the file's line "lineNumber".
  void loadRow(BlockKind kind, const SplitLine& row, uint64_t lineNumber);

  // Finishes the rows put aside (SOBR and SBP rows wait on the table of
  // points); before another block's rows and at the end of the file.
  void finishRows();

 private:
  void loadSobr(const SplitLine& row);
  void loadSbp(const SplitLine& row);
  // What SOBR and SBP rows leave for the table of points.
  struct SurveyPoint {
    uint64_t key = 0;  // idKey of ID
    int32_t index = 0;
  };
  struct PointConnection {
    uint64_t pointKey = 0;  // idKey of BP_ID
    uint64_t lineNumber = 0;
    int ordinal = 0;
    LineShape shape = LineShape::kStraight;  // read for ordinal 1 only
    // idKey of HP_ID, OB_ID and DPM_ID, where the row names them
    std::array<uint64_t, 3> ownerKeys{};
    std::array<bool, 3> hasOwner{};
  };
  void storePoint(const SurveyPoint& point);
  void connect(const PointConnection& connection);
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

  // A label from a label row: every field is written, so nothing of an
  // earlier row carries over. With "convert" the text is converted to UTF-8
  // once a file has named its code page.
  TextLabel readTextLabel(const SplitLine& row, int typeCodeIdx, const LabelColumns& columns,
                          bool convert);
  // The text converted to UTF-8 from the current code page, in the model.
  TextRef convertedText(std::string_view text);
  // A text value without its quotes (and, read exactly, its doubled quotes).
  // The view is valid until the next call.
  std::string_view textOf(std::string_view value);

  // Reports a row of block "block" that is not used, and why.
  void dropped(DropReason why, std::string_view block) const;
  // The line of "lists" that "id" names, or nullopt (reported as dropped).
  std::optional<PointLists::Taken> takeLine(PointLists& lists, std::string_view id,
                                            std::string_view block);

  // Whether a row of "block" with this ID came in an earlier file; records
  // the ID for the files after. Only while reading several files.
  enum IdBlock { kSobrIds, kHpIds, kOpIds, kObIds, kDpmIds, kHbpejIds, kIdBlocks };
  bool givenBefore(IdBlock block, std::string_view id);

  CadastralModel& model_;
  Diagnostics& diagnostics_;
  bool onePerId_ = false;
  bool exactTexts_ = false;
  uint32_t file_ = 0;  // the file being read, from 1
  std::array<IdMap<uint32_t>, kIdBlocks> firstFileOfId_;
  int codePage_ = 0;
  uint64_t lineNumber_ = 0;  // of the row being loaded
  FieldPositions positions_;
  // By BlockKind value; the largest is below 256.
  std::array<int, 256> fieldsRead_{};

  LookupMaps maps_;
  RowPipeline<SurveyPoint> surveyPoints_;
  RowPipeline<PointConnection> connections_;
  KeyCache hpKeys_, obKeys_, dpmKeys_, sbmKeys_;
  std::string converted_;  // scratch for convertedText
  std::string unquoted_;   // scratch for textOf
};

}  // namespace vorlane

#endif  // VORLANE_VFK_BLOCK_LOADERS_H_
