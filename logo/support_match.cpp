// The converter writes the support procedures from fixed texts (library/support_table.cpp),
// indented like the line before them. They are recognised by their whole text, so that a user
// procedure that merely takes one of their names is still checked.

#include <array>
#include <string>

#include "library/support_procedures.h"
#include "logo/reader.h"

namespace tortuval::logo {
namespace {

// The text with every run of blanks and line ends as one space, without blanks at either end.
std::string Squeezed(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool blank = false;
  for (const char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out.push_back(' ');
    blank = false;
    out.push_back(c);
  }
  return out;
}

// Each support procedure's whole text squeezed, by position.
const std::array<std::string, library::kSupportProcedureCount>& SupportTexts() {
  static const std::array<std::string, library::kSupportProcedureCount> texts = [] {
    std::array<std::string, library::kSupportProcedureCount> squeezed;
    for (const library::SupportProcedure& procedure : library::SupportProcedureTable()) {
      std::string text;
      library::AppendSupportProcedure(procedure.position, "", text);
      squeezed[static_cast<std::size_t>(procedure.position - 1)] = Squeezed(text);
    }
    return squeezed;
  }();
  return texts;
}

}  // namespace

bool IsSupportProcedure(const Tokens& tokens, const Procedure& procedure) {
  if (!procedure.closed || procedure.name.empty()) return false;
  const Token& pour = tokens.tokens[procedure.firstToken];
  const Token& fin = tokens.tokens[procedure.endToken];
  const std::string_view source =
      tokens.text.substr(pour.begin, fin.begin + fin.length - pour.begin);
  // The name goes first: the texts are only compared for a procedure that bears one.
  const library::SupportProcedure* support = library::FindSupportProcedure(procedure.name);
  if (support == nullptr) return false;
  return Squeezed(source) == SupportTexts()[static_cast<std::size_t>(support->position - 1)];
}

}  // namespace tortuval::logo
