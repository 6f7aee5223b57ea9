// placeholder until the translator lands
#include "expr/translate_expression.h"
namespace tortuval::expr {
std::string TranslateExpression(std::string_view source, int, const ExpressionContext&, bool&) {
  return std::string(source);
}
}  // namespace tortuval::expr
