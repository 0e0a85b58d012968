#include "tools/vfk_generator/text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace vfkgen {

namespace {

struct Latin2Letter {
  uint32_t codePoint;
  unsigned char byte;
};

// The letters of Czech and Slovak outside ASCII.
constexpr Latin2Letter kLetters[] = {
    {0x00C1, 0xC1}, {0x00E1, 0xE1}, {0x010C, 0xC8}, {0x010D, 0xE8}, {0x010E, 0xCF},
    {0x010F, 0xEF}, {0x00C9, 0xC9}, {0x00E9, 0xE9}, {0x011A, 0xCC}, {0x011B, 0xEC},
    {0x00CD, 0xCD}, {0x00ED, 0xED}, {0x0147, 0xD2}, {0x0148, 0xF2}, {0x00D3, 0xD3},
    {0x00F3, 0xF3}, {0x0158, 0xD8}, {0x0159, 0xF8}, {0x0160, 0xA9}, {0x0161, 0xB9},
    {0x0164, 0xAB}, {0x0165, 0xBB}, {0x00DA, 0xDA}, {0x00FA, 0xFA}, {0x016E, 0xD9},
    {0x016F, 0xF9}, {0x00DD, 0xDD}, {0x00FD, 0xFD}, {0x017D, 0xAE}, {0x017E, 0xBE},
    {0x00C4, 0xC4}, {0x00E4, 0xE4}, {0x00D4, 0xD4}, {0x00F4, 0xF4}, {0x00D6, 0xD6},
    {0x00F6, 0xF6}, {0x00DC, 0xDC}, {0x00FC, 0xFC}, {0x013D, 0xA5}, {0x013E, 0xB5},
    {0x0139, 0xC5}, {0x013A, 0xE5}, {0x0154, 0xC0}, {0x0155, 0xE0},
};

[[noreturn]] void unconvertible(std::string_view utf8) {
  std::fprintf(stderr, "generate_vfk: internal error: no ISO-8859-2 form for \"%.*s\"\n",
               static_cast<int>(utf8.size()), utf8.data());
  std::abort();
}

std::vector<std::string> convertAll(std::initializer_list<std::string_view> words) {
  std::vector<std::string> converted;
  converted.reserve(words.size());
  for (const std::string_view word : words) converted.push_back(toLatin2(word));
  return converted;
}

Vocabulary makeVocabulary() {
  Vocabulary v;
  v.areaNames = convertAll({
      "Horní Lhota", "Dolní Bučice", "Křižanovice", "Řečany", "Žďárec", "Třebětín",
      "Kněževes", "Stříbrná Skalice", "Újezd u Brna", "Nové Dvory", "Bělčice", "Ořechov",
      "Šťáhlavy", "Čížkov", "Lipová u Šluknova", "Hůrky", "Záhoří", "Březí nad Oslavou",
      "Vlčnov", "Radošovice", "Kamenná Lhota", "Štěpánov", "Pačlavice", "Dřínov",
      "Kostelec u Křížků", "Libčany", "Vítězná", "Chotěboř", "Mšeno", "Příbraz"});
  v.districts = convertAll({"Benešov", "Kutná Hora", "Žďár nad Sázavou", "Třebíč",
                            "Český Krumlov", "Písek", "Jičín", "Přerov", "Klatovy",
                            "Hradec Králové", "Kroměříž", "Děčín"});
  v.streets = convertAll({"Na Návsi", "Školní", "Lesní", "Zahradní", "Nádražní", "Polní",
                          "Husova", "Komenského", "Palackého", "Sokolská", "Tyršova",
                          "Žižkova", "Jiráskova", "Revoluční", "U Potoka", "Pod Kostelem",
                          "Za Humny", "Máchova", "Nerudova", "Dvořákova", "Křižíkova",
                          "Úzká", "Luční", "Řadová"});
  v.maleFirstNames = convertAll({"Jan", "Petr", "Josef", "Jiří", "Pavel", "Martin", "Tomáš",
                                 "Jaroslav", "Miroslav", "František", "Zdeněk", "Václav",
                                 "Michal", "Karel", "Lukáš", "Jakub", "Ondřej", "Radek",
                                 "Vojtěch", "Stanislav", "Bořivoj", "Luděk"});
  v.femaleFirstNames = convertAll({"Marie", "Jana", "Eva", "Hana", "Anna", "Lenka",
                                   "Kateřina", "Věra", "Lucie", "Alena", "Petra",
                                   "Jaroslava", "Zdeňka", "Ludmila", "Jitka", "Božena",
                                   "Markéta", "Tereza", "Veronika", "Dagmar", "Růžena"});
  v.maleSurnames = convertAll({"Novák", "Svoboda", "Novotný", "Dvořák", "Černý",
                               "Procházka", "Kučera", "Veselý", "Horák", "Němec", "Pokorný",
                               "Marek", "Pospíšil", "Hájek", "Jelínek", "Král", "Růžička",
                               "Beneš", "Fiala", "Sedláček", "Doležal", "Zeman", "Kolář",
                               "Navrátil", "Čermák", "Vaněk", "Urban", "Blažek", "Kříž",
                               "Kovář", "Bartoš", "Vlček", "Polák", "Musil", "Šimek",
                               "Kopecký", "Říha", "Štěpánek", "Žák", "Šťastný"});
  v.femaleSurnames = convertAll({"Nováková", "Svobodová", "Novotná", "Dvořáková", "Černá",
                                 "Procházková", "Kučerová", "Veselá", "Horáková", "Němcová",
                                 "Pokorná", "Marková", "Pospíšilová", "Hájková", "Jelínková",
                                 "Králová", "Růžičková", "Benešová", "Fialová", "Sedláčková",
                                 "Doležalová", "Zemanová", "Kolářová", "Navrátilová",
                                 "Čermáková", "Vaňková", "Urbanová", "Blažková", "Křížová",
                                 "Kovářová", "Bartošová", "Vlčková", "Poláková", "Musilová",
                                 "Šimková", "Kopecká", "Říhová", "Štěpánková", "Žáková",
                                 "Šťastná"});
  v.organisations = convertAll({"Zemědělské družstvo Vysočina", "Lesy České republiky, s.p.",
                                "Povodí Vltavy, státní podnik",
                                "Ředitelství silnic a dálnic ČR", "Agrospol Třebíč a.s.",
                                "Státní pozemkový úřad", "Česká republika",
                                "Správa železnic, státní organizace",
                                "Římskokatolická farnost Štěpánov", "Statek Horní Dvůr s.r.o.",
                                "ČEZ Distribuce, a.s.", "Kraj Vysočina",
                                "Myslivecký spolek Doubrava", "Rybářství Třeboň a.s."});
  v.fieldNames = convertAll({"Za Humny", "U Křížku", "Na Výsluní", "Pod Lesem",
                             "Dlouhé díly", "Říčky", "Žlíbek", "Na Čihadle", "Hůrka",
                             "V Úvozu", "Ve Žlebech", "Na Stráni", "Kopaniny", "Nivy",
                             "Za Mlýnem", "Pod Vinicí", "Malé zahrádky", "Čtvrtě", "Bařiny",
                             "Ořechovka", "Třešňovka", "Dolní louky", "Horní díly",
                             "Pastviska", "Šibeník", "Na Vrších", "U Studánky", "Rybníčky",
                             "Pod Skalkou", "Na Pískách", "Úhoře", "Jitřenky", "Kouty",
                             "Lány", "Pařezy", "Na Ježově", "Žabinec", "Doubrava", "Kříbě",
                             "Čihadla"});
  v.rightDescriptions = convertAll({"Věcné břemeno chůze a jízdy",
                                    "Věcné břemeno zřizování a provozování vedení",
                                    "Zástavní právo smluvní", "Předkupní právo",
                                    "Věcné břemeno užívání", "Zákaz zcizení nebo zatížení",
                                    "Zástavní právo z rozhodnutí správního orgánu",
                                    "Věcné břemeno vedení kanalizační přípojky"});
  v.deedDescriptions = convertAll({"Smlouva kupní", "Smlouva darovací",
                                   "Usnesení soudu o dědictví",
                                   "Geometrický plán pro rozdělení pozemku",
                                   "Smlouva o zřízení věcného břemene",
                                   "Rozhodnutí o schválení komplexních pozemkových úprav",
                                   "Ohlášení změny druhu pozemku"});
  v.deedAuthors = convertAll({"Geodézie Vysočina s.r.o.", "Notářka JUDr. Alena Šťastná",
                              "Katastrální úřad pro Vysočinu", "Okresní soud v Třebíči",
                              "Exekutorský úřad Přerov", "Finanční úřad pro Jihomoravský kraj",
                              "Městský úřad Žďár nad Sázavou", "Ing. Luděk Říha, geodet"});
  v.proceedingStates = convertAll({"Řízení ukončeno", "Zpracování ukončeno",
                                   "Vyznačen vklad", "Provedeno zapsání"});
  v.rightPriorityNote = toLatin2("datu podle právní úpravy účinné v době vzniku práva");
  return v;
}

}  // namespace

