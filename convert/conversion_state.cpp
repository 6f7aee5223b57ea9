#include "convert/conversion_state.h"

#include "expr/translate_expression.h"

namespace tortuval::convert {
namespace {

// The code that follows " name " in a list, or nothing when the name is not there.
std::string_view FindTypeCode(std::string_view list, std::string_view name) {
  if (list.empty()) return {};
  std::string needle;
  needle.reserve(name.size() + 2);
  needle.append(" ").append(name).append(" ");
  const std::size_t hit = list.find(needle);
  if (hit == std::string_view::npos) return {};
  const std::size_t codeStart = hit + needle.size();
  const std::size_t codeEnd = list.find(' ', codeStart);
  return list.substr(codeStart, codeEnd == std::string_view::npos ? codeEnd : codeEnd - codeStart);
}

}  // namespace

std::int64_t IndentationWidth(std::int64_t top) { return top + top / 2 + top / 3; }

std::string_view ConversionState::Indentation() {
  const auto width = static_cast<std::size_t>(std::max<std::int64_t>(
      0, IndentationWidth(indentStack.Top())));
  if (indentation_.size() != width) indentation_.assign(width, ' ');
  return indentation_;
}

void ConversionState::AppendLine(std::string_view text) {
  logoText.append(Indentation()).append(text).append("\r\n");
}

void ConversionState::AppendWarningIfSet() {
  if (parenthesesWarning) logoText.append(kParenthesesWarning);
}

void ConversionState::AppendLineWithWarning(std::string_view text) {
  logoText.append(Indentation()).append(text);
  AppendWarningIfSet();
  logoText.append("\r\n");
}

std::string ConversionState::Translate(std::string_view expression, int functionMode) {
  const expr::ExpressionContext context{instructionNumber, functionVariables, globalVariables};
  return expr::TranslateExpression(expression, functionMode, context, parenthesesWarning);
}

bool ConversionState::OutputFollows() const {
  return lastOutputMarker != std::string_view::npos && lastOutputMarker >= remainingStart;
}

void AddVariable(std::string& list, std::string_view name, std::string_view code) {
  list.append(" ").append(name).append(" ").append(code);
}

std::string LookupVariableType(const ConversionState& state, std::string_view name) {
  // A name inside a longer entry is not found: the search is for the name between spaces.
  std::string_view code = FindTypeCode(state.functionVariables, name);
  if (code.empty()) code = FindTypeCode(state.globalVariables, name);
  return code.empty() ? "0" : std::string(code);
}

}  // namespace tortuval::convert
