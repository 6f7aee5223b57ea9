#include "app/run_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QTextCursor>
#include <QVBoxLayout>

#include "app/drawing_view.h"
#include "app/error_display.h"
#include "app/pane_text.h"
#include "app/run_worker.h"
#include "session/run_speeds.h"
#include "session/text_edges.h"

namespace tortuval::app {
namespace {

const QString kDefaultQuestion = QStringLiteral("Réponse :");
// Lines of output kept on screen: a program printing without end must not slow the window down.
constexpr int kMaxOutputLines = 100000;
const QString kPngFilter = QStringLiteral("Image PNG (*.png)");
const QString kSvgFilter = QStringLiteral("Image SVG (*.svg)");
// The answers typed, set apart in the output so that it reads as the exchange it was.
const QColor kTypedAnswer(0x1a, 0x4f, 0xa0);
// A value that changed since the last stop.
const QColor kChangedValue(0xff, 0xf0, 0xb0);

}  // namespace

RunWindow::RunWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Exécution du programme LOGO."));
  resize(860, 520);

  Etat = new QLabel(this);
  Etat->setWordWrap(true);
  Etat->setTextInteractionFlags(Qt::TextSelectableByMouse);

  LignesCourantes = MakeCurrentLinesStrip(this, LigneAlgorithme, LigneLogo);
  LignesCourantes->hide();

  Sortie = new QPlainTextEdit(this);
  Sortie->setReadOnly(true);
  Sortie->setMaximumBlockCount(kMaxOutputLines);
  Dessin = new DrawingView(this);
  splitter_ = new QSplitter(Qt::Horizontal, this);
  Variables = new QTableWidget(0, 2, this);
  Variables->setHorizontalHeaderLabels({QStringLiteral("Variable"), QStringLiteral("Valeur")});
  Variables->horizontalHeader()->setStretchLastSection(true);
  Variables->verticalHeader()->hide();
  Variables->setEditTriggers(QAbstractItemView::NoEditTriggers);
  splitter_->addWidget(Sortie);
  splitter_->addWidget(Variables);
  splitter_->addWidget(Dessin);
  splitter_->setChildrenCollapsible(false);
  Variables->hide();
  Dessin->hide();

  Question = new QLabel(kDefaultQuestion, this);
  Reponse = new QLineEdit(this);
  auto* answerRow = new QHBoxLayout;
  answerRow->addWidget(Question);
  answerRow->addWidget(Reponse, 1);

  EnregistrerDessin = new QPushButton(QStringLiteral("Enregistrer le dessin..."), this);
  Continuer = new QPushButton(QStringLiteral("Continuer"), this);
  Relancer = new QPushButton(QStringLiteral("Relancer"), this);
  Arreter = new QPushButton(QStringLiteral("Arrêter"), this);
  PasAPas = new QPushButton(QStringLiteral("Pas à pas"), this);
  Vitesse = new QComboBox(this);
  for (const session::RunSpeed& speed : session::kRunSpeeds) Vitesse->addItem(QString::fromUtf8(speed.name));
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(EnregistrerDessin);
  buttonRow->addStretch(1);
  buttonRow->addWidget(new QLabel(QStringLiteral("Vitesse :"), this));
  buttonRow->addWidget(Vitesse);
  buttonRow->addWidget(PasAPas);
  buttonRow->addWidget(Continuer);
  buttonRow->addWidget(Relancer);
  buttonRow->addWidget(Arreter);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Etat);
  layout->addWidget(LignesCourantes);
  layout->addWidget(splitter_, 1);
  layout->addLayout(answerRow);
  layout->addLayout(buttonRow);

  connect(Reponse, &QLineEdit::returnPressed, this, &RunWindow::ReponseEntree);
  connect(Arreter, &QPushButton::clicked, this, &RunWindow::ArreterClick);
  connect(EnregistrerDessin, &QPushButton::clicked, this, &RunWindow::EnregistrerDessinClick);
  connect(Continuer, &QPushButton::clicked, this, &RunWindow::ContinuerClick);
  connect(Relancer, &QPushButton::clicked, this, &RunWindow::RelancerClick);
  connect(PasAPas, &QPushButton::clicked, this, &RunWindow::PasAPasClick);
  connect(Vitesse, &QComboBox::currentIndexChanged, this, &RunWindow::SetDelayFromSpeed);
  continueKey_ = new QShortcut(QKeySequence(Qt::Key_Return), this);
  connect(continueKey_, &QShortcut::activated, this, &RunWindow::ContinuerClick);
  connect(new QShortcut(QKeySequence(Qt::Key_Enter), continueKey_), &QShortcut::activated, this,
          &RunWindow::ContinuerClick);
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
          &QWidget::close);
  SetAnswerLineActive(false);
  Continuer->setEnabled(false);
  continueKey_->setEnabled(false);
  Relancer->setEnabled(false);
  PasAPas->setEnabled(false);
  Arreter->setEnabled(false);
  EnregistrerDessin->setEnabled(false);
}

