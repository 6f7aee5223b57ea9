// The built-in examples through the whole conversion, as data: each examples/NN-name.alg is
// converted and both panes are compared byte for byte with NN-name.lgo and NN-name.txt (UTF-8
// with LF line ends in the repository, Windows-1252 with CR LF in the panes).

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "tests/test_support.h"

namespace tortuval::examples {
namespace {

namespace fs = std::filesystem;

using convert::ConversionResult;
using convert::ConvertDocument;
using convert::DocumentFault;
using testing::Cp1252Crlf;
using testing::LineDiff;
using testing::ReadFileBytes;

// One example's files: examples/NN-name.alg, .lgo and .txt.
struct ExampleFiles {
  int number = 0;    // NN, as `pseudal2logo --example` numbers it
  std::string stem;  // the path without its extension

  std::string Read(const char* extension) const { return ReadFileBytes(stem + extension); }
};

// Every document file of the folder, in number order; found by name, so that a file added,
// renamed or left out of the build shows up here.
std::vector<ExampleFiles> FindExampleFiles() {
  std::vector<ExampleFiles> found;
  for (const fs::directory_entry& entry : fs::directory_iterator(TORTUVAL_EXAMPLES_DIR)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".alg" || name.size() < 3 || name[2] != '-' ||
        !std::isdigit(static_cast<unsigned char>(name[0])) ||
        !std::isdigit(static_cast<unsigned char>(name[1]))) {
      continue;
    }
    found.push_back({std::stoi(name.substr(0, 2)),
                     (entry.path().parent_path() / entry.path().stem()).string()});
  }
  std::sort(found.begin(), found.end(),
            [](const ExampleFiles& a, const ExampleFiles& b) { return a.number < b.number; });
  return found;
}

// Shown by `ctest -N` and in failures in place of the structure's bytes.
void PrintTo(const ExampleFiles& files, std::ostream* out) {
  *out << fs::path(files.stem).filename().string();
}

std::string TestName(const ::testing::TestParamInfo<ExampleFiles>& info) {
  std::string name = fs::path(info.param.stem).filename().string();
  for (char& c : name) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0) c = '_';
  }
  return name;
}

class ExamplePanesTest : public ::testing::TestWithParam<ExampleFiles> {};

TEST_P(ExamplePanesTest, ConvertsToItsExpectedPanes) {
  const ExampleFiles& files = GetParam();
  ASSERT_GE(files.number, 1);
  ASSERT_LE(files.number, kExampleCount);
  const std::string& document = ExampleDocument(files.number - 1);
  // The build compiled in this very file.
  EXPECT_TRUE(document == files.Read(".alg")) << "the embedded document differs from its file";

  const ConversionResult result = ConvertDocument(document);
  EXPECT_EQ(result.fault, DocumentFault::kNone) << "a whole example is a whole document";
  const std::string logo = Cp1252Crlf(files.Read(".lgo"));
  const std::string listing = Cp1252Crlf(files.Read(".txt"));
  EXPECT_EQ(result.logoText, logo) << "program pane:\n" << LineDiff(logo, result.logoText);
  EXPECT_EQ(result.listingText, listing) << "listing pane:\n"
                                         << LineDiff(listing, result.listingText);
}

INSTANTIATE_TEST_SUITE_P(Examples, ExamplePanesTest, ::testing::ValuesIn(FindExampleFiles()),
                         TestName);

// F1 and F2 (examples 7, 14 and 16), written before "// VARIABLES", have no line in the listing:
// their lines go with none, not with the description above them; the declarations do.
TEST(ExampleLinesTest, TheFunctionElementsLinesGoWithNoAlgorithmLine) {
  for (int index = 0; index < kExampleCount; ++index) {
    SCOPED_TRACE("example " + std::to_string(index + 1));
    const ConversionResult result = ConvertDocument(ExampleDocument(index));
    const std::vector<std::string> program = testing::LinesOf(result.logoText);
    const auto variables = std::find(program.begin(), program.end(), "// VARIABLES");
    ASSERT_NE(variables, program.end());
    const auto first = static_cast<std::size_t>(variables - program.begin());
    ASSERT_LT(first, result.listingLines.size());
    EXPECT_EQ(std::vector<int>(result.listingLines.begin(),
                               result.listingLines.begin() + static_cast<std::ptrdiff_t>(first)),
              std::vector<int>(first, 0));
    EXPECT_GT(result.listingLines[first], 0);
  }
}

