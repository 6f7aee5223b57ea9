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
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include "app/drawing_view.h"
#include "app/error_display.h"
#include "app/output_pane.h"
#include "app/pane_text.h"
#include "app/run_worker.h"
#include "session/run_speeds.h"
#include "session/text_edges.h"

namespace tortuval::app {
namespace {

// Output kept on screen, in characters: a program printing without end must not slow the window
// down. Trimmed by whole lines once it passes the model's measure by a quarter.
constexpr int kKeptOutput = static_cast<int>(session::RunModel::kKeptOutputBytes);
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
  SetUpOutputPane(Sortie);
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

  Question = new QLabel(ToPaneText(model_.Question()), this);
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

  // One Enter for the whole window, the answer line's included: what it does is the model's.
  connect(Reponse, &QLineEdit::returnPressed, this, &RunWindow::EntreeAppuyee);
  connect(Arreter, &QPushButton::clicked, this, &RunWindow::ArreterClick);
  connect(EnregistrerDessin, &QPushButton::clicked, this, &RunWindow::EnregistrerDessinClick);
  connect(Continuer, &QPushButton::clicked, this, &RunWindow::ContinuerClick);
  connect(Relancer, &QPushButton::clicked, this, &RunWindow::RelancerClick);
  connect(PasAPas, &QPushButton::clicked, this, &RunWindow::PasAPasClick);
  connect(Vitesse, &QComboBox::currentIndexChanged, this, [this](int index) {
    Apply(model_.SetSpeed(index));
  });
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
    connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this,
            &RunWindow::EntreeAppuyee);
  }
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
          &QWidget::close);
  Show();
}

RunWindow::~RunWindow() = default;

void RunWindow::Start(const session::Session& session, bool stepByStep) {
  Apply(model_.Launch(stepByStep), &session);
}

void RunWindow::ProgramChanged() {
  // The main window's panes show another program now: this run names none of its lines.
  programShown_ = false;
  Apply(model_.ProgramChanged());
}

void RunWindow::Apply(const session::RunOrders& orders, const session::Session* session) {
  using Kind = session::RunOrder::Kind;
  for (const session::RunOrder& order : orders) {
    if (order.kind == Kind::kStart) {
      if (session != nullptr) {
        StartRun(*session, order.stepping);
      } else {
        emit RunRequested(order.stepping);
      }
      continue;
    }
    if (!worker_) continue;
    switch (order.kind) {
      case Kind::kStart:
        break;
      case Kind::kStop:
        worker_->RequestStop();
        break;
      case Kind::kStopAtNext:
        worker_->StopAtNext();
        break;
      case Kind::kStepOne:
        worker_->StepOne();
        break;
      case Kind::kGoOn:
        worker_->GoOn();
        break;
      case Kind::kAnswer:
        worker_->ProvideAnswer(order.answer);
        break;
      case Kind::kDelay:
        worker_->SetDelay(std::chrono::milliseconds(order.delayMs));
        break;
    }
  }
  Show();
}

