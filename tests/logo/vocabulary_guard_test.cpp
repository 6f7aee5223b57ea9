// The vocabulary against what the converter writes: every example, generated documents and a
// document that uses each row of the expression translator and every support procedure are
// converted and checked; no word of theirs may be missing from the vocabulary.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/conversion.h"
#include "convert/conversion_state.h"
#include "examples/example_catalogue.h"
#include "library/support_procedures.h"
#include "logo/checker.h"
#include "logo/reader.h"
#include "logo/vocabulary.h"
#include "testing/document_generator.h"
#include "tests/test_support.h"

namespace tortuval::logo {
namespace {

using testing::Utf8;

// A word that is neither a primitive nor a procedure, with no known leftover to explain it,
// is a word the converter writes and the vocabulary lacks.
constexpr std::string_view kGenericUnknown = "n'est ni une primitive ni une proc";

std::vector<std::string> Unexplained(const std::string& program, bool allowUnknownLeftovers) {
  std::vector<std::string> found;
  for (const Finding& finding : CheckProgram(program)) {
    const bool leftover = finding.kind == FindingKind::kForYourLogo ||
                          (finding.kind == FindingKind::kUnknownWord &&
                           finding.message.find(kGenericUnknown) == std::string::npos);
    if (finding.kind == FindingKind::kFixByHand || (allowUnknownLeftovers && leftover)) continue;
    found.push_back(Utf8(DescribeFinding(finding)));
  }
  return found;
}

// Example 16 leaves its two counted loops by moving their counters past their ends.
TEST(VocabularyGuard, ExamplesGiveNoFindingButTheirLeftovers) {
  for (int index = 0; index < 17; ++index) {
    const convert::ConversionResult result =
        convert::ConvertDocument(examples::ExampleDocument(index));
    std::vector<std::string> found;
    for (const Finding& finding : CheckProgram(result.logoText)) {
      found.push_back(std::to_string(finding.line) + (finding.kind == FindingKind::kForYourLogo
                                                          ? " leftover"
                                                          : " " + Utf8(finding.message)));
    }
    const std::vector<std::string> expected =
        index == 15 ? std::vector<std::string>{"171 leftover", "176 leftover"}
                    : std::vector<std::string>{};
    EXPECT_EQ(found, expected) << "example " << index + 1;
  }
}

TEST(VocabularyGuard, GeneratedDocumentsUseOnlyKnownWords) {
  for (std::uint32_t seed = 1; seed <= 6; ++seed) {
    generator::GeneratorOptions options;
    options.targetBytes = 200 << 10;
    options.seed = seed;
    options.withCountedLoops = seed % 2 == 0;
    options.withFunctions = seed != 5;
    const convert::ConversionResult result =
        convert::ConvertDocument(generator::GenerateDocument(options));
    // Known leftovers: "1e - 8" where the exponent join stops, F1 called where it is inactive.
    EXPECT_EQ(Unexplained(result.logoText, true), std::vector<std::string>{}) << "seed " << seed;
  }
}

std::string Assign(std::string_view name, std::string_view value) {
  std::string item;
  generator::AppendItem(item, "x PREND_LA_VALEUR y",
                        "5#" + std::string(name) + "#" + std::string(value) + "#pasliste");
  return item;
}

TEST(VocabularyGuard, EveryTranslatorRowAndSupportProcedure) {
  std::string items;
  generator::AppendBlockOpen(items, "VARIABLES", "100#declarationsvariables");
  for (const char* declaration : {"1#NOMBRE#x", "1#NOMBRE#r", "1#CHAINE#m", "1#LISTE#l"}) {
    generator::AppendItem(items, "x EST_DU_TYPE NOMBRE", declaration);
  }
  generator::AppendBlockClose(items);
  generator::AppendBlockOpen(items, "DEBUT_ALGORITHME", "101#debutalgo");
  items += Assign("r",
                  "acos(x)+asin(x)+atan(x)+cos(x)+sin(x)+tan(x)+exp(x)+log(x)+abs(x)+round(x)+"
                  "rac(x)+pow(x,2)+floor(x)+random()+Math.PI+F1(x)+F2(x,1)");
  items += Assign("r", "true ET false OU x!=1 ET x&lt;=2 ET x>=3 ET x%2==0");
  items += Assign("m", "x.toString()");
  items += Assign("m", "String.fromCharCode(65)");
  items += Assign("m", "m.substr(1,2)");
  items += Assign("r", "PSEUDAL_ALEA_ENT(1,6)");
  items += Assign("r", "max(x,1)+Math.min(x,-2)+m.charCodeAt(0)+m.length");
  items += Assign("r", "!(x!==1) ET x===2");
  for (const char* call : {"PSEUDAL_FACTORIELLE(4)",
                           "PSEUDAL_COEFF_BINOMIAL(5,2)",
                           "PSEUDAL_LOI_BINOMIALE(5,0.5,2)",
                           "PSEUDAL_LOI_NORMALE_CR(x)",
                           "PSEUDAL_LOI_NORMALE(0,1,x)",
                           "PSEUDAL_INVERSE_LOI_NORMALE(0,1,x)",
                           "PSEUDAL_INVERSE_LOI_NORMALE_CR(x)",
                           "PSEUDAL_SOMME(l,1,3)",
                           "PSEUDAL_MOYENNE(l,1,3)",
                           "PSEUDAL_VARIANCE(l,1,3)",
                           "PSEUDAL_ECART_TYPE(l,1,3)",
                           "PSEUDAL_MEDIANE(l,1,3)",
                           "PSEUDAL_QUARTILE1(l,1,3)",
                           "PSEUDAL_QUARTILE3(l,1,3)",
                           "PSEUDAL_QUARTILE1_BIS(l,1,3)",
                           "PSEUDAL_QUARTILE3_BIS(l,1,3)",
                           "PSEUDAL_MINIMUM(l,1,3)",
                           "PSEUDAL_MAXIMUM(l,1,3)",
                           "PSEUDAL_POS_MINIMUM(l,1,3)",
                           "PSEUDAL_POS_MAXIMUM(l,1,3)"}) {
    items += Assign("r", call);
  }
  generator::AppendItem(items, "LIRE m", "2#m#pasliste");
  generator::AppendItem(items, "LIRE l[x]", "2#l#x");
  generator::AppendItem(items, "LIRE l[2]", "2#l#2");
  generator::AppendItem(items, "PAUSE", "18#pause");
  generator::AppendBlockClose(items);
  generator::AppendItem(items, "FIN_ALGORITHME", "102#finalgo");
  const std::string document =
      generator::DocumentHeader(true) + items + std::string(generator::DocumentFooter());
  const convert::ConversionResult result = convert::ConvertDocument(document);

  // Every support procedure is written, and recognised: none of their oddities is reported.
  EXPECT_EQ(ReadProgram(result.logoText).program.procedures.size(), 2u + 27u)
      << Utf8(result.logoText);
  // Every call the converter writes is a LOGO call: nothing is left to mend.
  EXPECT_EQ(Unexplained(result.logoText, false), std::vector<std::string>{})
      << Utf8(result.logoText);
}

// The support procedures' own words are primitives, infix words or support procedures; the
// lists they write or show as a prompt are text, a type follows the name after DEFINIS, and
// NOMBRE is also the sort order of trieitems.
TEST(VocabularyGuard, SupportProcedureWords) {
  std::vector<std::string> names;
  std::string texts;
  for (int position = 1; position <= library::kSupportProcedureCount; ++position) {
    library::AppendSupportProcedure(position, "", texts);
  }
  const Tokens read = ReadTokens(texts);
  const std::vector<Token>& tokens = read.tokens;
  const auto is = [&](std::size_t at, std::string_view key) {
    return tokens[at].kind == TokenKind::kWord && read.names.Text(tokens[at].name) == key;
  };
  for (std::size_t at = 0; at + 1 < tokens.size(); ++at) {
    if (is(at, "POUR")) names.emplace_back(read.TextOf(tokens[at + 1]));
  }
  EXPECT_EQ(names.size(), static_cast<std::size_t>(library::kSupportProcedureCount));
  std::vector<std::string> unknown;
  bool promptLine = false;  // what ECL shows is text, however it is put together
  for (std::size_t at = 0; at < tokens.size(); ++at) {
    if (tokens[at].kind == TokenKind::kLineEnd) promptLine = false;
    if (promptLine && tokens[at].kind == TokenKind::kOpenList) {
      while (tokens[at].kind != TokenKind::kCloseList) ++at;
      continue;
    }
    if (tokens[at].kind != TokenKind::kWord) continue;
    if (is(at, "ECL")) promptLine = true;
    if ((is(at, "ECRIS") || is(at, "ECRISLIGNE")) && at + 1 < tokens.size() &&
        tokens[at + 1].kind == TokenKind::kOpenList) {
      while (tokens[at].kind != TokenKind::kCloseList) ++at;
      continue;
    }
    if (is(at, "DEFINIS")) {
      at += 2;
      continue;
    }
    const std::string_view key = read.names.Text(tokens[at].name);
    const std::string text(read.TextOf(tokens[at]));
    const bool known = FindWord(key) != nullptr || FindInfix(key) != nullptr || key == "POUR" ||
                       key == "FIN" || std::find(names.begin(), names.end(), text) != names.end();
    if (!known && text != "NOMBRE") unknown.push_back(Utf8(key));
  }
  EXPECT_EQ(unknown, std::vector<std::string>{});
}

// Each support procedure is recognised by its whole text at any indentation, the one without
// inputs too; the same name over another body is the user's own.
TEST(VocabularyGuard, SupportProceduresAreRecognised) {
  std::string program;
  for (int position = 1; position <= library::kSupportProcedureCount; ++position) {
    library::AppendSupportProcedure(position, "    ", program);
  }
  program += "pour PSEUDAL_LIRE_MOT\r\nrends LISLISTE\r\nfin\r\n";
  const Reading reading = ReadProgram(program);
  const std::vector<Procedure>& procedures = reading.program.procedures;
  ASSERT_EQ(procedures.size(), library::kSupportProcedureCount + 1u);
  for (int i = 0; i < library::kSupportProcedureCount; ++i) {
    EXPECT_TRUE(IsSupportProcedure(reading.tokens, procedures[i])) << "position " << i + 1;
  }
  EXPECT_FALSE(IsSupportProcedure(reading.tokens, procedures.back()));
}

// The checker passes over the support procedures it recognises; with one more line in each, so
// that none is recognised, their texts are checked like the user's and must give nothing either.
TEST(VocabularyGuard, SupportProceduresGiveNoFinding) {
  std::string program;
  for (int position = 1; position <= library::kSupportProcedureCount; ++position) {
    library::AppendSupportProcedure(position, "  ", program);
  }
  EXPECT_EQ(ReadProgram(program).program.procedures.size(),
            static_cast<std::size_t>(library::kSupportProcedureCount));
  EXPECT_EQ(Unexplained(program, false), std::vector<std::string>{});

  std::string altered;
  std::size_t from = 0;
  for (std::size_t end = program.find("  fin\r\n"); end != std::string::npos;
       end = program.find("  fin\r\n", from)) {
    altered += program.substr(from, end - from) + "  ecris [ ]\r\n  fin\r\n";
    from = end + 7;
  }
  altered += program.substr(from);
  ASSERT_EQ(ReadProgram(altered).program.procedures.size(),
            static_cast<std::size_t>(library::kSupportProcedureCount));
  EXPECT_EQ(Unexplained(altered, false), std::vector<std::string>{});
}

// Programs converted by earlier versions carry this comment on lines to mend by hand.
TEST(VocabularyGuard, TheEarlierConvertersWarningIsRecognised) {
  const std::string line = "ECRIS 1  // " + std::string(kParenthesesWarningSentence) + "\r\n";
  const std::vector<Finding> findings = CheckProgram(line);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].kind, FindingKind::kFixByHand);
  EXPECT_EQ(findings[0].column, 10);
}

}  // namespace
}  // namespace tortuval::logo