TEST(ExampleFilesTest, OneNumberedDocumentPerExample) {
  const std::vector<ExampleFiles> files = FindExampleFiles();
  ASSERT_EQ(files.size(), static_cast<std::size_t>(kExampleCount));
  for (int i = 0; i < kExampleCount; ++i) {
    EXPECT_EQ(files[i].number, i + 1) << files[i].stem;
    EXPECT_TRUE(fs::exists(files[i].stem + ".lgo")) << files[i].stem;
    EXPECT_TRUE(fs::exists(files[i].stem + ".txt")) << files[i].stem;
  }
}

// The checks below run over the expected programs themselves: they hold for every expected file,
// so one rewritten from a changed converter without reading it fails here as well.

// The names a program declares or takes as inputs: DEFINIS "x, SOIT "x, POUR f :a :b.
std::set<std::string> NamesOf(const std::string& logo) {
  std::set<std::string> names;
  std::istringstream lines(logo);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    for (std::string word; words >> word;) {
      if ((first == "DEFINIS" || first == "SOIT" || first == "soit") && word[0] == '"') {
        names.insert(word.substr(1));
        break;
      }
      if ((first == "POUR" || first == "pour") && word[0] == ':') names.insert(word.substr(1));
    }
  }
  return names;
}

// A value ":name" stands after a non-word byte and names a whole declared variable. Text in
// brackets after ECRIS and comments are the algorithm's own words, and a prompt's text in brackets
// is shown as it stands: they are not checked.
TEST(ExpectedProgramsTest, EveryValueIsAWholeDeclaredName) {
  for (const ExampleFiles& files : FindExampleFiles()) {
    SCOPED_TRACE(files.stem);
    const std::string logo = files.Read(".lgo");
    const std::set<std::string> names = NamesOf(logo);
    std::istringstream lines(logo);
    for (std::string line; std::getline(lines, line);) {
      std::string code = line.substr(0, line.find("//"));
      if (code.find(" [ ") != std::string::npos &&
          (code.find("ECRIS") != std::string::npos || code.find("ecris") != std::string::npos))
        continue;
      if (code.find("ECL ") != std::string::npos) code = code.substr(0, code.find(" ["));
      for (std::size_t colon = code.find(':'); colon != std::string::npos;
           colon = code.find(':', colon + 1)) {
        const bool afterWord =
            colon > 0 && std::isalnum(static_cast<unsigned char>(code[colon - 1])) != 0;
        std::size_t end = colon + 1;
        while (end < code.size() &&
               (std::isalnum(static_cast<unsigned char>(code[end])) != 0 || code[end] == '_')) {
          ++end;
        }
        const std::string name = code.substr(colon + 1, end - colon - 1);
        EXPECT_FALSE(afterWord) << line;
        EXPECT_TRUE(names.count(name) != 0) << "\"" << name << "\" in " << line;
      }
    }
  }
}

// Every block is closed: brackets balance over the program and never close more than is open,
// and the program ends, unindented, with the end of the algorithm.
TEST(ExpectedProgramsTest, EveryBlockCloses) {
  for (const ExampleFiles& files : FindExampleFiles()) {
    SCOPED_TRACE(files.stem);
    const std::string logo = files.Read(".lgo");
    int depth = 0;
    for (char c : logo) {
      depth += c == '[' ? 1 : c == ']' ? -1 : 0;
      ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
    EXPECT_TRUE(logo.ends_with("\n// FIN_ALGORITHME\n"));
  }
}

}  // namespace
}  // namespace tortuval::examples
