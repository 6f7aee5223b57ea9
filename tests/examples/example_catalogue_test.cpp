// The example documents as a reader of the .alg files checks them: one line each, the item forms
// and header elements they are known by, blocks nested as their code values say. The conversion
// of each is checked, pane by pane, in example_conversion_test.cpp.

#include "examples/example_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp1252.h"
#include "tests/test_support.h"

namespace tortuval::examples {
namespace {

using tortuval::testing::CountOf;
using tortuval::testing::Cp;

// An item element or a closing `</item>` as read back from a document: attributes are read as
// name="value" pairs, so a ">" inside a value does not end the element.
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

constexpr std::string_view kDeclarationAndRoot = R"(<?xml version="1.0" encoding="UTF-8"?><Algo>)";

// Each caption names its own document: the caption, its accents, periods and blanks folded,
// is the name of the .alg file the document was compiled from ("NN-name.alg").
TEST(ExampleCatalogueTest, CaptionsNameTheirDocumentsInRadioGroupOrder) {
  const auto folded = [](std::string_view caption) {
    std::string name = base::Cp1252ToUtf8(caption);
    for (const auto& [accented, plain] : {std::pair{"é", "e"}, {"è", "e"}}) {
      for (std::size_t at = name.find(accented); at != std::string::npos; at = name.find(accented))
        name.replace(at, std::string_view(accented).size(), plain);
    }
    std::erase(name, '.');
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
  };
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(TORTUVAL_EXAMPLES_DIR)) {
    if (entry.path().extension() == ".alg") files.push_back(entry.path().stem().string());
  }
  std::sort(files.begin(), files.end());
  ASSERT_EQ(files.size(), static_cast<std::size_t>(kExampleCount));
  for (int i = 0; i < kExampleCount; ++i) {
    const std::string& file = files[static_cast<std::size_t>(i)];
    EXPECT_EQ(folded(ExampleCaption(i)), file.substr(file.find('-') + 1)) << "index " << i;
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

TEST(ExampleCatalogueTest, SharedAndDistinctDocuments) {
  EXPECT_EQ(ExampleDocument(11), ExampleDocument(10));
  EXPECT_NE(ExampleDocument(0), ExampleDocument(9));
  // Copied once: the same object on every call.
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
