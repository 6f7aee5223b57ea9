// The main window's files: opening a document or a saved LOGO program (by the dialog, the command
// line or a drop), saving the LOGO program, and the question before hand edits of the LOGO pane
// would be lost.

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <filesystem>

#include "algorithm/document_tree.h"
#include "app/error_display.h"
#include "app/file_filter.h"
#include "app/logo_file.h"
#include "app/main_window.h"
#include "app/pane_text.h"
#include "base/output_file.h"
#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "python/python_program.h"

namespace tortuval::app {
namespace {

// The first local file among the dragged items, or an empty string.
QString FirstLocalFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return url.toLocalFile();
  }
  return {};
}

}  // namespace

void MainWindow::OuvrirClick() {
  if (!KeepOrDropEdits()) return;
  RunGuarded(this, [this] {
    // No folder is remembered: the dialog starts where the process is, with the first filter.
    openDialog->setDirectory(QDir::currentPath());
    openDialog->selectFile(QString());
    openDialog->selectNameFilter(openDialog->nameFilters().constFirst());
    if (openDialog->exec() != QDialog::Accepted) return;
    const QStringList chosen = openDialog->selectedFiles();
    if (!chosen.isEmpty()) LoadSourceFile(chosen.constFirst());
  });
}

void MainWindow::EnregistrerLogoClick() {
  RunGuarded(this, [this] { SaveLogoProgram(); });
}

bool MainWindow::SaveLogoProgram() {
  // Named after the program the panes hold: while the question about edits is asked, the group
  // already shows the next choice.
  const QString caption =
      shownExample_ >= 0 ? ToPaneText(examples::ExampleCaption(shownExample_)) : QString();
  const QString proposed = ProposedLogoPath(documentPath_, caption, QDir::currentPath());
  const QString chosen = chooseSavePath_ ? chooseSavePath_(proposed) : AskSavePath(proposed);
  if (chosen.isEmpty()) return false;
  // The pane's text as it stands, edits included: Windows-1252 with CR LF line breaks.
  base::WriteOutputFile(std::filesystem::path(QFile::encodeName(chosen).toStdString()),
                        PaneText(logoPane));
  logoPane->document()->setModified(false);
  return true;
}

void MainWindow::EnregistrerPythonClick() {
  RunGuarded(this, [this] { SavePythonProgram(); });
}

void MainWindow::SavePythonProgram() {
  if (!session_.IsDocument()) {
    ShowInformation(this, QStringLiteral("Ce programme a été ouvert sans son document : il n'a "
                                         "pas de version Python."));
    return;
  }
  const QString caption =
      shownExample_ >= 0 ? ToPaneText(examples::ExampleCaption(shownExample_)) : QString();
  const QString proposed = ProposedPythonPath(documentPath_, caption, QDir::currentPath());
  const QString chosen = chooseSavePath_ ? chooseSavePath_(proposed) : AskSavePath(proposed, true);
  if (chosen.isEmpty()) return;
  // Written from the document: the LOGO pane's edits do not change the algorithm.
  const python::PythonProgram program = python::WritePython(
      algorithm::ReadAlgorithmDocument(session_.Source()), session_.ShownName());
  base::WriteOutputFile(std::filesystem::path(QFile::encodeName(chosen).toStdString()),
                        program.text);
  if (!program.findings.empty()) {
    const auto count = static_cast<int>(program.findings.size());
    ShowInformation(this, QStringLiteral("%1 ligne%2 de l'algorithme reste%3 à compléter dans le "
                                         "programme Python (« # À compléter : … »), à partir de "
                                         "la ligne %4.")
                              .arg(count)
                              .arg(count > 1 ? "s" : "")
                              .arg(count > 1 ? "nt" : "")
                              .arg(program.findings.front().line));
  }
}

bool MainWindow::KeepOrDropEdits() {
  if (!logoPane->document()->isModified()) return true;
  EditsChoice choice = EditsChoice::kCancel;
  if (askAboutEdits_) {
    choice = askAboutEdits_();
  } else {
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    QStringLiteral("Le programme LOGO a été modifié."), QMessageBox::NoButton,
                    this);
    QPushButton* save = box.addButton(QStringLiteral("Enregistrer"), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(QStringLiteral("Abandonner"), QMessageBox::DestructiveRole);
    box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.exec();
    choice = box.clickedButton() == save      ? EditsChoice::kSave
             : box.clickedButton() == discard ? EditsChoice::kDiscard
                                              : EditsChoice::kCancel;
  }
  switch (choice) {
    case EditsChoice::kSave: {
      bool saved = false;
      RunGuarded(this, [this, &saved] { saved = SaveLogoProgram(); });
      return saved;
    }
    case EditsChoice::kDiscard:
      return true;
    case EditsChoice::kCancel:
      break;
  }
  return false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!KeepOrDropEdits()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

QString MainWindow::AskSavePath(const QString& proposedPath, bool python) {
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(python ? QStringList{QStringLiteral("Programme Python (*.py)")}
                               : QtNameFilters(kSaveDialogFilter));
  dialog.setDefaultSuffix(python ? QStringLiteral("py") : QStringLiteral("lgo"));
  dialog.setDirectory(QFileInfo(proposedPath).absolutePath());
  dialog.selectFile(QFileInfo(proposedPath).fileName());
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.constFirst();
}

void MainWindow::OpenSourceFile(const QString& path) {
  if (!KeepOrDropEdits()) return;
  RunGuarded(this, [this, &path] { LoadSourceFile(path); });
}

void MainWindow::LoadSourceFile(const QString& path) {
  // A file that cannot be read raises an Error before any pane changes; the command's
  // RunGuarded shows it.
  // A text that is no document opens as a LOGO program when its ".lgo" name says it was saved
  // as one.
  session::Session opened =
      session::Session::OfFile(std::filesystem::path(QFile::encodeName(path).toStdString()),
                               session::Session::OpenAs::kDocumentElseSavedProgram);
  const std::string notice = opened.FaultMessage();
  if (opened.Fault() == convert::DocumentFault::kNoInstruction) {
    // Refused: the panes and the example choice keep what they showed.
    ShowInformation(this, QString::fromStdString(notice));
    return;
  }
  documentPath_ = path;
  shownExample_ = -1;
  ConvertionPseudal2Logo(std::move(opened));
  // Told once the panes show the result, which stays as the conversion made it.
  if (!notice.empty()) ShowInformation(this, QString::fromStdString(notice));
}

bool MainWindow::HandleFileDrag(QEvent* event) {
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

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!HandleFileDrag(event)) QMainWindow::dragEnterEvent(event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (!HandleFileDrag(event)) QMainWindow::dragMoveEvent(event);
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (!HandleFileDrag(event)) QMainWindow::dropEvent(event);
}

}  // namespace tortuval::app