RunWindow::~RunWindow() = default;

void RunWindow::Start(const session::Session& session) {
  program_ = session.SharedProgram();
  lines_ = session::CurrentLines(*program_, session);
  axes_ = session.Axes();
  StartRun(false);
}

void RunWindow::StartRun(bool stepByStep) {
  // The previous run is stopped and its thread joined before anything is cleared.
  worker_.reset();
  Relancer->setEnabled(true);
  Continuer->setEnabled(false);
  continueKey_->setEnabled(false);
  const int run = ++runNumber_;
  Sortie->clear();
  Dessin->SetDrawing({});
  Dessin->SetAxes(axes_);
  Dessin->hide();
  EnregistrerDessin->setEnabled(false);
  Etat->setStyleSheet(QString());
  Etat->setText(QStringLiteral("Exécution en cours..."));
  LignesCourantes->hide();
  SetAnswerLineActive(false);
  Arreter->setEnabled(true);
  PasAPas->setEnabled(true);
  shownVariables_.clear();
  Variables->setRowCount(0);
  Variables->hide();

  worker_ = std::make_unique<RunWorker>(program_, run::RunOptions{});
  RunWorker* worker = worker_.get();
  // Queued: the worker emits from its own thread; a signal of an earlier run is dropped.
  connect(
      worker, &RunWorker::OutputReady, this,
      [this, run] {
        if (run == runNumber_) TakeOutput();
      },
      Qt::QueuedConnection);
  connect(
      worker, &RunWorker::AnswerRequested, this,
      [this, run](const QString& prompt) {
        if (run == runNumber_) AskForAnswer(prompt);
      },
      Qt::QueuedConnection);
  connect(
      worker, &RunWorker::DrawingShown, this,
      [this, run] {
        if (run != runNumber_ || !worker_) return;
        if (std::optional<run::Drawing> drawing = worker_->TakeDrawing()) ShowDrawing(*drawing);
      },
      Qt::QueuedConnection);
  connect(
      worker, &RunWorker::StoppedAtInstruction, this,
      [this, run] {
        if (run == runNumber_) ShowStop();
      },
      Qt::QueuedConnection);
  connect(
      worker, &RunWorker::Paused, this,
      [this, run] {
        if (run == runNumber_) Pause();
      },
      Qt::QueuedConnection);
  connect(
      worker, &QThread::finished, this,
      [this, run] {
        if (run == runNumber_) Finish();
      },
      Qt::QueuedConnection);
  SetDelayFromSpeed();
  if (stepByStep) worker->Step();  // it stops before its first instruction
  worker->start();
}

bool RunWindow::IsRunning() const { return worker_ && Arreter->isEnabled(); }

void RunWindow::TakeOutput() {
  if (!worker_) return;
  RunWorker::Output output = worker_->TakeOutput();
  if (output.clearFirst) Sortie->clear();
  if (output.text.empty()) return;
  AppendToOutput(ToPaneText(output.text), false);
}

void RunWindow::AppendToOutput(const QString& text, bool typed) {
  // Appended where the last write ended: ECRIS continues the line that ECRISLIGNE did not end.
  QTextCursor cursor(Sortie->document());
  cursor.movePosition(QTextCursor::End);
  QTextCharFormat format;
  if (typed) {
    format.setForeground(kTypedAnswer);
    format.setFontWeight(QFont::Bold);
  }
  cursor.insertText(text, format);
  Sortie->moveCursor(QTextCursor::End);
  Sortie->ensureCursorVisible();
}

