#include "convert/conversion_state.h"

#include "library/support_table.h"

namespace tortuval::convert {
void VariableList::Add(std::string_view name, expr::VariableKind kind) {
  text_.append(" ").append(name).append(" ").append(expr::CodeOf(kind));
  index_.Extend(text_);
}

void VariableList::Assign(std::string_view text) {
  text_.assign(text);
  index_.Reset();
  index_.Extend(text_);
  lookups_.clear();
}

std::string_view VariableList::FindTypeCode(std::string_view name) const {
  if (text_.empty()) return {};
  std::string needle;
  needle.reserve(name.size() + 2);
  needle.append(" ").append(name).append(" ");
  // The list only grows between assignments: a name found stays found where it was, and a name
  // not found is searched for again only in what was appended since.
  Lookup& lookup = lookups_[std::string(name)];
  if (lookup.codeStart == std::string::npos) {
    const std::size_t from =
        lookup.searchedUpTo >= needle.size() ? lookup.searchedUpTo - needle.size() + 1 : 0;
    const std::size_t hit = text_.find(needle, from);
    lookup.searchedUpTo = text_.size();
    if (hit == std::string::npos) return {};
    lookup.codeStart = hit + needle.size();
  }
  const std::string_view list = text_;
  const std::size_t codeEnd = list.find(' ', lookup.codeStart);
  return list.substr(lookup.codeStart,
                     codeEnd == std::string_view::npos ? codeEnd : codeEnd - lookup.codeStart);
}

std::int64_t IndentationWidth(std::int64_t top) { return top + top / 2 + top / 3; }

std::string_view ConversionState::Indentation() {
  const auto width =
      static_cast<std::size_t>(std::max<std::int64_t>(0, IndentationWidth(indentStack.Top())));
  if (indentation_.size() != width) indentation_.assign(width, ' ');
  return indentation_;
}

void ConversionState::AppendLine(std::string_view text) {
  logoText.append(Indentation()).append(text).append("\r\n");
}

std::string ConversionState::Translate(std::string_view expression, expr::ExpressionKind kind) {
  const VariableList& globals = VisibleGlobals();
  expr::ExpressionContext context;
  context.functionVariables = &functionVariables.Index();
  context.globalVariables = &globals.Index();
  context.functionNames = VisibleFunctionNames();
  return expr::TranslateExpression(expression, kind, context);
}

bool ConversionState::DefinesSupportProcedure(std::string_view logoName) const {
  const library::SupportProcedure* procedure = library::FindSupportProcedure(logoName);
  return procedure != nullptr &&
         neededProcedures.test(static_cast<std::size_t>(procedure->position - 1));
}

bool ConversionState::OutputFollows() const {
  return lastOutputMarker != std::string_view::npos && lastOutputMarker >= remainingStart;
}

expr::VariableKind LookupVariableType(const ConversionState& state, std::string_view name) {
  // A name inside a longer entry is not found: the search is for the name between spaces.
  std::string_view code = state.functionVariables.FindTypeCode(name);
  if (code.empty()) code = state.VisibleGlobals().FindTypeCode(name);
  return code.empty() ? expr::VariableKind::kUnknown : expr::KindOfCode(code);
}

}  // namespace tortuval::convert
