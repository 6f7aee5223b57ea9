#pragma once
// Rewrites an expression of the editor's script-like notation into LOGO words.

#include <span>
#include <string>
#include <string_view>

#include "expr/variable_index.h"

namespace tortuval::expr {

/// Where an expression stands: only a line of F2 reads "condition@value#" as a conditional.
enum class ExpressionKind { kPlain, kF1Body, kF2Line };

/// What the translator reads of the conversion under way.
struct ExpressionContext {
  /// The variables of the user function (read first) and of the main algorithm, as the converter
  /// keeps them indexed while their lists grow; null for none.
  const VariableIndex* functionVariables = nullptr;
  const VariableIndex* globalVariables = nullptr;
  /// The names of the document's own functions whose headers have been read, in their order.
  std::span<const std::string> functionNames;
};

/// Translates `source` (already repaired) into LOGO words.
std::string TranslateExpression(std::string_view source, ExpressionKind kind,
                                const ExpressionContext& context);

}  // namespace tortuval::expr
