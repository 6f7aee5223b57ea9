// Drives the real main window and its about window on the offscreen platform.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <string>

#include "app/ConvertisseurPseudalUnit.h"
#include "app/ConvertisseurPseudalUnitApropos.h"
#include "app/command_line.h"
#include "app/error_display.h"
#include "app/pane_text.h"
#include "app/radio_group.h"
#include "app/window_geometry.h"
#include "convert/conversion.h"
#include "convert/source_file.h"
#include "examples/example_catalogue.h"
#include "expr/cp1252.h"
#include "tests/test_support.h"

namespace tortuval::app {
namespace {

// A small document with accents and a Greek letter; files hold it in various encodings.
constexpr char kDocument[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Algo>\n"
    "<description texte=\"Moyenne d'un élève, où ?\" courant=\"\" />\n"
    "<item algoitem=\"VARIABLES\" code=\"100#declarationsvariables\">\n"
    "<item algoitem=\"note EST_DU_TYPE NOMBRE\" code=\"1#NOMBRE#note\"/>\n</item>\n"
    "<item algoitem=\"DEBUT_ALGORITHME\" code=\"101#debutalgo\">\n"
    "<item algoitem=\"AFFICHER &quot;Très bien α&quot;\" code=\"4#Très bien α#1\"/>\n"
    "</item>\n<item algoitem=\"FIN_ALGORITHME\" code=\"102#finalgo\"/>\n</Algo>\n";

// The document as the window must hold it: Windows-1252, CR LF, "α" lacking in the code page.
std::string ExpectedSourceText() {
  return expr::Utf8ToCp1252(QString(kDocument).replace("\n", "\r\n").toStdString());
}

std::string Logo(const TFicheConvertisseur& window) { return PaneText(window.Editeur); }
std::string Listing(const TFicheConvertisseur& window) { return PaneText(window.Editeur2); }

// Both panes hold the library's conversion of `document`.
void VerifyPanesShow(const TFicheConvertisseur& window, const std::string& document) {
  const convert::ConversionResult expected = convert::ConvertDocument(document);
  QVERIFY2(Logo(window) == expected.logoText,
           testing::LineDiff(expected.logoText, Logo(window)).c_str());
  QVERIFY2(Listing(window) == expected.listingText,
           testing::LineDiff(expected.listingText, Listing(window)).c_str());
}

// Runs `action` on the next modal window to appear, from inside the loop that shows it, then
// closes that window if the action left it open.
void WhenModalAppears(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, action = std::move(action)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    timer->deleteLater();
    timer->stop();
    action(modal);
    if (modal->isVisible()) modal->close();
  });
  timer->start();
}

// The error box's text shown while `command` runs, or an empty text when none was shown.
QString ErrorShownBy(const std::function<void()>& command) {
  QString shown;
  WhenModalAppears([&shown](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY(box != nullptr);
    QCOMPARE(box->windowTitle(), QStringLiteral("Tortuval"));
    QCOMPARE(box->icon(), QMessageBox::Critical);
    QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    shown = box->text();
  });
  command();
  return shown;
}

// A click on an item's round mark, where a click selects it.
void ClickItem(QRadioButton* item) {
  QTest::mouseClick(item, Qt::LeftButton, Qt::NoModifier, QPoint(6, item->height() / 2));
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void StartsEmptyWithItsCaptions();
  void TabKeys();
  void ExampleClickFillsBothPanes_data();
  void ExampleClickFillsBothPanes();
  void ChoosingTheSelectedExampleAgainDoesNothing();
  void SameDocumentUnderTwoCaptions();
  void CopyTakesOnlyTheLogoPaneSelection();
  void OpeningAFile_data();
  void OpeningAFile();
  void OpenDialogCancelsOrChooses();
  void UnreadableFileShowsErrorAndChangesNothing();
  void SizeChangesSnapBack();
  void AboutBoxOpensTwiceInPlace();
  void FileOnCommandLineOrDropped();

 private:
  QString WriteFile(const QString& name, const QByteArray& bytes);
  QTemporaryDir folder_;
  TFicheConvertisseur* window_ = nullptr;
};

void MainWindowTest::init() {
  window_ = new TFicheConvertisseur;
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void MainWindowTest::cleanup() { delete window_; }

QString MainWindowTest::WriteFile(const QString& name, const QByteArray& bytes) {
  QFile file(folder_.filePath(name));
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
  return file.fileName();
}

void MainWindowTest::StartsEmptyWithItsCaptions() {
  TFicheConvertisseur& window = *window_;
  QCOMPARE(window.windowTitle(), QStringLiteral("Convertisseur Pseudal-> LOGO."));
  QCOMPARE(window.centralWidget()->size(), QSize(970, 455));
  QCOMPARE(window.RadioGroup1->title(), QStringLiteral("Programmes-exemples."));
  QCOMPARE(window.RadioGroup1->ItemCount(), examples::kExampleCount);
  for (int index = 0; index < examples::kExampleCount; ++index) {
    QCOMPARE(window.RadioGroup1->Item(index)->text(), ToPaneText(examples::ExampleCaption(index)));
    QVERIFY(!window.RadioGroup1->Item(index)->isChecked());
  }
  QVERIFY(window.Editeur->document()->isEmpty() && window.Editeur2->document()->isEmpty());
  QVERIFY(window.SourceText().empty());
  QCOMPARE(window.Label1->text() + window.Label2->text(), "Programme LOGO.Programme Pseudal.");
  QVERIFY(window.FicheAproposTortuval()->isHidden());
  QCOMPARE(window.focusWidget(), window.Editeur);

  // The menu tree, without shortcuts.
  QStringList tree;
  for (QAction* menu : window.MainMenu1->actions()) {
    tree << menu->text();
    for (QAction* item : menu->menu()->actions()) {
      tree << "  " + item->text();
      QVERIFY(item->shortcut().isEmpty());
      if (item->menu() == nullptr) continue;
      for (QAction* subItem : item->menu()->actions()) tree << "    " + subItem->text();
    }
  }
  QCOMPARE(tree,
           QStringList({"Fichier.", "  Ouvrir.", "Edition.", "  Copier", "  Sélectionner tout.",
                        "Infos.", "  A propos de...", "    Tortuval"}));
}

void MainWindowTest::TabKeys() {
  TFicheConvertisseur& window = *window_;
  QApplication::setActiveWindow(&window);
  QVERIFY(QTest::qWaitForWindowActive(&window));
  // The LOGO pane types the tab; the listing pane passes the focus on, round to the LOGO pane.
  QTest::keyClick(window.Editeur, Qt::Key_Tab);
  QCOMPARE(window.Editeur->toPlainText(), QStringLiteral("\t"));
  window.Editeur2->setFocus();
  QTest::keyClick(window.Editeur2, Qt::Key_Tab);
  QVERIFY(window.Editeur2->document()->isEmpty());
  QCOMPARE(QApplication::focusWidget(), window.Editeur);
}

void MainWindowTest::ExampleClickFillsBothPanes_data() {
  QTest::addColumn<int>("index");
  for (int index = 0; index < examples::kExampleCount; ++index) {
    QTest::addRow("%s", expr::Cp1252ToUtf8(examples::ExampleCaption(index)).c_str()) << index;
  }
}

void MainWindowTest::ExampleClickFillsBothPanes() {
  QFETCH(int, index);
  ClickItem(window_->RadioGroup1->Item(index));
  QCOMPARE(window_->RadioGroup1->ItemIndex(), index);
  QCOMPARE(window_->SourceText(), examples::ExampleDocument(index));
  VerifyPanesShow(*window_, examples::ExampleDocument(index));
  QVERIFY(!window_->Editeur->document()->isEmpty());
}

void MainWindowTest::ChoosingTheSelectedExampleAgainDoesNothing() {
  TFicheConvertisseur& window = *window_;
  QRadioButton* item = window.RadioGroup1->Item(3);
  ClickItem(item);
  window.Editeur->setPlainText(QStringLiteral("modifié"));
  ClickItem(item);
  QCOMPARE(window.Editeur->toPlainText(), QStringLiteral("modifié"));

  // Not even after a file was opened in between.
  window.OpenSourceFile(WriteFile("entre-temps.alg", kDocument));
  ClickItem(item);
  QCOMPARE(window.SourceText(), ExpectedSourceText());
  VerifyPanesShow(window, ExpectedSourceText());

  // The keyboard changes the selection, and that converts.
  item->setFocus();
  QTest::keyClick(item, Qt::Key_Down);
  QCOMPARE(window.RadioGroup1->ItemIndex(), 4);
  VerifyPanesShow(window, examples::ExampleDocument(4));
}

void MainWindowTest::SameDocumentUnderTwoCaptions() {
  ClickItem(window_->RadioGroup1->Item(10));
  const std::string logo = Logo(*window_);
  const std::string listing = Listing(*window_);
  ClickItem(window_->RadioGroup1->Item(11));
  QCOMPARE(window_->RadioGroup1->ItemIndex(), 11);
  QCOMPARE(Logo(*window_), logo);
  QCOMPARE(Listing(*window_), listing);
}

void MainWindowTest::CopyTakesOnlyTheLogoPaneSelection() {
  TFicheConvertisseur& window = *window_;
  ClickItem(window.RadioGroup1->Item(7));
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(QStringLiteral("inchangé"));
  // Nothing selected on the right, everything on the left: nothing is copied.
  window.Editeur2->selectAll();
  window.Copier->trigger();
  QCOMPARE(clipboard->text(), QStringLiteral("inchangé"));

  window.Selectionnertout->trigger();
  QCOMPARE(window.focusWidget(), window.Editeur);
  window.Copier->trigger();
  const std::string logo = convert::ConvertDocument(examples::ExampleDocument(7)).logoText;
  QCOMPARE(clipboard->text(), ToPaneText(logo).replace("\r\n", "\n"));
}

void MainWindowTest::OpeningAFile_data() {
  QTest::addColumn<QByteArray>("bytes");
  const QString text(kDocument);
  QByteArray utf16 = "\xFF\xFE";
  for (QChar c : text) utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
  QTest::newRow("UTF-16 little-endian with mark") << utf16;
  QTest::newRow("UTF-8 without mark") << text.toUtf8();
}

void MainWindowTest::OpeningAFile() {
  QFETCH(QByteArray, bytes);
  window_->OpenSourceFile(WriteFile("document.alg", bytes));
  QCOMPARE(window_->SourceText(), ExpectedSourceText());
  VerifyPanesShow(*window_, ExpectedSourceText());
}

void MainWindowTest::OpenDialogCancelsOrChooses() {
  TFicheConvertisseur& window = *window_;
  window.OpenDialog->setOption(QFileDialog::DontUseNativeDialog);
  ClickItem(window.RadioGroup1->Item(2));
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
  window.Ouvrir->trigger();
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
  window.Ouvrir->trigger();
  QCOMPARE(window.SourceText(), ExpectedSourceText());
  VerifyPanesShow(window, ExpectedSourceText());
  QCOMPARE(window.RadioGroup1->ItemIndex(), 2);
}

void MainWindowTest::UnreadableFileShowsErrorAndChangesNothing() {
  TFicheConvertisseur& window = *window_;
  ClickItem(window.RadioGroup1->Item(7));
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
  ClickItem(window.RadioGroup1->Item(8));
  VerifyPanesShow(window, examples::ExampleDocument(8));
}

void MainWindowTest::SizeChangesSnapBack() {
  TFicheConvertisseur& window = *window_;
  const QSize fixedSize = window.size();
  const auto centred = [&window] {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize outer = window.frameGeometry().size();
    const WindowPosition position =
        CentredPosition(screen.width(), screen.height(), outer.width(), outer.height());
    return screen.topLeft() + QPoint(position.left, position.top);
  };
  QCOMPARE(window.pos(), centred());

  // Moving by the title bar is kept.
  window.move(10, 20);
  QTRY_COMPARE(window.pos(), QPoint(10, 20));

  window.showMaximized();
  QTRY_VERIFY(!window.isMaximized());
  QCOMPARE(window.size(), fixedSize);
  QCOMPARE(window.pos(), centred());

  // An edge dragged by a window manager that ignores the window's size limits.
  window.move(30, 40);
  window.setMinimumSize(0, 0);
  window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  window.resize(fixedSize + QSize(300, 200));
  QCOMPARE(window.size(), fixedSize);
  QCOMPARE(window.centralWidget()->size(), QSize(970, 455));
  QCOMPARE(window.pos(), centred());
}

void MainWindowTest::AboutBoxOpensTwiceInPlace() {
  QPointer<TFicheAproposTortuval> about = window_->FicheAproposTortuval();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const WindowPosition centred = CentredPosition(screen.width(), screen.height(), 334, 208);
  QPoint firstPlace;
  WhenModalAppears([&](QWidget* modal) {
    QCOMPARE(modal, about.data());
    QCOMPARE(about->windowTitle(), QStringLiteral("A propos de Tortuval."));
    QCOMPARE(about->Label1->text() + " " + about->Label2->text(), "Tortuval Mai 2019");
    QCOMPARE(about->focusWidget(), about->CloseButton);
    QCOMPARE(about->pos(), QPoint(centred.left, centred.top));
    // The user drags it elsewhere, then closes it with its button.
    about->move(about->pos() + QPoint(15, 10));
    firstPlace = about->pos();
    QTest::mouseClick(about->CloseButton, Qt::LeftButton);
  });
  window_->Tortuval->trigger();
  QVERIFY(!about.isNull() && about->isHidden());

  QPoint secondPlace;
  WhenModalAppears([&](QWidget* modal) {
    secondPlace = modal->pos();
    modal->close();  // as the title bar's close box does
  });
  window_->Tortuval->trigger();
  QVERIFY(!about.isNull() && about->isHidden());
  QCOMPARE(secondPlace, firstPlace);
}

void MainWindowTest::FileOnCommandLineOrDropped() {
  TFicheConvertisseur& window = *window_;
  StartOptions options = ParseCommandLine({"tortuval", folder_.filePath("absent.alg")});
  const QString shown = ErrorShownBy([&] { QVERIFY(ApplyStartOptions(window, options)); });
  QVERIFY2(shown.startsWith("Impossible d'ouvrir le fichier \""), qPrintable(shown));
  QVERIFY(window.SourceText().empty());

  options = ParseCommandLine({"tortuval", WriteFile("ligne de commande.alg", kDocument)});
  QVERIFY(ApplyStartOptions(window, options));
  QCOMPARE(window.SourceText(), ExpectedSourceText());

  // Dropped on the listing pane, a file is opened rather than its name typed in.
  ClickItem(window.RadioGroup1->Item(0));
  const QString path = WriteFile("déposé.alg", kDocument);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  data.setText(path);
  QWidget* target = window.Editeur2->viewport();
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  QVERIFY(enter.isAccepted() && drop.isAccepted());
  QTRY_COMPARE(window.SourceText(), ExpectedSourceText());
  VerifyPanesShow(window, ExpectedSourceText());
}

}  // namespace tortuval::app

int main(int argc, char* argv[]) {
  // The offscreen platform's own screen (800 x 800) is narrower than the window, and it reports
  // negative window positions two pixels off; a common laptop screen avoids both.
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform == "offscreen") {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TORTUVAL_OFFSCREEN_SCREEN);
  }
  QApplication application(argc, argv);
  tortuval::app::MainWindowTest test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
