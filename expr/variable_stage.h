#pragma once
// The variable stage of the expression translator: a declared number or word "x" becomes its
// value ":x", a list "L" standing between spaces becomes ":L", or "item :L" before an index, and
// a length "L.length" becomes "( card :L )". Names are taken only where they stand as whole
// words, and never inside a source string.

#include <string>
#include <string_view>

#include "expr/variable_index.h"

namespace tortuval::expr {

/// The declared variables an expression sees: the function's first, then the global ones.
struct VariableScope {
  const VariableIndex& functions;
  const VariableIndex& globals;
};

/// Marks the variables of `scope` in `text` (the expression as the earlier stages leave it, with
/// a space at each end), leaving source strings as they are. Outside them, gives what
/// MarkVariablesSequentially gives, in one pass over the words where it can.
void MarkVariables(std::string& text, const VariableScope& scope);

/// The stage as its rules define it: for each variable in turn, its rows rewrite the whole text.
/// The one-pass marking falls back on it for the names and texts it cannot take.
void MarkVariablesSequentially(std::string& text, const VariableScope& scope);

/// The stage in one pass over the words of `text`. Returns false, leaving `text` alone, when a
/// name is not a plain word (IsPlainWordName), when the text already holds ":", or when a word of
/// the text names a list and some other variable at once.
bool MarkVariablesInOnePass(std::string& text, const VariableScope& scope);

/// The first variable of the scope named `name`, compared as the stage compares it, or null.
const Variable* FindVariable(std::string_view name, const VariableScope& scope);

}  // namespace tortuval::expr
