// Fuzz target: bytes run as a LOGO program, or, after a first byte 1, converted as a document
// and the converter's program run; with small limits and a few answers for the reads. The program
// runs twice, its calls on the thread's stack and as the machine's tasks: both runs agree.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "convert/conversion.h"
#include "fuzz/fuzz_check.h"
#include "run/runtime.h"

namespace {

class FuzzConsole : public tortuval::run::Console {
 public:
  void Write(std::string_view text) override {
    written += text.size();
    output += text;
  }
  std::optional<std::string> ReadAnswer(std::string_view) override {
    static constexpr const char* kAnswers[] = {"3", "1 2 3", "-2,5", "mot", ""};
    if (reads == std::size(kAnswers)) return std::nullopt;
    return kAnswers[reads++];
  }
  std::size_t written = 0;
  std::size_t reads = 0;
  std::string output;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string program;
  if (!input.empty() && input.front() == '\x01') {
    program = tortuval::convert::ConvertDocument(input.substr(1)).logoText;
  } else {
    program = std::string(input);
  }
  tortuval::run::RunOptions options;
  options.seed = 1;
  options.limits.maxSteps = 20'000;
  options.limits.maxCallBytes = 1 << 20;
  options.limits.maxOutputBytes = 1 << 16;
  FuzzConsole console;
  const tortuval::run::RunResult result = tortuval::run::RunProgram(program, console, options);
  FuzzConsole tasksConsole;
  options.callsOnThreadStack = 0;
  const tortuval::run::RunResult asTasks = tortuval::run::RunProgram(program, tasksConsole, options);
  int lines = 1;
  for (const char c : program) lines += c == '\n' ? 1 : 0;
  using tortuval::run::Outcome;
  tortuval::fuzz::Check((result.outcome == Outcome::kCompleted) == result.message.empty(),
                        "a run has a message exactly when it does not complete");
  tortuval::fuzz::Check(result.line >= 0 && result.line <= lines, "the line lies in the program");
  tortuval::fuzz::Check(console.written <= options.limits.maxOutputBytes, "output stays in bounds");
  // The memory the stacks take differs between the two ways: a recursion stopped for memory may
  // stop a few calls apart.
  const auto memoryFull = [](const tortuval::run::RunResult& run) {
    return run.message.find("la m\xe9moire pr\xe9vue") != std::string::npos;
  };
  if (!memoryFull(result) && !memoryFull(asTasks)) {
    tortuval::fuzz::Check(asTasks.outcome == result.outcome && asTasks.message == result.message &&
                              asTasks.line == result.line && asTasks.column == result.column &&
                              asTasks.callLines == result.callLines &&
                              asTasks.steps == result.steps &&
                              tasksConsole.output == console.output &&
                              asTasks.drawing.segments.size() == result.drawing.segments.size() &&
                              asTasks.drawing.points.size() == result.drawing.points.size(),
                          "calls run as tasks give the same run");
  }
  return 0;
}
