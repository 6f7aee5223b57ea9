#include "run/runtime.h"

#include <exception>
#include <new>

#include "logo/reader.h"
#include "run/machine.h"

namespace tortuval::run {
namespace {

// A run that could not be made at all: the machine's own failure, no output kept.
RunResult Failed(std::string_view utf8) {
  RunResult result;
  result.outcome = Outcome::kError;
  result.message = Message(utf8);
  return result;
}

constexpr std::string_view kOutOfMemory = "Mémoire insuffisante pour ce programme.";
constexpr std::string_view kInternalError = "Erreur interne pendant l'exécution.";

}  // namespace

RunResult RunProgram(std::string_view program, Console& console, const RunOptions& options) {
  try {
    const logo::Reading reading = logo::ReadProgram(program);
    return RunProgram(reading, console, options);
  } catch (const std::bad_alloc&) {
    return Failed(kOutOfMemory);
  } catch (const std::exception&) {
    return Failed(kInternalError);
  }
}

RunResult RunProgram(const logo::Reading& reading, Console& console, const RunOptions& options) {
  RunResult result;
  try {
    Machine machine(reading.program, console, options);
    machine.Run();
    if (const RunStop* stop = machine.Stopped()) {
      // What was written before the stop is shown with its message.
      machine.Flush();
      result.outcome = stop->outcome;
      result.message = stop->message;
      // A support procedure is one instruction of its caller: it stops at the call, its name
      // telling whose error it is.
      const Node* at = stop->at;
      if (const Node* call = machine.SupportCall()) {
        if (stop->outcome == Outcome::kError) {
          result.message = machine.ProcedureName(*call) + " : " + result.message;
        }
        at = call;
      }
      result.line = at->line;
      result.column = at->column;
      result.callLines = machine.CallLines();
    }
    if (options.observer != nullptr) options.observer->AfterRun(machine);
    result.drawing = machine.drawing();
    result.steps = machine.steps();
  } catch (const std::bad_alloc&) {
    return Failed(kOutOfMemory);
  } catch (const std::exception&) {
    return Failed(kInternalError);
  }
  return result;
}

}  // namespace tortuval::run
