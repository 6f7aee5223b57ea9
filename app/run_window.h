#pragma once
// The run window: a LOGO program's output with the answers typed into it, its drawing, the line
// where the user answers its questions, and the buttons that let a pause go on, run it again or
// stop it; Esc closes the window. The program runs on a thread of its own; what the window shows
// and what each button does is the session's run model's, which the window only draws.

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <cstdint>
#include <vector>

#include "app/current_lines.h"
#include "run/runtime.h"
#include "session/run_model.h"
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
  /// algorithm's lines; stepped, it stops before its first line.
  void Start(const session::Session& session, bool stepByStep = false);
  /// Another program is shown in the main window: the run in progress ends, and says why.
  void ProgramChanged();

  /// A run is in progress (possibly waiting for an answer).
  bool IsRunning() const { return model_.Active(); }
  const session::RunModel& Model() const { return model_; }

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
  /// "Relancer", or "Pas à pas" once the run ended: a new run of the program the main window
  /// shows, which answers with Start.
  void RunRequested(bool stepByStep);

 public slots:
  /// Enter, in the answer line or anywhere in the window: answers, steps or ends a pause.
  void EntreeAppuyee();
  /// "Arrêter": stops the run.
  void ArreterClick();
  /// "Continuer": the program goes on.
  void ContinuerClick();
  /// "Relancer": stops the run in progress, if any, and runs the program shown again.
  void RelancerClick();
  /// "Pas à pas": stops a running program before its next line, or runs one more; once the
  /// program has ended, runs it again step by step from its first line.
  void PasAPasClick();
  /// Asks for a file name and saves the drawing there.
  void EnregistrerDessinClick();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Passes the model's orders on to the run; `session` is the program to start, when known.
  void Apply(const session::RunOrders& orders, const session::Session* session = nullptr);
  void StartRun(const session::Session& session, bool stepByStep);
  void SetDelay();
  // The run's news, into the model.
  void TakeOutput();
  void TakeStop(bool paused);
  void Finish();
  // The model, drawn.
  void Show();
  void ShowTranscript();
  void ShowVariables();
  void ShowDrawing();
  void AppendToOutput(const QString& text, bool typed);

  session::RunModel model_;
  QSplitter* splitter_ = nullptr;
  std::optional<drawing::Axes> axes_;
  std::unique_ptr<RunWorker> worker_;
  int runNumber_ = 0;  // tells the signals of a stopped run from those of the current one
  bool programShown_ = false;  // the main window shows the program being run
  std::uint64_t variablesShown_ = 0;  // the model's versions last drawn
  std::uint64_t drawingShown_ = 0;
};

}  // namespace tortuval::app
