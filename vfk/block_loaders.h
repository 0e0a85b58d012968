// The loaders of the blocks a drawing needs. On a block's B record the
// loaders look up where its columns are (block_table.h); on each D row the
// block's loader converts the values found there and builds the model
// through its operations. Between the blocks the loaders pass geometry
// through lookup tables: survey points by identifier, and the point lists
// of lines by their owner's identifier. The loaders live for one reading of
// one file, or of the files read into one model.
//
// The standard drawing's thirteen blocks are read as the library's export
// has always read them, into one model. Read for the exact drawing, the
// loaders also read the blocks it draws besides, and put each row into the
// model of its state (STAV_DAT; the geometric plan's blocks are the plan's,
// state 1): the map's model for the current state, 0.
#ifndef VORLANE_VFK_BLOCK_LOADERS_H_
#define VORLANE_VFK_BLOCK_LOADERS_H_

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/cadastral_model.h"
#include "model/diagnostics.h"
#include "vfk/block_table.h"
#include "vfk/id_map.h"
#include "vfk/numbers.h"
#include "vfk/point_lists.h"
#include "vfk/record_syntax.h"
#include "vfk/row_pipeline.h"

namespace vorlane {

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

// The owners a point connection (SBP) can place its point for, in the
// order of their columns.
enum SbpOwner { kHpOwner, kObOwner, kDpmOwner, kZvbOwner, kSbpOwners };

// The point lists of one model's lines, keyed by idKey() of their owner's
// identifier. A list exists only once a row has put a point into it.
struct LookupMaps {
  LookupMaps(PodVector<int32_t>& pool, PointBudget& budget)
      : sbpPointLists{PointLists(pool, budget), PointLists(pool, budget),
                      PointLists(pool, budget), PointLists(pool, budget)},
        sbmPointLists(pool, budget) {}

  // HP_ID, OB_ID, DPM_ID and ZVB_ID, from SBP.
  std::array<PointLists, kSbpOwners> sbpPointLists;
  // OP_ID, DPM_ID or HBPEJ_ID, from SBM; the three share the one table.
  PointLists sbmPointLists;
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
  // row is passed over. With "exact", the file is read for the exact
  // drawing: a doubled quote inside a text is one quote (unquotedText), the
  // exact drawing's blocks and columns are read, and rows go to the model of
  // their state.
  void beginFile(int codePage, bool onePerId = false, bool exact = false);
  void setCodePage(int codePage) { codePage_ = codePage; }
  int codePage() const { return codePage_; }

  // Looks up the columns of block "kind" in its split B record, which names
  // it "name". A block defined again is looked up again. "plan": one of the
  // geometric plan's.
  void defineBlock(BlockKind kind, const SplitLine& definition, bool plan = false,
                   std::string_view name = {});

  // How many fields of a D row of block "kind" its loader reads: the fields
  // after them need not be split.
  int fieldsRead(BlockKind kind) const { return fieldsRead_[static_cast<size_t>(kind)]; }

  // Loads one split D row of block "kind", the file's line "lineNumber".
  void loadRow(BlockKind kind, const SplitLine& row, uint64_t lineNumber);

  // A header record's key and value: the model keeps the format's version
  // and whether the file is an extract cut by a polygon.
  void noteHeader(std::string_view key, std::string_view value);

  // Finishes the rows put aside (SOBR and SBP rows wait on the table of
  // points); before another block's rows and at the end of the file.
  void finishRows();
  // Finishes the rows of a block that ends (finishRows) and shrinks the
  // lookup tables its rows filled, before another block's rows and at the
  // end of the file.
  void finishBlock();

  // At the end of a file read for the exact drawing: loads again the rows
  // that named what later rows of the file gave (a line before its points,
  // a label before its parcel), lines first, and reports those that still
  // cannot be loaded.
  void finishFile();

  // The rows of each block of the file read for the exact drawing, by state,
  // in the order the states came. After it, no block is defined: it ends
  // the file.
  using StateRows = std::vector<std::pair<int32_t, int64_t>>;  // state, rows
  std::vector<std::pair<std::string, StateRows>> takeStateRows();

