#include "app/main_window.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>

#include "app/about_window.h"
#include "app/alt_typing.h"
#include "app/client_layout.h"
#include "app/error_display.h"
#include "app/file_filter.h"
#include "app/finding_marks.h"
#include "app/line_numbered_pane.h"
#include "app/pane_text.h"
#include "app/radio_group.h"
#include "app/run_window.h"
#include "app/run_window_place.h"
#include "app/shell_font.h"
#include "app/window_geometry.h"
#include "app/wrapped_lines.h"
#include "examples/example_catalogue.h"

namespace tortuval::app {
namespace {

constexpr int kPaneFontHeight = 11;
constexpr int kHeadingFontHeight = 12;

// A heading that sizes itself to its text, so a stand-in font wider than Tahoma is not cut.
QLabel* Heading(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFont(ShellFont(kHeadingFontHeight, true));
  label->adjustSize();
  return label;
}

QPlainTextEdit* Pane(QWidget* parent) {
  auto* pane = new QPlainTextEdit(parent);
  WrapLinesAtBlanksUnderTheirIndent(pane);
  pane->setFont(ShellFont(kPaneFontHeight));
  return pane;
}

// Selects line `line` (from 1) of `pane`; false when the pane has no such line.
bool SelectPaneLine(QPlainTextEdit* pane, int line) {
  const QTextBlock block = pane->document()->findBlockByNumber(line - 1);
  if (line < 1 || !block.isValid()) return false;
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  pane->setTextCursor(cursor);
  return true;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Convertisseur Pseudal-> LOGO."));
  auto* client = new QWidget(this);
  client->setFixedSize(kClientSize);
  client->setFont(ShellFont(kPaneFontHeight));
  setCentralWidget(client);

  CreateMenus();
  CreateExampleGroup(client);
  CreatePanes(client);
  CreateCheckSummary();
  CreateOpenDialog();
  PlaceControls(kClientSize);

  // Tab order: the LOGO pane, the examples, the listing pane.
  QWidget::setTabOrder(logoPane, exampleGroup->Item(0));
  for (int index = 1; index < exampleGroup->ItemCount(); ++index) {
    QWidget::setTabOrder(exampleGroup->Item(index - 1), exampleGroup->Item(index));
  }
  QWidget::setTabOrder(exampleGroup->Item(exampleGroup->ItemCount() - 1), listingPane);
  logoPane->setFocus();

  // The window is exactly the menu bar over the fixed client area; the window manager is asked
  // not to resize it, and FormResize undoes any size change that happens all the same.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  layout()->activate();
  setAcceptDrops(true);
  // A screen whose free area changes (a panel added, another scale) may hold more or less of
  // the window.
  connect(QGuiApplication::primaryScreen(), &QScreen::availableGeometryChanged, this,
          &MainWindow::FormResize);

  FormCreate();
  about_ = new AboutWindow(this);
}

void MainWindow::CreateMenus() {
  mainMenu = menuBar();
  fileMenu = mainMenu->addMenu(QStringLiteral("Fichier."));
  openAction = fileMenu->addAction(QStringLiteral("Ouvrir."));
  saveLogoAction = fileMenu->addAction(QStringLiteral("Enregistrer le programme LOGO."));
  savePythonAction = fileMenu->addAction(QStringLiteral("Enregistrer le programme Python."));
  editMenu = mainMenu->addMenu(QStringLiteral("Edition."));
  copyAction = editMenu->addAction(QStringLiteral("Copier"));
  selectAllAction = editMenu->addAction(QStringLiteral("Sélectionner tout."));
  infoMenu = mainMenu->addMenu(QStringLiteral("Infos."));
  aboutMenu = infoMenu->addMenu(QStringLiteral("A propos de..."));
  aboutAction = aboutMenu->addAction(QStringLiteral("Tortuval"));

  connect(openAction, &QAction::triggered, this, &MainWindow::OuvrirClick);
  connect(saveLogoAction, &QAction::triggered, this, &MainWindow::EnregistrerLogoClick);
  connect(savePythonAction, &QAction::triggered, this, &MainWindow::EnregistrerPythonClick);
  connect(copyAction, &QAction::triggered, this, &MainWindow::CopierClick);
  connect(selectAllAction, &QAction::triggered, this, &MainWindow::SelectionnertoutClick);
  connect(aboutAction, &QAction::triggered, this, &MainWindow::TortuvalClick);

  // Added after the window's original menus, which keep their places.
  runMenu = mainMenu->addMenu(QStringLiteral("Exécution."));
  runLogoAction = runMenu->addAction(QStringLiteral("Lancer le programme LOGO."));
  connect(runLogoAction, &QAction::triggered, this, &MainWindow::RunLogoProgram);
}

void MainWindow::CreateExampleGroup(QWidget* client) {
  QStringList captions;
  for (int index = 0; index < examples::kExampleCount; ++index) {
    captions << ToPaneText(examples::ExampleCaption(index));
  }
  exampleGroup = new RadioGroup(QStringLiteral("Programmes-exemples."), captions, client);
  connect(exampleGroup, &RadioGroup::SelectionChanged, this, &MainWindow::ExampleChosen);
}

void MainWindow::CreatePanes(QWidget* client) {
  listingLabel = Heading(QStringLiteral("Programme Pseudal."), client);
  listingPane = Pane(client);
  listingPane->setTabChangesFocus(true);
  logoLabel = Heading(QStringLiteral("Programme LOGO."), client);
  // The LOGO pane keeps the Tab key: it types a tab character.
  // The LOGO pane numbers its lines, as the check's messages cite them.
  logoPane = new LineNumberedPane(client);
  WrapLinesAtBlanksUnderTheirIndent(logoPane);
  logoPane->setFont(ShellFont(kPaneFontHeight));

  // The panes would take a dropped file as text; the window opens it instead.
  logoPane->viewport()->installEventFilter(this);
  listingPane->viewport()->installEventFilter(this);
  // The panes would type the letter of a key pressed with Alt over their selection.
  logoPane->installEventFilter(this);
  listingPane->installEventFilter(this);
}

// One line under the client area, which keeps its size; the status bar's grip is left out so
// that the window still shows it cannot be resized.
void MainWindow::CreateCheckSummary() {
  checkSummary = new QPushButton(this);
  checkSummary->setFlat(true);
  checkSummary->setFont(ShellFont(kPaneFontHeight));
  checkSummary->setFocusPolicy(Qt::NoFocus);
  statusBar()->setSizeGripEnabled(false);
  statusBar()->addWidget(checkSummary);
  marks_ = new FindingMarks(logoPane, checkSummary, this);
  // Hand edits are checked again once the typing pauses.
  recheck_ = new QTimer(this);
  recheck_->setSingleShot(true);
  recheck_->setInterval(session::kCheckDelayMs);
  connect(recheck_, &QTimer::timeout, this, &MainWindow::CheckLogoPane);
  connect(logoPane, &QPlainTextEdit::textChanged, recheck_, qOverload<>(&QTimer::start));
  // A run belongs to the program it started with: the first key typed in the program ends it.
  connect(logoPane, &QPlainTextEdit::textChanged, this, [this] {
    if (runView_ != nullptr && runView_->IsRunning()) runView_->ProgramChanged();
  });
  connect(marks_, &FindingMarks::WentToFinding, this, &MainWindow::SelectListingLineOf);
}

void MainWindow::PlaceControls(QSize client) {
  const ClientLayout places = LayoutForClient(client);
  exampleGroup->setGeometry(places.examples);
  listingLabel->move(places.listingHeading);
  listingPane->setGeometry(places.listingPane);
  logoLabel->move(places.logoHeading);
  logoPane->setGeometry(places.logoPane);
}

void MainWindow::CreateOpenDialog() {
  openDialog = new QFileDialog(this);
  openDialog->setAcceptMode(QFileDialog::AcceptOpen);
  openDialog->setFileMode(QFileDialog::ExistingFile);
  openDialog->setOption(QFileDialog::HideNameFilterDetails);
  openDialog->setNameFilters(QtNameFilters(kOpenDialogFilter));
}

void MainWindow::ConvertionPseudal2Logo(session::Session converted) {
  // A run belongs to the program it started with: it ends before another one is shown.
  if (runView_ != nullptr) runView_->ProgramChanged();
  session_ = std::move(converted);
  SetPaneText(logoPane, session_.Program());
  SetPaneText(listingPane, session_.Listing());
  // The pane holds the conversion, checked now: nothing waits for the typing to pause.
  recheck_->stop();
  logoPane->document()->setModified(false);
  marks_->Show(session_);
}

void MainWindow::TakeHandEdits() {
  recheck_->stop();
  std::string program = PaneText(logoPane);
  if (program == session_.Program()) return;
  if (runView_ != nullptr) runView_->ProgramChanged();
  session_.EditProgram(std::move(program));
}

void MainWindow::CheckLogoPane() {
  TakeHandEdits();
  marks_->Show(session_);
}

void MainWindow::CopierClick() {
  RunGuarded(this, [this] {
    const QString selected = SelectedPaneText(logoPane);
    if (!selected.isEmpty()) QGuiApplication::clipboard()->setText(selected);
  });
}

void MainWindow::SelectionnertoutClick() {
  RunGuarded(this, [this] {
    logoPane->setFocus();
    logoPane->selectAll();
  });
}

void MainWindow::ExampleChosen() {
  if (restoringExample_) return;
  if (!KeepOrDropEdits()) {
    // The choice is undone: the panes keep the edited program, the group its example.
    restoringExample_ = true;
    if (shownExample_ >= 0) {
      exampleGroup->SetItemIndex(shownExample_);
    } else {
      exampleGroup->ClearSelection();
    }
    restoringExample_ = false;
    return;
  }
  RunGuarded(this, [this] {
    const int index = exampleGroup->ItemIndex();
    if (index < 0 || index >= examples::kExampleCount) return;
    shownExample_ = index;
    documentPath_.clear();
    ConvertionPseudal2Logo(session::Session::OfExample(index));
  });
}

void MainWindow::FormCreate() {
  RunGuarded(this, [this] {
    FitToScreen();
    Centre();
  });
}

void MainWindow::FormResize() {
  RunGuarded(this, [this] {
    // A maximised or full-screen window would be given the screen's size again.
    const Qt::WindowStates bigStates = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (windowState() & bigStates) setWindowState(windowState() & ~bigStates);
    FitToScreen();
    // Resizing to the current size raises no new size change, so this nests at most once.
    const QSize fixedSize = layout()->totalSizeHint();
    if (size() != fixedSize) resize(fixedSize);
    Centre();
  });
}

void MainWindow::TortuvalClick() {
  RunGuarded(this, [this] { about_->exec(); });
}

void MainWindow::RunLogoProgram() {
  RunGuarded(this, [this] {
    const bool opening = runView_ == nullptr;
    if (opening) {
      runView_ = new RunWindow(this);
      connect(runView_, &RunWindow::ErrorAtLine, this, &MainWindow::SelectLogoLine);
      connect(runView_, &RunWindow::StoppedAtLine, this, &MainWindow::SelectLogoLine);
      // "Relancer" always runs the program shown.
      connect(runView_, &RunWindow::RunRequested, this, [this](bool stepByStep) {
        CheckLogoPane();
        runView_->Start(session_, stepByStep);
      });
    }
    // The pane's text as it stands, hand edits included.
    CheckLogoPane();
    runView_->Start(session_);
    if (opening) {
      // It first opens beside this window, whose panes follow the run, this window moving aside
      // where the screen holds both; then both stay where the user puts them. The run window's
      // frame is taken to be as thick as this one's.
      const QSize frame = frameGeometry().size() - size();
      const FirstRunPlaces places =
          PlacesAtFirstRun(screen()->availableGeometry(), frameGeometry(),
                           runView_->size() + frame, runView_->minimumSizeHint() + frame);
      move(places.main.topLeft());
      runView_->resize(places.run.size() - frame);
      runView_->move(places.run.topLeft());
    }
    runView_->show();
    runView_->raise();
    runView_->activateWindow();
  });
}

void MainWindow::SelectLogoLine(int line) {
  if (!SelectPaneLine(logoPane, line)) return;
  logoPane->centerCursor();
  // Where the run stands, its algorithm's line is the run's: inside a function the converter
  // wrote on its own, the line that called it.
  const session::ShownLines* run = runView_ != nullptr ? &runView_->Model().Lines() : nullptr;
  if (run != nullptr && run->logoLine == line && run->algorithmLine > 0) {
    if (SelectPaneLine(listingPane, run->algorithmLine)) listingPane->ensureCursorVisible();
    return;
  }
  SelectListingLineOf(line);
}

void MainWindow::SelectListingLineOf(int logoLine) {
  if (SelectPaneLine(listingPane, session_.AlgorithmLine(logoLine))) {
    listingPane->ensureCursorVisible();
  }
}

void MainWindow::FitToScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  QWidget* client = centralWidget();
  // The frame, the menu bar and the status line keep their sizes; only the client area gives.
  const QSize frame = frameGeometry().size() - size();
  const QSize chrome = layout()->totalSizeHint() - client->size() + frame;
  const QSize minimum = MinimumClientSize(exampleGroup->minimumSizeHint().height());
  const QSize fitted = FittedClientSize(screen->availableGeometry().size(), chrome, minimum);
  if (fitted == client->size()) return;
  client->setFixedSize(fitted);
  PlaceControls(fitted);
  layout()->activate();
}

bool MainWindow::Shrunk() const { return centralWidget()->size() != kClientSize; }

void MainWindow::Centre() {
  const QSize outer = frameGeometry().size();
  if (Shrunk()) {
    // The screen is too small for the window: all of it goes on the screen's free area.
    move(PlacedInside(QGuiApplication::primaryScreen()->availableGeometry(), outer));
    return;
  }
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const WindowPosition position =
      CentredPosition(screen.width(), screen.height(), outer.width(), outer.height());
  move(screen.left() + position.left, screen.top() + position.top);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The frame's size is known once the window is shown, on some systems a moment later: the
  // window is fitted and centred again with it.
  QMetaObject::invokeMethod(this, &MainWindow::FormResize, Qt::QueuedConnection);
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // A window manager may maximise the window without changing its size, the size being fixed;
  // that is undone as a size change would be, once the state change is over.
  if (event->type() == QEvent::WindowStateChange &&
      (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
    QMetaObject::invokeMethod(this, &MainWindow::FormResize, Qt::QueuedConnection);
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const bool onPane = watched == logoPane->viewport() || watched == listingPane->viewport();
  if (onPane && HandleFileDrag(event)) return true;
  // Swallowed whole: nothing else in the window answers Alt with a letter.
  const bool onEditor = watched == logoPane || watched == listingPane;
  if (onEditor && event->type() == QEvent::KeyPress &&
      TypesWithAlt(*static_cast<QKeyEvent*>(event))) {
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace tortuval::app
