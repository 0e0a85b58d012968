// Texts as the file stores them, in ISO-8859-2, and the word lists the
// generated names are drawn from.
#ifndef VORLANE_TOOLS_VFK_GENERATOR_TEXT_H_
#define VORLANE_TOOLS_VFK_GENERATOR_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

namespace vfkgen {

// UTF-8 to ISO-8859-2. Stops the program on a character ISO-8859-2 lacks:
// every text converted is one of the generator's own.
std::string toLatin2(std::string_view utf8);

// Upper case of an ISO-8859-2 text, accents kept ("Šťáva" -> "ŠŤÁVA").
std::string upperLatin2(std::string_view latin2);

// The word lists, in ISO-8859-2.
struct Vocabulary {
  std::vector<std::string> areaNames;       // cadastral areas and municipalities
  std::vector<std::string> districts;
  std::vector<std::string> streets;
  std::vector<std::string> maleFirstNames;
  std::vector<std::string> femaleFirstNames;
  std::vector<std::string> maleSurnames;    // same order as femaleSurnames
  std::vector<std::string> femaleSurnames;
  std::vector<std::string> organisations;
  std::vector<std::string> fieldNames;      // local names written on the map
  std::vector<std::string> rightDescriptions;
  std::vector<std::string> deedDescriptions;
  std::vector<std::string> deedAuthors;
  std::vector<std::string> proceedingStates;
  std::string rightPriorityNote;
};

const Vocabulary& vocabulary();

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_TEXT_H_