 private:
  // A survey point, in the model of its state.
  struct PointRef {
    int32_t index = -1;
    int32_t state = 0;
  };
  // What SOBR and SBP rows leave for the table of points.
  struct SurveyPointRow {
    uint64_t key = 0;  // idKey of ID
    PointRef point;
  };
  struct PointConnection {
    uint64_t pointKey = 0;  // idKey of BP_ID
    uint64_t lineNumber = 0;
    int32_t state = 0;  // of the lines it places its point in
    int ordinal = 0;
    LineShape shape = LineShape::kStraight;  // read for ordinal 1 only
    // idKey of HP_ID, OB_ID, DPM_ID and ZVB_ID, where the row names them
    std::array<uint64_t, kSbpOwners> ownerKeys{};
    std::array<bool, kSbpOwners> hasOwner{};
  };

  // The value of column "column" of the row of the block being loaded;
  // empty where the block has no such column.
  std::string_view field(const SplitLine& row, Column column) const {
    return row.field(positions_[static_cast<size_t>(column)]);
  }
  bool has(Column column) const { return positions_[static_cast<size_t>(column)] != -1; }

  // The state a row's records belong to (as rowState_ holds it for the row
  // being loaded), and their model and lookup maps.
  int32_t stateOf(const SplitLine& row) const {
    if (!exact_) return 0;
    // The geometric plan's proposed state, whatever its rows say.
    if (plan_) return 1;
    const std::string_view state = field(row, Column::kStavDat);
    // Nearly every row's is one digit.
    if (state.size() == 1 && state[0] >= '0' && state[0] <= '9') return state[0] - '0';
    return readInt(state);
  }
  CadastralModel& modelOf(int32_t state) { return model_.stateModel(state); }
  LookupMaps& mapsOf(int32_t state) {
    return lastMaps_ != nullptr && state == lastMapsState_ ? *lastMaps_ : otherMapsOf(state);
  }
  // mapsOf for a state other than the last one asked for.
  LookupMaps& otherMapsOf(int32_t state);
  // The index in the model of "state" of a survey point, copied into it
  // from the model of another state the first time a line there needs it.
  int32_t pointIn(int32_t state, PointRef point);

  void loadSobr(const SplitLine& row);
  void storePoint(const SurveyPointRow& point);
  void loadSbp(const SplitLine& row);
  void connect(const PointConnection& connection);
  void loadSbm(const SplitLine& row);
  void loadSpol(const SplitLine& row);
  void loadHp(const SplitLine& row);
  void loadOp(const SplitLine& row);
  void loadOb(const SplitLine& row);
  void loadDpm(const SplitLine& row);
  void loadObbp(const SplitLine& row);
  void loadZvb(const SplitLine& row);
  void loadHbpej(const SplitLine& row);
  void loadObpej(const SplitLine& row);
  void loadTypbud(const SplitLine& row);
  void loadPar(const SplitLine& row);
  void loadBud(const SplitLine& row);
  void loadTel(const SplitLine& row);
  void loadObdebo(const SplitLine& row);
  void loadKatuze(const SplitLine& row);
  void loadCodeList(const SplitLine& row, PodVector<CodeName>& list);
  // Counts a row of the block of stateRows_ entry "entry" in "state".
  void countState(size_t entry, int32_t state) {
    if (counted_ != nullptr && entry == countedEntry_ && state == countedState_) {
      ++*counted_;
    } else {
      countOtherState(entry, state);
    }
  }
  // countState for another entry or state than the last one counted.
  void countOtherState(size_t entry, int32_t state);

  // A label from a label row of the block being loaded: every field is
  // written, so nothing of an earlier row carries over. With "convert" the
  // text is converted to UTF-8 once a file has named its code page.
  TextLabel readTextLabel(const SplitLine& row, CadastralModel& model, bool convert);
  // The label of a symbol that stands on the survey point BP_ID names, in
  // the model of "state", with the row's type code and angle; nullopt (and
  // the row dropped) where the file has no such point.
  std::optional<TextLabel> symbolOnPoint(const SplitLine& row, int32_t state);
  // The text converted to UTF-8 from the current code page, in the model.
  TextRef convertedText(CadastralModel& model, std::string_view text);
  // A text value without its quotes (and, read exactly, its doubled quotes).
  // The view is valid until the next call.
  std::string_view textOf(std::string_view value);

