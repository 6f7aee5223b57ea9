// Documents no editor would write, through the reader and the conversion: each must convert
// without a crash or a hang, and what can still be read must still be translated.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

#include "convert/conversion.h"
#include "convert/document.h"
#include "convert/source_file.h"
#include "examples/example_catalogue.h"
#include "expr/replace_all.h"
#include "expr/translate_expression.h"
#include "expr/variable_index.h"
#include "testing/document_generator.h"
#include "tests/test_support.h"

namespace tortuval::convert {
namespace {

using generator::AppendBlockClose;
using generator::AppendBlockOpen;
using generator::AppendItem;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Shown in the test log, so that a run reports how long the large cases took.
void ReportTime(const char* what, double seconds) {
  std::printf("[   TIME   ] %s: %.2f s\n", what, seconds);
  ::testing::Test::RecordProperty(what, std::to_string(seconds));
}

using tortuval::testing::CountOf;

// A document around the given items: declaration, header elements, the items, the end.
std::string Wrapped(std::string_view items) {
  return generator::DocumentHeader(false) + std::string(items) + std::string(generator::DocumentFooter());
}

std::string RandomBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

bool EndsWithWholeLine(const std::string& text) { return text.empty() || text.ends_with("\r\n"); }

TEST(HostileDocuments, EmptyDocumentGivesTwoEmptyPanes) {
  const ConversionResult result = ConvertDocument("");
  EXPECT_EQ(result.logoText, "");
  EXPECT_EQ(result.listingText, "");
  EXPECT_EQ(result.fault, DocumentFault::kNoInstruction);
  EXPECT_EQ(DecodeSourceBytes(""), "");
}

TEST(HostileDocuments, TenMegabytesOfRandomBytes) {
  const std::string bytes = RandomBytes(10 << 20, 7);
  const Clock::time_point start = Clock::now();
  const ConversionResult direct = ConvertDocument(bytes);
  const std::string decoded = DecodeSourceBytes(bytes);
  const ConversionResult read = ConvertDocument(decoded);
  ReportTime("random_10MB_seconds", SecondsSince(start));
  // Random bytes are not UTF-8: they are read as Windows-1252, only the line breaks change.
  EXPECT_GE(decoded.size(), bytes.size());
  EXPECT_TRUE(EndsWithWholeLine(direct.listingText));
  EXPECT_TRUE(EndsWithWholeLine(read.listingText));
  EXPECT_EQ(direct.fault, DocumentFault::kNoInstruction);
  EXPECT_EQ(read.fault, DocumentFault::kNoInstruction);
}

TEST(HostileDocuments, NulBytesInsideAttributeValuesAreKept) {
  std::string items;
  AppendBlockOpen(items, "VARIABLES", "100#declarationsvariables");
  AppendItem(items, "x EST_DU_TYPE NOMBRE", "1#NOMBRE#x");
  AppendBlockClose(items);
  AppendBlockOpen(items, "DEBUT_ALGORITHME", "101#debutalgo");
  AppendItem(items, std::string("AFFICHER a\0b", 12), std::string("4#a\0b#1", 7));
  AppendItem(items, std::string("x PREND_LA_VALEUR \0", 19), std::string("5#x#\0#pasliste", 14));
  AppendItem(items, "AFFICHER x", "3#x#1#pasliste");
  AppendBlockClose(items);
  AppendItem(items, "FIN_ALGORITHME", "102#finalgo");
  const ConversionResult result = ConvertDocument(Wrapped(items));

  EXPECT_NE(result.logoText.find(std::string("ECRISLIGNE [ a\0b ]\r\n", 20)), std::string::npos)
      << result.logoText;
  // The items after the ones holding NUL bytes are translated as usual.
  EXPECT_NE(result.logoText.find("ECRISLIGNE :x\r\n// FIN_ALGORITHME\r\n"), std::string::npos)
      << result.logoText;
  EXPECT_NE(result.listingText.find(std::string("AFFICHER a\0b\r\n", 14)), std::string::npos);
  EXPECT_EQ(CountOf(result.listingText, "\r\n"), 8u) << result.listingText;
}

TEST(HostileDocuments, EveryPrefixOfTheNormalLawExampleConverts) {
  // The largest example (16 as the catalogue numbers them), cut after every byte.
  const std::string& document = examples::ExampleDocument(15);
  const ConversionResult whole = ConvertDocument(document);
  const std::size_t wholeLines = CountOf(whole.listingText, "\r\n");
  const Clock::time_point start = Clock::now();
  for (std::size_t length = 0; length < document.size(); ++length) {
    const ConversionResult result = ConvertDocument(std::string_view(document).substr(0, length));
    ASSERT_TRUE(EndsWithWholeLine(result.listingText)) << "cut at " << length;
    // A cut document lists no more lines than the whole one, and is never taken for whole.
    ASSERT_LE(CountOf(result.listingText, "\r\n"), wholeLines) << "cut at " << length;
    ASSERT_NE(result.fault, DocumentFault::kNone) << "cut at " << length;
  }
  ReportTime("prefixes_of_example_16_seconds", SecondsSince(start));
  EXPECT_EQ(ConvertDocument(document).logoText, whole.logoText);
  EXPECT_EQ(whole.fault, DocumentFault::kNone);
}

TEST(HostileDocuments, ThousandsOfUnknownInstructionNumbersAreSkipped) {
  // Numbers the renumbering leaves alone, or leaves above 33.
  constexpr int kUnknown[] = {0, 34, 35, 49, 53, 99, 103, 104, 199, 206, 300, 999, 1000, 65536};
  std::string items;
  AppendBlockOpen(items, "DEBUT_ALGORITHME", "101#debutalgo");
  int known = 0;
  for (int i = 0; i < 6000; ++i) {
    if (i % 10 == 0) {
      AppendItem(items, "AFFICHER", "4#t" + std::to_string(i) + "#1");
      ++known;
    } else {
      const int number = kUnknown[static_cast<std::size_t>(i) % std::size(kUnknown)];
      AppendItem(items, "?", std::to_string(number) + "#4#x#1");
    }
  }
  AppendBlockClose(items);
  const ConversionResult result = ConvertDocument(Wrapped(items));
  EXPECT_EQ(CountOf(result.logoText, "ECRISLIGNE [ t"), static_cast<std::size_t>(known));
  EXPECT_NE(result.logoText.find("ECRISLIGNE [ t5990 ]"), std::string::npos);
  EXPECT_EQ(CountOf(result.listingText, "\r\n"), 6002u);
}

TEST(HostileDocuments, AMillionCodeMarkersWithoutNumbers) {
  std::string markers;
  for (int i = 0; i < 1000000; ++i) markers += "code=\"";
  const Clock::time_point start = Clock::now();
  const ConversionResult result = ConvertDocument(markers);
  ReportTime("million_code_markers_seconds", SecondsSince(start));
  EXPECT_EQ(result.logoText, "");
  EXPECT_EQ(result.listingText, "");

  // The same markers with numbers: each item is then cut at the next marker's quotation mark.
  std::string numbered;
  for (int i = 0; i < 100000; ++i) numbered += "code=\"4#";
  const ConversionResult texts = ConvertDocument(numbered);
  EXPECT_EQ(CountOf(texts.logoText, "\r\n"), 50000u) << texts.logoText.substr(0, 200);
}

TEST(HostileDocuments, MissingQuotationMarks) {
  struct Row {
    const char* name;
    std::string document;
    const char* expected;  // a line the conversion still writes, or nullptr
  };
  const Row rows[] = {
      {"code value never closed", "<item algoitem=\"x\" code=\"4#texte#1", nullptr},
      {"attribute without quotes", "<item algoitem=x code=4#texte#1/><item code=\"4#b#1\"/>",
       "ECRISLIGNE [ b ]"},
      {"readable line never closed", "<item algoitem=\"AFFICHER <item code=\"4#b#1\"/>", nullptr},
      {"element without its end", "<fonction fctcode=\"x*x\" fctetat=\"actif\" ", nullptr},
      {"F2 without quotes", "<F2 F2defaut=x F2lignes=p==0@q# F2etat=actif F2para=p/>", nullptr},
      {"only a quotation mark", "\"", nullptr},
      {"quotation marks only", std::string(10000, '"'), nullptr},
      {"number then end of text", "code=\"12#i#1#10", nullptr},
      {"result element without end", "<item code=\"205#x+1\" algoitem=\"RENVOYER", nullptr},
      // The unclosed value runs to the next quotation mark, taking the next item's marker.
      {"unclosed then next", "<item code=\"6#x>1/><item code=\"102#finalgo\"/>",
       "TESTE x > 1 / > < item code=\r\n"},
      {"unclosed, next, then good",
       "<item code=\"6#x>1/><item code=\"4#a#1\"/><item code=\"102#finalgo\"/>",
       "// FIN_ALGORITHME"},
  };
  for (const Row& row : rows) {
    const ConversionResult result = ConvertDocument(row.document);
    EXPECT_TRUE(EndsWithWholeLine(result.listingText)) << row.name;
    if (row.expected != nullptr) {
      EXPECT_NE(result.logoText.find(row.expected), std::string::npos) << row.name << "\n"
                                                                       << result.logoText;
    }
  }
}

TEST(HostileDocuments, ThousandNestedSiBlocks) {
  std::string items;
  AppendBlockOpen(items, "VARIABLES", "100#declarationsvariables");
  AppendItem(items, "x EST_DU_TYPE NOMBRE", "1#NOMBRE#x");
  AppendBlockClose(items);
  AppendBlockOpen(items, "DEBUT_ALGORITHME", "101#debutalgo");
  for (int depth = 0; depth < 1000; ++depth) {
    AppendBlockOpen(items, "SI (x>1) ALORS", "6#x>1");
    AppendItem(items, "DEBUT_SI", "7#debutsi");
  }
  AppendItem(items, "x PREND_LA_VALEUR 0", "5#x#0#pasliste");
  for (int depth = 0; depth < 1000; ++depth) {
    AppendItem(items, "FIN_SI", "8#finsi");
    AppendBlockClose(items);
  }
  AppendBlockClose(items);
  AppendItem(items, "FIN_ALGORITHME", "102#finalgo");
  const Clock::time_point start = Clock::now();
  const ConversionResult result = ConvertDocument(Wrapped(items));
  ReportTime("thousand_nested_si_seconds", SecondsSince(start));
  EXPECT_EQ(CountOf(result.logoText, "TESTE :x > 1\r\n"), 1000u);
  EXPECT_EQ(CountOf(result.logoText, "// FIN_SI\r\n"), 1000u);
  // Every block is closed, so the end of the algorithm is back at the left margin.
  EXPECT_TRUE(result.logoText.ends_with("]\r\n// FIN_ALGORITHME\r\n")) << result.logoText.size();
}

TEST(HostileDocuments, ThousandNestedPourLoops) {
  std::string items;
  AppendBlockOpen(items, "VARIABLES", "100#declarationsvariables");
  for (int i = 0; i < 1000; ++i) {
    AppendItem(items, "i EST_DU_TYPE NOMBRE", "1#NOMBRE#i" + std::to_string(i));
  }
  AppendBlockClose(items);
  AppendBlockOpen(items, "DEBUT_ALGORITHME", "101#debutalgo");
  for (int depth = 0; depth < 1000; ++depth) {
    const std::string variable = "i" + std::to_string(depth);
    AppendBlockOpen(items, "POUR", "12#" + variable + "#1#10");
    AppendItem(items, "DEBUT_POUR", "13#debutpour");
  }
  AppendItem(items, "AFFICHER i999", "3#i999#1#pasliste");
  for (int depth = 0; depth < 1000; ++depth) {
    AppendItem(items, "FIN_POUR", "14#finpour");
    AppendBlockClose(items);
  }
  AppendBlockClose(items);
  AppendItem(items, "FIN_ALGORITHME", "102#finalgo");
  const Clock::time_point start = Clock::now();
  const ConversionResult result = ConvertDocument(Wrapped(items));
  ReportTime("thousand_nested_pour_seconds", SecondsSince(start));
  EXPECT_EQ(CountOf(result.logoText, "// BOUCLE REPETE_POUR\r\n"), 1000u);
  EXPECT_EQ(CountOf(result.logoText, "// FIN_BOUCLE_REPETE_POUR\r\n"), 1000u);
  // The innermost loop steps its own counter, the outermost one its own.
  EXPECT_NE(result.logoText.find("SIVRAI INC :i999 SIFAUX DEC :i999"), std::string::npos);
  EXPECT_NE(result.logoText.find("SIVRAI INC :i0 SIFAUX DEC :i0"), std::string::npos);
  EXPECT_TRUE(result.logoText.ends_with("]\r\n// FIN_ALGORITHME\r\n"));
}

TEST(HostileDocuments, FiveThousandVariablesUsedByFiveThousandAssignments) {
  constexpr int kCount = 5000;
  std::string items;
  AppendBlockOpen(items, "VARIABLES", "100#declarationsvariables");
  for (int i = 0; i < kCount; ++i) {
    const std::string name = "v" + std::to_string(i);
    AppendItem(items, name + " EST_DU_TYPE NOMBRE", "1#NOMBRE#" + name);
  }
  AppendBlockClose(items);
  AppendBlockOpen(items, "DEBUT_ALGORITHME", "101#debutalgo");
  for (int i = 1; i < kCount; ++i) {
    const std::string name = "v" + std::to_string(i);
    const std::string previous = "v" + std::to_string(i - 1);
    AppendItem(items, name + " PREND_LA_VALEUR", "5#" + name + "#" + previous + "+1#pasliste");
  }
  AppendItem(items, "v0 PREND_LA_VALEUR", "5#v0#v4999*2#pasliste");
  AppendBlockClose(items);
  AppendItem(items, "FIN_ALGORITHME", "102#finalgo");
  const Clock::time_point start = Clock::now();
  const ConversionResult result = ConvertDocument(Wrapped(items));
  ReportTime("five_thousand_variables_seconds", SecondsSince(start));
  EXPECT_EQ(CountOf(result.logoText, "DEFINIS \"v"), static_cast<std::size_t>(kCount));
  EXPECT_NE(result.logoText.find("soit \"v1 :v0 + 1\r\n"), std::string::npos);
  EXPECT_NE(result.logoText.find("soit \"v4999 :v4998 + 1\r\n"), std::string::npos);
  EXPECT_NE(result.logoText.find("soit \"v0 :v4999 * 2\r\n"), std::string::npos);
}

// Markers packed together, cut short or in odd case, as the rows applied one by one treat them.
TEST(HostileDocuments, RenumberingOfPackedMarkers) {
  const struct {
    std::string source;
    std::string expected;
  } rows[] = {
      {"code=\"code=\"51#x", "code=\"code=\"20#x"},
      {"CoDe=\"51#code=\"20#", "code=\"20#code=\"3#"},
      {"code=\"20#code=\"51#code=\"20#", "code=\"3#code=\"20#code=\"3#"},
      {"code=\"5151#code=\"51", "code=\"5151#code=\"51"},
      {"code=\"205#205#code=\"2050#", "code=\"30#205#code=\"2050#"},
      {"xcode=\"100#code=\"101#code=\"102#", "xcode=\"22#code=\"23#code=\"24#"},
      {"code=\"code=\"code=\"", "code=\"code=\"code=\""},
      {"repcode=\"20#", "rep****=\"20#"},
      {"<fonction code=\"50#", "<code=\"31# code=\"33#"},
  };
  for (const auto& row : rows) {
    std::string text = row.source;
    Renumber(text);
    EXPECT_EQ(text, row.expected) << row.source;
  }
}

// Found by fuzzing: every walk over a variable named ":" doubles the colons of the expression,
// so a name declared again and again made the text grow as 2 to the number of declarations.
// Each distinct variable is walked once, so forty declarations translate like one.
std::string AssignmentAfterColonDeclarations(int declarations) {
  std::string items;
  AppendBlockOpen(items, "VARIABLES", "100#declarationsvariables");
  AppendItem(items, "x EST_DU_TYPE NOMBRE", "1#NOMBRE#x");
  for (int i = 0; i < declarations; ++i) AppendItem(items, ": EST_DU_TYPE NOMBRE", "1#NOMBRE#:");
  AppendBlockClose(items);
  AppendBlockOpen(items, "DEBUT_ALGORITHME", "101#debutalgo");
  AppendItem(items, "x PREND_LA_VALEUR x+1", "5#x#x+1#pasliste");
  AppendBlockClose(items);
  const std::string logo = ConvertDocument(Wrapped(items)).logoText;
  const std::size_t at = logo.find("soit \"x ");
  return at == std::string::npos ? logo : logo.substr(at, logo.find("\r\n", at) - at);
}

TEST(HostileDocuments, RepeatedVariableNamedColon) {
  EXPECT_EQ(AssignmentAfterColonDeclarations(1), "soit \"x ::x + 1");
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(AssignmentAfterColonDeclarations(40), "soit \"x ::x + 1");
  ReportTime("forty_colon_declarations_seconds", SecondsSince(start));

  // The same through the translator with the lists indexed as the converter keeps them.
  std::string functionList;
  expr::VariableIndex functionIndex(expr::Case::kSensitive, true);
  expr::VariableIndex globalIndex(expr::Case::kInsensitive, false);
  for (int i = 0; i < 40; ++i) {
    functionList += " : 1";
    functionIndex.Extend(functionList);
  }
  expr::ExpressionContext context;
  context.functionVariables = &functionIndex;
  context.globalVariables = &globalIndex;
  constexpr auto kPlain = expr::ExpressionKind::kPlain;
  const std::string forty = expr::TranslateExpression("a :b", kPlain, context);
  EXPECT_LT(forty.size(), 64u) << forty.size();
  expr::VariableIndex single(expr::Case::kSensitive, true);
  single.Extend(" : 1");
  context.functionVariables = &single;
  EXPECT_EQ(expr::TranslateExpression("a :b", kPlain, context), forty);
}

// Replace-all on texts as large as whole documents: matches across the search's internal
// windows, replacements done in place, and a case variant that never occurs.
TEST(HostileDocuments, ReplaceAllOnLargeTexts) {
  std::string text(3 * 4096 + 7, 'a');
  text.replace(4094, 3, "XyZ");  // across the first window boundary
  text.replace(8191, 3, "xYz");
  text.replace(10000, 3, "xyz");
  EXPECT_EQ(expr::Find(text, "xyz", 0, expr::Case::kInsensitive), 4094u);
  EXPECT_EQ(expr::Find(text, "xyz", 4095, expr::Case::kInsensitive), 8191u);
  EXPECT_EQ(expr::Find(text, "XYZ", 8192, expr::Case::kInsensitive), 10000u);
  EXPECT_EQ(expr::Find(text, "xyz", 10001, expr::Case::kInsensitive), std::string::npos);

  std::string shorter = text;
  EXPECT_EQ(expr::ReplaceAll(shorter, "xyz", "Q"), 3u);
  std::string expected = std::string(4094, 'a') + "Q" + std::string(8191 - 4097, 'a') + "Q" +
                         std::string(10000 - 8194, 'a') + "Q" +
                         std::string(text.size() - 10003, 'a');
  EXPECT_EQ(shorter, expected);
  std::string removed = text;
  EXPECT_EQ(expr::ReplaceAll(removed, "XYZ", ""), 3u);
  EXPECT_EQ(removed, std::string(text.size() - 9, 'a'));
  std::string longer = text;
  EXPECT_EQ(expr::ReplaceAll(longer, "xyz", "<xyz>", expr::Case::kSensitive), 1u);
  EXPECT_EQ(longer.substr(9999, 7), "a<xyz>a");

  // A million small letters and no capital: each search must stop looking for the capital
  // well before the end of the text, or the series of searches takes hours (the test run's
  // time limit catches that; the time itself is reported, not asserted).
  std::string many;
  for (int i = 0; i < 1000000; ++i) many += "code ";
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(expr::ReplaceAll(many, "code ", "c"), 1000000u);
  EXPECT_EQ(expr::ReplaceAll(many, "c", "code "), 1000000u);
  ReportTime("replace_all_million_hits_seconds", SecondsSince(start));
  EXPECT_EQ(many.size(), 5000000u);
}

TEST(HostileFiles, RandomBytesInEveryEncodingTheReaderKnows) {
  const std::string payload = RandomBytes(1 << 20, 11);
  for (const std::string_view mark : {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF", "{\\rtf1 "}) {
    const std::string text = DecodeSourceBytes(std::string(mark) + payload);
    // Line breaks always come out as CR LF pairs.
    EXPECT_EQ(CountOf(text, "\n"), CountOf(text, "\r\n")) << "mark of " << mark.size();
    EXPECT_EQ(CountOf(text, "\r"), CountOf(text, "\r\n")) << "mark of " << mark.size();
    EXPECT_TRUE(EndsWithWholeLine(ConvertDocument(text).listingText));
  }
}

TEST(HostileFiles, DeeplyNestedRtfGroups) {
  std::string rtf = "{\\rtf1 ";
  for (int i = 0; i < 100000; ++i) rtf += "{\\b ";
  rtf += "texte";
  for (int i = 0; i < 100000; ++i) rtf += "}";
  rtf += "}";
  EXPECT_EQ(DecodeSourceBytes(rtf), "texte");
  // Groups never closed: the text before them stays, the skipped destination hides the rest.
  EXPECT_EQ(DecodeSourceBytes(std::string("{\\rtf1 avant{{{{{\\*\\x{a}b texte")), "avant");
}

}  // namespace
}  // namespace tortuval::convert
