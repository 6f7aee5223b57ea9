// Simple statements: declarations, input, output, assignment, pause and comments.

#include <cstdint>

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
  if (LookupVariableType(state, name) == expr::VariableKind::kNumber) {
    state.AppendLine("ECL [Tape un nombre.] EFFL");
    state.AppendLine("SOIT \"" + name + " LISNOMBRE");
  } else {
    // A word, a list element or an undeclared variable: the answer is read as a sentence and
    // stored at the list position, counted from 0.
    std::string target;
    std::int64_t index = 0;
    if (position == "pasliste" || position.empty()) {
      target = "SOIT \"" + name + " LISLISTE";
    } else if (ReadDecimalInteger(position, index)) {
      target = index - 1 == 0 ? "SOIT \"" + name + " LISLISTE"
                              : "SOIT \"" + name + " PH LISTEVARS 0 0 " +
                                    std::to_string(index - 1) + " LISLISTE";
    } else {
      target =
          "SOIT \"" + name + " PH LISTEVARS 0 0 ( " + state.Translate(position) + " - 1 ) LISLISTE";
    }
    state.AppendLine("ECL [Tape un mot ou une phrase.] EFFL");
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
  line += state.Translate(name);
  // The computed-value output has no position at all; like "pasliste" it prints the value.
  if (position != "pasliste" && !position.empty()) {
    line += " ( " + state.Translate(position) + " + 1 )";
  }
  state.AppendLineWithWarning(line);
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
  const std::string translated = state.Translate(value);
  if (kind == expr::VariableKind::kList) {
    // The list form translates the position as it stands, even "pasliste".
    state.AppendLineWithWarning("remplace :" + name + " [" + translated + "] [" +
                                state.Translate(position) + "]");
  } else {
    state.AppendLineWithWarning("soit \"" + name + " " + translated);
  }
}

void TranslatePause(ConversionState& state, std::string_view /*item*/) {
  state.AppendLine("ecl [ Taper sur une touche pour continuer. ]");
  state.AppendLine("tant que non(touche?) []");
}

void TranslateProcedureCall(ConversionState& state, std::string_view item) {
  ItemFields fields(item);
  state.AppendLineWithWarning(state.Translate(fields.Last()));
}

void TranslateComment(ConversionState& state, std::string_view item) {
  ItemFields fields(item);
  state.AppendLine("// " + std::string(fields.Last()));
}

}  // namespace tortuval::convert
