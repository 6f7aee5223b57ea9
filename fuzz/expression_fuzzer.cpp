// Fuzz target: the expression translator with an arbitrary expression, variable lists and mode;
// and its variable stage, one pass against the rules.
//
// Input layout: byte 0 chooses the kind of line (bits 2 and 3:
// plain, F1 body, F2 line); then segments
// separated by LF: the expression first, then variables, each a type code character followed by
// its name, alternately for the user function and for the main algorithm.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "expr/translate_expression.h"
#include "expr/variable_stage.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned control = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);

  auto nextSegment = [&rest]() {
    const std::size_t end = rest.find('\n');
    const std::string_view segment = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return segment;
  };
  const std::string_view expression = nextSegment();

  // The lists are built as the converter builds them, " name code" per variable, with the
  // indexes it keeps in step: runs of spaces collapsed and names compared exactly in the
  // function's list, names compared in upper case in the global one.
  std::string functionVariables;
  std::string globalVariables;
  tortuval::expr::VariableIndex functionIndex(tortuval::expr::Case::kSensitive, true);
  tortuval::expr::VariableIndex globalIndex(tortuval::expr::Case::kInsensitive, false);
  for (int index = 0; !rest.empty(); ++index) {
    const std::string_view entry = nextSegment();
    if (entry.empty()) continue;
    std::string& list = index % 2 == 0 ? functionVariables : globalVariables;
    list += ' ';
    list += entry.substr(1);
    list += ' ';
    list += entry[0];
    (index % 2 == 0 ? functionIndex : globalIndex).Extend(list);
  }

  // The variable stage in one pass gives what its rules give, rewrite by rewrite, on the
  // expression taken as it reaches the stage.
  const tortuval::expr::VariableScope scope{functionIndex, globalIndex};
  std::string stageInput = " " + std::string(expression) + " ";
  std::string byRules = stageInput;
  tortuval::expr::MarkVariablesSequentially(byRules, scope);
  if (tortuval::expr::MarkVariablesInOnePass(stageInput, scope)) {
    tortuval::fuzz::Check(stageInput == byRules, "the one-pass variable stage follows the rules");
  }

  tortuval::expr::ExpressionContext context;
  context.functionVariables = &functionIndex;
  context.globalVariables = &globalIndex;
  using tortuval::expr::ExpressionKind;
  constexpr ExpressionKind kKinds[] = {ExpressionKind::kPlain, ExpressionKind::kF1Body,
                                       ExpressionKind::kF2Line, ExpressionKind::kF2Line};
  const ExpressionKind kind = kKinds[(control >> 2) & 3];
  const std::string result = tortuval::expr::TranslateExpression(expression, kind, context);

  // Lists grown entry by entry, as the converter grows them, index as the whole lists read at
  // once do.
  tortuval::expr::VariableIndex wholeFunctions(tortuval::expr::Case::kSensitive, true);
  tortuval::expr::VariableIndex wholeGlobals(tortuval::expr::Case::kInsensitive, false);
  wholeFunctions.Extend(functionVariables);
  wholeGlobals.Extend(globalVariables);
  tortuval::expr::ExpressionContext whole = context;
  whole.functionVariables = &wholeFunctions;
  whole.globalVariables = &wholeGlobals;
  const std::string wholeResult = tortuval::expr::TranslateExpression(expression, kind, whole);
  tortuval::fuzz::Check(wholeResult == result,
                        "lists grown entry by entry translate as whole lists");
  return 0;
}