void RunWindow::StartRun(const session::Session& session, bool stepByStep) {
  // The previous run is stopped and its thread joined before anything is cleared.
  worker_.reset();
  programShown_ = true;
  const int run = ++runNumber_;
  const std::shared_ptr<const session::ReadProgram> program = session.SharedProgram();
  axes_ = session.Axes();
  Sortie->clear();
  Dessin->SetDrawing({});
  Dessin->SetAxes(axes_);
  Dessin->hide();
  Variables->setRowCount(0);
  Variables->hide();
  model_.Started(session::CurrentLines(*program, session), stepByStep);

  worker_ = std::make_unique<RunWorker>(program, session::StepPoints(*program, session),
                                        run::RunOptions{});
  RunWorker* worker = worker_.get();
  // Queued: the worker emits from its own thread; a signal of an earlier run is dropped.
  const auto current = [this, run] { return run == runNumber_ && worker_ != nullptr; };
  connect(
      worker, &RunWorker::OutputReady, this,
      [this, current] {
        if (!current()) return;
        TakeOutput();
        ShowTranscript();
      },
      Qt::QueuedConnection);
  connect(
      worker, &RunWorker::AnswerRequested, this,
      [this, current](const QByteArray& prompt) {
        if (!current()) return;
        TakeOutput();  // the output that comes before the question
        model_.Asked(std::string_view(prompt.constData(), static_cast<std::size_t>(prompt.size())));
        Show();
      },
      Qt::QueuedConnection);
  connect(
      worker, &RunWorker::DrawingShown, this,
      [this, current] {
        if (!current()) return;
        if (std::optional<run::Drawing> drawing = worker_->TakeDrawing()) {
          model_.DrawingGrew(std::move(*drawing));
          ShowDrawing();
        }
      },
      Qt::QueuedConnection);
  connect(
      worker, &RunWorker::StoppedAtInstruction, this,
      [this, current] {
        if (current()) TakeStop(false);
      },
      Qt::QueuedConnection);
  connect(
      worker, &RunWorker::Paused, this,
      [this, current] {
        if (current()) TakeStop(true);
      },
      Qt::QueuedConnection);
  connect(
      worker, &QThread::finished, this,
      [this, current] {
        if (current()) Finish();
      },
      Qt::QueuedConnection);
  SetDelay();
  if (stepByStep) worker->StopAtNext();  // it stops before its first line
  worker->start();
}

void RunWindow::SetDelay() {
  if (worker_) worker_->SetDelay(std::chrono::milliseconds(model_.DelayMs()));
}

void RunWindow::TakeOutput() {
  RunWorker::Output output = worker_->TakeOutput();
  if (output.clearFirst) model_.TextCleared();
  model_.Output(output.text);
}

// The program stopped before a line, or at its own pause: the model learns where and with
// which values, and the main window's panes follow.
void RunWindow::TakeStop(bool paused) {
  TakeOutput();
  RunWorker::Stop stop = worker_->TakeStop();
  if (paused) {
    model_.Paused(stop.line, std::move(stop.variables));
  } else {
    model_.StoppedBefore(stop.line, std::move(stop.variables), stop.waiting);
  }
  Show();
  if (programShown_ && model_.Lines().logoLine > 0) emit StoppedAtLine(model_.Lines().logoLine);
}

void RunWindow::Finish() {
  TakeOutput();
  model_.Ended(worker_->Result(), worker_->EndVariables());
  Show();
  const run::RunResult& result = worker_->Result();
  const bool failed =
      result.outcome == run::Outcome::kError || result.outcome == run::Outcome::kInputExhausted;
  if (programShown_ && failed && model_.Lines().logoLine > 0) {
    emit ErrorAtLine(model_.Lines().logoLine);
  }
  emit RunEnded();
}

// ---- The user's actions: the model decides, the run is told.

void RunWindow::EntreeAppuyee() {
  const bool answered = model_.AnswerLive();
  Apply(model_.Enter(session::FromUtf8(Reponse->text().toStdString())));
  if (answered && !model_.AnswerLive()) Reponse->clear();
}

void RunWindow::ArreterClick() { Apply(model_.Stop()); }

void RunWindow::ContinuerClick() { Apply(model_.Continue()); }

void RunWindow::PasAPasClick() { Apply(model_.Step()); }

void RunWindow::RelancerClick() { Apply(model_.Restart()); }

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

void RunWindow::closeEvent(QCloseEvent* event) {
  // A closed window leaves no program running behind it.
  Apply(model_.Close());
  QWidget::closeEvent(event);
}

// ---- The model, drawn.

