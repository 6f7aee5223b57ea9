// Drives the real main window on the offscreen platform through the ways a document file reaches
// it: the open dialog, the command line, a drop on the listing pane, and files it cannot read or
// refuses; a saved LOGO program opened again; and the LOGO program saved to a file.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <string>

#include "algorithm/document_tree.h"
#include "app/command_line.h"
#include "app/error_display.h"
#include "app/main_window.h"
#include "app/radio_group.h"
#include "app/run_window.h"
#include "convert/conversion.h"
#include "convert/source_file.h"
#include "python/python_program.h"
#include "examples/example_catalogue.h"
#include "tests/app/window_test_support.h"
#include "tests/test_support.h"

namespace tortuval::app {

class MainWindowFilesTest : public WindowTestBase {
  Q_OBJECT

 private slots:
  void init() { OpenWindow(); }
  void cleanup() { CloseWindow(); }
  void OpeningAFile_data();
  void OpeningAFile();
  void OpenDialogCancelsOrChooses();
  void UnreadableFileShowsErrorAndChangesNothing();
  void FileOnCommandLineOrDropped();
  void SavingTheProgram();
  void SavingThePythonProgram();
  void SaveDialogProposesTheName();
  void FileThatIsNoDocumentOrIsCut();
  void HandEditsAreKeptUntilTheUserSaysSo();
  void ASavedProgramOpensRunsAndIsSavedUnderItsName();
  void SavingFromTheQuestionNamesTheProgramReplaced();
};

void MainWindowFilesTest::OpeningAFile_data() {
  QTest::addColumn<QByteArray>("bytes");
  const QString text(kDocument);
  QByteArray utf16 = "\xFF\xFE";
  for (QChar c : text) utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
  QTest::newRow("UTF-16 little-endian with mark") << utf16;
  QTest::newRow("UTF-8 without mark") << text.toUtf8();
}

void MainWindowFilesTest::OpeningAFile() {
  QFETCH(QByteArray, bytes);
  window_->OpenSourceFile(WriteFile("document.alg", bytes));
  QCOMPARE(window_->SourceText(), ExpectedSourceText());
  VerifyPanesShow(*window_, ExpectedSourceText());
}

void MainWindowFilesTest::OpenDialogCancelsOrChooses() {
  MainWindow& window = *window_;
  window.openDialog->setOption(QFileDialog::DontUseNativeDialog);
  ClickItem(window.exampleGroup->Item(2));
  const std::string logo = Logo(window);

  QStringList filters;
  WhenModalAppears([&](QWidget* modal) {
    auto* types = modal->findChild<QComboBox*>("fileTypeCombo");
    QVERIFY(types != nullptr);
    for (int i = 0; i < types->count(); ++i) filters << types->itemText(i);
    // The user looks at every file in another folder, then cancels.
    types->setCurrentIndex(2);
    qobject_cast<QFileDialog*>(modal)->setDirectory(QDir::rootPath());
    qobject_cast<QDialog*>(modal)->reject();
  });
  window.openAction->trigger();
  // Qt folds the two blanks after "texte" into one.
  QCOMPARE(filters, QStringList({"Fichiers Algo (*.alg)", "Fichiers texte (*.text)",
                                 "Tous les fichiers (*.*)"}));
  QCOMPARE(window.SourceText(), examples::ExampleDocument(2));
  QCOMPARE(Logo(window), logo);

  const QString path = WriteFile("choisi.alg", kDocument);
  WhenModalAppears([&](QWidget* modal) {
    // Nothing is remembered from the cancelled run.
    QCOMPARE(modal->findChild<QComboBox*>("fileTypeCombo")->currentIndex(), 0);
    QCOMPARE(qobject_cast<QFileDialog*>(modal)->directory().absolutePath(), QDir::currentPath());
    // The user gives the file's full name and confirms.
    modal->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    qobject_cast<QDialog*>(modal)->accept();
  });
  window.openAction->trigger();
  QCOMPARE(window.SourceText(), ExpectedSourceText());
  VerifyPanesShow(window, ExpectedSourceText());
  QCOMPARE(window.exampleGroup->ItemIndex(), 2);
}

void MainWindowFilesTest::UnreadableFileShowsErrorAndChangesNothing() {
  MainWindow& window = *window_;
  ClickItem(window.exampleGroup->Item(7));
  const std::string logo = Logo(window);
  const std::string listing = Listing(window);
  for (const QString& path : {folder_.filePath("absent.alg"), folder_.path()}) {
    const std::string message = testing::ErrorMessage(
        [&path] { convert::ReadSourceFile(QFile::encodeName(path).toStdString()); });
    const QString shown = ErrorShownBy([&] { window.OpenSourceFile(path); });
    QVERIFY2(shown.startsWith("Impossible d'ouvrir le fichier \"" + path + "\". "),
             qPrintable(shown));
    QCOMPARE(shown, WithClosingPeriod(QString::fromStdString(message)));
    QCOMPARE(window.SourceText(), examples::ExampleDocument(7));
    QVERIFY(Logo(window) == logo && Listing(window) == listing);
  }
  // The program goes on.
  ClickItem(window.exampleGroup->Item(8));
  VerifyPanesShow(window, examples::ExampleDocument(8));
}

void MainWindowFilesTest::FileOnCommandLineOrDropped() {
  MainWindow& window = *window_;
  StartOptions options = ParseCommandLine({"tortuval", folder_.filePath("absent.alg")});
  const QString shown = ErrorShownBy([&] { QVERIFY(ApplyStartOptions(window, options)); });
  QVERIFY2(shown.startsWith("Impossible d'ouvrir le fichier \""), qPrintable(shown));
  QVERIFY(window.SourceText().empty());

  options = ParseCommandLine({"tortuval", WriteFile("ligne de commande.alg", kDocument)});
  QVERIFY(ApplyStartOptions(window, options));
  QCOMPARE(window.SourceText(), ExpectedSourceText());

  // Dropped on the listing pane, a file is opened rather than its name typed in.
  ClickItem(window.exampleGroup->Item(0));
  const QString path = WriteFile("déposé.alg", kDocument);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  data.setText(path);
  QWidget* target = window.listingPane->viewport();
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  QVERIFY(enter.isAccepted() && drop.isAccepted());
  QTRY_COMPARE(window.SourceText(), ExpectedSourceText());
  VerifyPanesShow(window, ExpectedSourceText());
}

namespace {

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

}  // namespace

void MainWindowFilesTest::SavingTheProgram() {
  MainWindow& window = *window_;
  QStringList proposed;
  QString answer;
  window.SetSavePathChooser([&](const QString& path) {
    proposed << path;
    return answer;
  });

  // An example: its caption in the current folder. The file holds what the pane shows, in the
  // Windows-1252 bytes with CR LF that pseudal2logo --encoding cp1252 writes.
  ClickItem(window.exampleGroup->Item(15));
  answer = folder_.filePath("exemple.lgo");
  window.saveLogoAction->trigger();
  QCOMPARE(proposed.takeFirst(), QDir::current().filePath("loi_normale_centrée.lgo"));
  const std::string logo = convert::ConvertDocument(examples::ExampleDocument(15)).logoText;
  QVERIFY(logo.find("\r\n") != std::string::npos && logo.find('\xE9') != std::string::npos);
  QCOMPARE(FileBytes(answer), QByteArray::fromStdString(logo));

  // An opened document: its own name and folder. The pane's edits are saved as they stand.
  const QString document = WriteFile("mon.devoir.alg", kDocument);
  window.OpenSourceFile(document);
  window.logoPane->setPlainText(QStringLiteral("modifié\nfin"));
  answer = folder_.filePath("devoir.lgo");
  window.saveLogoAction->trigger();
  QCOMPARE(proposed.takeFirst(), folder_.filePath("mon.devoir.lgo"));
  QCOMPARE(FileBytes(answer), QByteArray("modifi\xE9\r\nfin"));

  // Cancelled: nothing is written.
  answer.clear();
  const QStringList files = QDir(folder_.path()).entryList(QDir::Files);
  window.saveLogoAction->trigger();
  QCOMPARE(proposed.size(), 1);
  QCOMPARE(QDir(folder_.path()).entryList(QDir::Files), files);

  // A folder that does not exist: the error box, and nothing else changes.
  answer = folder_.filePath("absent/devoir.lgo");
  const QString shown = ErrorShownBy([&] { window.saveLogoAction->trigger(); });
  QCOMPARE(shown, "Impossible d'écrire le fichier \"" + answer +
                      "\". Le chemin d'accès spécifié est introuvable.");
  QCOMPARE(window.logoPane->toPlainText(), QStringLiteral("modifié\nfin"));
  QCOMPARE(window.SourceText(), ExpectedSourceText());
  QVERIFY(!QFile::exists(answer));
}

void MainWindowFilesTest::SavingThePythonProgram() {
  MainWindow& window = *window_;
  QStringList proposed;
  QString answer;
  window.SetSavePathChooser([&](const QString& path) {
    proposed << path;
    return answer;
  });
  // An example: the algorithm in Python, UTF-8, under the example's caption.
  ClickItem(window.exampleGroup->Item(7));
  answer = folder_.filePath("euclide.py");
  window.savePythonAction->trigger();
  QCOMPARE(proposed.takeFirst(), QDir::current().filePath("prof_pgdc_Euclide.py"));
  const std::string python =
      python::WritePython(algorithm::ReadAlgorithmDocument(examples::ExampleDocument(7)),
                          "exemple-8")
          .text;
  QVERIFY(python.find("while B != 0:\n") != std::string::npos);
  QCOMPARE(FileBytes(answer), QByteArray::fromStdString(python));

  // A program opened without its document has no Python: said, and nothing asked or written.
  const QString logo = WriteFile("seul.lgo", "ECRIS 1\r\n");
  window.OpenSourceFile(logo);
  QCOMPARE(InformationShownBy([&] { window.savePythonAction->trigger(); }),
           QStringLiteral("Ce programme a été ouvert sans son document : il n'a pas de version "
                          "Python."));
  QVERIFY(proposed.isEmpty());
}

void MainWindowFilesTest::SaveDialogProposesTheName() {
  MainWindow& window = *window_;
  ClickItem(window.exampleGroup->Item(7));
  WhenModalAppears([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog->directory().absolutePath(), QDir::currentPath());
    QCOMPARE(modal->findChild<QLineEdit*>("fileNameEdit")->text(), "prof_pgdc_Euclide.lgo");
    dialog->reject();
  });
  window.saveLogoAction->trigger();
  QVERIFY(!QFile::exists(QDir::current().filePath("prof_pgdc_Euclide.lgo")));
}

