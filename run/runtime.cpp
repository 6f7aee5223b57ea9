#include "run/runtime.h"

#include <exception>
#include <new>

#include "logo/reader.h"
#include "run/machine.h"

namespace tortuval::run {
namespace {

Value ConstantOf(const Node& node) {
  if (!node.flag) return Value::Word(node.text);
  List items;
  items.reserve(node.kids.size());
  for (const Node& kid : node.kids) {
    items.push_back(kid.op == Op::kNumber ? Value::Number(kid.number) : ConstantOf(kid));
  }
  return Value::MakeList(std::move(items));
}

// Each constant's value is made once, before the run.
void BindConstants(Node& node, std::vector<Value>& constants) {
  if (node.op == Op::kConstant) {
    node.slot = static_cast<int>(constants.size());
    constants.push_back(ConstantOf(node));
    return;
  }
  for (Node& kid : node.kids) BindConstants(kid, constants);
}

Code CodeOf(std::string_view program) {
  Code code{logo::ReadProgram(program).program, {}};
  BindConstants(code.program.main, code.constants);
  for (logo::Procedure& procedure : code.program.procedures) {
    BindConstants(procedure.body, code.constants);
  }
  return code;
}

}  // namespace

RunResult RunProgram(std::string_view program, Console& console, const RunOptions& options) {
  RunResult result;
  try {
    const Code code = CodeOf(program);
    Machine machine(code, console, options);
    try {
      machine.Run();
    } catch (const RunStop& stop) {
      // What was written before the stop is shown with its message.
      try {
        machine.Flush();
      } catch (...) {
      }
      result.outcome = stop.outcome;
      result.message = stop.message;
      result.line = stop.line;
    }
    result.drawing = machine.drawing();
    result.steps = machine.steps();
  } catch (const std::bad_alloc&) {
    result = RunResult();
    result.outcome = Outcome::kError;
    result.message = Message("Mémoire insuffisante pour ce programme.");
  } catch (const std::exception&) {
    result = RunResult();
    result.outcome = Outcome::kError;
    result.message = Message("Erreur interne pendant l'exécution.");
  }
  return result;
}

}  // namespace tortuval::run
