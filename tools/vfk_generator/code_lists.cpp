// The code lists an export carries: building types (TYPBUD), land types
// (DRUPOZ) and drawing element types (TYPPPD).
#include "tools/vfk_generator/code_lists.h"

#include <string_view>

#include "tools/vfk_generator/block_definitions.h"
#include "tools/vfk_generator/text.h"

namespace vfkgen {

void writeTypbud(RowWriter& w) {
  struct Type {
    int code;
    std::string_view name;
    std::string_view validTo;
    std::string_view houseNumber;
    std::string_view abbreviation;
  };
  static constexpr Type kTypes[] = {
      {1, "budova s číslem popisným", "", "a", "č.p."},
      {2, "budova s číslem evidenčním", "", "a", "č.e."},
      {3, "budova bez čísla popisného nebo evidenčního", "", "n", "bez čp/če"},
      {4, "rozestavěná budova", "", "n", "rozestav."},
      {5, "poschoďová garáž", "31.12.1999 00:00:00", "n", "posch.gar"},
      {6, "vodní dílo", "", "n", "vod.dílo"},
  };
  w.beginBlock(definitions::kTypbud);
  for (const Type& type : kTypes) {
    w.row().num(type.code).text(toLatin2(type.name));
    w.text(type.code == 6 ? "01.01.2007 00:00:00" : "01.01.1993 00:00:00").text(type.validTo);
    w.text(type.houseNumber).text(toLatin2(type.abbreviation)).end();
  }
}

void writeDrupoz(RowWriter& w) {
  struct LandType {
    int code;
    std::string_view name;
    std::string_view agricultural;
    int symbol;
    std::string_view abbreviation;
    std::string_view buildingPlot;
  };
  static constexpr LandType kLandTypes[] = {
      {2, "orná půda", "a", 0, "orná půda", "n"},
      {3, "chmelnice", "a", 302, "chmelnice", "n"},
      {4, "vinice", "a", 303, "vinice", "n"},
      {5, "zahrada", "a", 304, "zahrada", "n"},
      {6, "ovocný sad", "a", 305, "ovoc. sad", "n"},
      {7, "trvalý travní porost", "a", 306, "travní p.", "n"},
      {8, "trvalý travní porost", "a", 307, "travní p.", "n"},
      {10, "lesní pozemek", "n", 308, "lesní poz", "n"},
      {11, "vodní plocha", "n", 0, "vodní pl.", "n"},
      {13, "zastavěná plocha a nádvoří", "n", 0, "zast. pl.", "a"},
      {14, "ostatní plocha", "n", 0, "ostat.pl.", "n"},
  };
  w.beginBlock(definitions::kDrupoz);
  for (const LandType& type : kLandTypes) {
    w.row().num(type.code).text(toLatin2(type.name)).text(type.agricultural);
    w.text("01.01.1993 00:00:00");
    w.numOrEmpty(type.symbol);
    w.text(type.code == 8 ? "01.09.2000 00:00:00" : "");
    w.text(toLatin2(type.abbreviation)).text(type.buildingPlot).end();
  }
}

void writeTyppd(RowWriter& w) {
  struct DrawingType {
    int code;
    std::string_view position;
    std::string_view editable;
    std::string_view meaning;
    int element;
  };
  static constexpr DrawingType kTypes[] = {
      {18, "n", "n", "Číslo (def.bod) pozemkové parcely", 4},
      {28, "n", "n", "Číslo (def.bod) stavební parcely", 4},
      {105, "a", "n", "Hraniční znak", 7},
      {302, "n", "a", "Chmelnice", 7},
      {303, "n", "a", "Vinice", 7},
      {304, "n", "a", "Zahrada", 7},
      {305, "n", "a", "Ovocný sad", 7},
      {306, "n", "a", "trvalý travní porost", 7},
      {307, "n", "a", "Pastvina", 7},
      {308, "n", "a", "Lesní půda bez rozlišení porostu", 7},
      {314, "n", "a", "Park, okrasná zahrada", 7},
      {315, "n", "a", "Hřbitov", 7},
      {316, "n", "a", "Neplodná půda", 7},
      {318, "n", "a", "Nemovitá kulturní památka", 7},
      {319, "n", "a", "Zbořeniště,společný dvůr", 7},
      {402, "n", "n", "Budova zděná, betonová, kovová", 7},
      {404, "n", "n", "Budova zděná, betonová, kovová evidovaná v SPI", 7},
      {409, "n", "a", "Kostel, kaple nebo modlitebna", 7},
      {410, "n", "a", "Synagoga", 7},
      {424, "n", "a", "Vodní dílo", 7},
      {1005, "n", "a", "Název části obce", 4},
      {1009, "n", "a", "Název pozemkové tratě", 4},
      {1015, "n", "a", "Název vodního toku", 4},
      {1018, "n", "a", "Popisné parcelní číslo", 4},
      {1032, "n", "a", "Čára pro umístění šipky", 1},
      {1033, "n", "a", "Šipka k parcelnímu číslu", 7},
      {1040, "n", "n", "Linie obvodů bonitovaných a nebonitovaných ploch", 1},
      {1042, "n", "n", "Kód BPEJ", 4},
      {20602, "a", "n", "Hranice kat.území (značka uprostřed)", 1},
      {21700, "a", "n", "Obvod budovy evidované v SPI", 1},
      {21800, "a", "n", "Hranice - vnitřní kresba", 1},
      {21900, "a", "a", "Hranice parcely standardní", 1},
      {23700, "a", "a", "Hranice věcného břemene", 1},
  };
  w.beginBlock(definitions::kTypppd);
  for (const DrawingType& type : kTypes) {
    w.row().num(type.code).text(type.position).text(type.editable);
    w.text(type.code == 23700 ? "01.04.2007 00:00:00" : "01.01.1998 00:00:00");
    w.text(toLatin2(type.meaning)).text("n").num(type.element);
    w.text(type.code == 307 ? "22.01.2004 00:00:00" : "").end();
  }
}

}  // namespace vfkgen
