#include "library/support_procedures.h"

#include <gtest/gtest.h>

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
    {"factorial gives fact alone", "5#f#PSEUDAL_FACTORIELLE(n)#pasliste", Flags({1})},
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
    {"every word at once",
     "PSEUDAL_FACTORIELLE PSEUDAL_COEFF_BINOMIAL PSEUDAL_LOI_BINOMIALE PSEUDAL_LOI_NORMALE_CR "
     "PSEUDAL_INVERSE_LOI_NORMALE PSEUDAL_SOMME PSEUDAL_MOYENNE PSEUDAL_VARIANCE "
     "PSEUDAL_ECART_TYPE PSEUDAL_MEDIANE PSEUDAL_QUARTILE1_BIS PSEUDAL_QUARTILE3_BIS "
     "PSEUDAL_POS_MINIMUM PSEUDAL_POS_MAXIMUM s.substr(",
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

  // Six lines, two empty lines, thirteen lines, two empty lines.
  const std::vector<std::string> lines = CrlfLines(logoText.substr(before.size()));
  ASSERT_EQ(lines.size(), 6u + 2u + 13u + 2u);
  EXPECT_EQ(lines[0], "pour PSEUDAL_MINIMUM :liste :p :n");
  EXPECT_EQ(lines[5], "fin");
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(lines[8], "pour PSEUDAL_POS_MINIMUM :liste :p :n");
  EXPECT_EQ(lines[20], "fin");
  EXPECT_EQ(lines[21], "");
  EXPECT_EQ(lines[22], "");
}

TEST(Emission, SubstrIsLastAndFollowedByASingleEmptyLine) {
  const std::string logoText = EmitNeeded(Flags({1, 21}), "", "");
  EXPECT_EQ(logoText.rfind(Cp("pour substr :a :rang :quantité\r\n")),
            logoText.size() - Emit(21).size() - 2);
  EXPECT_TRUE(logoText.ends_with("\r\nfin\r\n\r\n"));
  EXPECT_FALSE(logoText.ends_with("\r\n\r\n\r\n"));
  EXPECT_TRUE(logoText.starts_with("pour fact :n\r\n"));
}

TEST(Emission, AppendsAfterExistingText) {
  std::string logoText = "// VARIABLES\r\n";
  AppendSupportProcedure(1, "", logoText);
  EXPECT_EQ(logoText,
            "// VARIABLES\r\n"
            "pour fact :n\r\n"
            "soit  \"liste listevars 1 :n :n\r\n"
            "rends produit :liste\r\n"
            "fin\r\n"
            "\r\n");
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
                                           ExactTextCase{15, "", "procedure_15.txt"},
                                           ExactTextCase{19, "", "procedure_19.txt"},
                                           ExactTextCase{21, "", "procedure_21.txt"},
                                           ExactTextCase{13, "   ", "procedure_13_indented.txt"},
                                           ExactTextCase{19, "   ", "procedure_19_indented.txt"}));

TEST(Emission, AccentsAreWindows1252AndSpellingsDifferWhereTheyShould) {
  const std::string normal = Emit(5);
  EXPECT_NE(normal.find(Cp("pour PSEUDAL_LOI_NORMALE :esp :écart :x\r\n")), std::string::npos);
  EXPECT_NE(normal.find("\xE9"), std::string::npos);

  // The inverse law names its parameter without the accent and uses it with the accent.
  const std::vector<std::string> inverse = CrlfLines(Emit(6));
  EXPECT_EQ(inverse[0], "pour PSEUDAL_INVERSE_LOI_NORMALE :esp :ecart :p");
  EXPECT_NE(inverse[3].find(Cp(":écart")), std::string::npos);

  EXPECT_NE(Emit(11).find(Cp("rends écart-type :l\r\n")), std::string::npos);
  // One blank after "trieitems" in the minimum, two in the maximum next to it.
  EXPECT_NE(Emit(17).find("trieitems :liste"), std::string::npos);
  EXPECT_NE(Emit(18).find("trieitems  :liste"), std::string::npos);
  EXPECT_NE(Emit(12).find("SOIT \"liste trieitems  :liste"), std::string::npos);
  EXPECT_NE(Emit(1).find("soit  \"liste"), std::string::npos);
}