void RunWindow::ShowDrawing(run::Drawing drawing) {
  Dessin->SetDrawing(std::move(drawing));
  if (Dessin->isHidden()) {
    Dessin->show();
    const int table = Variables->isVisible() ? Variables->width() : 0;
    splitter_->setSizes({(width() - table) / 3, table, 2 * (width() - table) / 3});
  }
  EnregistrerDessin->setEnabled(true);
}

void RunWindow::AskForAnswer(const QString& prompt) {
  TakeOutput();  // the output that comes before the question
  Question->setText(prompt.trimmed().isEmpty() ? kDefaultQuestion : prompt);
  Etat->setText(QStringLiteral("Le programme attend une réponse."));
  SetAnswerLineActive(true);
  Reponse->setFocus();
}

void RunWindow::ReponseEntree() {
  if (!worker_ || !Reponse->isEnabled()) return;
  const std::string answer = session::FromUtf8(Reponse->text().toStdString());
  // The question and its answer join the output, on a line of their own.
  const QString shown = Sortie->document()->isEmpty() || Sortie->toPlainText().endsWith('\n')
                            ? QString()
                            : QStringLiteral("\n");
  AppendToOutput(shown + Question->text() + ' ', false);
  AppendToOutput(Reponse->text() + '\n', true);
  Reponse->clear();
  SetAnswerLineActive(false);
  Etat->setText(QStringLiteral("Exécution en cours..."));
  worker_->ProvideAnswer(answer);
}

void RunWindow::ArreterClick() {
  if (worker_) worker_->RequestStop();
}

void RunWindow::Pause() {
  TakeOutput();  // what the program wrote before its pause
  if (worker_) ShowCurrentLines(worker_->TakeStop().line);
  Etat->setText(QStringLiteral("Pause : cliquez sur « Continuer » ou appuyez sur Entrée."));
  Continuer->setEnabled(true);
  continueKey_->setEnabled(true);
  Continuer->setFocus();
}

void RunWindow::ContinuerClick() {
  if (!worker_ || !Continuer->isEnabled()) return;
  Continuer->setEnabled(false);
  continueKey_->setEnabled(false);
  Etat->setText(QStringLiteral("Exécution en cours..."));
  // At full speed the strip would name a line long passed.
  if (Vitesse->currentIndex() == 0) LignesCourantes->hide();
  worker_->Continue();
}

void RunWindow::PasAPasClick() {
  if (!IsRunning()) {
    if (program_) StartRun(true);
    return;
  }
  Continuer->setEnabled(false);
  continueKey_->setEnabled(false);
  worker_->Step();
}

void RunWindow::SetDelayFromSpeed() {
  const int index =
      std::clamp(Vitesse->currentIndex(), 0, static_cast<int>(session::kRunSpeeds.size()) - 1);
  if (worker_) worker_->SetDelay(std::chrono::milliseconds(session::kRunSpeeds[static_cast<std::size_t>(index)].delayMs));
}

// The line where the program stopped, in both panes of the main window, and its variables, the
// values that changed since the last stop marked.
void RunWindow::ShowStop() {
  if (!worker_) return;
  TakeOutput();
  RunWorker::Stop stop = worker_->TakeStop();
  ShowVariables(std::move(stop.variables));
  ShowCurrentLines(stop.line);
  if (stop.waiting) {
    Etat->setText(
        QStringLiteral("Pas à pas : le programme s'arrête avant la ligne %1.").arg(stop.line));
    Continuer->setEnabled(true);
    continueKey_->setEnabled(true);
  } else {
    Etat->setText(QStringLiteral("Exécution au ralenti : ligne %1.").arg(stop.line));
  }
  emit StoppedAtLine(stop.line);
}

