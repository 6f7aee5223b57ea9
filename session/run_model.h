#pragma once
// A run as a front end shows it (the desktop's run window, the page's run panel), and what the
// user may do with it. The model has no thread and no toolkit: the front end feeds it the run's
// events and the user's actions, passes the orders it gives on to its run, and draws what it
// says. Texts are Windows-1252.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/runtime.h"
#include "session/current_lines.h"

namespace tortuval::session {

/// Where a run stands.
enum class RunPhase {
  kNone,      ///< no run yet
  kRunning,   ///< running, at full speed or slowed down
  kStepping,  ///< stopped before a line: waits for "Pas à pas" or "Continuer"
  kAsking,    ///< a read waits for an answer
  kPausing,   ///< the program's own pause waits for "Continuer"
  kEnded,     ///< completed, stopped or failed
};

/// What a front end tells its run, in the order given.
struct RunOrder {
  enum class Kind {
    kStart,       ///< start a new run of the program shown; `stepping`: stopped before its first line
    kStop,        ///< stop the run, whatever it waits for
    kStopAtNext,  ///< stop before the next line and wait there; the program's own pause ends
    kStepOne,     ///< the stop that waits runs its line and stops before the next one
    kGoOn,        ///< the stop or pause that waits ends; the run goes on at its speed
    kAnswer,      ///< the read that waits takes `answer`
    kDelay,       ///< each line passes after `delayMs` (0: full speed)
  };
  Kind kind = Kind::kStop;
  bool stepping = false;
  std::string answer;
  int delayMs = 0;

  bool operator==(const RunOrder&) const = default;
};
using RunOrders = std::vector<RunOrder>;

/// A variable as the run shows it: `changed` when its value differs from the last one shown.
struct ShownVariable {
  std::string name;  ///< as shown: a local's is followed by " (locale)"
  std::string value;
  bool local = false;
  bool changed = false;
  std::string note;  ///< what the name says when pointed at; empty for a global
};

/// The lines the run stands at, for the strip and the main window's panes.
struct ShownLines {
  int logoLine = 0;       ///< 0: none shown
  int algorithmLine = 0;  ///< 0: none
  std::string algorithmText;
  std::string logoText;
};

/// What the transcript gained since the front end last took it.
struct TranscriptUpdate {
  struct Piece {
    std::string text;
    bool typed = false;  ///< an answer the user typed, set apart
  };
  bool clearFirst = false;  ///< clear what is shown before adding the pieces
  std::vector<Piece> pieces;
};

class RunModel {
 public:
  /// The transcript a front end keeps, and the output held for it while it does not take it: a
  /// program printing without end must slow neither the run nor the view.
  static constexpr std::size_t kKeptOutputBytes = std::size_t{1} << 20;

  RunModel();

  // ---- The user's actions. Each gives the orders for the run.
  /// "Lancer" or "Pas à pas" from the menu: a new run of the program shown.
  RunOrders Launch(bool stepByStep);
  /// "Pas à pas": a running program stops before its next line, a stopped one runs one line;
  /// after a question, once answered; once ended, a new run stops before its first line.
  RunOrders Step();
  /// "Continuer": the stop or pause that waits ends, and stepping with it.
  RunOrders Continue();
  /// "Vitesse": the index in kRunSpeeds.
  RunOrders SetSpeed(int index);
  /// "Arrêter", or Échap.
  RunOrders Stop();
  /// "Relancer": a new run of the program shown.
  RunOrders Restart();
  /// "Fermer": the run stops and the panel goes.
  RunOrders Close();
  /// An answer typed (Entrée in the answer field).
  RunOrders Answer(std::string text);
  /// Entrée: answers the question that waits with `answerField`, or makes the next step, or ends
  /// the program's pause.
  RunOrders Enter(std::string answerField);
  /// Another program is shown (an example chosen, a file opened, the program edited): a run
  /// belongs to the program it started with, so it ends first.
  RunOrders ProgramChanged();