// Every procedure: its header names it, it ends with "fin", and the lines kept without the
// indentation are exactly the continuation lines of the list-walking loops.
struct ShapeRow {
  int position;
  const char* name;
  int lineCount;
  int unindentedLine;  // 1-based line written without the indentation, or 0
};

constexpr ShapeRow kShapes[] = {
    {1, "fact", 4, 0},
    {2, "PSEUDAL_COEFF_BINOMIAL", 3, 0},
    {3, "PSEUDAL_LOI_BINOMIALE", 4, 0},
    {4, "PSEUDAL_LOI_NORMALE_CR", 3, 0},
    {5, "PSEUDAL_LOI_NORMALE", 7, 0},
    {6, "PSEUDAL_INVERSE_LOI_NORMALE", 6, 0},
    {7, "PSEUDAL_INVERSE_LOI_NORMALE_CR", 6, 0},
    {8, "PSEUDAL_SOMME", 5, 0},
    {9, "PSEUDAL_MOYENNE", 5, 0},
    {10, "PSEUDAL_VARIANCE", 5, 0},
    {11, "PSEUDAL_ECART_TYPE", 5, 0},
    {12, "PSEUDAL_MEDIANE", 7, 0},
    {13, "PSEUDAL_QUARTILE1", 8, 6},
    {14, "PSEUDAL_QUARTILE3", 8, 6},
    {15, "PSEUDAL_QUARTILE1_BIS", 14, 8},
    {16, "PSEUDAL_QUARTILE3_BIS", 14, 8},
    {17, "PSEUDAL_MINIMUM", 6, 0},
    {18, "PSEUDAL_MAXIMUM", 6, 0},
    {19, "PSEUDAL_POS_MINIMUM", 13, 8},
    {20, "PSEUDAL_POS_MAXIMUM", 13, 8},
    {21, "substr", 5, 0},
};

TEST(Emission, EveryProcedureHasItsShape) {
  static_assert(std::size(kShapes) == kSupportProcedureCount);
  const std::string indentation = "\t\t";  // a tab never appears in the texts themselves
  for (const ShapeRow& row : kShapes) {
    SCOPED_TRACE(row.name);
    const std::string plain = Emit(row.position);
    const std::string indented = Emit(row.position, indentation);
    const bool last = row.position == kSupportProcedureCount;

    EXPECT_TRUE(plain.starts_with(std::string("pour ") + row.name + (last ? " :a" : " :")));
    EXPECT_TRUE(plain.ends_with(last ? "\r\nfin\r\n" : "\r\nfin\r\n\r\n"));
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
    ASSERT_EQ(plainLines.size(), static_cast<std::size_t>(row.lineCount + (last ? 0 : 1)));
    ASSERT_EQ(indentedLines.size(), plainLines.size());
    for (std::size_t i = 0; i < plainLines.size(); ++i) {
      const bool emptyLine = i == static_cast<std::size_t>(row.lineCount);
      const bool unindented = static_cast<int>(i) + 1 == row.unindentedLine;
      EXPECT_FALSE(plainLines[i].starts_with("|")) << "line " << i + 1;
      if (emptyLine) {
        EXPECT_EQ(indentedLines[i], "") << "the empty line takes no indentation";
      } else if (unindented) {
        EXPECT_EQ(indentedLines[i], plainLines[i]) << "line " << i + 1;
      } else {
        EXPECT_EQ(indentedLines[i], indentation + plainLines[i]) << "line " << i + 1;
      }
    }
  }
}

}  // namespace
}  // namespace tortuval::library
