// Writes generated documents for the Python harness: write_documents DIR FIRST COUNT writes
// DIR/generated_<seed>.alg for the seeds FIRST to FIRST + COUNT - 1, each a short algorithm of
// every statement kind over a few variables.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "testing/document_generator.h"

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s DIR FIRST COUNT\n", argv[0]);
    return 2;
  }
  const std::filesystem::path directory(argv[1]);
  const unsigned long first = std::strtoul(argv[2], nullptr, 10);
  const unsigned long count = std::strtoul(argv[3], nullptr, 10);
  for (unsigned long seed = first; seed < first + count; ++seed) {
    tortuval::generator::GeneratorOptions options;
    options.targetBytes = 4000 + 200 * (seed % 20);
    options.variableCount = 4 + static_cast<int>(seed % 5);
    options.maxDepth = 1 + static_cast<int>(seed % 3);
    options.withFunctions = true;  // its items call F1 and F2 either way
    options.seed = static_cast<std::uint32_t>(seed);
    std::ofstream out(directory / ("generated_" + std::to_string(seed) + ".alg"),
                      std::ios::binary);
    out << tortuval::generator::GenerateDocument(options);
    if (!out) {
      std::fprintf(stderr, "cannot write in %s\n", argv[1]);
      return 1;
    }
  }
  return 0;
}
