#pragma once
// The command line of pseudal2logo: what one run is asked to do, parsed from its arguments.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"

namespace tortuval::cli {

/// The name the tool gives itself in its messages.
inline constexpr std::string_view kProgramName = "pseudal2logo";

/// What one run does.
enum class Action {
  kConvertInputs,   ///< convert the input files (or standard input)
  kConvertExample,  ///< convert one built-in example
  kExampleSource,   ///< write one built-in example's document text
  kListExamples,    ///< list the built-in examples with their captions
  kHelp,            ///< print the usage text
  kVersion,         ///< print the version line
};

/// The encoding of the text the tool writes.
enum class OutputEncoding { kUtf8, kCp1252 };

/// A well-formed command line.
struct Options {
  Action action = Action::kConvertInputs;
  bool listing = false;   ///< the pseudo-code listing instead of the LOGO program
  int exampleNumber = 0;  ///< 1 to 17 for kConvertExample and kExampleSource
  OutputEncoding encoding = OutputEncoding::kUtf8;
  bool lfLineEnds = false;  ///< LF instead of CR LF
  bool check = false;       ///< the findings of the checked programs instead of the programs
  bool python = false;      ///< the algorithm written in Python (UTF-8) instead of LOGO
  std::optional<std::filesystem::path> outputFile;
  bool run = false;  ///< run the converted program (or the .lgo file) instead of writing it
  std::optional<std::string> inputText;              ///< --input: the answers to the reads
  std::optional<std::filesystem::path> inputFile;    ///< --input-file: a file of answers
  std::optional<std::filesystem::path> drawingFile;  ///< --drawing: where the SVG goes
  std::optional<std::uint64_t> maxSteps;             ///< --max-steps: the run's step budget
  std::optional<std::uint64_t> seed;                 ///< --seed: the seed of random numbers
  std::optional<std::filesystem::path> outputDirectory;
  /// Input file names in command-line order, "-" standing for standard input; for
  /// kConvertInputs never empty (no file given means standard input).
  std::vector<std::string> inputs;
};

/// Parses the arguments that follow the program name. A wrong command line raises an Error whose
/// message is the French text of the first usage error found, without the program name.
Options ParseOptions(const std::vector<std::string>& args);

/// Raises an Error (a usage error) when a file the run would write, with -o or in the -d folder,
/// is one of its input files: the same path, or the same file through a symbolic or hard link.
/// Nothing is written before this check.
void CheckOutputsSpareInputs(const Options& options);

/// The file that -d writes for one input: DIR/<stem>.lgo, DIR/<stem>.txt for the listing,
/// DIR/<stem>.py for Python.
std::filesystem::path OutputPathInDirectory(const std::filesystem::path& directory,
                                            const std::string& input, const Options& options);

/// The French usage text printed by --help (UTF-8, LF line ends).
std::string_view HelpText();

}  // namespace tortuval::cli
