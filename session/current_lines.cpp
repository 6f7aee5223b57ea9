#include "session/current_lines.h"

#include <string_view>

namespace tortuval::session {
namespace {

// A text's lines, whatever its line ends (CR LF, CR or LF), each without the blanks around it:
// the converter indents nested blocks far to the right.
std::vector<std::string> TrimmedLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    std::size_t end = text.find_first_of("\r\n", start);
    const std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    const std::size_t first = line.find_first_not_of(" \t");
    const std::size_t last = line.find_last_not_of(" \t");
    lines.emplace_back(first == std::string_view::npos ? std::string_view()
                                                       : line.substr(first, last - first + 1));
    if (end == std::string_view::npos) break;
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return lines;
}

std::string Named(const char* place, int line, const std::vector<std::string>& lines) {
  if (line < 1 || static_cast<std::size_t>(line) > lines.size()) return {};
  return std::string(place) + ", ligne " + std::to_string(line) + " : " +
         lines[static_cast<std::size_t>(line - 1)];
}

}  // namespace

CurrentLines::CurrentLines(const ReadProgram& program, const Session& session)
    : logo_(TrimmedLines(program.Text())) {
  if (!session.IsDocument()) return;
  listing_ = TrimmedLines(session.Listing());
  algorithmLines_.reserve(logo_.size());
  for (std::size_t line = 1; line <= logo_.size(); ++line) {
    algorithmLines_.push_back(session.AlgorithmLine(static_cast<int>(line)));
  }
}

int CurrentLines::AlgorithmLineOf(int logoLine) const {
  if (logoLine < 1 || static_cast<std::size_t>(logoLine) > algorithmLines_.size()) return 0;
  return algorithmLines_[static_cast<std::size_t>(logoLine - 1)];
}

std::string CurrentLines::AlgorithmLine(int logoLine) const {
  return NamedAlgorithmLine(AlgorithmLineOf(logoLine));
}

std::string CurrentLines::NamedAlgorithmLine(int algorithmLine) const {
  return Named("Algorithme", algorithmLine, listing_);
}

std::string CurrentLines::LogoLine(int logoLine) const { return Named("LOGO", logoLine, logo_); }

}  // namespace tortuval::session
