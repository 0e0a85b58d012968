// The map symbol library written out by hand from its two tables, for the
// tests that compare whole documents with it.
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace vorlane::testing {

namespace {

// The map symbol library as its two tables give it: each symbol's code and
// description, and the text of its elements up to their stroke width.
struct Symbol {
  int code;
  const char* description;
  std::vector<const char*> elements;
};

const Symbol kLibrary[] = {
    {302, "Chmelnice",
     {R"(<line x1="-0.5" y1="0" x2="0.5" y2="0" stroke="red" stroke-width=")",
      R"(<line x1="-0.5" y1="0" x2="-0.5" y2="3" stroke="red" stroke-width=")"}},
    {303, "Vinice",
     {R"(<line x1="0" y1="0" x2="0" y2="2.5" stroke="green" stroke-width=")",
      R"(<path d="M -0.75,0 -0.3726,0.0216 0,0.0853 0.249,0.1564 0.4869,0.2589 0.6479,0.3709 )"
      R"(0.7141,0.4504 0.746,0.5339 0.7437,0.6074 0.7176,0.6757 0.6575,0.7614 0.585,0.8364 )"
      R"(0.4247,0.9674 -0.4247,1.5326 -0.585,1.6636 -0.6575,1.7386 -0.7176,1.8243 -0.7437,1.8926 )"
      R"(-0.746,1.9661 -0.7141,2.0496 -0.6479,2.1291 -0.4869,2.2412 -0.249,2.3436 0,2.4147 )"
      R"(0.3726,2.4784 0.75,2.5" stroke="green" stroke-width=")"}},
    {304, "Zahrada",
     {R"(<circle cx="0" cy="0.75" r="0.75" fill="none" stroke="orange" stroke-width=")",
      R"(<line x1="0" y1="0" x2="1.25" y2="0" stroke="orange" stroke-width=")"}},
    {305, "Ovocný sad",
     {R"(<circle cx="0" cy="1.25" r="0.75" fill="none" stroke="lime" stroke-width=")",
      R"(<line x1="0" y1="0" x2="0" y2="0.5" stroke="lime" stroke-width=")",
      R"(<line x1="0" y1="0" x2="1" y2="0" stroke="lime" stroke-width=")"}},
    {306, "Trvalý travní porost",
     {R"(<line x1="-0.5" y1="0" x2="-0.5" y2="1.5" stroke="blue" stroke-width=")",
      R"(<line x1="0.5" y1="0" x2="0.5" y2="1.5" stroke="blue" stroke-width=")"}},
    {307, "Pastvina", {R"(<path d="M -1,0 0,1 1,0" fill="none" stroke="pink" stroke-width=")"}},
    {308, "Lesní půda bez rozlišení druhu porostu",
     {R"(<line x1="-0.75" y1="0" x2="0" y2="4" stroke="brown" stroke-width=")",
      R"(<line x1="0.75" y1="0" x2="0" y2="4" stroke="brown" stroke-width=")",
      R"(<line x1="0.75" y1="0" x2="1.75" y2="0" stroke="brown" stroke-width=")"}},
    {314, "Park, okrasná zahrada",
     {R"(<circle cx="-1" cy="0" r="0.1" fill="none" stroke="violet" stroke-width=")",
      R"(<path d="M -1,1.5 0,0 1,1.5" fill="none" stroke="violet" stroke-width=")",
      R"(<circle cx="1" cy="0" r="0.1" fill="none" stroke="violet" stroke-width=")"}},
    {315, "Hřbitov",
     {R"(<line x1="0" y1="0" x2="0" y2="2" stroke="grey" stroke-width=")",
      R"(<line x1="-1" y1="1" x2="1" y2="1" stroke="grey" stroke-width=")"}},
    {316, "Neplodná půda",
     {R"(<line x1="-0.75" y1="1" x2="0.75" y2="1" stroke="cyan" stroke-width=")",
      R"(<path d="M 0,0 0.1913,0.0381 0.3536,0.1464 0.4619,0.3087 0.5,0.5 0.5,1.5 0.4619,1.6913 )"
      R"(0.3536,1.8536 0.1913,1.9619 0,2 -0.1913,1.9619 -0.3536,1.8536 -0.4619,1.6913 -0.5,1.5 )"
      R"(-0.5,0.5 -0.4619,0.3087 -0.3536,0.1464 -0.1913,0.0381 0,0" fill="none" stroke="cyan" )"
      R"(stroke-width=")"}},
    {318, "Nemovitá kulturní památka",
     {R"(<line x1="0" y1="0" x2="0" y2="1" stroke="black" stroke-width=")",
      R"(<path d="M 0.75,1 0.75,2 -0.75,2 -0.75,1 0.75,1" fill="none" stroke="black" stroke-width=")",
      R"(<line x1="0" y1="2" x2="0" y2="3" stroke="black" stroke-width=")"}},
    {319, "Zbořeniště, společný dvůr",
     {R"(<path d="M -0.5,0 0.5,0 0.5,1" fill="none" stroke="gold" stroke-width=")"}},
    {402, "Budova", {R"(<circle cx="0" cy="0" r="0.175" fill="none" stroke="coral" stroke-width=")"}},
    {404, "Budova zděná, betonová, kovová, evidovaná",
     {R"(<circle cx="0" cy="0" r="0.175" fill="none" stroke="coral" stroke-width=")"}},
    {409, "Kostel, kaple nebo modlitebna",
     {R"(<line x1="0" y1="0" x2="0" y2="3" stroke="coral" stroke-width=")",
      R"(<line x1="-0.75" y1="2" x2="0.75" y2="2" stroke="coral" stroke-width=")"}},
    {410, "Synagoga",
     {R"(<path d="M 0,0 1.7321,3 -1.7321,3 0,0" fill="none" stroke="cyan" stroke-width=")",
      R"(<path d="M 1.7321,1 0,4 -1.7321,1 1.7321,1" fill="none" stroke="cyan" stroke-width=")"}},
    {424, "Vodní dílo",
     {R"(<path d="M -1.25,0 -1.2374,0.375 -1.1956,0.5996 -1.076,0.7941 -0.8944,0.9327 )"
      R"(-0.6752,0.9968 -0.4476,0.9779 -0.2419,0.8784 -0.0858,0.7117 0.0858,0.2883 0.2419,0.1216 )"
      R"(0.4476,0.0221 0.6752,0.0032 0.8944,0.0673 1.076,0.2059 1.1956,0.4004 1.2374,0.625 1.25,1" )"
      R"(fill="none" stroke="cyan" stroke-width=")"}},
    {701, "Dobývací prostor",
     {R"(<path d="M -2,1.5 -1,1.5 0,0 1,1.5 2,1.5" fill="none" stroke="navy" stroke-width=")"}},
    {802, "Koryto vodního toku",
     {R"(<line x1="-3" y1="0" x2="3" y2="0" stroke="maroon" stroke-width=")",
      R"(<path d="M 1.6262,-0.5 3,0 1.6262,0.5" fill="none" stroke="maroon" stroke-width=")"}},
    {803, "Vodní nádrž",
     {R"(<line x1="-7.5" y1="0" x2="-1.5" y2="0" stroke="plum" stroke-width=")",
      R"(<line x1="1.5" y1="0" x2="7.5" y2="0" stroke="plum" stroke-width=")"}},
    {804, "Zamokřená plocha (močál, mokřad, bažina)",
     {R"(<line x1="-1.5" y1="0" x2="1.5" y2="0" stroke="indigo" stroke-width=")"}},
};

}  // namespace

std::string symbolLibraryText() {
  std::string library;
  for (const Symbol& symbol : kLibrary) {
    library += "        <symbol id=\"VL_symbol_" + std::to_string(symbol.code) + "\" description=\"" +
               symbol.description + "\">\n";
    for (const char* element : symbol.elements) {
      library += std::string("            ") + element + "0.01\" />\n";
    }
    library += "        </symbol>\n";
  }
  return library;
}

}  // namespace vorlane::testing
