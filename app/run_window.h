#pragma once
// The run window: a LOGO program's output with the answers typed into it, its drawing, the line
// where the user answers its questions, and the buttons that let a pause go on, run it again or
// stop it; Esc closes the window. The program runs on a thread of its own.

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/current_lines.h"
#include "run/runtime.h"
#include "session/current_lines.h"
#include "session/session.h"

class QComboBox;
class QLabel;
class QTableWidget;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QShortcut;
class QSplitter;

namespace tortuval::app {

class DrawingView;
class RunWorker;

class RunWindow : public QWidget {
  Q_OBJECT

 public:
  /// A hidden window, parented so that it closes with its owner.
  explicit RunWindow(QWidget* parent = nullptr);
  ~RunWindow() override;

  /// Stops the run in progress, if any, and starts the session's program from a clear window:
  /// its drawing framed by the document's axes (or fitted to what it draws), the strip naming its
  /// algorithm's lines.
  void Start(const session::Session& session);

  /// A run is in progress (possibly waiting for an answer).
  bool IsRunning() const;

  QLabel* Etat = nullptr;                    ///< how the run stands: running, ended, the error
  QWidget* LignesCourantes = nullptr;        ///< the strip of the lines the run stands at
  QLabel* LigneAlgorithme = nullptr;         ///< "Algorithme, ligne N : …", in the strip
  QLabel* LigneLogo = nullptr;               ///< "LOGO, ligne N : …", in the strip
  QPlainTextEdit* Sortie = nullptr;          ///< what the program wrote
  DrawingView* Dessin = nullptr;             ///< the drawing, shown once the program draws
  QLabel* Question = nullptr;                ///< the prompt of the read that waits
  QLineEdit* Reponse = nullptr;              ///< where the answer is typed; Enter sends it
  QPushButton* Arreter = nullptr;            ///< "Arrêter": stops the run
  QPushButton* Continuer = nullptr;          ///< "Continuer": ends a pause (Enter too)
  QPushButton* Relancer = nullptr;           ///< "Relancer": runs the program again
  QPushButton* PasAPas = nullptr;            ///< "Pas à pas": runs one instruction and stops
  QComboBox* Vitesse = nullptr;              ///< the speed, from "instantanée" to 2 a second
  QTableWidget* Variables = nullptr;         ///< the variables where it stopped, or ended
  QPushButton* EnregistrerDessin = nullptr;  ///< saves the drawing as PNG or SVG

 signals:
  /// The run stopped on an error at `line` of the program (from 1).
  void ErrorAtLine(int line);
  /// The run ended, whatever the way.
  void RunEnded();
  /// The program stopped (or, slowed down, passes) before the instruction at `line` (from 1).
  void StoppedAtLine(int line);

 public slots:
  /// Enter in the answer line: sends the answer to the waiting read.
  void ReponseEntree();
  /// "Arrêter": stops the run.
  void ArreterClick();
  /// "Continuer" or Enter during a pause: the program goes on.
  void ContinuerClick();
  /// "Relancer": stops the run in progress, if any, and runs the same program again.
  void RelancerClick();
  /// "Pas à pas": stops a running program before its next instruction, or runs one more; once
  /// the program has ended, runs it again step by step from its first instruction.
  void PasAPasClick();
  /// Asks for a file name and saves the drawing there.
  void EnregistrerDessinClick();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void StartRun(bool stepByStep);
  void TakeOutput();
  void ShowVariables(std::vector<run::WatchedVariable> variables);
  void ShowCurrentLines(int line);
  void ShowDrawing(run::Drawing drawing);
  void AskForAnswer(const QString& prompt);
  void Pause();
  void ShowStop();
  void SetDelayFromSpeed();
  void AppendToOutput(const QString& text, bool typed);
  void Finish();
  void SetAnswerLineActive(bool active);

  QSplitter* splitter_ = nullptr;
  QShortcut* continueKey_ = nullptr;                     // Enter, while a pause waits
  std::shared_ptr<const session::ReadProgram> program_;  // the last started, for "Relancer"
  std::optional<drawing::Axes> axes_;
  session::CurrentLines lines_;                                // of the program last started
  std::vector<run::WatchedVariable> shownVariables_;  // to mark the values that changed
  std::unique_ptr<RunWorker> worker_;
  int runNumber_ = 0;  // tells the signals of a stopped run from those of the current one
};

}  // namespace tortuval::app
