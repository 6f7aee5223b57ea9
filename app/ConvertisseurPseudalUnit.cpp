#include "app/ConvertisseurPseudalUnit.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTextBlock>
#include <QUrl>
#include <filesystem>

#include "app/ConvertisseurPseudalUnitApropos.h"
#include "app/alt_typing.h"
#include "app/client_layout.h"
#include "app/error_display.h"
#include "app/file_filter.h"
#include "app/finding_marks.h"
#include "app/logo_file.h"
#include "app/pane_text.h"
#include "app/radio_group.h"
#include "app/run_window.h"
#include "app/shell_font.h"
#include "app/window_geometry.h"
#include "base/output_file.h"
#include "convert/conversion.h"
#include "convert/document_faults.h"
#include "convert/source_file.h"
#include "examples/example_catalogue.h"
#include "logo/checker.h"

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
  pane->setFont(ShellFont(kPaneFontHeight));
  pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  return pane;
}

// The first local file among the dragged items, or an empty string.
QString FirstLocalFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return url.toLocalFile();
  }
  return {};
}

}  // namespace

TFicheConvertisseur::TFicheConvertisseur(QWidget* parent) : QMainWindow(parent) {
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
  QWidget::setTabOrder(Editeur, RadioGroup1->Item(0));
  for (int index = 1; index < RadioGroup1->ItemCount(); ++index) {
    QWidget::setTabOrder(RadioGroup1->Item(index - 1), RadioGroup1->Item(index));
  }
  QWidget::setTabOrder(RadioGroup1->Item(RadioGroup1->ItemCount() - 1), Editeur2);
  Editeur->setFocus();

  // The window is exactly the menu bar over the fixed client area; the window manager is asked
  // not to resize it, and FormResize undoes any size change that happens all the same.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  layout()->activate();
  setAcceptDrops(true);
  // A screen whose free area changes (a panel added, another scale) may hold more or less of
  // the window.
  connect(QGuiApplication::primaryScreen(), &QScreen::availableGeometryChanged, this,
          &TFicheConvertisseur::FormResize);

  FormCreate();
  ficheAproposTortuval_ = new TFicheAproposTortuval(this);
}

void TFicheConvertisseur::CreateMenus() {
  MainMenu1 = menuBar();
  Fichier = MainMenu1->addMenu(QStringLiteral("Fichier."));
  Ouvrir = Fichier->addAction(QStringLiteral("Ouvrir."));
  EnregistrerLogo = Fichier->addAction(QStringLiteral("Enregistrer le programme LOGO."));
  Edition = MainMenu1->addMenu(QStringLiteral("Edition."));
  Copier = Edition->addAction(QStringLiteral("Copier"));
  Selectionnertout = Edition->addAction(QStringLiteral("Sélectionner tout."));
  Infos = MainMenu1->addMenu(QStringLiteral("Infos."));
  Aproposde = Infos->addMenu(QStringLiteral("A propos de..."));
  Tortuval = Aproposde->addAction(QStringLiteral("Tortuval"));

  connect(Ouvrir, &QAction::triggered, this, &TFicheConvertisseur::OuvrirClick);
  connect(EnregistrerLogo, &QAction::triggered, this, &TFicheConvertisseur::EnregistrerLogoClick);
  connect(Copier, &QAction::triggered, this, &TFicheConvertisseur::CopierClick);
  connect(Selectionnertout, &QAction::triggered, this, &TFicheConvertisseur::SelectionnertoutClick);
  connect(Tortuval, &QAction::triggered, this, &TFicheConvertisseur::TortuvalClick);

  // Added after the window's original menus, which keep their places.
  Execution = MainMenu1->addMenu(QStringLiteral("Exécution."));
  LancerleprogrammeLOGO = Execution->addAction(QStringLiteral("Lancer le programme LOGO."));
  connect(LancerleprogrammeLOGO, &QAction::triggered, this,
          &TFicheConvertisseur::LancerleprogrammeLOGOClick);
}

void TFicheConvertisseur::CreateExampleGroup(QWidget* client) {
  QStringList captions;
  for (int index = 0; index < examples::kExampleCount; ++index) {
    captions << ToPaneText(examples::ExampleCaption(index));
  }
  RadioGroup1 = new RadioGroup(QStringLiteral("Programmes-exemples."), captions, client);
  connect(RadioGroup1, &RadioGroup::SelectionChanged, this, &TFicheConvertisseur::RadioGroup1Click);
}

void TFicheConvertisseur::CreatePanes(QWidget* client) {
  Label2 = Heading(QStringLiteral("Programme Pseudal."), client);
  Editeur2 = Pane(client);
  Editeur2->setTabChangesFocus(true);
  Label1 = Heading(QStringLiteral("Programme LOGO."), client);
  // The LOGO pane keeps the Tab key: it types a tab character.
  Editeur = Pane(client);

  // The panes would take a dropped file as text; the window opens it instead.
  Editeur->viewport()->installEventFilter(this);
  Editeur2->viewport()->installEventFilter(this);
  // The panes would type the letter of a key pressed with Alt over their selection.
  Editeur->installEventFilter(this);
  Editeur2->installEventFilter(this);
}