void MainWindowFilesTest::FileThatIsNoDocumentOrIsCut() {
  MainWindow& window = *window_;
  ClickItem(window.exampleGroup->Item(7));
  const QString summary = window.checkSummary->text();
  const QString notes = WriteFile("notes.txt", "Bonjour,\nvoici mes notes.\n");
  QCOMPARE(InformationShownBy([&] { window.OpenSourceFile(notes); }),
           "\"" + notes +
               "\" ne contient aucune instruction Pseudal : ce n'est pas un document de "
               "l'éditeur.");
  // Refused: the panes, their check and the example they show stay as they were.
  VerifyPanesShow(window, examples::ExampleDocument(7));
  QCOMPARE(window.checkSummary->text(), summary);
  QCOMPARE(window.exampleGroup->ItemIndex(), 7);
  QString proposed;
  window.SetSavePathChooser([&proposed](const QString& path) {
    proposed = path;
    return QString();
  });
  window.saveLogoAction->trigger();
  QCOMPARE(proposed, QDir::current().filePath("prof_pgdc_Euclide.lgo"));

  const QByteArray whole(kDocument);
  const QString cut = WriteFile("coupé.alg", whole.left(whole.lastIndexOf("</Algo>")));
  QCOMPARE(InformationShownBy([&] { window.OpenSourceFile(cut); }),
           "Attention : \"" + cut +
               "\" semble incomplet (le document s'arrête avant sa fin) ; le programme s'arrête à "
               "sa dernière instruction lue.");
  QCOMPARE(Logo(window), convert::ConvertDocument(ExpectedSourceText()).logoText);

  // A whole document and the examples are told nothing.
  const QString path = WriteFile("entier.alg", whole);
  QCOMPARE(InformationShownBy([&] { window.OpenSourceFile(path); }), QString());
  QCOMPARE(InformationShownBy([&] { ClickItem(window.exampleGroup->Item(15)); }), QString());
  VerifyPanesShow(window, examples::ExampleDocument(15));
}

