#pragma once
// Rewrites an expression of the editor's script-like notation into LOGO words.

#include <span>
#include <string>
#include <string_view>

#include "expr/variable_index.h"

namespace tortuval::expr {

/// What the translator reads of the conversion under way.
struct ExpressionContext {
  int instructionNumber = 0;           ///< current internal instruction number; 32 marks F2
  std::string_view functionVariables;  ///< " name code name code…" of the user function
  std::string_view globalVariables;    ///< " name code name code…" of the main algorithm
  /// Indexes kept in step with the two lists, or null: the lists are then read on each call.
  const VariableIndex* functionIndex = nullptr;
  const VariableIndex* globalIndex = nullptr;
  /// The names of the document's own functions whose headers have been read, in their order.
  std::span<const std::string> functionNames;
};

/// Translates `source` (already repaired); `functionMode` is 1 for the F1 body and the F2 lines,
/// 0 otherwise. Sets `parenthesesWarning` when the result holds built-ins whose parentheses the
/// user must remove; never clears it (its value on entry also matters).
std::string TranslateExpression(std::string_view source, int functionMode,
                                const ExpressionContext& context, bool& parenthesesWarning);

}  // namespace tortuval::expr
