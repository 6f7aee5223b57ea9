#pragma once
// An expression tree of the editor's notation written as a Python expression with the meaning
// the run gives it: numbers added and words joined as the run does, a list's element read with
// the run's message past its end, "%" with the sign of the dividend.

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "algorithm/expression.h"

namespace tortuval::python {

/// What a value is, as far as the writer knows: from the variables' declared types.
enum class ValueType { kUnknown, kNumber, kText, kList, kTruth };

/// What an expression may name, and the small functions the program will need.
struct WritingContext {
  std::map<std::string, ValueType> variables;  ///< by the algorithm's name (Windows-1252)
  /// The type each variable was first declared with: the run reads into a variable as that
  /// type says, whatever later declarations say.
  std::map<std::string, ValueType> firstDeclared;
  std::set<std::string> functions;             ///< user functions, F1 and F2
  std::set<std::string>* helpers = nullptr;    ///< the helpers used, added to as they are
  std::set<std::string>* modules = nullptr;    ///< the modules imported ("math", "random")
};

struct PythonExpression {
  std::string text;  ///< UTF-8
  ValueType type = ValueType::kUnknown;
  int precedence = 0;  ///< how tightly it binds, to bracket it where it stands
  std::string error;   ///< French, UTF-8: why it could not be written; then `text` is empty
};

/// The Python expression of a tree.
PythonExpression WriteExpression(const algorithm::Expression& expression,
                                 const WritingContext& context);

/// The Python expression of a field's text: read, then written; a text that does not read gives
/// the reading's message.
PythonExpression WriteField(std::string_view field, const WritingContext& context);

/// A name of the algorithm as a Python name (UTF-8): a Python keyword or a module the program
/// imports gets a "_" after it.
std::string PythonName(std::string_view name);

/// A Python string literal of a Windows-1252 text.
std::string PythonString(std::string_view text);

}  // namespace tortuval::python
