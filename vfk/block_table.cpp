#include "vfk/block_table.h"

#include <array>

namespace vorlane {

const std::string_view kColumnNames[kColumnCount] = {
    "ID",
    "STAV_DAT",
    "SOURADNICE_X",
    "SOURADNICE_Y",
    "BP_ID",
    "PORADOVE_CISLO_BODU",
    "HP_ID",
    "OB_ID",
    "DPM_ID",
    "ZVB_ID",
    "PARAMETRY_SPOJENI",
    "OP_ID",
    "HBPEJ_ID",
    "PAR_ID_1",
    "PAR_ID_2",
    "TYPPPD_KOD",
    "PAR_ID",
    "OPAR_TYPE",
    "TEXT",
    "UHEL",
    "VELIKOST",
    "VZTAZNY_BOD",
    "BUD_ID",
    "OBRBUD_TYPE",
    "DPM_TYPE",
    "OBBP_TYPE",
    "BPEJ_KOD_HRANICE_1",
    "BPEJ_KOD_HRANICE_2",
    "BPEJ_KOD",
    "KOD",
    "NAZEV",
    "ZKRATKA",
    "VYZNAM",
    "TYP_PRVKU",
    "TYPBUD_KOD",
    "CISLO_DOMOVNI",
    "ZPVYBU_KOD",
    "TEL_ID",
    "CISLO_TEL",
    "CISLO_ZPMZ",
    "CISLO_BODU",
    "KODCHB_KOD",
    "DRUH_CISLOVANI_PAR",
    "KMENOVE_CISLO_PAR",
    "PODDELENI_CISLA_PAR",
    "VYMERA_PARCELY",
    "DRUPOZ_KOD",
    "ZPVYPA_KOD",
};

namespace {

using C = Column;

// The columns of each block, in the order the standard drawing's loaders
// were written to read them.
constexpr Column kNone[] = {C::kId};
constexpr Column kSobr[] = {C::kId, C::kSouradniceX, C::kSouradniceY};
constexpr Column kSobrExact[] = {C::kStavDat, C::kCisloZpmz, C::kCisloBodu, C::kKodchbKod};
constexpr Column kSbp[] = {C::kBpId,  C::kPoradoveCisloBodu, C::kHpId,
                           C::kObId,  C::kDpmId,             C::kParametrySpojeni};
constexpr Column kSbpExact[] = {C::kZvbId, C::kStavDat};
constexpr Column kSbm[] = {C::kPoradoveCisloBodu, C::kSouradniceX, C::kSouradniceY,
                           C::kOpId,              C::kDpmId,       C::kHbpejId};
constexpr Column kSbmExact[] = {C::kParametrySpojeni};
constexpr Column kSpol[] = {C::kId, C::kSouradniceX, C::kSouradniceY, C::kStavDat};
constexpr Column kHp[] = {C::kId, C::kParId1, C::kParId2, C::kTypppdKod};
constexpr Column kState[] = {C::kStavDat};
// A label row's columns follow its block's own.
constexpr Column kOp[] = {C::kId,   C::kParId,       C::kOparType, C::kTypppdKod, C::kText,
                          C::kSouradniceX, C::kSouradniceY, C::kVelikost, C::kUhel,
                          C::kVztaznyBod};
constexpr Column kOb[] = {C::kId,          C::kBudId,       C::kObrbudType, C::kTypppdKod,
                          C::kSouradniceX, C::kSouradniceY, C::kVelikost,   C::kUhel};
constexpr Column kDpm[] = {C::kId,          C::kDpmType,     C::kTypppdKod, C::kText,
                           C::kSouradniceX, C::kSouradniceY, C::kVelikost,  C::kUhel,
                           C::kVztaznyBod};
constexpr Column kDpmExact[] = {C::kBpId, C::kStavDat};
constexpr Column kObbp[] = {C::kId,          C::kObbpType,    C::kTypppdKod, C::kText,
                            C::kSouradniceX, C::kSouradniceY, C::kVelikost,  C::kUhel,
                            C::kVztaznyBod,  C::kBpId,        C::kStavDat};
constexpr Column kZvb[] = {C::kId, C::kTypppdKod, C::kStavDat};
constexpr Column kHbpej[] = {C::kId, C::kBpejKodHranice1, C::kBpejKodHranice2};
constexpr Column kObpej[] = {C::kBpejKod,     C::kTypppdKod,   C::kText, C::kSouradniceX,
                             C::kSouradniceY, C::kVelikost,    C::kUhel, C::kVztaznyBod};
constexpr Column kTypbud[] = {C::kKod, C::kNazev, C::kZkratka};
constexpr Column kBud[] = {C::kId, C::kTypbudKod, C::kCisloDomovni};
constexpr Column kBudExact[] = {C::kZpvybuKod, C::kTelId, C::kStavDat};
constexpr Column kObdebo[] = {C::kBudId, C::kSouradniceX, C::kSouradniceY};
constexpr Column kKatuze[] = {C::kKod, C::kNazev};
constexpr Column kPar[] = {C::kId,         C::kDruhCislovaniPar, C::kKmenoveCisloPar,
                           C::kPoddeleniCislaPar, C::kVymeraParcely, C::kDrupozKod,
                           C::kZpvypaKod,  C::kTelId,            C::kStavDat};
constexpr Column kTel[] = {C::kId, C::kCisloTel};
constexpr Column kTypppd[] = {C::kKod, C::kVyznam, C::kTypPrvku};
constexpr Column kCodeList[] = {C::kKod, C::kNazev};

const BlockEntry kBlocks[] = {
    {"KATUZE", BlockKind::KATUZE, kKatuze, {}},
    {"SOBR", BlockKind::SOBR, kSobr, kSobrExact},
    {"SBP", BlockKind::SBP, kSbp, kSbpExact},
    {"SBM", BlockKind::SBM, kSbm, kSbmExact},
    {"SPOL", BlockKind::SPOL, {}, kSpol, true},
    {"HP", BlockKind::HP, kHp, kState},
    {"OP", BlockKind::OP, kOp, kState},
    {"OB", BlockKind::OB, kOb, kState},
    {"DPM", BlockKind::DPM, kDpm, kDpmExact},
    {"OBBP", BlockKind::OBBP, {}, kObbp, true},
    {"ZVB", BlockKind::ZVB, {}, kZvb, true},
    {"HBPEJ", BlockKind::HBPEJ, kHbpej, {}},
    {"OBPEJ", BlockKind::OBPEJ, kObpej, {}},
    {"TYPBUD", BlockKind::TYPBUD, kTypbud, {}},
    {"PAR", BlockKind::PAR, {}, kPar, true},
    {"BUD", BlockKind::BUD, kBud, kBudExact},
    {"TEL", BlockKind::TEL, {}, kTel, true},
    {"OBDEBO", BlockKind::OBDEBO, kObdebo, {}},
    {"TYPPPD", BlockKind::TYPPPD, {}, kTypppd, true},
    {"DRUPOZ", BlockKind::DRUPOZ, {}, kCodeList, true},
    {"ZPVYPA", BlockKind::ZPVYPA, {}, kCodeList, true},
    // Files of version 5 and 6 name the land-use list ZPVYPO.
    {"ZPVYPO", BlockKind::ZPVYPA, {}, kCodeList, true},
    {"ZPVYBU", BlockKind::ZPVYBU, {}, kCodeList, true},
    {"KODCHB", BlockKind::KODCHB, {}, kCodeList, true},
};

// The geometric plan's blocks: a map block's name and "G".
constexpr std::string_view kPlanBlocks[] = {"SBPG", "HPG", "OPG", "OBG",
                                            "DPMG", "SBMG", "PARG", "ZVBG"};

}  // namespace

const BlockEntry& blockEntryOf(BlockKind kind) {
  for (const BlockEntry& entry : kBlocks) {
    if (entry.kind == kind) return entry;
  }
  static const BlockEntry kNoBlock{"", BlockKind::kNone, kNone, {}};
  return kNoBlock;
}

BlockKind blockKindOf(std::string_view name, bool exact, bool* plan) {
  if (plan != nullptr) *plan = false;
  for (const BlockEntry& entry : kBlocks) {
    if (entry.name == name) return entry.exactOnly && !exact ? BlockKind::kNone : entry.kind;
  }
  if (!exact) return BlockKind::kNone;
  for (const std::string_view planBlock : kPlanBlocks) {
    if (planBlock == name) {
      if (plan != nullptr) *plan = true;
      return blockKindOf(name.substr(0, name.size() - 1), true);
    }
  }
  return BlockKind::kNone;
}

}  // namespace vorlane
