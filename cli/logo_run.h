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
#include "convert/conversion.h"

namespace tortuval::cli {

/// Runs `program` (Windows-1252), named `name` (Windows-1252) in error messages; the answers come
/// from --input, --input-file or `in`, with prompts on `err` only when `inputIsTerminal`. For a
/// program converted from a document, `document` is that conversion: an error names the
/// algorithm's line first, then the program's, and the drawing takes the document's axes.
ExitStatus RunLogoProgram(std::string_view name, std::string_view program, const Options& options,
                          std::istream& in, std::ostream& out, std::ostream& err,
                          bool inputIsTerminal,
                          const convert::ConversionResult* document = nullptr);

/// "NAME:LINE: " with the line of the algorithm's listing that wrote line `logoLine` (from 1) of
/// the program, or "NAME: " when no item wrote it (Windows-1252).
std::string AlgorithmPlace(std::string_view name, const std::vector<int>& listingLines,
                           int logoLine);

/// The answers of --input: one per line when the text holds line ends, else one per word.
std::vector<std::string> SplitAnswers(std::string_view text);

}  // namespace tortuval::cli