// One line under the client area, which keeps its size; the status bar's grip is left out so
// that the window still shows it cannot be resized.
void TFicheConvertisseur::CreateCheckSummary() {
  ResumeVerification = new QPushButton(this);
  ResumeVerification->setFlat(true);
  ResumeVerification->setFont(ShellFont(kPaneFontHeight));
  ResumeVerification->setFocusPolicy(Qt::NoFocus);
  statusBar()->setSizeGripEnabled(false);
  statusBar()->addWidget(ResumeVerification);
  marks_ = new FindingMarks(Editeur, ResumeVerification, this);
}

void TFicheConvertisseur::PlaceControls(QSize client) {
  const ClientLayout places = LayoutForClient(client);
  RadioGroup1->setGeometry(places.radioGroup1);
  Label2->move(places.label2);
  Editeur2->setGeometry(places.editeur2);
  Label1->move(places.label1);
  Editeur->setGeometry(places.editeur);
}

void TFicheConvertisseur::CreateOpenDialog() {
  OpenDialog = new QFileDialog(this);
  OpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
  OpenDialog->setFileMode(QFileDialog::ExistingFile);
  OpenDialog->setOption(QFileDialog::HideNameFilterDetails);
  OpenDialog->setNameFilters(QtNameFilters(kOpenDialogFilter));
}

void TFicheConvertisseur::ConvertionPseudal2Logo() {
  Editeur->clear();
  Editeur2->clear();
  const convert::ConversionResult result = convert::ConvertDocument(sourceText_);
  documentFault_ = result.fault;
  SetPaneText(Editeur, result.logoText);
  SetPaneText(Editeur2, result.listingText);
  marks_->Show(logo::CheckProgram(result.logoText));
}

void TFicheConvertisseur::OuvrirClick() {
  RunGuarded(this, [this] {
    // No folder is remembered: the dialog starts where the process is, with the first filter.
    OpenDialog->setDirectory(QDir::currentPath());
    OpenDialog->selectFile(QString());
    OpenDialog->selectNameFilter(OpenDialog->nameFilters().constFirst());
    if (OpenDialog->exec() != QDialog::Accepted) return;
    const QStringList chosen = OpenDialog->selectedFiles();
    if (!chosen.isEmpty()) LoadSourceFile(chosen.constFirst());
  });
}

void TFicheConvertisseur::EnregistrerLogoClick() {
  RunGuarded(this, [this] {
    const int example = RadioGroup1->ItemIndex();
    const QString caption =
        example >= 0 ? ToPaneText(examples::ExampleCaption(example)) : QString();
    const QString proposed = ProposedLogoPath(documentPath_, caption, QDir::currentPath());
    const QString chosen = chooseSavePath_ ? chooseSavePath_(proposed) : AskSavePath(proposed);
    if (chosen.isEmpty()) return;
    // The pane's text as it stands, edits included: Windows-1252 with CR LF line breaks.
    base::WriteOutputFile(std::filesystem::path(QFile::encodeName(chosen).toStdString()),
                          PaneText(Editeur));
  });
}

QString TFicheConvertisseur::AskSavePath(const QString& proposedPath) {
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(QtNameFilters(kSaveDialogFilter));
  dialog.setDefaultSuffix(QStringLiteral("lgo"));
  dialog.setDirectory(QFileInfo(proposedPath).absolutePath());
  dialog.selectFile(QFileInfo(proposedPath).fileName());
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.constFirst();
}

void TFicheConvertisseur::CopierClick() {
  RunGuarded(this, [this] {
    const QString selected = SelectedPaneText(Editeur);
    if (!selected.isEmpty()) QGuiApplication::clipboard()->setText(selected);
  });
}

void TFicheConvertisseur::SelectionnertoutClick() {
  RunGuarded(this, [this] {
    Editeur->setFocus();
    Editeur->selectAll();
  });
}

void TFicheConvertisseur::RadioGroup1Click() {
  RunGuarded(this, [this] {
    const int index = RadioGroup1->ItemIndex();
    if (index < 0 || index >= examples::kExampleCount) return;
    sourceText_ = examples::ExampleDocument(index);
    documentPath_.clear();
    ConvertionPseudal2Logo();
  });
}

void TFicheConvertisseur::FormCreate() {
  RunGuarded(this, [this] {
    FitToScreen();
    Centre();
  });
}

