#include "run/runtime.h"

#include <exception>
#include <new>

#include "run/machine.h"
#include "run/parser.h"

namespace tortuval::run {

RunResult RunProgram(std::string_view program, Console& console, const RunOptions& options) {
  RunResult result;
  try {
    const Code code = ParseProgram(program);
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
