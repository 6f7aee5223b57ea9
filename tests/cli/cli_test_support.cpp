#include "tests/cli/cli_test_support.h"

#include <sstream>

#include "examples/example_catalogue.h"

namespace tortuval::cli {

RunOutput RunCli(const std::vector<std::string>& args, const std::string& stdinBytes) {
  std::istringstream in(stdinBytes);
  std::ostringstream out;
  std::ostringstream err;
  const ExitStatus status = cli::Run(args, in, out, err);
  return {status, out.str(), err.str()};
}

const convert::ConversionResult& ConvertedExample(int number) {
  static std::vector<convert::ConversionResult> results = [] {
    std::vector<convert::ConversionResult> all;
    for (int index = 0; index < examples::kExampleCount; ++index) {
      all.push_back(convert::ConvertDocument(examples::ExampleDocument(index)));
    }
    return all;
  }();
  return results.at(number - 1);
}

std::vector<std::string> SplitAfter(const std::string& text, const std::string& lineEnd) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find(lineEnd, start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no line end>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + lineEnd.size();
  }
  return lines;
}

}  // namespace tortuval::cli
