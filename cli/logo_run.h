#pragma once
// pseudal2logo --run: runs one LOGO program with the answers and limits of the command line,
// its output on standard output, its drawing written as SVG on request.

#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "cli/command.h"
#include "session/session.h"

namespace tortuval::cli {

/// Runs the session's program; the answers come from --input, --input-file or `in`, with
/// prompts on `err` only when `inputIsTerminal`. An error names the algorithm's line first for a
/// converted program, and the drawing takes the document's axes.
ExitStatus RunLogoProgram(const session::Session& session, const Options& options,
                          std::istream& in, std::ostream& out, std::ostream& err,
                          bool inputIsTerminal);

/// The answers of --input: one per line when the text holds line ends, else one per word.
std::vector<std::string> SplitAnswers(std::string_view text);

}  // namespace tortuval::cli
