// User functions (a function section of the algorithm) and the two function elements, F1 of
// the variable x and F2 of named parameters defined by condition/value lines.

#include <string>
#include <vector>

#include "convert/declarations.h"
#include "convert/document.h"
#include "convert/translators.h"
#include "expr/replace_all.h"

namespace tortuval::convert {
namespace {

// Parameters, F1 and F2 variables are numbers whatever was declared before them.
constexpr expr::VariableKind kParameterKind = expr::VariableKind::kNumber;

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The names of a "," separated list, trimmed of blanks; names left empty are skipped (the
// editor writes "a, b" and a lone blank for no parameter).
std::vector<std::string_view> ParameterNames(std::string_view list) {
  std::vector<std::string_view> names;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view name = TrimBlanks(list.substr(0, comma));
    if (!name.empty()) names.push_back(name);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return names;
}

// The value of attribute `marker` (which ends with its opening quotation mark) up to the next
// quotation mark; a value cut short runs to the end of the item.
std::string_view AttributeValue(std::string_view item, std::string_view marker) {
  const std::size_t hit = item.find(marker);
  if (hit == std::string_view::npos) return {};
  const std::string_view value = item.substr(hit + marker.size());
  return value.substr(0, value.find('"'));
}

// The item without its leading number and "#" and without its closing quotation mark.
std::string_view ItemBody(std::string_view item) {
  const std::size_t hash = item.find('#');
  if (hash != std::string_view::npos) item.remove_prefix(hash + 1);
  if (!item.empty()) item.remove_suffix(1);
  return item;
}

}  // namespace

void TranslateFunctionSection(ConversionState& state, std::string_view /*item*/) {
  state.AppendLine("// FONCTIONS_UTILISEES");
}

void TranslateFunctionHeader(ConversionState& state, std::string_view item) {
  state.indentStack.Clear();
  const std::string_view body = ItemBody(item);
  const std::size_t hash = body.find('#');
  const std::string_view name = FunctionHeaderName(item);
  const std::string_view parameters =
      hash == std::string_view::npos ? std::string_view() : body.substr(hash + 1);
  state.Append("POUR ");
  state.Append(name);
  // From now on a call "name(…)" is written as a LOGO call; a function's body knew it already.
  AddFunctionName(state.functionNames, name);
  state.functionVariables.Clear();
  for (const std::string_view parameter : ParameterNames(parameters)) {
    state.Append(" :");
    state.Append(parameter);
    state.functionVariables.Add(parameter, kParameterKind);
  }
  state.Append("\r\n");
}

void TranslateFunctionVariables(ConversionState& state, std::string_view /*item*/) {
  state.Append("// VARIABLES_FONCTION\r\n");
  state.inFunction = true;
}

void TranslateFunctionBody(ConversionState& state, std::string_view /*item*/) {
  state.Append("// DEBUT_FONCTION\r\n");
}

void TranslateFunctionEnd(ConversionState& state, std::string_view /*item*/) {
  state.Append("// FIN_FONCTION\r\nFIN\r\n");
  state.functionVariables.Clear();
  state.inFunction = false;
}

void TranslateFunctionResult(ConversionState& state, std::string_view item) {
  // The expression ends at the `code` value's quotation mark, or with the element when `code`
  // is its last attribute.
  const std::string_view body = ItemBody(item);
  const std::string_view expression = body.substr(0, body.find('"'));
  state.Append("REPONDRE " + state.Translate(expression) + "\r\n");
}

void TranslateF1(ConversionState& state, std::string_view item) {
  state.indentStack.Clear();
  if (!expr::Contains(item, "fctetat=\"actif\"")) return;
  // An active F1 without a body is written as if inactive: "rends" alone is no procedure.
  const std::string_view body = AttributeValue(item, "fctcode=\"");
  if (body.find_first_not_of(" \t") == std::string_view::npos) return;
  state.functionVariables.Assign(" x 1");
  state.Append("POUR F1 :x\r\n");
  state.Append("rends " + state.Translate(body, expr::ExpressionKind::kF1Body) + "\r\nFIN\r\n\r\n");
}

void TranslateF2(ConversionState& state, std::string_view item) {
  state.indentStack.Clear();
  if (!expr::Contains(item, "F2etat=\"actif\"")) return;

  std::string parameterText;
  for (const std::string_view name : ParameterNames(AttributeValue(item, "F2para=\""))) {
    state.functionVariables.Add(name, kParameterKind);
    parameterText += parameterText.empty() ? ":" : " :";
    parameterText += name;
  }
  if (expr::Contains(item, "F2lignes=\"\"")) return;
  state.Append("POUR F2 " + parameterText + "\r\n");

  // Each line is a condition, "@", a value and "#"; the default comes last, marked by " :#".
  std::string lines(AttributeValue(item, "F2lignes=\""));
  if (!lines.empty() && lines.back() != '#') lines += '#';
  const std::string_view defaultValue = AttributeValue(item, "F2defaut=\"");
  if (!defaultValue.empty()) lines.append(defaultValue).append(" :#");

  // A segment runs to the next "#" that is not its first character.
  std::string_view rest = lines;
  std::size_t length = rest.find('#') == std::string_view::npos ? 0 : rest.find('#') + 1;
  while (length != 0) {
    state.Append(state.Translate(rest.substr(0, length), expr::ExpressionKind::kF2Line));
    rest.remove_prefix(length);
    if (rest.empty()) break;
    const std::size_t next = rest.find('#', 1);
    length = next == std::string_view::npos ? 1 : next + 1;
  }
  state.Append("FIN\r\n\r\n");
}

}  // namespace tortuval::convert