  // Reports a row of the block being loaded that is not used, and why. Read
  // for the exact drawing, a row that names what the file may give further
  // on is put aside for finishFile() instead.
  void dropped(DropReason why);
  // The line of "lists" that "id" names, or nullopt (reported as dropped).
  std::optional<PointLists::Taken> takeLine(PointLists& lists, std::string_view id);

  // Whether a row of "block" with this ID came in an earlier file; records
  // the ID for the files after. Only while reading several files.
  enum IdBlock { kSobrIds, kHpIds, kOpIds, kObIds, kDpmIds, kHbpejIds, kZvbIds, kIdBlocks };
  bool givenBefore(IdBlock block, std::string_view id);

  CadastralModel& model_;
  Diagnostics& diagnostics_;
  bool onePerId_ = false;
  bool exact_ = false;
  uint32_t file_ = 0;  // the file being read, from 1
  std::array<IdMap<uint32_t>, kIdBlocks> firstFileOfId_;
  int codePage_ = 0;
  uint64_t lineNumber_ = 0;  // of the row being loaded
  std::string_view blockName_;  // of the row being loaded

  // The columns' positions in each block's rows, by BlockKind value (below
  // 256) and Column; -1 for a column the block does not have. Those of the
  // block being loaded are in positions_.
  struct BlockColumns {
    std::array<int16_t, kColumnCount> positions;
    bool plan = false;
    std::string name;  // as the B record names it: "SBPG" for the plan's SBP
    size_t stateRows = 0;  // its entry in stateRows_
  };
  std::array<std::shared_ptr<BlockColumns>, 256> blocks_;
  const int16_t* positions_ = nullptr;
  bool plan_ = false;  // the block being loaded is one of the geometric plan's
  std::array<int, 256> fieldsRead_{};
  std::vector<std::pair<std::string, StateRows>> stateRows_;  // by block name
  // The counter countState added to last, and its entry and state: rows come
  // block after block, state after state. (The counters stay where they are
  // while stateRows_ grows, as its StateRows move.)
  int64_t* counted_ = nullptr;
  size_t countedEntry_ = 0;
  int32_t countedState_ = 0;

  PointBudget budget_;  // shared by all point lists
  IdMap<PointRef> pointsIDHashIndexMap;  // SOBR ID -> the point
  std::map<int32_t, std::unique_ptr<LookupMaps>> maps_;  // by state, never removed
  // The state mapsOf gave last, and its maps: rows come state after state.
  int32_t lastMapsState_ = 0;
  LookupMaps* lastMaps_ = nullptr;
  IdMap<int32_t> copiedPoints_;  // state, source state and index -> index
  RowPipeline<SurveyPointRow> surveyPoints_;
  RowPipeline<PointConnection> connections_;
  std::array<KeyCache, kSbpOwners> sbpKeys_;
  KeyCache sbmKeys_;
  // Rows put aside for finishFile(), with their block's columns at the time;
  // their values, one after another, each followed by a semicolon, in
  // deferredValues_, where each value ends at its entry of deferredEnds_.
  struct DeferredRow {
    BlockKind kind;
    uint64_t lineNumber;
    std::shared_ptr<const BlockColumns> block;
    size_t firstValue;  // in deferredEnds_
    int valueCount;
  };
  std::vector<DeferredRow> deferred_;
  std::string deferredValues_;
  std::vector<size_t> deferredEnds_;
  const SplitLine* row_ = nullptr;  // the row being loaded
  int32_t rowState_ = 0;            // the state of its records
  BlockKind kind_ = BlockKind::kNone;
  bool retrying_ = false;

  std::string converted_;  // scratch for convertedText
  std::string unquoted_;   // scratch for textOf
};

}  // namespace vorlane

#endif  // VORLANE_VFK_BLOCK_LOADERS_H_