std::string toLatin2(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    // Two-byte sequences cover every letter in the table.
    if ((lead & 0xE0) != 0xC0 || i + 1 >= utf8.size()) unconvertible(utf8);
    const auto trail = static_cast<unsigned char>(utf8[i + 1]);
    const uint32_t codePoint = (uint32_t{lead} & 0x1Fu) << 6 | (uint32_t{trail} & 0x3Fu);
    bool found = false;
    for (const Latin2Letter& letter : kLetters) {
      if (letter.codePoint == codePoint) {
        out += static_cast<char>(letter.byte);
        found = true;
        break;
      }
    }
    if (!found) unconvertible(utf8);
    i += 2;
  }
  return out;
}

std::string upperLatin2(std::string_view latin2) {
  std::string out(latin2);
  for (char& c : out) {
    const auto byte = static_cast<unsigned char>(c);
    unsigned char upper = byte;
    if (byte >= 'a' && byte <= 'z') {
      upper = static_cast<unsigned char>(byte - 0x20);
    } else if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) {
      upper = static_cast<unsigned char>(byte - 0x20);
    } else if (byte >= 0xB1 && byte <= 0xBF && byte != 0xB4 && byte != 0xB7 && byte != 0xB8 &&
               byte != 0xBD) {
      upper = static_cast<unsigned char>(byte - 0x10);
    }
    c = static_cast<char>(upper);
  }
  return out;
}

const Vocabulary& vocabulary() {
  static const Vocabulary words = makeVocabulary();
  return words;
}

}  // namespace vfkgen
