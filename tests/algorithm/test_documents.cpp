#include "tests/algorithm/test_documents.h"

#include <cstdint>
#include <filesystem>

#include "convert/source_file.h"
#include "examples/example_catalogue.h"
#include "testing/document_generator.h"
#include "tests/test_support.h"

namespace tortuval::algorithm {

std::vector<std::string> TestDocuments() {
  std::vector<std::string> documents;
  for (int index = 0; index < examples::kExampleCount; ++index) {
    documents.push_back(examples::ExampleDocument(index));
  }
  for (const auto& entry : std::filesystem::directory_iterator(
           std::filesystem::path(TORTUVAL_TEST_DATA_DIR) / "run" / "documents")) {
    documents.push_back(convert::DecodeSourceBytes(testing::ReadFileBytes(entry.path())));
  }
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    generator::GeneratorOptions options;
    options.targetBytes = 12000;
    options.seed = seed;
    documents.push_back(generator::GenerateDocument(options));
  }
  return documents;
}

}  // namespace tortuval::algorithm
