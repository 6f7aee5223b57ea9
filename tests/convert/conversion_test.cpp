// Runs the worked conversions kept as data: each case gives a document (or its code values)
// and the exact LOGO program and listing expected.

#include "convert/conversion.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/test_support.h"

namespace tortuval::convert {
namespace {

using testing::Case;
using testing::LineDiff;

// A one-line document whose items carry their own code value as readable line.
std::string DocumentOf(const Case& c) {
  if (c.Has("document")) return c.Get("document");
  std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Algo>" + c.Get("header");
  std::istringstream items(c.Get("items"));
  std::string code;
  while (std::getline(items, code)) {
    if (!code.empty() && code.back() == '\r') code.pop_back();
    document += "<item algoitem=\"" + code + "\" code=\"" + code + "\" />";
  }
  return document + "</Algo>";
}

class ConversionCases : public ::testing::TestWithParam<std::string> {};

TEST_P(ConversionCases, GiveExactPanes) {
  const auto cases = testing::ReadCaseFile("conversions/" + GetParam());
  ASSERT_FALSE(cases.empty());
  for (const Case& c : cases) {
    SCOPED_TRACE(GetParam() + ":" + std::to_string(c.line) + " [" + c.name + "]");
    const ConversionResult result = ConvertDocument(DocumentOf(c));
    if (c.Has("logo")) {
      EXPECT_EQ(result.logoText, c.Get("logo")) << LineDiff(c.Get("logo"), result.logoText);
    }
    if (c.Has("listing")) {
      EXPECT_EQ(result.listingText, c.Get("listing"))
          << LineDiff(c.Get("listing"), result.listingText);
    }
  }
}

// The listing line (its text) of the item that wrote the first program line starting with
// `start`, blanks aside; "-" when no item wrote it, "?" when no line starts so.
std::string AlgorithmLineOf(const ConversionResult& result, std::string_view start) {
  const std::vector<std::string> program = testing::LinesOf(result.logoText);
  const std::vector<std::string> listing = testing::LinesOf(result.listingText);
  for (std::size_t i = 0; i < program.size() && i < result.listingLines.size(); ++i) {
    const std::size_t text = program[i].find_first_not_of(' ');
    if (text == std::string::npos || !program[i].substr(text).starts_with(start)) continue;
    const int line = result.listingLines[i];
    if (line <= 0) return "-";
    return line <= static_cast<int>(listing.size()) ? listing[static_cast<std::size_t>(line - 1)]
                                                     : "line " + std::to_string(line);
  }
  return "?";
}

// Each line of the program knows the listing line of the item that wrote it, counted as the
// listing pane counts them: a description over two lines moves the items down by one.
TEST(ConvertDocument, EachProgramLineKnowsTheAlgorithmLineThatWroteIt) {
  const ConversionResult result = ConvertDocument(
      "<Algo><description texte=\"Deux\nlignes\" courant=\"\" />"
      "<item algoitem=\"VARIABLES\" code=\"100#declarationsvariables\" >"
      "<item algoitem=\"A EST_DU_TYPE NOMBRE\" code=\"1#NOMBRE#A\" /></item>"
      "<item algoitem=\"DEBUT_ALGORITHME\" code=\"101#debutalgo\" >"
      "<item algoitem=\"LIRE A\" code=\"2#A#pasliste\" />"
      "<item algoitem=\"AFFICHER A\" code=\"3#A#1#pasliste\" /></item>"
      "<item algoitem=\"FIN_ALGORITHME\" code=\"102#finalgo\" /></Algo>");
  ASSERT_EQ(testing::LinesOf(result.listingText).size(), 8u);
  EXPECT_EQ(AlgorithmLineOf(result, "DEFINIS \"A"), "A EST_DU_TYPE NOMBRE");
  EXPECT_EQ(AlgorithmLineOf(result, "SOIT \"A LISNOMBRE"), "LIRE A");
  EXPECT_EQ(AlgorithmLineOf(result, "ECRISLIGNE :A"), "AFFICHER A");
  EXPECT_EQ(AlgorithmLineOf(result, "// FIN_ALGORITHME"), "FIN_ALGORITHME");
  EXPECT_EQ(result.listingLines[0], 3);  // "// VARIABLES", below the description
}

// An item as the editor writes it, its attributes in either order, around its nested items.
std::string Item(bool codeFirst, std::string_view code, std::string_view text,
                 std::string_view nested = {}) {
  std::string item = codeFirst ? "<item code=\"" + std::string(code) + "\" algoitem=\"" +
                                     std::string(text) + "\""
                               : "<item algoitem=\"" + std::string(text) + "\" code=\"" +
                                     std::string(code) + "\"";
  return nested.empty() ? item + " />" : item + ">\n" + std::string(nested) + "</item>\n";
}

// The line map does not depend on the order of an item's attributes, on other attributes, on
// the description's lines or on how deep items are nested, in functions as in the algorithm.
TEST(ConvertDocument, TheAlgorithmLineIsRightWhateverTheItemsLookLike) {
  for (const bool codeFirst : {false, true}) {
    for (const std::string description : {"", "Une ligne", "Trois\nlignes\nde texte"}) {
      SCOPED_TRACE(std::string(codeFirst ? "code first" : "algoitem first") + ", description \"" +
                   description + "\"");
      const auto item = [codeFirst](std::string_view code, std::string_view text,
                                    std::string_view nested = {}) {
        return Item(codeFirst, code, text, nested);
      };
      std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Algo>\n";
      if (!description.empty()) document += "<description texte=\"" + description + "\"/>\n";
      document += "<fonction fctetat=\"inactif\" fctcode=\"\"/>\n";
      document += item("200#fonctions", "FONCTIONS_UTILISEES",
                       item("201#carre#x", "FONCTION carre(x)") +
                           item("202#variables", "VARIABLES_FONCTION",
                                item("1#NOMBRE#y", "y EST_DU_TYPE NOMBRE")) +
                           item("203#debut", "DEBUT_FONCTION",
                                item("5#y#x*x#pasliste", "y PREND_LA_VALEUR x*x") +
                                    item("205#y", "RENVOYER y")) +
                           item("204#fin", "FIN_FONCTION"));
      document += item("100#declarationsvariables", "VARIABLES",
                       item("1#NOMBRE#x", "x EST_DU_TYPE NOMBRE"));
      const std::string deepest =
          item("6#x>2", "SI (x>2) ALORS",
               item("7#debutsi", "DEBUT_SI") + item("3#x#1#pasliste", "AFFICHER x") +
                   item("8#finsi", "FIN_SI"));
      const std::string loop =
          item("15#x>8", "TANT_QUE (x>8) FAIRE",
               item("16#debuttantque", "DEBUT_TANT_QUE") + deepest +
                   item("5#x#x+1#pasliste", "x PREND_LA_VALEUR x+1") +
                   item("17#fintantque", "FIN_TANT_QUE"));
      document += item("101#debutalgo", "DEBUT_ALGORITHME",
                       item("12#k#1#3", "POUR k ALLANT_DE 1 A 3",
                            item("13#debutpour", "DEBUT_POUR") + loop +
                                item("14#finpour", "FIN_POUR")));
      document += item("102#finalgo", "FIN_ALGORITHME") + "</Algo>\n";

      const ConversionResult result = ConvertDocument(document);
      EXPECT_EQ(AlgorithmLineOf(result, "POUR carre :x"), "FONCTION carre(x)");
      EXPECT_EQ(AlgorithmLineOf(result, "DEFINIS \"y"), "y EST_DU_TYPE NOMBRE");
      EXPECT_EQ(AlgorithmLineOf(result, "soit \"y :x * :x"), "y PREND_LA_VALEUR x*x");
      EXPECT_EQ(AlgorithmLineOf(result, "REPONDRE :y"), "RENVOYER y");
      EXPECT_EQ(AlgorithmLineOf(result, "TANT QUE :x > 8"), "TANT_QUE (x>8) FAIRE");
      EXPECT_EQ(AlgorithmLineOf(result, "TESTE :x > 2"), "SI (x>2) ALORS");
      EXPECT_EQ(AlgorithmLineOf(result, "ECRISLIGNE :x"), "AFFICHER x");
      EXPECT_EQ(AlgorithmLineOf(result, "// FIN_ALGORITHME"), "FIN_ALGORITHME");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Files, ConversionCases,
                         ::testing::Values("sections.txt", "statements.txt", "blocks.txt",
                                           "functions.txt", "graphics.txt"),
                         [](const auto& info) {
                           return info.param.substr(0, info.param.find('.'));
                         });

// Every PSEUDAL_ word the program holds is a procedure it defines.
std::vector<std::string> UndefinedSupportCalls(const std::string& program) {
  std::vector<std::string> undefined;
  for (std::size_t at = program.find("PSEUDAL_"); at != std::string::npos;
       at = program.find("PSEUDAL_", at + 1)) {
    const std::size_t end = program.find_first_of(" \r\n()[]", at);
    const std::string word = program.substr(at, end - at);
    if (program.find("pour " + word + "\r\n") == std::string::npos &&
        program.find("pour " + word + " ") == std::string::npos) {
      undefined.push_back(word);
    }
  }
  return undefined;
}

std::string ReadingDocument(std::string_view declaration, std::string_view read) {
  return std::string(
             "<Algo><item algoitem=\"VARIABLES\" code=\"100#declarationsvariables\" >"
             "<item algoitem=\"d\" code=\"") +
         std::string(declaration) + "\" /></item>" +
         "<item algoitem=\"DEBUT_ALGORITHME\" code=\"101#debutalgo\" >" +
         "<item algoitem=\"LIRE\" code=\"" + std::string(read) + "\" /></item>" +
         "<item algoitem=\"FIN_ALGORITHME\" code=\"102#finalgo\" /></Algo>";
}

// A name holding a blank (a broken document) is looked up in the variable list's text as
// " name ", its code being what follows up to the next space: whatever that gives, the read
// calls no reading procedure that the program leaves undefined.
TEST(ConvertDocument, AReadNeverCallsASupportProcedureTheProgramLacks) {
  struct Read {
    const char* why;
    std::string document;
    const char* readingProcedure;  // the one the program must define and call, or null
  };
  const Read reads[] = {
      {"a text", ReadingDocument("1#CHAINE#phrase", "2#phrase#pasliste"), "PSEUDAL_LIRE_MOT"},
      {"into a list", ReadingDocument("1#LISTE#L", "2#L#2"), "PSEUDAL_LIRE_LISTE"},
      {"a text's name cut by a broken item",
       ReadingDocument("1#CHAINE#phrase /><item algoitem=", "2#phrase#pasliste"), nullptr},
      {"a list's name cut by a broken item",
       ReadingDocument("1#LISTE#L /><item algoitem=", "2#L#2"), nullptr},
      {"a text declared as the read's name and more",
       ReadingDocument("1#CHAINE#phrase 3", "2#phrase#pasliste"), nullptr},
      {"a list declared as the read's name and more", ReadingDocument("1#LISTE#L 2", "2#L#2"),
       nullptr},
  };
  for (const Read& read : reads) {
    SCOPED_TRACE(read.why);
    const std::string program = ConvertDocument(read.document).logoText;
    EXPECT_EQ(UndefinedSupportCalls(program), std::vector<std::string>()) << program;
    if (read.readingProcedure != nullptr) {
      // Its definition, then the call.
      const std::size_t definition = program.find(read.readingProcedure);
      ASSERT_NE(definition, std::string::npos) << program;
      EXPECT_NE(program.find(read.readingProcedure, definition + 1), std::string::npos) << program;
    }
  }
}

}  // namespace
}  // namespace tortuval::convert
