// Simple statements: declarations, input, output, assignment, pause and comments.

#include <cstdint>
#include <string>
#include <vector>

#include "convert/declarations.h"
#include "convert/document.h"
#include "convert/translators.h"

namespace tortuval::convert {
namespace {

// A list position written as a plain decimal integer (optional sign, 1 to 18 digits).
bool ReadDecimalInteger(std::string_view text, std::int64_t& value) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 18) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  return true;
}

constexpr std::string_view kReadWord = "PSEUDAL_LIRE_MOT";
constexpr std::string_view kReadList = "PSEUDAL_LIRE_LISTE";
constexpr std::string_view kNumberPrompt = "ECL [Tape un nombre.] EFFL";

// A position whose translation holds a blank goes into brackets, so that it stays one input.
std::string Grouped(const std::string& translated) {
  return translated.find(' ') == std::string::npos ? translated : "( " + translated + " )";
}

std::vector<std::string_view> SplitAtColons(std::string_view text) {
  std::vector<std::string_view> pieces;
  while (true) {
    const std::size_t colon = text.find(':');
    pieces.push_back(text.substr(0, colon));
    if (colon == std::string_view::npos) return pieces;
    text.remove_prefix(colon + 1);
  }
}

}  // namespace

void TranslateDeclaration(ConversionState& state, std::string_view item) {
  const auto [type, name] = ReadDeclaration(item);
  state.AppendLine("DEFINIS \"" + std::string(name) + " " + std::string(type));
  // An entry without a name would break the variable lists apart for every later expression.
  if (name.empty()) return;
  (state.inFunction ? state.functionVariables : state.globalVariables).Add(name, KindOfType(type));
}

void TranslateInput(ConversionState& state, std::string_view item) {
  ItemFields fields(item);
  const std::string name(fields.Next());
  const std::string_view position = fields.Last();
  const bool atPosition = position != "pasliste" && !position.empty();
  const expr::VariableKind kind = LookupVariableType(state, name);
  if (kind == expr::VariableKind::kNumber) {
    state.AppendLine(std::string(kNumberPrompt));
    state.AppendLine("SOIT \"" + name + " LISNOMBRE");
  } else {
    std::string target = "SOIT \"" + name + " ";
    std::string_view prompt = "ECL [Tape un mot ou une phrase.] EFFL";
    std::int64_t index = 0;
    // The reading procedures are called only where the program defines them: the document's
    // declarations decide that, and a broken one (a name holding a blank) may not agree with the
    // variable list's text that gave `kind`.
    if (kind == expr::VariableKind::kList && atPosition &&
        state.DefinesSupportProcedure(kReadList)) {
      // The answer's values go into the list from that element on; the rest of the list stays.
      target.append(kReadList).append(" :").append(name).append(" ");
      target += Grouped(state.Translate(position));
      // It takes numbers only, as the lists of the documents hold.
      prompt = kNumberPrompt;
    } else if (kind == expr::VariableKind::kWord && !atPosition &&
               state.DefinesSupportProcedure(kReadWord)) {
      // A text is one word, blanks included, so that it compares with a word.
      target += kReadWord;
    } else if (!atPosition) {
      target += "LISLISTE";
    } else if (ReadDecimalInteger(position, index)) {
      // Any other variable with a position: the answer's words from that position on.
      target += index - 1 == 0 ? "LISLISTE"
                               : "PH LISTEVARS 0 0 " + std::to_string(index - 1) + " LISLISTE";
    } else {
      target += "PH LISTEVARS 0 0 ( " + state.Translate(position) + " - 1 ) LISLISTE";
    }
    state.AppendLine(std::string(prompt));
    state.AppendLine(target);
  }
  state.AppendLine("ECL :" + name);
  state.AppendLine("EFFL");
}

void TranslateValueOutput(ConversionState& state, std::string_view item) {
  ItemFields fields(item);
  const std::string_view name = fields.Next();
  const std::string_view lineBreak = fields.Next();
  const std::string_view position = fields.Last();
  std::string line = lineBreak == "1" ? "ECRISLIGNE " : "ECRIS ";
  // The computed-value output has no position at all; like "pasliste" it prints the value whole.
  if (position != "pasliste" && !position.empty()) {
    line += "item " + state.Translate(name) + " ( " + state.Translate(position) + " + 1 )";
  } else {
    line += state.Translate(name);
  }
  state.AppendLine(line);
}

void TranslateTextOutput(ConversionState& state, std::string_view item) {
  ItemFields fields(item);
  const std::string_view text = fields.Next();
  const std::string_view lineBreak = fields.Last();
  state.AppendLine(std::string(lineBreak == "1" ? "ECRISLIGNE " : "ECRIS ") + "[ " +
                   std::string(text) + " ]");
}

void TranslateAssignment(ConversionState& state, std::string_view item) {
  ItemFields fields(item);
  const std::string name(fields.Next());
  const std::string_view value = fields.Next();
  const std::string_view position = fields.Last();
  const expr::VariableKind kind = LookupVariableType(state, name);
  if (kind != expr::VariableKind::kList) {
    state.AppendLine("soit \"" + name + " " + state.Translate(value));
    return;
  }
  // The list form translates the position as it stands, even "pasliste".
  const std::string at = state.Translate(position);
  const bool severalValues = position != "pasliste" && !position.empty() &&
                             value.find(':') != std::string_view::npos &&
                             value.find('?') == std::string_view::npos;
  if (!severalValues) {
    state.AppendLine("remplace :" + name + " [" + state.Translate(value) + "] [" + at + "]");
    return;
  }
  // "1:2:3" fills consecutive elements from the position on, one line each.
  std::int64_t first = 0;
  const bool numbered = ReadDecimalInteger(position, first);
  std::int64_t offset = 0;
  for (const std::string_view piece : SplitAtColons(value)) {
    std::string target = at;
    if (offset != 0) {
      target = numbered ? std::to_string(first + offset) : at + " + " + std::to_string(offset);
    }
    state.AppendLine("remplace :" + name + " [" + state.Translate(piece) + "] [" + target + "]");
    ++offset;
  }
}

void TranslatePause(ConversionState& state, std::string_view /*item*/) {
  state.AppendLine("ecl [ Taper sur une touche pour continuer. ]");
  state.AppendLine("tant que non(touche?) []");
}

void TranslateProcedureCall(ConversionState& state, std::string_view item) {
  ItemFields fields(item);
  state.AppendLine(state.Translate(fields.Last()));
}

void TranslateComment(ConversionState& state, std::string_view item) {
  ItemFields fields(item);
  state.AppendLine("// " + std::string(fields.Last()));
}

}  // namespace tortuval::convert
