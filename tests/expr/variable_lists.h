#pragma once
// The two variable lists of an expression, given in their text form and indexed as the converter
// indexes them.

#include <string_view>

#include "expr/translate_expression.h"
#include "expr/variable_index.h"
#include "expr/variable_stage.h"

namespace tortuval::testing {

struct VariableLists {
  expr::VariableIndex functions{expr::Case::kSensitive, true};
  expr::VariableIndex globals{expr::Case::kInsensitive, false};

  VariableLists(std::string_view functionList, std::string_view globalList) {
    functions.Extend(functionList);
    globals.Extend(globalList);
  }
  VariableLists(const VariableLists&) = delete;
  VariableLists& operator=(const VariableLists&) = delete;

  expr::VariableScope Scope() const { return {functions, globals}; }
  expr::ExpressionContext Context() const {
    expr::ExpressionContext context;
    context.functionVariables = &functions;
    context.globalVariables = &globals;
    return context;
  }
};

}  // namespace tortuval::testing
