#pragma once
// Member calls of the source notation on declared variables: "x.toString()" on a number gives
// "transforme :x", "String.fromCharCode(x)" gives "caractère :x", "w.substr(a,b)" on a word gives
// "substr :w a b", an argument of more than one word going into brackets.

#include <string>

#include "expr/variable_stage.h"

namespace tortuval::expr {

/// Rewrites the member calls of `text` (before its brackets are spaced), leaving their words as
/// placeholders; a receiver's type comes from `variables`.
void RewriteMemberCalls(std::string& text, const VariableScope& variables);

}  // namespace tortuval::expr