// Hand edits of the LOGO pane are not lost without a word: another example, another file or
// closing the window asks first, and "Annuler" keeps everything as it was.
void MainWindowFilesTest::HandEditsAreKeptUntilTheUserSaysSo() {
  MainWindow& window = *window_;
  int asked = 0;
  MainWindow::EditsChoice answer = MainWindow::EditsChoice::kCancel;
  window.SetEditsQuestion([&] {
    ++asked;
    return answer;
  });
  ClickItem(window.exampleGroup->Item(7));
  ClickItem(window.exampleGroup->Item(6));  // nothing edited: nothing asked
  QCOMPARE(asked, 0);
  const auto typeInPane = [&window] {
    QTextCursor end(window.logoPane->document());
    end.movePosition(QTextCursor::End);
    window.logoPane->setTextCursor(end);
    window.logoPane->setFocus();
    QTest::keyClicks(window.logoPane, "ECRIS 1");
  };
  typeInPane();
  const std::string edited = Logo(window);

  ClickItem(window.exampleGroup->Item(7));
  QCOMPARE(asked, 1);
  QCOMPARE(Logo(window), edited);
  QCOMPARE(window.exampleGroup->ItemIndex(), 6);
  window.OpenSourceFile(WriteFile("autre.alg", kDocument));
  QCOMPARE(asked, 2);
  QCOMPARE(Logo(window), edited);
  QVERIFY(!window.close());
  QVERIFY(window.isVisible());

  // "Enregistrer": the edited program is saved, then the example shown.
  const QString saved = folder_.filePath("mon programme.lgo");
  window.SetSavePathChooser([&saved](const QString&) { return saved; });
  answer = MainWindow::EditsChoice::kSave;
  ClickItem(window.exampleGroup->Item(7));
  QCOMPARE(asked, 4);
  QCOMPARE(testing::ReadFileBytes(saved.toStdString()), edited);
  QCOMPARE(window.exampleGroup->ItemIndex(), 7);
  QVERIFY(Logo(window) != edited);

  // "Abandonner": the edits go.
  typeInPane();
  answer = MainWindow::EditsChoice::kDiscard;
  ClickItem(window.exampleGroup->Item(0));
  QCOMPARE(asked, 5);
  QCOMPARE(Logo(window), convert::ConvertDocument(examples::ExampleDocument(0)).logoText);
}