void TFicheConvertisseur::FormResize() {
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

void TFicheConvertisseur::TortuvalClick() {
  RunGuarded(this, [this] { ficheAproposTortuval_->exec(); });
}

void TFicheConvertisseur::LancerleprogrammeLOGOClick() {
  RunGuarded(this, [this] {
    if (ficheExecution_ == nullptr) {
      ficheExecution_ = new RunWindow(this);
      connect(ficheExecution_, &RunWindow::ErrorAtLine, this, &TFicheConvertisseur::SelectLogoLine);
    }
    // The pane's text as it stands, hand edits included, in the runtime's Windows-1252.
    ficheExecution_->Start(PaneText(Editeur));
    ficheExecution_->show();
    ficheExecution_->raise();
    ficheExecution_->activateWindow();
  });
}

void TFicheConvertisseur::SelectLogoLine(int line) {
  const QTextBlock block = Editeur->document()->findBlockByNumber(line - 1);
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  Editeur->setTextCursor(cursor);
  Editeur->ensureCursorVisible();
}

void TFicheConvertisseur::OpenSourceFile(const QString& path) {
  RunGuarded(this, [this, &path] { LoadSourceFile(path); });
}

void TFicheConvertisseur::LoadSourceFile(const QString& path) {
  // A file that cannot be read raises an Error before any pane changes; the command's
  // RunGuarded shows it.
  const std::string text =
      convert::ReadSourceFile(std::filesystem::path(QFile::encodeName(path).toStdString()));
  // The text goes through the pane and is taken back from it, as the user would see it.
  SetPaneText(Editeur, text);
  sourceText_ = PaneText(Editeur);
  documentPath_ = path;
  ConvertionPseudal2Logo();
  // Told once the panes show the result, which stays as the conversion made it.
  const std::string notice = convert::DocumentFaultMessage(documentFault_, path.toStdString());
  if (!notice.empty()) ShowInformation(this, QString::fromStdString(notice));
}

void TFicheConvertisseur::FitToScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  QWidget* client = centralWidget();
  // The frame, the menu bar and the status line keep their sizes; only the client area gives.
  const QSize frame = frameGeometry().size() - size();
  const QSize chrome = layout()->totalSizeHint() - client->size() + frame;
  const QSize minimum = MinimumClientSize(RadioGroup1->minimumSizeHint().height());
  const QSize fitted = FittedClientSize(screen->availableGeometry().size(), chrome, minimum);
  if (fitted == client->size()) return;
  client->setFixedSize(fitted);
  PlaceControls(fitted);
  layout()->activate();
}

bool TFicheConvertisseur::Shrunk() const { return centralWidget()->size() != kClientSize; }

void TFicheConvertisseur::Centre() {
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

void TFicheConvertisseur::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TFicheConvertisseur::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The frame's size is known once the window is shown, on some systems a moment later: the
  // window is fitted and centred again with it.
  QMetaObject::invokeMethod(this, &TFicheConvertisseur::FormResize, Qt::QueuedConnection);
}

void TFicheConvertisseur::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // A window manager may maximise the window without changing its size, the size being fixed;
  // that is undone as a size change would be, once the state change is over.
  if (event->type() == QEvent::WindowStateChange &&
      (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
    QMetaObject::invokeMethod(this, &TFicheConvertisseur::FormResize, Qt::QueuedConnection);
  }
}

bool TFicheConvertisseur::HandleFileDrag(QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  // Enter and move events are drop events too, each carrying the dragged data.
  auto* drag = static_cast<QDropEvent*>(event);
  const QString file = FirstLocalFile(drag->mimeData());
  if (file.isEmpty()) return false;
  drag->acceptProposedAction();
  if (type == QEvent::Drop) {
    // Opened once the drop is over: an error box must not run inside the drag's own loop.
    QMetaObject::invokeMethod(
        this, [this, file] { OpenSourceFile(file); }, Qt::QueuedConnection);
  }
  return true;
}

void TFicheConvertisseur::dragEnterEvent(QDragEnterEvent* event) {
  if (!HandleFileDrag(event)) QMainWindow::dragEnterEvent(event);
}

void TFicheConvertisseur::dragMoveEvent(QDragMoveEvent* event) {
  if (!HandleFileDrag(event)) QMainWindow::dragMoveEvent(event);
}

void TFicheConvertisseur::dropEvent(QDropEvent* event) {
  if (!HandleFileDrag(event)) QMainWindow::dropEvent(event);
}

bool TFicheConvertisseur::eventFilter(QObject* watched, QEvent* event) {
  const bool onPane = watched == Editeur->viewport() || watched == Editeur2->viewport();
  if (onPane && HandleFileDrag(event)) return true;
  // Swallowed whole: nothing else in the window answers Alt with a letter.
  const bool onEditor = watched == Editeur || watched == Editeur2;
  if (onEditor && event->type() == QEvent::KeyPress &&
      TypesWithAlt(*static_cast<QKeyEvent*>(event))) {
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace tortuval::app
