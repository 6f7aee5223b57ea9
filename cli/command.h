#pragma once
// One invocation of pseudal2logo: reads the inputs, converts them and writes the results, on
// streams given by the caller so that an invocation can happen inside a test.

#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"

namespace tortuval::cli {

/// The exit status of a run.
enum class ExitStatus {
  kSuccess = 0,     ///< every input converted and written
  kFailure = 1,     ///< an input could not be read or an output written; the others were done
  kUsageError = 2,  ///< the command line was wrong; nothing was done
};

/// Runs the tool on the arguments that follow the program name. `inputIsTerminal` says that a
/// person types standard input, so a running program's questions are shown on `err`.
ExitStatus Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err, bool inputIsTerminal = false);

/// Turns a Windows-1252 text with CR LF line ends into the bytes to write for `options`.
std::string EncodeOutput(std::string_view cp1252Text, const Options& options);

}  // namespace tortuval::cli
