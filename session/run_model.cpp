#include "session/run_model.h"

#include <algorithm>
#include <utility>

#include "base/cp1252.h"
#include "session/run_speeds.h"

namespace tortuval::session {
namespace {

constexpr std::string_view kDefaultQuestion = "Réponse :";

std::string Cp1252(std::string_view utf8) { return base::Utf8ToCp1252(utf8); }

RunOrder Order(RunOrder::Kind kind, bool stepping = false) {
  RunOrder order;
  order.kind = kind;
  order.stepping = stepping;
  return order;
}

}  // namespace

RunModel::RunModel() : question_(Cp1252(kDefaultQuestion)) {}

// ---- The user's actions.

RunOrders RunModel::Launch(bool stepByStep) {
  RunOrders orders = StopOrders();
  orders.push_back(Order(RunOrder::Kind::kStart, stepByStep));
  return orders;
}

RunOrders RunModel::Step() {
  switch (phase_) {
    case RunPhase::kNone:
    case RunPhase::kEnded:
      return Launch(true);
    case RunPhase::kRunning:
      stepping_ = true;
      return {Order(RunOrder::Kind::kStopAtNext)};
    case RunPhase::kStepping:
      phase_ = RunPhase::kRunning;
      SetState("Exécution en cours...");
      return {Order(RunOrder::Kind::kStepOne)};
    case RunPhase::kAsking:
      // The question keeps the answer field: the step comes once it is answered.
      stepAfterAnswer_ = true;
      return {};
    case RunPhase::kPausing:
      stepping_ = true;
      phase_ = RunPhase::kRunning;
      SetState("Exécution en cours...");
      return {Order(RunOrder::Kind::kStopAtNext)};
  }
  return {};
}

RunOrders RunModel::Continue() {
  if (phase_ != RunPhase::kStepping && phase_ != RunPhase::kPausing) return {};
  stepping_ = false;
  phase_ = RunPhase::kRunning;
  SetState("Exécution en cours...");
  // At full speed the strip would name a line long passed.
  if (DelayMs() == 0) lines_ = {};
  return {Order(RunOrder::Kind::kGoOn)};
}

RunOrders RunModel::SetSpeed(int index) {
  speedIndex_ = std::clamp(index, 0, static_cast<int>(kRunSpeeds.size()) - 1);
  RunOrder order = Order(RunOrder::Kind::kDelay);
  order.delayMs = DelayMs();
  return {order};
}

RunOrders RunModel::Stop() {
  if (!Active()) return {};
  stopReason_ = StopReason::kUser;
  return StopOrders();
}

RunOrders RunModel::Restart() { return Launch(false); }

RunOrders RunModel::Close() {
  panelShown_ = false;
  return Stop();
}

RunOrders RunModel::Answer(std::string text) {
  if (phase_ != RunPhase::kAsking) return {};
  // The question and its answer join the transcript, on a line of their own.
  Append((lineOpen_ ? "\n" : "") + question_ + " ", false);
  Append(text + "\n", true);
  phase_ = RunPhase::kRunning;
  question_ = Cp1252(kDefaultQuestion);
  SetState("Exécution en cours...");
  // The stop is asked for before the answer lets the read go on, so that a run on a thread of
  // its own cannot pass the next line first.
  RunOrders orders;
  if (stepAfterAnswer_ || stepping_) orders.push_back(Order(RunOrder::Kind::kStopAtNext));
  RunOrder answer = Order(RunOrder::Kind::kAnswer);
  answer.answer = std::move(text);
  orders.push_back(std::move(answer));
  stepping_ = stepping_ || stepAfterAnswer_;
  stepAfterAnswer_ = false;
  return orders;
}

RunOrders RunModel::Enter(std::string answerField) {
  switch (phase_) {
    case RunPhase::kAsking:
      return Answer(std::move(answerField));
    case RunPhase::kStepping:
      return Step();
    case RunPhase::kPausing:
      return Continue();
    default:
      return {};
  }
}

RunOrders RunModel::ProgramChanged() {
  if (!Active()) return {};
  stopReason_ = StopReason::kProgramChanged;
  return StopOrders();
}

RunOrders RunModel::StopOrders() {
  if (!Active()) return {};
  return {Order(RunOrder::Kind::kStop)};
}

// ---- The run's events.

void RunModel::Started(CurrentLines lines, bool stepping) {
  currentLines_ = std::move(lines);
  phase_ = RunPhase::kRunning;
  panelShown_ = true;
  stepping_ = stepping;
  stepAfterAnswer_ = false;
  stopReason_ = StopReason::kNone;
  SetState("Exécution en cours...");
  lines_ = {};
  question_ = Cp1252(kDefaultQuestion);
  variables_.clear();
  variablesShown_ = false;
  ++variablesVersion_;
  drawing_.reset();
  ++drawingVersion_;
  transcript_ = {};
  transcript_.clearFirst = true;
  pendingBytes_ = 0;
  lineOpen_ = false;
}

void RunModel::Output(std::string_view text) {
  if (!text.empty()) Append(text, false);
}

void RunModel::TextCleared() {
  transcript_ = {};
  transcript_.clearFirst = true;
  pendingBytes_ = 0;
  lineOpen_ = false;
}

void RunModel::Asked(std::string_view prompt) {
  phase_ = RunPhase::kAsking;
  const bool blank = prompt.find_first_not_of(" \t\r\n") == std::string_view::npos;
  question_ = blank ? Cp1252(kDefaultQuestion) : std::string(prompt);
  SetState("Le programme attend une réponse.");
}

void RunModel::Refused(std::string_view message) { question_ = std::string(message); }

void RunModel::StoppedBefore(int logoLine, std::vector<run::WatchedVariable> variables,
                             bool waiting) {
  ShowVariables(std::move(variables));
  ShowLines(logoLine);
  const std::string line = std::to_string(logoLine);
  if (waiting) {
    phase_ = RunPhase::kStepping;
    stepping_ = true;
    SetState("Pas à pas : le programme s'arrête avant la ligne " + line + ".");
  } else {
    SetState("Exécution au ralenti : ligne " + line + ".");
  }
}

void RunModel::Paused(int logoLine, std::vector<run::WatchedVariable> variables) {
  phase_ = RunPhase::kPausing;
  ShowLines(logoLine);
  // A watched run shows where its pause finds the variables; one at full speed keeps its table.
  if (stepping_ || DelayMs() > 0) ShowVariables(std::move(variables));
  SetState("Pause : cliquez sur « Continuer » ou appuyez sur Entrée.");
}

void RunModel::DrawingGrew(run::Drawing drawing) {
  drawing_ = std::move(drawing);
  ++drawingVersion_;
}

void RunModel::Ended(const run::RunResult& result, std::vector<run::WatchedVariable> variables) {
  phase_ = RunPhase::kEnded;
  question_ = Cp1252(kDefaultQuestion);
  stepAfterAnswer_ = false;
  if (result.drawing.shown || !result.drawing.Empty()) DrawingGrew(result.drawing);
  // The values the run ended with: the last stop shown may be long past.
  if (!variables.empty() || variablesShown_) ShowVariables(std::move(variables));
  lines_ = {};
  switch (result.outcome) {
    case run::Outcome::kCompleted:
      SetState("Programme terminé.");
      break;
    case run::Outcome::kStopped:
      SetState(stopReason_ == StopReason::kProgramChanged
                   ? "Programme arrêté : un autre programme est affiché."
                   : "Programme arrêté.");
      break;
    case run::Outcome::kError:
    case run::Outcome::kInputExhausted: {
      std::string state = result.line > 0
                              ? "Erreur à la ligne " + std::to_string(result.line) + " : "
                              : std::string("Erreur : ");
      stateLine_ = Cp1252(state) + result.message;
      stateIsError_ = true;
      // The error's place; in a function of the converter's own, the algorithm's line that
      // called it.
      if (result.line > 0 && stopReason_ != StopReason::kProgramChanged) {
        ShowLines(result.line);
        if (lines_.logoLine > 0) {
          lines_.algorithmLine = currentLines_.AlgorithmLineOfStop(result.line, result.callLines);
          lines_.algorithmText = currentLines_.NamedAlgorithmLine(lines_.algorithmLine);
        }
      }
      break;
    }
  }
}

// ---- What a view shows.

int RunModel::DelayMs() const { return kRunSpeeds[static_cast<std::size_t>(speedIndex_)].delayMs; }

TranscriptUpdate RunModel::TakeTranscript() {
  TranscriptUpdate update = std::move(transcript_);
  transcript_ = {};
  pendingBytes_ = 0;
  return update;
}

void RunModel::Append(std::string_view text, bool typed) {
  if (text.empty()) return;
  lineOpen_ = text.back() != '\n';
  std::vector<TranscriptUpdate::Piece>& pieces = transcript_.pieces;
  if (!pieces.empty() && pieces.back().typed == typed) {
    pieces.back().text.append(text);
  } else {
    pieces.push_back({std::string(text), typed});
  }
  pendingBytes_ += text.size();
  if (pendingBytes_ <= 2 * kKeptOutputBytes) return;
  // The view has not taken what it is given: what it would cut anyway is dropped now.
  std::size_t drop = pendingBytes_ - kKeptOutputBytes;
  while (drop > 0 && !pieces.empty()) {
    std::string& first = pieces.front().text;
    if (first.size() <= drop) {
      drop -= first.size();
      pendingBytes_ -= first.size();
      pieces.erase(pieces.begin());
    } else {
      first.erase(0, drop);
      pendingBytes_ -= drop;
      drop = 0;
    }
  }
  transcript_.clearFirst = true;
}

void RunModel::ShowLines(int logoLine) {
  lines_.logoLine = logoLine;
  lines_.algorithmLine = currentLines_.AlgorithmLineOf(logoLine);
  lines_.algorithmText = currentLines_.AlgorithmLine(logoLine);
  lines_.logoText = currentLines_.LogoLine(logoLine);
  if (lines_.logoText.empty()) lines_ = {};
}

void RunModel::ShowVariables(std::vector<run::WatchedVariable> variables) {
  std::vector<ShownVariable> shown;
  shown.reserve(variables.size());
  for (std::size_t i = 0; i < variables.size(); ++i) {
    run::WatchedVariable& variable = variables[i];
    const bool changed = i < variables_.size() && variables_[i].name == variable.name &&
                         variables_[i].value != variable.value;
    if (variable.local) variable.name += Cp1252(" (locale)");
    shown.push_back({std::move(variable.name), std::move(variable.value), variable.local, changed,
                     variable.local ? Cp1252("locale à la procédure en cours") : std::string()});
  }
  variables_ = std::move(shown);
  variablesShown_ = true;
  ++variablesVersion_;
}

void RunModel::SetState(std::string_view utf8) {
  stateLine_ = Cp1252(utf8);
  stateIsError_ = false;
}

}  // namespace tortuval::session
