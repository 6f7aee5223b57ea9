// The machine's exchanges with the world outside the program: its output and the instructions
// that write, its reads and pauses through the console, and what an observer sees before each
// instruction.

#include "run/machine.h"

namespace tortuval::run {

void Machine::Print(const Node& node) {
  const Node& kid = node.kids[0];
  if (kid.op == Op::kConstant && !kid.isList) {
    PrintText(node, kid.text);
  } else if (kid.op != Op::kVariable && kid.op != Op::kMath && Numeric(kid)) {
    const double number = EvalNumber(kid);
    if (leaving_ == Leaving::kNo) PrintText(node, FormatNumber(number));
  } else {
    const Value value = Eval(kid);
    if (leaving_ == Leaving::kNo) PrintText(node, Printed(value));
  }
}

// ECRIS or ECRISLIGNE of `text`; the output is handed on at the end of a line, or when it grows.
void Machine::PrintText(const Node& node, std::string_view text) {
  Write(node, text);
  if (leaving_ != Leaving::kNo) return;
  if (node.endsLine) {
    Write(node, "\n");
    Flush();
  } else if (output_.size() > 4096) {
    Flush();
  }
}

void Machine::Prompt(const Node& node) {
  const Node& kid = node.kids[0];
  if (kid.op == Op::kConstant && !kid.isList) {
    prompt_ = kid.text;
    return;
  }
  const Value value = Eval(kid);
  if (leaving_ == Leaving::kNo) prompt_ = Printed(value);
}

void Machine::ClearText() {
  output_.clear();
  console_.ClearText();
}

void Machine::Write(const Node& at, std::string_view text) {
  outputBytes_ += text.size();
  if (outputBytes_ > options_.limits.maxOutputBytes) {
    Fail(at, Message("Le programme a écrit plus de %s octets.",
                     FormatNumber(static_cast<double>(options_.limits.maxOutputBytes))));
    return;
  }
  output_ += text;
}

void Machine::Flush() {
  if (output_.empty()) return;
  console_.Write(output_);
  output_.clear();
}

std::string Machine::ReadAnswer(const Node& at) {
  if (leaving_ == Leaving::kStop) return {};  // nothing is asked once the run stops
  Flush();
  std::optional<std::string> answer = console_.ReadAnswer(prompt_);
  if (!answer) {
    if (StopRequested()) {
      Stop(at);
    } else {
      leaving_ = Leaving::kStop;
      stop_ = RunStop{Outcome::kInputExhausted, Message("Il n'y a plus de réponse à lire."), &at};
    }
    return {};
  }
  std::string text = std::move(*answer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                           text.back() == '\t')) {
    text.pop_back();
  }
  const std::size_t start = text.find_first_not_of(" \t");
  return start == std::string::npos ? std::string() : text.substr(start);
}

double Machine::ReadNumber(const Node& at) {
  const std::string prompt = prompt_;
  while (true) {
    const std::string answer = ReadAnswer(at);
    if (leaving_ == Leaving::kStop) return 0;
    double number = 0;
    if (ParseNumber(answer, number)) {
      prompt_ = prompt;
      return number;
    }
    // The prompt that asks again says why, until a number comes.
    prompt_ = Message("« %s » n'est pas un nombre : tapez un nombre.", answer);
    console_.AnswerRefused(prompt_);
  }
}

bool Machine::KeyPressed(const Node& at) {
  if (leaving_ == Leaving::kStop) return true;  // a pause waits for nothing once the run stops
  Flush();  // what the program wrote before its pause is shown while it waits
  if (options_.observer != nullptr) {
    options_.observer->BeforePause(supportCall_ != nullptr ? supportCall_->line : at.line, *this);
  }
  const bool pressed = console_.KeyPressed();
  if (StopRequested()) {
    Stop(at);
    return true;
  }
  return pressed;
}

// Inside a support procedure nothing is watched: it runs as its caller's one instruction.
void Machine::Observe(const Node& node) {
  if (leaving_ == Leaving::kStop) return;
  if (supportCall_ == nullptr) {
    Flush();  // what the program wrote so far is seen where it stops
    options_.observer->BeforeInstruction(node.line, *this);
  }
  if (StopRequested()) Stop(node);
}

void Machine::ObserveTurn(const Node& loop) {
  if (leaving_ == Leaving::kStop) return;
  if (supportCall_ == nullptr) {
    Flush();
    options_.observer->BeforeLoopTurn(loop.line, *this);
  }
  if (StopRequested()) Stop(loop);
}

std::vector<WatchedVariable> Machine::Variables() const {
  std::vector<WatchedVariable> variables;
  const auto add = [&variables](const std::string& name, const Value& value, bool local) {
    std::string printed;
    AppendPrinted(value, printed, true);
    variables.push_back({name, std::move(printed), local});
  };
  const std::vector<std::string>& globals = program_.globalNames;
  for (std::size_t i = 0; i < globals.size() && i < globals_.size(); ++i) {
    add(globals[i], globals_[i], false);
  }
  // A support procedure's locals are its own business: its caller's are shown.
  const int shown = supportCall_ != nullptr ? callerProcedure_ : procedure_;
  const std::size_t base = supportCall_ != nullptr ? callerBase_ : frame_.base;
  if (shown >= 0) {
    const logo::Procedure& procedure = program_.procedures[static_cast<std::size_t>(shown)];
    for (std::size_t i = 0; i < procedure.localNames.size(); ++i) {
      if (base + i < stack_.size()) add(procedure.localNames[i], stack_[base + i], true);
    }
  }
  return variables;
}

}  // namespace tortuval::run