  // ---- The run's events.
  /// The front end starts a run (told by a kStart order) of the program whose lines are `lines`.
  void Started(CurrentLines lines, bool stepping);
  void Output(std::string_view text);
  void TextCleared();
  void Asked(std::string_view prompt);
  /// An answer was refused: the read asks again, with `message` as its question.
  void Refused(std::string_view message);
  /// Before the line at `logoLine`: `waiting` for a step, else slowed down and passing.
  void StoppedBefore(int logoLine, std::vector<run::WatchedVariable> variables, bool waiting);
  /// The program's own pause, at `logoLine`.
  void Paused(int logoLine, std::vector<run::WatchedVariable> variables);
  void DrawingGrew(run::Drawing drawing);
  /// However the run ended; `variables` as it left them.
  void Ended(const run::RunResult& result, std::vector<run::WatchedVariable> variables);

  // ---- What a view shows.
  RunPhase Phase() const { return phase_; }
  /// A run is going on: running or waiting.
  bool Active() const { return phase_ != RunPhase::kNone && phase_ != RunPhase::kEnded; }
  bool PanelShown() const { return panelShown_; }
  const std::string& StateLine() const { return stateLine_; }
  bool StateIsError() const { return stateIsError_; }
  /// The lines shown; none when logoLine is 0.
  const ShownLines& Lines() const { return lines_; }
  /// The question beside the answer field.
  const std::string& Question() const { return question_; }
  bool AnswerLive() const { return phase_ == RunPhase::kAsking; }
  bool ContinueLive() const {
    return phase_ == RunPhase::kStepping || phase_ == RunPhase::kPausing;
  }
  bool StepLive() const { return phase_ != RunPhase::kNone; }
  bool StopLive() const { return Active(); }
  bool RestartLive() const { return phase_ != RunPhase::kNone; }
  /// The speed chosen, and the delay it gives each line.
  int SpeedIndex() const { return speedIndex_; }
  int DelayMs() const;
  /// Whether the run was started or last set to step.
  bool Stepping() const { return stepping_; }
  const std::vector<ShownVariable>& Variables() const { return variables_; }
  bool VariablesShown() const { return variablesShown_; }
  /// Changes whenever the variables shown do.
  std::uint64_t VariablesVersion() const { return variablesVersion_; }
  /// The drawing so far; its version changes with it.
  const std::optional<run::Drawing>& Drawing() const { return drawing_; }
  std::uint64_t DrawingVersion() const { return drawingVersion_; }
  /// Whether the transcript gained anything since last taken.
  bool TranscriptWaiting() const { return transcript_.clearFirst || !transcript_.pieces.empty(); }
  TranscriptUpdate TakeTranscript();

 private:
  RunOrders StopOrders();
  void Append(std::string_view text, bool typed);
  void ShowLines(int logoLine);
  void ShowVariables(std::vector<run::WatchedVariable> variables);
  // A state that is no error; an error's line is the run's own message, set where it ends.
  void SetState(std::string_view utf8);

  RunPhase phase_ = RunPhase::kNone;
  bool panelShown_ = false;
  bool stepping_ = false;
  bool stepAfterAnswer_ = false;
  // Why the run was asked to stop: it says so when it ends.
  enum class StopReason { kNone, kUser, kProgramChanged } stopReason_ = StopReason::kNone;
  int speedIndex_ = 0;
  std::string stateLine_;
  bool stateIsError_ = false;
  CurrentLines currentLines_;
  ShownLines lines_;
  std::string question_;
  std::vector<ShownVariable> variables_;
  bool variablesShown_ = false;
  std::uint64_t variablesVersion_ = 0;
  std::optional<run::Drawing> drawing_;
  std::uint64_t drawingVersion_ = 0;
  TranscriptUpdate transcript_;
  std::size_t pendingBytes_ = 0;
  bool lineOpen_ = false;  // the transcript's last line has no end yet
};

}  // namespace tortuval::session
