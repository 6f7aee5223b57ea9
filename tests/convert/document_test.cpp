#include "convert/document.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tortuval::convert {
namespace {

std::string Renumbered(std::string text) {
  Renumber(text);
  return text;
}

TEST(Renumber, RewritesTheEditorsNumbersInOrder) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {R"(code="20#n#0")", R"(code="3#n#0")"},  // becomes 3 before 51 becomes 20
      {R"(code="51#a#b#c#d#Rouge")", R"(code="20#a#b#c#d#Rouge")"},
      {R"(code="50#x#y")", R"(code="33#x#y")"},
      {R"(code="52#z")", R"(code="21#z")"},
      {R"(CODE="100#d")", R"(code="22#d")"},
      {R"(code="101#d" code="102#f")", R"(code="23#d" code="24#f")"},
      {R"(code="200#a" code="201#f#x" code="202#a" code="203#a" code="204#a" code="205#x")",
       R"(code="25#a" code="26#f#x" code="27#a" code="28#a" code="29#a" code="30#x")"},
      {R"(<repere repcode="2#19#0#15#1#1" />)", R"(<repere rep****="2#19#0#15#1#1" />)"},
      {R"(<fonction fctcode="x" fctetat="actif" />)",
       R"(<code="31# fctcode="x" fctetat="actif" />)"},
      {R"(<fonction fctetat="actif" fctcode="x" />)",
       R"(<code="31# fctetat="actif" fctcode="x" />)"},
      {R"(<F2 F2para="p" F2defaut="" />)", R"(<code="32# F2para="p" F2defaut="" />)"},
      {"a & quot;b & QUOT;", "a 'b '"},
      {R"(code="1#NOMBRE#x")", R"(code="1#NOMBRE#x")"},
  };
  for (const auto& [source, expected] : rows) EXPECT_EQ(Renumbered(source), expected) << source;
}

// The numbers and items a cursor finds, in order.
std::vector<std::pair<int, std::string>> Walk(std::string document) {
  Renumber(document);
  InstructionCursor cursor(document);
  std::vector<std::pair<int, std::string>> items;
  for (cursor.FindNextInstruction(); !cursor.Done(); cursor.FindNextInstruction()) {
    const int number = library::NumberOf(cursor.Number());
    items.emplace_back(number, std::string(cursor.CutItem()));
  }
  return items;
}

using Items = std::vector<std::pair<int, std::string>>;

TEST(InstructionCursor, CutsItemsUpToTheirClosingQuotationMark) {
  EXPECT_EQ(Walk(R"(<item algoitem="POUR i" code="12#i#1#10" /><item code="13#debutpour"/>)"),
            (Items{{12, "12#i#1#10\""}, {13, "13#debutpour\""}}));
}

TEST(InstructionCursor, SkipsUnknownNumbersAndMaskedFrames) {
  EXPECT_EQ(Walk(R"(<repere repcode="2#19#0#15#1#1" /><item code="103#x" /><item code="0#y" />)"
                 R"(<item code="01#z" /><item code="35#w" /><item code="1#NOMBRE#x" />)"),
            (Items{{1, "1#NOMBRE#x\""}}));
  EXPECT_EQ(Walk("no instruction at all"), Items{});
  EXPECT_EQ(Walk(R"(code="1 code="1NOMBRE" code="10#finsinon")"), (Items{{10, "10#finsinon\""}}));
}

TEST(InstructionCursor, ReadsFunctionElementsWholeAlthoughFctcodeLooksLikeAMarker) {
  EXPECT_EQ(Walk(R"(<fonction fctcode="x*x" fctetat="actif" /><item code="100#d" >)"),
            (Items{{31, R"(31# fctcode="x*x" fctetat="actif")"}, {22, "22#d\""}}));
  EXPECT_EQ(Walk(R"(<F2 F2defaut="" F2lignes="p@q#" F2etat="actif" F2para="p,q"/>)"),
            (Items{{32, R"(32# F2defaut="" F2lignes="p@q#" F2etat="actif" F2para="p,q")"}}));
}

TEST(InstructionCursor, HandlesCutShortItems) {
  // No closing quotation mark: an empty item, and the search goes on behind the number.
  EXPECT_EQ(Walk(R"(code="5#x#1)"), (Items{{5, ""}}));
  // An element without "/>" loses one character and yields an empty item.
  EXPECT_EQ(Walk(R"(code="33#1#2")"), (Items{{33, ""}}));
  // An element with no quotation mark before its "/>".
  EXPECT_EQ(Walk(R"(code="30#x/><item code="18#pause" />)"), (Items{{30, ""}, {18, "18#pause\""}}));
}

TEST(InstructionCursor, FindsInstructionsFarApart) {
  // A long description between two instructions must not hide the second one.
  const std::string document = R"(<item code="18#pause" /><description texte=")" +
                               std::string(100000, 'a') + R"(" /><item code="19#fin" />)";
  EXPECT_EQ(Walk(document), (Items{{18, "18#pause\""}, {19, "19#fin\""}}));
}

TEST(ItemFields, CutsAtHashesAndStopsAtTheClosingQuotationMark) {
  ItemFields fields("3#listeatrier#0#i\"");
  EXPECT_EQ(fields.Next(), "listeatrier");
  EXPECT_EQ(fields.Next(), "0");
  EXPECT_EQ(fields.Last(), "i");

  ItemFields lastHoldsHashes("12#i#1#a#b\"");
  EXPECT_EQ(lastHoldsHashes.Next(), "i");
  EXPECT_EQ(lastHoldsHashes.Next(), "1");
  EXPECT_EQ(lastHoldsHashes.Last(), "a#b");
}

TEST(ItemFields, WithNoHashLeftGivesTheRestThenEmptyFields) {
  ItemFields fields("3#n+i#0\"");
  EXPECT_EQ(fields.Next(), "n+i");
  EXPECT_EQ(fields.Next(), "0");
  EXPECT_EQ(fields.Next(), "");
  EXPECT_EQ(fields.Last(), "");

  ItemFields empty("");
  EXPECT_EQ(empty.Next(), "");
  EXPECT_EQ(empty.Last(), "");
}

}  // namespace
}  // namespace tortuval::convert
