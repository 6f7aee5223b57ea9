#include "tests/run/program_corpus.h"

#include <filesystem>

#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "testing/document_generator.h"
#include "tests/test_support.h"

namespace tortuval::run {

std::vector<Program> Corpus() {
  std::vector<Program> programs;
  for (int index = 0; index < examples::kExampleCount; ++index) {
    programs.push_back({"example " + std::to_string(index + 1),
                        convert::ConvertDocument(examples::ExampleDocument(index)).logoText});
  }
  for (const testing::Case& row : testing::ReadCaseFolder("conversions")) {
    if (row.Has("logo")) programs.push_back({row.file + ' ' + row.name, row.Get("logo")});
  }
  const std::filesystem::path data(TORTUVAL_TEST_DATA_DIR);
  for (const auto& entry : std::filesystem::directory_iterator(data / "run" / "documents")) {
    programs.push_back(
        {entry.path().filename().string(),
         convert::ConvertDocument(testing::ReadFileBytes(entry.path().string())).logoText});
  }
  for (const char* folder : {"logo", "run"}) {
    const std::filesystem::path corpus =
        data.parent_path().parent_path() / "fuzz" / "corpus" / folder;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
      programs.push_back({"fuzz " + entry.path().filename().string(),
                          testing::ReadFileBytes(entry.path().string())});
    }
  }
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    generator::GeneratorOptions options;
    options.targetBytes = 12000;
    options.seed = seed;
    options.withCountedLoops = seed % 3 != 0;
    options.withFunctions = seed % 4 != 0;
    programs.push_back({"generated " + std::to_string(seed),
                        convert::ConvertDocument(generator::GenerateDocument(options)).logoText});
  }
  return programs;
}

}  // namespace tortuval::run
