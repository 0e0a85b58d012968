// The blocks the reader loads and the columns it reads of each, named once:
// a block's B record gives each of its columns' positions, and its loader
// reads a row's values through them (block_loaders.h). The geometric plan's
// blocks (SBPG, HPG, ...) have the columns of their map blocks and the same
// loaders; their rows go to the plan's own model.
#ifndef VORLANE_VFK_BLOCK_TABLE_H_
#define VORLANE_VFK_BLOCK_TABLE_H_

#include <cstdint>
#include <span>
#include <string_view>

#include "vfk/record_syntax.h"

namespace vorlane {

// The columns any loader reads, by the format's names (kColumnNames).
enum class Column : uint8_t {
  kId,
  kStavDat,
  kSouradniceX,
  kSouradniceY,
  kBpId,
  kPoradoveCisloBodu,
  kHpId,
  kObId,
  kDpmId,
  kZvbId,
  kParametrySpojeni,
  kOpId,
  kHbpejId,
  kParId1,
  kParId2,
  kTypppdKod,
  kParId,
  kOparType,
  kText,
  kUhel,
  kVelikost,
  kVztaznyBod,
  kBudId,
  kObrbudType,
  kDpmType,
  kObbpType,
  kBpejKodHranice1,
  kBpejKodHranice2,
  kBpejKod,
  kKod,
  kNazev,
  kZkratka,
  kVyznam,
  kTypPrvku,
  kTypbudKod,
  kCisloDomovni,
  kZpvybuKod,
  kTelId,
  kCisloTel,
  kCisloZpmz,
  kCisloBodu,
  kKodchbKod,
  kDruhCislovaniPar,
  kKmenoveCisloPar,
  kPoddeleniCislaPar,
  kVymeraParcely,
  kDrupozKod,
  kZpvypaKod,
};
constexpr size_t kColumnCount = static_cast<size_t>(Column::kZpvypaKod) + 1;

// The format's name of each column.
extern const std::string_view kColumnNames[kColumnCount];

// A block the reader loads: its kind, the columns every drawing reads, and
// those the exact drawing reads besides. Blocks only the exact drawing reads
// have no columns of the first kind.
struct BlockEntry {
  std::string_view name;
  BlockKind kind;
  std::span<const Column> columns;
  std::span<const Column> exactColumns;
  bool exactOnly = false;
};

// The entry of "kind"; every BlockKind but kNone has one.
const BlockEntry& blockEntryOf(BlockKind kind);

// The block a name names, for the drawing read: the thirteen blocks of the
// standard drawing, and, for the exact drawing, the blocks it reads besides
// and the geometric plan's ("plan" is then set). kNone for any other.
BlockKind blockKindOf(std::string_view name, bool exact, bool* plan = nullptr);

}  // namespace vorlane

#endif  // VORLANE_VFK_BLOCK_TABLE_H_
