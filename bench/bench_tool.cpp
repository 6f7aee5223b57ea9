// Helper of scripts/bench.sh:
//   tortuval_bench_tool generate MEGABYTES FILE   writes a generated document (Windows-1252)
//   tortuval_bench_tool memory MEGABYTES          converts one in memory and prints
//                                                 "input output peak_growth" in bytes
//   tortuval_bench_tool convert FILE...           converts files, for a profiler to watch
//   tortuval_bench_tool check FILE...             converts and checks them, for the same use
//   tortuval_bench_tool findings FILE...          checks LOGO programs as they are and prints
//                                                 every finding (line, column, kind, message),
//                                                 so that two builds can be shown to agree
//   tortuval_bench_tool digests                   one line per generated document and example:
//                                                 sizes and hashes of both panes, so that two
//                                                 builds can be shown to convert alike

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "logo/checker.h"
#include "testing/document_generator.h"

namespace {

std::size_t PeakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<std::size_t>(usage.ru_maxrss) * 1024;  // kilobytes on Linux
}

// Resident now, from /proc, so that the growth due to the conversion can be told apart.
std::size_t CurrentResidentBytes() {
  std::FILE* file = std::fopen("/proc/self/statm", "r");
  if (file == nullptr) return 0;
  unsigned long pages = 0;
  unsigned long resident = 0;
  const int read = std::fscanf(file, "%lu %lu", &pages, &resident);
  std::fclose(file);
  return read == 2 ? resident * 4096 : 0;
}

// "8" or "8-noloops" (the same document with TANT_QUE blocks in place of its POUR loops).
std::string Generate(const std::string& size) {
  tortuval::generator::GeneratorOptions options;
  options.withCountedLoops = !size.ends_with("-noloops");
  const char* megabytes = size.c_str();
  options.targetBytes = static_cast<std::size_t>(std::atof(megabytes) * (1 << 20));
  return tortuval::generator::GenerateDocument(options);
}

// The bytes of a file, read at once: a profiler watching the conversion should not count the
// reading.
std::string ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::string bytes(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// FNV-1a, 64 bits: enough to tell two outputs apart.
std::uint64_t Hash(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

void PrintDigest(const std::string& name, std::string_view document) {
  const tortuval::convert::ConversionResult result = tortuval::convert::ConvertDocument(document);
  std::printf("%s %zu %zu %016llx %zu %016llx\n", name.c_str(), document.size(),
              result.logoText.size(), static_cast<unsigned long long>(Hash(result.logoText)),
              result.listingText.size(), static_cast<unsigned long long>(Hash(result.listingText)));
}

// Documents of every shape the generator makes, small and large, and the examples.
void PrintDigests() {
  for (std::uint32_t seed = 1; seed <= 48; ++seed) {
    tortuval::generator::GeneratorOptions options;
    options.seed = seed;
    options.targetBytes = seed % 8 == 0 ? (std::size_t{1} << 20) * (seed / 8) : 4096 * seed;
    options.maxDepth = static_cast<int>(seed % 7);
    options.variableCount = static_cast<int>(3 + (seed * 7) % 60);
    options.withFunctions = seed % 3 != 0;
    PrintDigest("generated_" + std::to_string(seed), tortuval::generator::GenerateDocument(options));
  }
  for (int i = 0; i < tortuval::examples::kExampleCount; ++i) {
    PrintDigest("example_" + std::to_string(i + 1), tortuval::examples::ExampleDocument(i));
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "generate" && argc == 4) {
    const std::string document = Generate(argv[2]);
    std::ofstream out(argv[3], std::ios::binary);
    out.write(document.data(), static_cast<std::streamsize>(document.size()));
    return out ? 0 : 1;
  }
  if (command == "memory" && argc == 3) {
    const std::string document = Generate(argv[2]);
    const std::size_t before = CurrentResidentBytes();
    // The generator's peak is below the document's size plus its reserve; the conversion's
    // own copies come on top of the document, so the high-water mark is the conversion's.
    const tortuval::convert::ConversionResult result = tortuval::convert::ConvertDocument(document);
    const std::size_t peak = PeakResidentBytes();
    std::printf("%zu %zu %zu\n", document.size(),
                result.logoText.size() + result.listingText.size(),
                peak > before ? peak - before + document.size() : document.size());
    return 0;
  }
  if (command == "convert" && argc >= 3) {
    std::size_t total = 0;
    for (int i = 2; i < argc; ++i) {
      const std::string bytes = ReadFile(argv[i]);
      total += tortuval::convert::ConvertDocument(bytes).logoText.size();
    }
    std::printf("%zu output bytes\n", total);
    return 0;
  }
  if (command == "check" && argc >= 3) {
    std::size_t findings = 0;
    for (int i = 2; i < argc; ++i) {
      const std::string bytes = ReadFile(argv[i]);
      findings +=
          tortuval::logo::CheckProgram(tortuval::convert::ConvertDocument(bytes).logoText).size();
    }
    std::printf("%zu findings\n", findings);
    return 0;
  }
  if (command == "findings" && argc >= 3) {
    for (int i = 2; i < argc; ++i) {
      const std::string bytes = ReadFile(argv[i]);
      for (const tortuval::logo::Finding& finding : tortuval::logo::CheckProgram(bytes)) {
        std::printf("%s:%d:%d:%d: %s\n", argv[i], finding.line, finding.column,
                    static_cast<int>(finding.kind), finding.message.c_str());
      }
    }
    return 0;
  }
  if (command == "digests" && argc == 2) {
    PrintDigests();
    return 0;
  }
  std::fprintf(stderr,
               "usage: %s generate MEGABYTES FILE | memory MEGABYTES | convert FILE... | "
               "check FILE... | findings FILE... | digests\n",
               argv[0]);
  return 2;
}
