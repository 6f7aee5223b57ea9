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

/// The LOGO words of one expression, and whether its item must carry the parentheses warning.
struct Translation {
  std::string text;
  bool parenthesesWarning = false;
};

/// Translates `source` (already repaired). `parenthesesWarning` is the warning of the item so far:
/// a warned item has its signs glued to the numbers behind them, and a warning once set stays set.
Translation TranslateExpression(std::string_view source, ExpressionKind kind,
                                const ExpressionContext& context, bool parenthesesWarning);

}  // namespace tortuval::expr