// The variables, the values that changed since they were last shown marked.
void RunWindow::ShowVariables(std::vector<run::WatchedVariable> variables) {
  if (Variables->isHidden()) {
    Variables->show();
    // The table gets room for a name and a value; the drawing, when shown, keeps its share.
    const int drawing = Dessin->isVisible() ? width() / 2 : 0;
    splitter_->setSizes({width() - drawing - 280, 280, drawing});
  }
  Variables->setRowCount(static_cast<int>(variables.size()));
  for (std::size_t i = 0; i < variables.size(); ++i) {
    const run::WatchedVariable& variable = variables[i];
    const bool changed = i < shownVariables_.size() && shownVariables_[i].name == variable.name &&
                         shownVariables_[i].value != variable.value;
    auto* name = new QTableWidgetItem(ToPaneText(variable.name));
    auto* value = new QTableWidgetItem(ToPaneText(variable.value));
    if (variable.local) name->setToolTip(QStringLiteral("locale à la procédure en cours"));
    if (variable.local) name->setText(name->text() + QStringLiteral(" (locale)"));
    if (changed) value->setBackground(kChangedValue);
    Variables->setItem(static_cast<int>(i), 0, name);
    Variables->setItem(static_cast<int>(i), 1, value);
  }
  shownVariables_ = std::move(variables);
}

void RunWindow::ShowCurrentLines(int line) {
  const QString algorithm = ToPaneText(lines_.AlgorithmLine(line));
  const QString logo = ToPaneText(lines_.LogoLine(line));
  LigneAlgorithme->setText(algorithm);
  LigneAlgorithme->setVisible(!algorithm.isEmpty());
  LigneLogo->setText(logo);
  LignesCourantes->setVisible(!logo.isEmpty());
}

void RunWindow::RelancerClick() {
  if (program_) StartRun(false);
}

void RunWindow::EnregistrerDessinClick() {
  RunGuarded(this, [this] {
    QString filter = kPngFilter;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Enregistrer le dessin."),
                                                QStringLiteral("dessin.png"),
                                                kPngFilter + ";;" + kSvgFilter, &filter);
    if (path.isEmpty()) return;
    const bool svg = filter == kSvgFilter;
    if (!path.endsWith(svg ? ".svg" : ".png", Qt::CaseInsensitive) &&
        !path.endsWith(svg ? ".png" : ".svg", Qt::CaseInsensitive)) {
      path += svg ? ".svg" : ".png";
    }
    Dessin->SaveTo(path);
  });
}

void RunWindow::Finish() {
  TakeOutput();
  const run::RunResult& result = worker_->Result();
  if (result.drawing.shown || !result.drawing.Empty()) ShowDrawing(result.drawing);
  SetAnswerLineActive(false);
  Question->setText(kDefaultQuestion);
  Arreter->setEnabled(false);
  Continuer->setEnabled(false);
  continueKey_->setEnabled(false);
  // The values the run ended with: the last stop shown may be long past.
  if (!worker_->EndVariables().empty() || !shownVariables_.empty()) {
    ShowVariables(worker_->EndVariables());
  }
  LignesCourantes->hide();
  switch (result.outcome) {
    case run::Outcome::kCompleted:
      Etat->setText(QStringLiteral("Programme terminé."));
      break;
    case run::Outcome::kStopped:
      Etat->setText(QStringLiteral("Programme arrêté."));
      break;
    case run::Outcome::kError:
    case run::Outcome::kInputExhausted: {
      const QString message = ToPaneText(result.message);
      Etat->setStyleSheet(QStringLiteral("color: #b00000;"));
      Etat->setText(result.line > 0
                        ? QStringLiteral("Erreur à la ligne %1 : %2").arg(result.line).arg(message)
                        : QStringLiteral("Erreur : %1").arg(message));
      if (result.line > 0) ShowCurrentLines(result.line);
      if (result.line > 0) emit ErrorAtLine(result.line);
      break;
    }
  }
  emit RunEnded();
}

void RunWindow::SetAnswerLineActive(bool active) {
  Reponse->setEnabled(active);
  Question->setEnabled(active);
}

void RunWindow::closeEvent(QCloseEvent* event) {
  // A closed window leaves no program running behind it.
  if (worker_) worker_->RequestStop();
  QWidget::closeEvent(event);
}

}  // namespace tortuval::app
