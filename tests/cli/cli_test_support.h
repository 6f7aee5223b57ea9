#pragma once
// Helpers shared by the pseudal2logo suites: an in-process run over string streams, the programs
// of the built-in examples, line splitting.

#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "convert/conversion.h"

namespace tortuval::cli {

/// The hint printed after every usage error.
inline constexpr std::string_view kHint =
    "Essayez \"pseudal2logo --help\" pour plus d'informations.\n";

/// What an in-process run returned and wrote.
struct RunOutput {
  ExitStatus status;
  std::string out;
  std::string err;
};

/// Runs the command line in-process with `args`, `stdinBytes` as standard input.
RunOutput RunCli(const std::vector<std::string>& args, const std::string& stdinBytes = "");

/// The conversion of built-in example `number` (1 to 17), computed once.
const convert::ConversionResult& ConvertedExample(int number);

/// `text` cut after each `lineEnd`; a last line without one is marked "<no line end>".
std::vector<std::string> SplitAfter(const std::string& text, const std::string& lineEnd);

}  // namespace tortuval::cli