void RunWindow::Show() {
  Etat->setText(ToPaneText(model_.StateLine()));
  Etat->setStyleSheet(model_.StateIsError() ? QStringLiteral("color: #b00000;") : QString());
  const session::ShownLines& lines = model_.Lines();
  const QString algorithm = ToPaneText(lines.algorithmText);
  LigneAlgorithme->setText(algorithm);
  LigneAlgorithme->setVisible(!algorithm.isEmpty());
  LigneLogo->setText(ToPaneText(lines.logoText));
  LignesCourantes->setVisible(lines.logoLine > 0);

  const bool asking = model_.AnswerLive();
  Question->setText(ToPaneText(model_.Question()));
  Question->setEnabled(asking);
  Reponse->setEnabled(asking);
  Continuer->setEnabled(model_.ContinueLive());
  PasAPas->setEnabled(model_.StepLive());
  Arreter->setEnabled(model_.StopLive());
  Relancer->setEnabled(model_.RestartLive());
  {
    const QSignalBlocker quiet(Vitesse);
    Vitesse->setCurrentIndex(model_.SpeedIndex());
  }
  ShowTranscript();
  ShowVariables();
  ShowDrawing();
  // A question keeps the keyboard until it is answered; a pause offers Continuer.
  if (asking) {
    Reponse->setFocus();
  } else if (model_.Phase() == session::RunPhase::kPausing) {
    Continuer->setFocus();
  }
}

void RunWindow::ShowTranscript() {
  if (!model_.TranscriptWaiting()) return;
  session::TranscriptUpdate update = model_.TakeTranscript();
  if (update.clearFirst) Sortie->clear();
  for (const session::TranscriptUpdate::Piece& piece : update.pieces) {
    AppendToOutput(ToPaneText(piece.text), piece.typed);
  }
  QTextDocument* document = Sortie->document();
  if (document->characterCount() > kKeptOutput + kKeptOutput / 4) {
    // The oldest lines go, whole, down to the measure kept.
    QTextCursor cut(document);
    const QTextBlock first = document->findBlock(document->characterCount() - kKeptOutput);
    cut.setPosition(first.position(), QTextCursor::KeepAnchor);
    cut.removeSelectedText();
  }
  ShowLastOutput(Sortie);
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
}

// The variables, the values that changed since they were last shown marked.
void RunWindow::ShowVariables() {
  if (variablesShown_ == model_.VariablesVersion()) return;
  variablesShown_ = model_.VariablesVersion();
  if (!model_.VariablesShown()) {
    Variables->setRowCount(0);
    Variables->hide();
    return;
  }
  if (Variables->isHidden()) {
    Variables->show();
    // The table gets room for a name and a value; the drawing, when shown, keeps its share.
    const int drawing = Dessin->isVisible() ? width() / 2 : 0;
    splitter_->setSizes({width() - drawing - 280, 280, drawing});
  }
  const std::vector<session::ShownVariable>& variables = model_.Variables();
  Variables->setRowCount(static_cast<int>(variables.size()));
  for (std::size_t i = 0; i < variables.size(); ++i) {
    const session::ShownVariable& variable = variables[i];
    auto* name = new QTableWidgetItem(ToPaneText(variable.name));
    auto* value = new QTableWidgetItem(ToPaneText(variable.value));
    name->setToolTip(ToPaneText(variable.note));
    if (variable.changed) value->setBackground(kChangedValue);
    Variables->setItem(static_cast<int>(i), 0, name);
    Variables->setItem(static_cast<int>(i), 1, value);
  }
}

void RunWindow::ShowDrawing() {
  if (drawingShown_ == model_.DrawingVersion()) return;
  drawingShown_ = model_.DrawingVersion();
  if (!model_.Drawing()) {
    EnregistrerDessin->setEnabled(false);
    return;
  }
  Dessin->SetDrawing(*model_.Drawing());
  if (Dessin->isHidden()) {
    Dessin->show();
    const int table = Variables->isVisible() ? Variables->width() : 0;
    splitter_->setSizes({(width() - table) / 3, table, 2 * (width() - table) / 3});
  }
  EnregistrerDessin->setEnabled(true);
}

}  // namespace tortuval::app
