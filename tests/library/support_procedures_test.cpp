#include "library/support_procedures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tests/test_support.h"

namespace tortuval::library {
namespace {

using testing::Cp;
using testing::LineDiff;
using testing::ReadDataTextCrlf;

/// The set with exactly the given positions (from 1).
SupportProcedureSet Flags(std::initializer_list<int> positions) {
  SupportProcedureSet flags;
  for (int position : positions) flags.set(static_cast<std::size_t>(position - 1));
  return flags;
}

/// What the converter writes for a set: each needed procedure, then one more CR LF.
std::string EmitNeeded(const SupportProcedureSet& flags, std::string_view indentation,
                       std::string text) {
  for (int position = 1; position <= kSupportProcedureCount; ++position) {
    if (!flags.test(static_cast<std::size_t>(position - 1))) continue;
    AppendSupportProcedure(position, indentation, text);
    text += "\r\n";
  }
  return text;
}

/// The lines of a text cut at CR LF; the empty piece after the final CR LF is dropped.
std::vector<std::string> CrlfLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string Emit(int position, std::string_view indentation = "") {
  std::string text;
  AppendSupportProcedure(position, indentation, text);
  return text;
}

// ---------------------------------------------------------------------------------------------
// Detection

struct DetectionCase {
  const char* why;
  std::string_view text;
  SupportProcedureSet expected;
};

class DetectionTest : public ::testing::TestWithParam<DetectionCase> {};

TEST_P(DetectionTest, SetsExactlyTheExpectedPositions) {
  const DetectionCase& c = GetParam();
  EXPECT_EQ(DetectSupportProcedures(c.text), c.expected) << c.why << "\n  text: " << c.text;
}

const DetectionCase kDetectionCases[] = {
    {"empty document", "", Flags({})},
    {"no word at all", "<item code=\"5#x#x+1#pasliste\"/>", Flags({})},
    {"factorial gives fact and the procedure of its name", "5#f#PSEUDAL_FACTORIELLE(n)#pasliste",
     Flags({1, 24})},
    {"binomial coefficient brings fact", "PSEUDAL_COEFF_BINOMIAL(5,2)", Flags({1, 2})},
    {"binomial law brings fact", "PSEUDAL_LOI_BINOMIALE(10,0.5,3)", Flags({1, 3})},
    {"both binomials", "PSEUDAL_LOI_BINOMIALE(a) PSEUDAL_COEFF_BINOMIAL(b)", Flags({1, 2, 3})},
    {"centred normal law contains the general one", "PSEUDAL_LOI_NORMALE_CR(x)", Flags({4, 5})},
    {"general normal law alone", "PSEUDAL_LOI_NORMALE(0,1,x)", Flags({5})},
    {"inverse law gives both inverse procedures, not 5", "PSEUDAL_INVERSE_LOI_NORMALE(0,1,p)",
     Flags({6, 7})},
    {"centred inverse law, still not 4 nor 5", "PSEUDAL_INVERSE_LOI_NORMALE_CR(p)", Flags({6, 7})},
    {"sum", "PSEUDAL_SOMME(l,1,n)", Flags({8})},
    {"mean", "PSEUDAL_MOYENNE(l,1,n)", Flags({9})},
    {"variance", "PSEUDAL_VARIANCE(l,1,n)", Flags({10})},
    {"standard deviation", "PSEUDAL_ECART_TYPE(l,1,n)", Flags({11})},
    {"median", "PSEUDAL_MEDIANE(l,1,n)", Flags({12})},
    {"first quartile", "PSEUDAL_QUARTILE1(l,1,n)", Flags({13})},
    {"third quartile", "PSEUDAL_QUARTILE3(l,1,n)", Flags({14})},
    {"second first quartile contains the first", "PSEUDAL_QUARTILE1_BIS(l,1,n)", Flags({13, 15})},
    {"second third quartile contains the third", "PSEUDAL_QUARTILE3_BIS(l,1,n)", Flags({14, 16})},
    {"minimum", "PSEUDAL_MINIMUM(l,1,n)", Flags({17})},
    {"maximum", "PSEUDAL_MAXIMUM(l,1,n)", Flags({18})},
    {"position of the minimum brings the minimum", "PSEUDAL_POS_MINIMUM(l,1,n)", Flags({17, 19})},
    {"position of the maximum brings the maximum", "PSEUDAL_POS_MAXIMUM(l,1,n)", Flags({18, 20})},
    {"both positions", "PSEUDAL_POS_MAXIMUM(l,1,n)+PSEUDAL_POS_MINIMUM(l,1,n)",
     Flags({17, 18, 19, 20})},
    {"substring method", "5#b#a.substr(1,2)#pasliste", Flags({21})},
    {"substring method with a blank before the parenthesis", "a.substr (1,2)", Flags({})},
    {"substring method in capitals", "a.SUBSTR(1,2)", Flags({})},
    {"a word in lower case", "pseudal_somme(l,1,n) pseudal_pos_minimum(l,1,n)", Flags({})},
    {"a word in mixed case", "Pseudal_Factorielle(3)", Flags({})},
    {"a word cut by a blank", "PSEUDAL_ SOMME(l,1,n)", Flags({})},
    {"a word at the very start and another at the very end", "PSEUDAL_SOMME x PSEUDAL_MEDIANE",
     Flags({8, 12})},
    {"a word used many times", "PSEUDAL_VARIANCE PSEUDAL_VARIANCE PSEUDAL_VARIANCE", Flags({10})},
    {"larger of two", "5#r#max(a,b)#pasliste", Flags({22})},
    {"smaller of two, inside another call", "5#r#Math.min(a,b)#pasliste", Flags({23})},
    {"larger and smaller written apart from their parenthesis or in capitals",
     "max (a,b) MIN(a,b) PSEUDAL_MAXIMUM(l,1,n)", Flags({18})},
    {"character code", "5#c#m.charCodeAt(0)#pasliste", Flags({27})},
    {"character code in other letter case", "m.charcodeat(0)", Flags({})},
    {"a text read into a CHAINE", "code=\"1#CHAINE#m\" code=\"2#m#pasliste\"", Flags({25})},
    {"a text read into a MOT, without a position field", "code=\"1#MOT#m\" code=\"2#m\"",
     Flags({25})},
    {"a text read with an empty position", "code=\"2#m#\" code=\"1#CHAINE#m\"", Flags({25})},
    {"the declaration first in the text, its marker already taken",
     "1#CHAINE#m\"/> code=\"2#m#pasliste\"", Flags({25})},
    {"a number read", "code=\"1#NOMBRE#x\" code=\"2#x#pasliste\"", Flags({})},
    {"a text read at a position", "code=\"1#CHAINE#m\" code=\"2#m#3\"", Flags({})},
    {"a read of another name", "code=\"1#CHAINE#m\" code=\"2#mot#pasliste\"", Flags({})},
    {"an undeclared variable read", "code=\"2#m#pasliste\"", Flags({})},
    {"a list read whole", "code=\"1#LISTE#L\" code=\"2#L#pasliste\"", Flags({})},
    {"a list read at a position", "code=\"1#LISTE#L\" code=\"2#L#i+1\"", Flags({26})},
    {"a list read at a number", "code=\"1#LISTE#L\" code=\"2#L#1\"", Flags({26})},
    {"a number read at a position", "code=\"1#NOMBRE#L\" code=\"2#L#1\"", Flags({})},
    {"a variable of another type is a list", "code=\"1#ENTIER#k\" code=\"2#k#2\"", Flags({26})},
    {"instruction numbers ending in 1 and 2 are not declarations and reads",
     "code=\"21#CHAINE#m\" code=\"12#m#pasliste\" code=\"1#CHAINE#m\"", Flags({})},
    {"every word at once",
     "PSEUDAL_FACTORIELLE PSEUDAL_COEFF_BINOMIAL PSEUDAL_LOI_BINOMIALE PSEUDAL_LOI_NORMALE_CR "
     "PSEUDAL_INVERSE_LOI_NORMALE PSEUDAL_SOMME PSEUDAL_MOYENNE PSEUDAL_VARIANCE "
     "PSEUDAL_ECART_TYPE PSEUDAL_MEDIANE PSEUDAL_QUARTILE1_BIS PSEUDAL_QUARTILE3_BIS "
     "PSEUDAL_POS_MINIMUM PSEUDAL_POS_MAXIMUM s.substr( max( min( s.charCodeAt( "
     "code=\"1#CHAINE#m\" code=\"1#LISTE#L\" code=\"2#m\" code=\"2#L#0\"",
     SupportProcedureSet().set()},
};

INSTANTIATE_TEST_SUITE_P(Words, DetectionTest, ::testing::ValuesIn(kDetectionCases));

TEST(DetectionLargeText, FindsWordsAtTheEndOfAMegabyteOfNearMisses) {
  // Many partial matches of the words, then the real ones only at the very end.
  std::string text;
  while (text.size() < (1u << 20)) text += "PSEUDAL_POS_MINIMU .substr PSEUDAL_QUARTILE ";
  EXPECT_EQ(DetectSupportProcedures(text), Flags({}));
  text += "PSEUDAL_QUARTILE3_BIS.substr(";
  EXPECT_EQ(DetectSupportProcedures(text), Flags({14, 16, 21}));
}

// ---------------------------------------------------------------------------------------------
// Emission

TEST(Emission, PosMinimumDocumentGetsMinimumThenPositionOfMinimum) {
  // The use in a selection sort: the word stands in the readable line and in the code field.
  const std::string document =
      "<item algoitem=\"min PREND_LA_VALEUR PSEUDAL_POS_MINIMUM(listenombre,i+1,ntermes)\" "
      "code=\"5#min#PSEUDAL_POS_MINIMUM(listenombre,i+1,ntermes)#pasliste\"/>\r\n"
      "<item algoitem=\"SI (listenombre[i]&gt;listenombre[min]) ALORS\" "
      "code=\"6#listenombre[i]&gt;listenombre[min]\"/>\r\n";
  const SupportProcedureSet flags = DetectSupportProcedures(document);
  ASSERT_EQ(flags, Flags({17, 19}));

  const std::string before = "// VARIABLES\r\nmin EST_DU_TYPE NOMBRE\r\n\r\n";
  const std::string logoText = EmitNeeded(flags, "", before);
  const std::string expected = before + ReadDataTextCrlf("procedures/pos_minimum_section.txt");
  EXPECT_EQ(logoText, expected) << LineDiff(expected, logoText);

  // Seventeen lines, two empty lines, twenty-three lines, two empty lines.
  const std::vector<std::string> lines = CrlfLines(logoText.substr(before.size()));
  ASSERT_EQ(lines.size(), 17u + 2u + 23u + 2u);
  EXPECT_EQ(lines[0], "pour PSEUDAL_MINIMUM :liste :p :n");
  EXPECT_EQ(lines[16], "fin");
  EXPECT_EQ(lines[17], "");
  EXPECT_EQ(lines[18], "");
  EXPECT_EQ(lines[19], "pour PSEUDAL_POS_MINIMUM :liste :p :n");
  EXPECT_EQ(lines[41], "fin");
  EXPECT_EQ(lines[42], "");
  EXPECT_EQ(lines[43], "");
}

TEST(Emission, ProceduresFromSubstrOnAreFollowedByASingleEmptyLine) {
  const std::string logoText = EmitNeeded(Flags({1, 21, 22, 27}), "", "");
  EXPECT_TRUE(logoText.starts_with("pour fact :n\r\n"));
  EXPECT_NE(logoText.find("\r\nfin\r\n\r\n\r\npour substr :a :rang :quant"), std::string::npos);
  EXPECT_NE(logoText.find("\r\nfin\r\n\r\npour PSEUDAL_MAX :a :b\r\n"), std::string::npos);
  EXPECT_NE(logoText.find("\r\nfin\r\n\r\npour PSEUDAL_CODE_CARACTERE "), std::string::npos);
  EXPECT_TRUE(logoText.ends_with("\r\nfin\r\n\r\n"));
  EXPECT_FALSE(logoText.ends_with("\r\n\r\n\r\n"));
}

TEST(Emission, AppendsAfterExistingText) {
  std::string logoText = "// VARIABLES\r\n";
  AppendSupportProcedure(24, "  ", logoText);
  EXPECT_EQ(logoText,
            "// VARIABLES\r\n"
            "  pour PSEUDAL_FACTORIELLE :n\r\n"
            "  rends fact :n\r\n"
            "  fin\r\n");
}

TEST(Emission, RejectsPositionsOutsideTheTable) {
  std::string logoText = "kept";
  EXPECT_THROW(AppendSupportProcedure(0, "", logoText), std::out_of_range);
  EXPECT_THROW(AppendSupportProcedure(kSupportProcedureCount + 1, "", logoText), std::out_of_range);
  EXPECT_EQ(logoText, "kept");
}

struct ExactTextCase {
  int position;
  std::string_view indentation;
  const char* file;
};

class ExactTextTest : public ::testing::TestWithParam<ExactTextCase> {};

TEST_P(ExactTextTest, MatchesTheReferenceText) {
  const ExactTextCase& c = GetParam();
  const std::string expected = ReadDataTextCrlf(std::string("procedures/") + c.file);
  const std::string actual = Emit(c.position, c.indentation);
  EXPECT_EQ(actual, expected) << c.file << "\n" << LineDiff(expected, actual);
}

INSTANTIATE_TEST_SUITE_P(Procedures, ExactTextTest,
                         ::testing::Values(ExactTextCase{3, "", "procedure_03.txt"},
                                           ExactTextCase{6, "", "procedure_06.txt"},
                                           ExactTextCase{7, "", "procedure_07.txt"},
                                           ExactTextCase{15, "", "procedure_15.txt"},
                                           ExactTextCase{19, "", "procedure_19.txt"},
                                           ExactTextCase{21, "", "procedure_21.txt"},
                                           ExactTextCase{22, "", "procedure_22.txt"},
                                           ExactTextCase{24, "", "procedure_24.txt"},
                                           ExactTextCase{26, "", "procedure_26.txt"},
                                           ExactTextCase{13, "   ", "procedure_13_indented.txt"},
                                           ExactTextCase{19, "   ", "procedure_19_indented.txt"}));

TEST(Emission, AccentsAreWindows1252) {
  EXPECT_NE(Emit(5).find(Cp("pour PSEUDAL_LOI_NORMALE :esp :écart :x\r\n")), std::string::npos);
  EXPECT_NE(Emit(11).find(Cp("rends écart-type :tranche\r\n")), std::string::npos);
  EXPECT_NE(Emit(27).find(Cp("caractère :code")), std::string::npos);
}

// Every procedure: its first line, its number of lines, "fin" last, and every line behind the
// indentation.
struct ShapeRow {
  int position;
  const char* header;
  int lineCount;
};

constexpr ShapeRow kShapes[] = {
    {1, "pour fact :n", 6},
    {2, "pour PSEUDAL_COEFF_BINOMIAL :n :p", 10},
    {3, "pour PSEUDAL_LOI_BINOMIALE :n :p :k", 24},
    {4, "pour PSEUDAL_LOI_NORMALE_CR :x", 3},
    {5,
     "pour PSEUDAL_LOI_NORMALE :esp :\xE9"
     "cart :x",
     33},
    {6, "pour PSEUDAL_INVERSE_LOI_NORMALE :esp :ecart :p", 5},
    {7, "pour PSEUDAL_INVERSE_LOI_NORMALE_CR :p", 45},
    {8, "pour PSEUDAL_SOMME :liste :p :n", 17},
    {9, "pour PSEUDAL_MOYENNE :liste :p :n", 17},
    {10, "pour PSEUDAL_VARIANCE :liste :p :n", 17},
    {11, "pour PSEUDAL_ECART_TYPE :liste :p :n", 17},
    {12, "pour PSEUDAL_MEDIANE :liste :p :n", 21},
    {13, "pour PSEUDAL_QUARTILE1 :liste :p :n", 18},
    {14, "pour PSEUDAL_QUARTILE3 :liste :p :n", 18},
    {15, "pour PSEUDAL_QUARTILE1_BIS :liste :p :n", 22},
    {16, "pour PSEUDAL_QUARTILE3_BIS :liste :p :n", 24},
    {17, "pour PSEUDAL_MINIMUM :liste :p :n", 17},
    {18, "pour PSEUDAL_MAXIMUM :liste :p :n", 17},
    {19, "pour PSEUDAL_POS_MINIMUM :liste :p :n", 23},
    {20, "pour PSEUDAL_POS_MAXIMUM :liste :p :n", 23},
    {21, "pour substr :a :rang :quantit\xE9", 5},
    {22, "pour PSEUDAL_MAX :a :b", 5},
    {23, "pour PSEUDAL_MIN :a :b", 5},
    {24, "pour PSEUDAL_FACTORIELLE :n", 3},
    {25, "pour PSEUDAL_LIRE_MOT", 10},
    {26, "pour PSEUDAL_LIRE_LISTE :liste :rang", 40},
    {27, "pour PSEUDAL_CODE_CARACTERE :texte :rang", 8},
};

TEST(Emission, EveryProcedureHasItsShape) {
  static_assert(std::size(kShapes) == kSupportProcedureCount);
  const std::string indentation = "\t\t";  // a tab never appears in the texts themselves
  for (const ShapeRow& row : kShapes) {
    SCOPED_TRACE(row.header);
    const std::string plain = Emit(row.position);
    const std::string indented = Emit(row.position, indentation);
    const bool ownEmptyLine = row.position <= 20;

    EXPECT_TRUE(plain.starts_with(std::string(row.header) + "\r\n"));
    EXPECT_TRUE(plain.ends_with(ownEmptyLine ? "\r\nfin\r\n\r\n" : "\r\nfin\r\n"));
    // No bare line feed, no UTF-8 left over ("é" would start with 0xC3), no tab of its own.
    for (std::size_t i = 0; i < plain.size(); ++i) {
      if (plain[i] == '\n') {
        EXPECT_EQ(plain[i - 1], '\r') << "at byte " << i;
      }
    }
    EXPECT_EQ(plain.find('\xC3'), std::string::npos);
    EXPECT_EQ(plain.find('\t'), std::string::npos);

    const std::vector<std::string> plainLines = CrlfLines(plain);
    const std::vector<std::string> indentedLines = CrlfLines(indented);
    ASSERT_EQ(plainLines.size(), static_cast<std::size_t>(row.lineCount + (ownEmptyLine ? 1 : 0)));
    ASSERT_EQ(indentedLines.size(), plainLines.size());
    for (std::size_t i = 0; i < plainLines.size(); ++i) {
      if (i == static_cast<std::size_t>(row.lineCount)) {
        EXPECT_EQ(indentedLines[i], "") << "the empty line takes no indentation";
      } else {
        EXPECT_EQ(indentedLines[i], indentation + plainLines[i]) << "line " << i + 1;
      }
    }
  }
}

// The table's columns agree with its texts: each LOGO name is the one its text defines, once in
// the table, and what a row brings along is a row too.
TEST(SupportTable, EachRowNamesTheProcedureItsTextDefines) {
  std::vector<std::string_view> names;
  for (const SupportProcedure& procedure : SupportProcedureTable()) {
    SCOPED_TRACE(procedure.logoName);
    const std::string header = "pour " + std::string(procedure.logoName);
    EXPECT_TRUE(procedure.text.starts_with(header + " ") ||
                procedure.text.starts_with(header + "\n"));
    EXPECT_EQ(std::count(names.begin(), names.end(), procedure.logoName), 0);
    names.push_back(procedure.logoName);
    EXPECT_EQ(FindSupportProcedure(procedure.logoName), &procedure);
    if (!procedure.bringsAlong.empty()) {
      EXPECT_NE(FindSupportProcedure(procedure.bringsAlong), nullptr);
    }
  }
}

}  // namespace
}  // namespace tortuval::library