// A program saved as ".lgo" is no document: it opens as the program it is, by the open command
// or dropped on a pane, and is checked, run and saved again under its own name.
void MainWindowFilesTest::ASavedProgramOpensRunsAndIsSavedUnderItsName() {
  MainWindow& window = *window_;
  const QByteArray program = "ECRIS 6 * 7\r\nECRIS :zz\r\n";
  const QString path = WriteFile("réponse.lgo", program);
  ClickItem(window.exampleGroup->Item(7));
  QCOMPARE(InformationShownBy([&] { window.OpenSourceFile(path); }), QString());
  QCOMPARE(Logo(window), program.toStdString());
  QCOMPARE(Listing(window), std::string());
  QCOMPARE(window.checkSummary->text(), QStringLiteral("Programme vérifié : 1 ligne à revoir."));

  window.runLogoAction->trigger();
  QVERIFY(window.RunView() != nullptr);
  QTRY_VERIFY_WITH_TIMEOUT(window.RunView()->Sortie->toPlainText().startsWith("42"), 20000);

  QString proposed;
  window.SetSavePathChooser([&proposed](const QString& chosen) {
    proposed = chosen;
    return QString();
  });
  window.saveLogoAction->trigger();
  QCOMPARE(proposed, path);

  // Dropped on the LOGO pane over an example.
  ClickItem(window.exampleGroup->Item(2));
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  QWidget* target = window.logoPane->viewport();
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  QVERIFY(drop.isAccepted());
  QTRY_COMPARE(Logo(window), program.toStdString());
  QCOMPARE(Listing(window), std::string());
}

// "Enregistrer" in the question about edits saves the edited program under its own name, not
// under the name of the example chosen next.
void MainWindowFilesTest::SavingFromTheQuestionNamesTheProgramReplaced() {
  MainWindow& window = *window_;
  window.SetEditsQuestion([] { return MainWindow::EditsChoice::kSave; });
  QStringList proposed;
  const QString saved = folder_.filePath("euclide.lgo");
  window.SetSavePathChooser([&](const QString& path) {
    proposed << path;
    return saved;
  });
  ClickItem(window.exampleGroup->Item(7));
  window.logoPane->appendPlainText(QStringLiteral("ECRIS 1"));
  const std::string edited = Logo(window);
  ClickItem(window.exampleGroup->Item(8));
  QCOMPARE(proposed, QStringList{QDir::current().filePath("prof_pgdc_Euclide.lgo")});
  QCOMPARE(testing::ReadFileBytes(saved.toStdString()), edited);
  VerifyPanesShow(window, examples::ExampleDocument(8));

  // The same from an opened document, replaced by an example.
  window.OpenSourceFile(WriteFile("devoir.alg", kDocument));
  window.logoPane->appendPlainText(QStringLiteral("ECRIS 2"));
  ClickItem(window.exampleGroup->Item(3));
  QCOMPARE(proposed.last(), folder_.filePath("devoir.lgo"));
}

}  // namespace tortuval::app

int main(int argc, char* argv[]) {
  tortuval::app::UseLaptopScreen();
  QApplication application(argc, argv);
  tortuval::app::MainWindowFilesTest test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_files_test.moc"
