#include "app/examples/example_catalogue.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/examples/document_builder.h"
#include "tests/test_support.h"

namespace tortuval::examples {
namespace {

using tortuval::testing::Cp;

using tortuval::testing::CountOf;

// An item element or a closing `</item>` as read back from a document, independently of the
// builder: attributes are read as name="value" pairs, so a ">" inside a value does not end the
// element.
struct Token {
  bool closing = false;
  bool opens = false;  // an item element that is not self-closing
  std::string code;
  std::string readable;
};

std::vector<Token> ReadItems(std::string_view document) {
  std::vector<Token> tokens;
  std::size_t pos = document.find("<Algo>");
  for (;;) {
    const std::size_t close = document.find("</item>", pos);
    const std::size_t open = document.find("item ", pos);
    if (close == std::string_view::npos && open == std::string_view::npos) return tokens;
    if (close < open) {
      tokens.push_back(Token{.closing = true, .opens = false, .code = {}, .readable = {}});
      pos = close + 7;
      continue;
    }
    Token token;
    pos = open + 5;
    for (;;) {
      while (pos < document.size() && document[pos] == ' ') ++pos;
      if (document.substr(pos, 2) == "/>") {
        pos += 2;
        break;
      }
      if (document[pos] == '>') {
        token.opens = true;
        ++pos;
        break;
      }
      const std::size_t equals = document.find("=\"", pos);
      const std::size_t end =
          equals == std::string_view::npos ? equals : document.find('"', equals + 2);
      if (end == std::string_view::npos) {
        ADD_FAILURE() << "unterminated item element at " << open;
        return tokens;
      }
      const std::string_view name = document.substr(pos, equals - pos);
      const std::string value(document.substr(equals + 2, end - equals - 2));
      if (name == "code") token.code = value;
      if (name == "algoitem") token.readable = value;
      pos = end + 1;
    }
    tokens.push_back(token);
  }
}

bool CodeOpensBlock(std::string_view code) {
  for (std::string_view number : {"100#", "101#", "6#", "9#", "12#", "15#"}) {
    if (code.starts_with(number)) return true;
  }
  return false;
}

// --- Readable lines --------------------------------------------------------------------------

TEST(ReadableLineTest, FollowsFromTheCodeValue) {
  struct Row {
    std::string_view code;
    std::string_view readable;
  };
  const Row rows[] = {
      {"100#declarationsvariables", "VARIABLES"},
      {"101#debutalgo", "DEBUT_ALGORITHME"},
      {"102#finalgo", "FIN_ALGORITHME"},
      {"1#NOMBRE#x", "x EST_DU_TYPE NOMBRE"},
      {"1#LISTE#listeatrier", "listeatrier EST_DU_TYPE LISTE"},
      {"2#n#pasliste", "LIRE n"},
      {"2#listenombre#4", "LIRE listenombre[4]"},
      {"3#approxpi#0#pasliste", "AFFICHER approxpi"},
      {"3#listeatrier#0#i", "AFFICHER listeatrier[i]"},
      {"4#Avant le tri :#1", "AFFICHER &quot;Avant le tri :&quot;"},
      {"4# -> #0", "AFFICHER &quot; -> &quot;"},
      {"4#  #1", "AFFICHER &quot;  &quot;"},
      {"5#x#x+0.1#pasliste", "x PREND_LA_VALEUR x+0.1"},
      {"5#listeatrier#temp#j+1", "listeatrier[j+1] PREND_LA_VALEUR temp"},
      {"5#issue#issue[somme]+1#somme", "issue[somme] PREND_LA_VALEUR issue[somme]+1"},
      {"6#listeatrier[j+1]&lt;listeatrier[j]", "SI (listeatrier[j+1]&lt;listeatrier[j]) ALORS"},
      {"7#debutsi", "DEBUT_SI"},
      {"8#finsi", "FIN_SI"},
      {"9#sinon", "SINON"},
      {"10#debutsinon", "DEBUT_SINON"},
      {"11#finsinon", "FIN_SINON"},
      {"12#diviseur#2#floor(n/2)", "POUR diviseur ALLANT_DE 2 A floor(n/2)"},
      {"13#debutpour", "DEBUT_POUR"},
      {"14#finpour", "FIN_POUR"},
      {"15#x&lt;=2", "TANT_QUE (x&lt;=2) FAIRE"},
      {"15#b-a>precision", "TANT_QUE (b-a>precision) FAIRE"},
      {"16#debuttantque", "DEBUT_TANT_QUE"},
      {"17#fintantque", "FIN_TANT_QUE"},
      {"18#pause", "PAUSE"},
      {"51#xdepart#F1(xdepart)#xfin#F1(xfin)#Rouge",
       "TRACER_SEGMENT (xdepart,F1(xdepart))->(xfin,F1(xfin))"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ReadableLine(row.code), row.readable) << "code value " << row.code;
  }
}

TEST(ReadableLineTest, RejectsUnknownCodeValues) {
  EXPECT_THROW(ReadableLine("19#x"), std::invalid_argument);
  EXPECT_THROW(ReadableLine("7#autre"), std::invalid_argument);
  EXPECT_THROW(ReadableLine("12#i#1"), std::invalid_argument);
}

// --- The builder ------------------------------------------------------------------------------

constexpr std::string_view kSmallTree = R"(
100#declarationsvariables
  1#NOMBRE#x
101#debutalgo
  6#x>0
    7#debutsi
    8#finsi
102#finalgo
)";

constexpr std::string_view kDeclarationAndRoot = R"(<?xml version="1.0" encoding="UTF-8"?><Algo>)";

TEST(BuildDocumentTest, WritesEachItemFormAndClosesNestedBlocks) {
  struct Row {
    ItemForm form;
    std::string_view items;
  };
  const Row rows[] = {
      {ItemForm::kSpaced, R"(<item algoitem="VARIABLES" code="100#declarationsvariables" >)"
                          R"(<item algoitem="x EST_DU_TYPE NOMBRE" code="1#NOMBRE#x" /></item>)"
                          R"(<item algoitem="DEBUT_ALGORITHME" code="101#debutalgo" >)"
                          R"(<item algoitem="SI (x>0) ALORS" code="6#x>0" >)"
                          R"(<item algoitem="DEBUT_SI" code="7#debutsi" />)"
                          R"(<item algoitem="FIN_SI" code="8#finsi" /></item></item>)"
                          R"(<item algoitem="FIN_ALGORITHME" code="102#finalgo" />)"},
      {ItemForm::kCompact, R"(<item algoitem="VARIABLES" code="100#declarationsvariables">)"
                           R"(<item algoitem="x EST_DU_TYPE NOMBRE" code="1#NOMBRE#x"/></item>)"
                           R"(<item algoitem="DEBUT_ALGORITHME" code="101#debutalgo">)"
                           R"(<item algoitem="SI (x>0) ALORS" code="6#x>0">)"
                           R"(<item algoitem="DEBUT_SI" code="7#debutsi"/>)"
                           R"(<item algoitem="FIN_SI" code="8#finsi"/></item></item>)"
                           R"(<item algoitem="FIN_ALGORITHME" code="102#finalgo"/>)"},
      {ItemForm::kCodeFirst, R"(<item code="100#declarationsvariables" algoitem="VARIABLES">)"
                             R"(<item code="1#NOMBRE#x" algoitem="x EST_DU_TYPE NOMBRE"/></item>)"
                             R"(<item code="101#debutalgo" algoitem="DEBUT_ALGORITHME">)"
                             R"(<item code="6#x>0" algoitem="SI (x>0) ALORS">)"
                             R"(<item code="7#debutsi" algoitem="DEBUT_SI"/>)"
                             R"(<item code="8#finsi" algoitem="FIN_SI"/></item></item>)"
                             R"(<item code="102#finalgo" algoitem="FIN_ALGORITHME"/>)"},
      {ItemForm::kNoOpeningBracket,
       R"(item algoitem="VARIABLES" code="100#declarationsvariables">)"
       R"(item algoitem="x EST_DU_TYPE NOMBRE" code="1#NOMBRE#x"/></item>)"
       R"(item algoitem="DEBUT_ALGORITHME" code="101#debutalgo">)"
       R"(item algoitem="SI (x>0) ALORS" code="6#x>0">)"
       R"(item algoitem="DEBUT_SI" code="7#debutsi"/>)"
       R"(item algoitem="FIN_SI" code="8#finsi"/></item></item>)"
       R"(item algoitem="FIN_ALGORITHME" code="102#finalgo"/>)"},
  };
  const std::string_view header = "\n<fonction a=\"1\" />\n\n<repere b=\"2\"/>\n";
  for (const Row& row : rows) {
    const std::string expected = std::string(kDeclarationAndRoot) +
                                 R"(<fonction a="1" /><repere b="2"/>)" + std::string(row.items) +
                                 "</Algo>";
    EXPECT_EQ(BuildDocument({.headerElements = header, .itemTree = kSmallTree, .form = row.form}),
              expected)
        << "item form " << static_cast<int>(row.form);
  }
}

TEST(BuildDocumentTest, ClosesEveryOpenBlockAtTheEnd) {
  const std::string document = BuildDocument({.itemTree = "12#i#1#2\n  15#i>0\n    9#sinon\n"});
  EXPECT_TRUE(
      document.ends_with(R"(<item algoitem="SINON" code="9#sinon" /></item></item></Algo>)"))
      << document;
}

TEST(BuildDocumentTest, UsesAnOverrideOnlyForItsOwnCodeValue) {
  const ReadableLineOverride overrides[] = {{"15#b-a>p", "TANT_QUE (b-a)>p) FAIRE"}};
  const std::string document = BuildDocument({.itemTree = "15#b-a>p\n  16#debuttantque\n15#b>p\n",
                                              .form = ItemForm::kCompact,
                                              .overrides = overrides});
  EXPECT_EQ(document, std::string(kDeclarationAndRoot) +
                          R"(<item algoitem="TANT_QUE (b-a)>p) FAIRE" code="15#b-a>p">)"
                          R"(<item algoitem="DEBUT_TANT_QUE" code="16#debuttantque"/></item>)"
                          R"(<item algoitem="TANT_QUE (b>p) FAIRE" code="15#b>p"/></Algo>)");
}

TEST(BuildDocumentTest, RejectsMalformedTrees) {
  EXPECT_THROW(BuildDocument({.itemTree = " 101#debutalgo\n"}), std::invalid_argument);
  EXPECT_THROW(BuildDocument({.itemTree = "  101#debutalgo\n"}), std::invalid_argument);
  EXPECT_THROW(BuildDocument({.itemTree = "101#debutalgo\n    18#pause\n"}), std::invalid_argument);
  EXPECT_THROW(BuildDocument({.itemTree = "101#debutalgo\n  99#x\n"}), std::invalid_argument);
}

// --- The catalogue ----------------------------------------------------------------------------

TEST(ExampleCatalogueTest, CaptionsInRadioGroupOrder) {
  const std::string_view captions[kExampleCount] = {
      "prof_dichotomie.",
      "prof_tribulle.",
      "prof_montecarlo.",
      "prof_suite_Syracuse.",
      "prof_intégrale_trapèze.",
      "prof_décomp._facteurs_premiers.",
      "prof_courbe_fonction.",
      "prof_pgdc_Euclide.",
      "prof_Babylone.",
      "prof_dichotomie.",
      "prof_Euler.",
      "prof_somme_entiers.",
      "prof_ductoscane.",
      "prof_pgdc_récursif.",
      "fonction pos_minimum",
      "loi_normale_centrée.",
      "nombres_aléatoires.",
  };
  for (int i = 0; i < kExampleCount; ++i) {
    EXPECT_EQ(ExampleCaption(i), Cp(captions[i])) << "index " << i;
  }
  // Accented letters are single Windows-1252 bytes.
  EXPECT_EQ(ExampleCaption(4), "prof_int\xE9grale_trap\xE8ze.");
  EXPECT_EQ(ExampleCaption(15),
            "loi_normale_centr\xE9"
            "e.");
}

TEST(ExampleCatalogueTest, RejectsIndexesOutsideTheCatalogue) {
  EXPECT_THROW(ExampleCaption(-1), std::out_of_range);
  EXPECT_THROW(ExampleCaption(kExampleCount), std::out_of_range);
  EXPECT_THROW(ExampleDocument(kExampleCount), std::out_of_range);
}

TEST(ExampleCatalogueTest, ItemCounts) {
  const std::size_t expected[kExampleCount] = {14, 33, 20, 24, 22, 38, 14,  20, 26,
                                               25, 22, 22, 24, 10, 25, 202, 63};
  for (int i = 0; i < kExampleCount; ++i) {
    const std::string& document = ExampleDocument(i);
    std::size_t items = 0;
    for (const Token& token : ReadItems(document)) items += token.closing ? 0 : 1;
    EXPECT_EQ(items, expected[i]) << "index " << i;
    // Header attributes such as fctcode and repcode do not start with a blank.
    EXPECT_EQ(CountOf(document, " code=\""), expected[i]) << "index " << i;
    RecordProperty("items_" + std::to_string(i), static_cast<int>(items));
  }
}

TEST(ExampleCatalogueTest, EveryDocumentIsOneLineFramedByDeclarationAndRoot) {
  for (int i = 0; i < kExampleCount; ++i) {
    const std::string& document = ExampleDocument(i);
    EXPECT_TRUE(document.starts_with(kDeclarationAndRoot)) << "index " << i;
    EXPECT_TRUE(document.ends_with("</Algo>")) << "index " << i;
    EXPECT_EQ(document.find_first_of("\r\n"), std::string::npos) << "index " << i;
    EXPECT_EQ(CountOf(document, "<Algo>"), 1u);
    EXPECT_EQ(CountOf(document, "</Algo>"), 1u);
  }
}

TEST(ExampleCatalogueTest, BlocksNestAsTheirCodeValuesSay) {
  for (int i = 0; i < kExampleCount; ++i) {
    SCOPED_TRACE("index " + std::to_string(i));
    const std::vector<Token> tokens = ReadItems(ExampleDocument(i));
    std::vector<std::string> open;  // codes of the enclosing items
    std::vector<std::string> topLevel;
    for (std::size_t t = 0; t < tokens.size(); ++t) {
      const Token& token = tokens[t];
      if (token.closing) {
        ASSERT_FALSE(open.empty()) << "unbalanced </item> at token " << t;
        // A SINON item is the last child of its SI item.
        if (open.back() == "9#sinon") {
          ASSERT_LT(t + 1, tokens.size());
          EXPECT_TRUE(tokens[t + 1].closing);
          ASSERT_GE(open.size(), 2u);
          EXPECT_TRUE(open[open.size() - 2].starts_with("6#"));
        }
        open.pop_back();
        continue;
      }
      if (open.empty()) topLevel.push_back(token.code);
      EXPECT_EQ(token.opens, CodeOpensBlock(token.code)) << token.code;
      EXPECT_FALSE(token.readable.empty()) << token.code;
      if (token.opens) {
        ASSERT_LT(t + 1, tokens.size());
        EXPECT_FALSE(tokens[t + 1].closing) << "empty block " << token.code;
        open.push_back(token.code);
      }
    }
    EXPECT_TRUE(open.empty());
    // Declarations, then the algorithm, then its end; everything else sits inside the first two.
    EXPECT_EQ(topLevel, (std::vector<std::string>{"100#declarationsvariables", "101#debutalgo",
                                                  "102#finalgo"}));
  }
}

TEST(ExampleCatalogueTest, StartOfTheEuclidDocument) {
  const std::string expected =
      std::string(kDeclarationAndRoot) +
      Cp(R"(<description texte="PGCD de deux entiers positifs par la méthode d'Euclide" )"
         R"(courant="TANT_QUE (B!=0) FAIRE" />)") +
      R"(<fonction fctcode="" fctetat="inactif" />)"
      R"(<repere repetat="inactif" repcode="-10#10#-10#10#2#2" />)"
      R"(<item algoitem="VARIABLES" code="100#declarationsvariables" >)"
      R"(<item algoitem="A EST_DU_TYPE NOMBRE" code="1#NOMBRE#A" />)";
  EXPECT_EQ(ExampleDocument(7).substr(0, expected.size()), expected);
}

TEST(ExampleCatalogueTest, ItemFormsAsWritten) {
  struct Row {
    int index;
    std::string_view piece;
  };
  const Row rows[] = {
      {0, R"(<item algoitem="x EST_DU_TYPE NOMBRE" code="1#NOMBRE#x" />)"},
      {0, R"(<item algoitem="AFFICHER &quot; -> &quot;" code="4# -> #0" />)"},
      {0, R"(<item algoitem="TANT_QUE (x&lt;=2) FAIRE" code="15#x&lt;=2" >)"},
      {1,
       R"(<item algoitem="listeatrier[j+1] PREND_LA_VALEUR temp" code="5#listeatrier#temp#j+1" />)"},
      {6, R"x(<item algoitem="TRACER_SEGMENT (xdepart,F1(xdepart))->(xfin,F1(xfin))" )x"
          R"(code="51#xdepart#F1(xdepart)#xfin#F1(xfin)#Rouge" />)"},
      {9, R"(<item algoitem="TANT_QUE (b-a)>precision) FAIRE" code="15#b-a>precision" >)"},
      {13, R"(<item algoitem="VARIABLES" code="100#declarationsvariables">)"},
      {13, R"(<item algoitem="p EST_DU_TYPE NOMBRE" code="1#NOMBRE#p"/>)"},
      {14, R"(<item code="100#declarationsvariables" algoitem="VARIABLES">)"},
      {14, R"(<item code="1#NOMBRE#temp" algoitem="temp EST_DU_TYPE NOMBRE"/>)"},
      {14, R"(<item code="2#listenombre#4" algoitem="LIRE listenombre[4]"/>)"},
      {16, R"(<Algo><description texte="nombres al)"},
      {16, R"(item algoitem="VARIABLES" code="100#declarationsvariables">)"},
      {16, R"(item algoitem="n EST_DU_TYPE NOMBRE" code="1#NOMBRE#n"/>)"},
      {16, R"(/></item>item algoitem="DEBUT_ALGORITHME" code="101#debutalgo">)"},
  };
  for (const Row& row : rows) {
    EXPECT_NE(ExampleDocument(row.index).find(row.piece), std::string::npos)
        << "index " << row.index << ": " << row.piece;
  }
  // The fourth form never opens an item element with "<".
  EXPECT_EQ(CountOf(ExampleDocument(16), "<item"), 0u);
}

TEST(ExampleCatalogueTest, DichotomyKeepsItsUnbalancedLoopLine) {
  const std::string& document = ExampleDocument(9);
  EXPECT_EQ(CountOf(document, "TANT_QUE (b-a)>precision) FAIRE"), 1u);
  EXPECT_EQ(CountOf(document, "TANT_QUE (b-a>precision) FAIRE"), 0u);
  // The other documents derive every readable line from its code value.
  for (int i = 0; i < kExampleCount; ++i) {
    if (i == 9) continue;
    for (const Token& token : ReadItems(ExampleDocument(i))) {
      if (!token.closing) {
        EXPECT_EQ(token.readable, ReadableLine(token.code)) << "index " << i;
      }
    }
  }
}

TEST(ExampleCatalogueTest, SharedAndDistinctDocuments) {
  EXPECT_EQ(ExampleDocument(11), ExampleDocument(10));
  EXPECT_NE(ExampleDocument(0), ExampleDocument(9));
  // Built once: the same object on every call.
  EXPECT_EQ(&ExampleDocument(3), &ExampleDocument(3));
}

TEST(ExampleCatalogueTest, HeaderElements) {
  for (int i = 0; i < kExampleCount; ++i) {
    const std::string& document = ExampleDocument(i);
    const bool withoutDescription = i >= 9 && i <= 11;
    EXPECT_EQ(CountOf(document, "<description "), withoutDescription ? 0u : 1u) << "index " << i;
    EXPECT_EQ(CountOf(document, "<fonction "), 1u) << "index " << i;
    EXPECT_EQ(CountOf(document, "<repere "), 1u) << "index " << i;
    EXPECT_EQ(CountOf(document, "<F2 "), i >= 13 ? 1u : 0u) << "index " << i;
  }
  EXPECT_EQ(CountOf(ExampleDocument(13), R"(F2etat="actif")"), 1u);
  EXPECT_EQ(CountOf(ExampleDocument(15), R"(F2etat="actif")"), 1u);
  EXPECT_EQ(CountOf(ExampleDocument(14), R"(F2etat="inactif")"), 1u);
  EXPECT_EQ(CountOf(ExampleDocument(16), R"(F2etat="inactif")"), 1u);
  EXPECT_NE(ExampleDocument(14).find(R"(<fonction fctetat="inactif" fctcode=""/>)"),
            std::string::npos);
  EXPECT_NE(ExampleDocument(13).find(R"(F2lignes="p==0@q#q==0@p#q&lt;=p@F2(p-q,q)#")"),
            std::string::npos);
}

TEST(ExampleCatalogueTest, TextIsWindows1252) {
  EXPECT_NE(ExampleDocument(4).find("approch\xE9"
                                    "e d'une int\xE9grale"),
            std::string::npos);
  EXPECT_NE(ExampleDocument(15).find(Cp("s est l'écart-type.#1")), std::string::npos);
  EXPECT_NE(ExampleDocument(12).find(Cp("Problème du duc de toscane")), std::string::npos);
  for (int i = 0; i < kExampleCount; ++i) {
    // No UTF-8 sequence for an accented letter is left in any document.
    EXPECT_EQ(ExampleDocument(i).find('\xC3'), std::string::npos) << "index " << i;
  }
}

}  // namespace
}  // namespace tortuval::examples
