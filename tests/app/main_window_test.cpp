// Drives the real main window and its about window on the offscreen platform: the window as it
// starts, the examples, the panes (their long lines wrapped) and the clipboard, the window's fixed
// size and place.

#include "app/main_window.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <cmath>
#include <string>

#include "app/about_window.h"
#include "app/pane_text.h"
#include "app/radio_group.h"
#include "app/window_geometry.h"
#include "base/cp1252.h"
#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "tests/app/window_test_support.h"

namespace tortuval::app {

class MainWindowTest : public WindowTestBase {
  Q_OBJECT

 private slots:
  void init() { OpenWindow(); }
  void cleanup() { CloseWindow(); }
  void StartsEmptyWithItsCaptions();
  void TabKeys();
  void AltKeysTypeNothing_data();
  void AltKeysTypeNothing();
  void AltFThenAltEKeepsTheProgram();
  void ExampleClickFillsBothPanes_data();
  void ExampleClickFillsBothPanes();
  void ChoosingTheSelectedExampleAgainDoesNothing();
  void SameDocumentUnderTwoCaptions();
  void CopyTakesOnlyTheLogoPaneSelection();
  void LongLinesWrapAtABlankUnderTheirIndent();
  void SizeChangesSnapBack();
  void AboutBoxOpensTwiceInPlace();
};

void MainWindowTest::StartsEmptyWithItsCaptions() {
  MainWindow& window = *window_;
  QCOMPARE(window.windowTitle(), QStringLiteral("Convertisseur Pseudal-> LOGO."));
  QCOMPARE(window.centralWidget()->size(), QSize(970, 455));
  QCOMPARE(window.exampleGroup->title(), QStringLiteral("Programmes-exemples."));
  QCOMPARE(window.exampleGroup->ItemCount(), examples::kExampleCount);
  for (int index = 0; index < examples::kExampleCount; ++index) {
    QCOMPARE(window.exampleGroup->Item(index)->text(), ToPaneText(examples::ExampleCaption(index)));
    QVERIFY(!window.exampleGroup->Item(index)->isChecked());
  }
  QVERIFY(window.logoPane->document()->isEmpty() && window.listingPane->document()->isEmpty());
  QVERIFY(window.SourceText().empty());
  QCOMPARE(window.logoLabel->text() + window.listingLabel->text(),
           "Programme LOGO.Programme Pseudal.");
  QVERIFY(window.About()->isHidden());
  QCOMPARE(window.focusWidget(), window.logoPane);

  // The menu tree, without shortcuts.
  QStringList tree;
  for (QAction* menu : window.mainMenu->actions()) {
    tree << menu->text();
    for (QAction* item : menu->menu()->actions()) {
      tree << "  " + item->text();
      QVERIFY(item->shortcut().isEmpty());
      if (item->menu() == nullptr) continue;
      for (QAction* subItem : item->menu()->actions()) tree << "    " + subItem->text();
    }
  }
  QCOMPARE(tree,
           QStringList({"Fichier.", "  Ouvrir.", "  Enregistrer le programme LOGO.",
                        "  Enregistrer le programme Python.", "Edition.", "  Copier",
                        "  Sélectionner tout.", "Infos.", "  A propos de...", "    Tortuval",
                        "Exécution.", "  Lancer le programme LOGO."}));
}

void MainWindowTest::TabKeys() {
  MainWindow& window = *window_;
  QApplication::setActiveWindow(&window);
  QVERIFY(QTest::qWaitForWindowActive(&window));
  // The LOGO pane types the tab; the listing pane passes the focus on, round to the LOGO pane.
  QTest::keyClick(window.logoPane, Qt::Key_Tab);
  QCOMPARE(window.logoPane->toPlainText(), QStringLiteral("\t"));
  window.listingPane->setFocus();
  QTest::keyClick(window.listingPane, Qt::Key_Tab);
  QVERIFY(window.listingPane->document()->isEmpty());
  QCOMPARE(QApplication::focusWidget(), window.logoPane);
}

void MainWindowTest::AltKeysTypeNothing_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("text");
  QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
  QTest::addColumn<QString>("typed");
  const Qt::KeyboardModifiers alt = Qt::AltModifier;
  QTest::newRow("Alt+F") << int(Qt::Key_F) << "f" << alt << "";
  QTest::newRow("Alt+Shift+E") << int(Qt::Key_E) << "E" << (alt | Qt::ShiftModifier) << "";
  QTest::newRow("Alt+digit") << int(Qt::Key_1) << "1" << alt << "";
  QTest::newRow("AltGr+E on X11") << int(Qt::Key_E) << "€" << (alt | Qt::GroupSwitchModifier)
                                  << "€";
  QTest::newRow("AltGr+E as Ctrl+Alt")
      << int(Qt::Key_E) << "€" << (alt | Qt::ControlModifier) << "€";
  QTest::newRow("Shift+F") << int(Qt::Key_F) << "F" << Qt::KeyboardModifiers(Qt::ShiftModifier)
                           << "F";
}

void MainWindowTest::AltKeysTypeNothing() {
  QFETCH(int, key);
  QFETCH(QString, text);
  QFETCH(Qt::KeyboardModifiers, modifiers);
  QFETCH(QString, typed);
  MainWindow& window = *window_;
  QApplication::setActiveWindow(&window);
  QVERIFY(QTest::qWaitForWindowActive(&window));
  ClickItem(window.exampleGroup->Item(7));
  for (QPlainTextEdit* pane : {window.logoPane, window.listingPane}) {
    const QString before = pane->toPlainText();
    pane->setFocus();
    pane->selectAll();
    QTest::sendKeyEvent(QTest::Click, pane, Qt::Key(key), text, modifiers);
    QCOMPARE(pane->toPlainText(), typed.isEmpty() ? before : typed);
  }
}

void MainWindowTest::AltFThenAltEKeepsTheProgram() {
  MainWindow& window = *window_;
  QApplication::setActiveWindow(&window);
  QVERIFY(QTest::qWaitForWindowActive(&window));
  ClickItem(window.exampleGroup->Item(3));
  const std::string logo = Logo(window);
  window.selectAllAction->trigger();
  QTest::keyClick(window.logoPane, Qt::Key_F, Qt::AltModifier);
  QTest::keyClick(window.logoPane, Qt::Key_E, Qt::AltModifier);
  QCOMPARE(Logo(window), logo);
  // Typing without Alt still replaces the selection.
  QTest::keyClick(window.logoPane, Qt::Key_F);
  QCOMPARE(window.logoPane->toPlainText(), QStringLiteral("f"));
}

void MainWindowTest::ExampleClickFillsBothPanes_data() {
  QTest::addColumn<int>("index");
  for (int index = 0; index < examples::kExampleCount; ++index) {
    QTest::addRow("%s", base::Cp1252ToUtf8(examples::ExampleCaption(index)).c_str()) << index;
  }
}

void MainWindowTest::ExampleClickFillsBothPanes() {
  QFETCH(int, index);
  ClickItem(window_->exampleGroup->Item(index));
  QCOMPARE(window_->exampleGroup->ItemIndex(), index);
  QCOMPARE(window_->SourceText(), examples::ExampleDocument(index));
  VerifyPanesShow(*window_, examples::ExampleDocument(index));
  QVERIFY(!window_->logoPane->document()->isEmpty());
}

void MainWindowTest::ChoosingTheSelectedExampleAgainDoesNothing() {
  MainWindow& window = *window_;
  QRadioButton* item = window.exampleGroup->Item(3);
  ClickItem(item);
  window.logoPane->setPlainText(QStringLiteral("modifié"));
  ClickItem(item);
  QCOMPARE(window.logoPane->toPlainText(), QStringLiteral("modifié"));

  // Not even after a file was opened in between.
  window.OpenSourceFile(WriteFile("entre-temps.alg", kDocument));
  ClickItem(item);
  QCOMPARE(window.SourceText(), ExpectedSourceText());
  VerifyPanesShow(window, ExpectedSourceText());

  // The keyboard changes the selection, and that converts.
  item->setFocus();
  QTest::keyClick(item, Qt::Key_Down);
  QCOMPARE(window.exampleGroup->ItemIndex(), 4);
  VerifyPanesShow(window, examples::ExampleDocument(4));
}

void MainWindowTest::SameDocumentUnderTwoCaptions() {
  ClickItem(window_->exampleGroup->Item(10));
  const std::string logo = Logo(*window_);
  const std::string listing = Listing(*window_);
  ClickItem(window_->exampleGroup->Item(11));
  QCOMPARE(window_->exampleGroup->ItemIndex(), 11);
  QCOMPARE(Logo(*window_), logo);
  QCOMPARE(Listing(*window_), listing);
}

void MainWindowTest::CopyTakesOnlyTheLogoPaneSelection() {
  MainWindow& window = *window_;
  ClickItem(window.exampleGroup->Item(7));
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(QStringLiteral("inchangé"));
  // Nothing selected on the right, everything on the left: nothing is copied.
  window.listingPane->selectAll();
  window.copyAction->trigger();
  QCOMPARE(clipboard->text(), QStringLiteral("inchangé"));

  window.selectAllAction->trigger();
  QCOMPARE(window.focusWidget(), window.logoPane);
  window.copyAction->trigger();
  const std::string logo = convert::ConvertDocument(examples::ExampleDocument(7)).logoText;
  QCOMPARE(clipboard->text(), ToPaneText(logo).replace("\r\n", "\n"));
}

// A line longer than the pane wraps at blanks, never inside a word, and its later rows start
// under its first word; the line after it starts below all its rows, where the gutter numbers it.
void MainWindowTest::LongLinesWrapAtABlankUnderTheirIndent() {
  QString line = QStringLiteral("    TESTE :x > 0");
  for (int i = 0; i < 30; ++i) line += QStringLiteral(" ECRIS :x%1").arg(i);
  for (QPlainTextEdit* pane : {window_->logoPane, window_->listingPane}) {
    pane->setPlainText(QStringLiteral("DEBUT\n") + line + QStringLiteral("\nFIN"));
    const QTextBlock block = pane->document()->findBlockByNumber(1);
    const QRectF bounds = pane->document()->documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    QVERIFY(layout->lineCount() >= 3);
    QCOMPARE(block.lineCount(), layout->lineCount());
    const qreal indent = layout->lineAt(0).cursorToX(4);
    for (int row = 1; row < layout->lineCount(); ++row) {
      const QTextLine shown = layout->lineAt(row);
      QCOMPARE(line.at(shown.textStart() - 1), u' ');
      QCOMPARE(shown.x(), indent);
      QVERIFY(shown.naturalTextWidth() <= shown.width());
    }
    const int rowsTop = pane->cursorRect(QTextCursor(block)).top();
    const int nextTop = pane->cursorRect(QTextCursor(block.next())).top();
    QVERIFY(std::abs(nextTop - rowsTop - bounds.height()) <= 1);
    QVERIFY(bounds.height() >= layout->lineAt(layout->lineCount() - 1).rect().bottom());
  }

  // Indented deeper than the pane is wide, a line still shows its first word whole, at most
  // half-way across.
  const QString deep = QString(150, u' ') + QStringLiteral("ECRIS :x");
  window_->logoPane->setPlainText(deep);
  const QTextBlock block = window_->logoPane->document()->firstBlock();
  window_->logoPane->document()->documentLayout()->blockBoundingRect(block);
  QCOMPARE(block.layout()->lineCount(), 1);
  const QTextLine row = block.layout()->lineAt(0);
  const qreal wordStart = row.cursorToX(150);
  QVERIFY(wordStart > 0 && wordStart <= window_->logoPane->viewport()->width() / 2 + 4);
  QVERIFY(row.cursorToX(deep.size()) <= window_->logoPane->viewport()->width());
}

void MainWindowTest::SizeChangesSnapBack() {
  MainWindow& window = *window_;
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
  QPointer<AboutWindow> about = window_->About();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const WindowPosition centred = CentredPosition(screen.width(), screen.height(), 334, 208);
  QPoint firstPlace;
  WhenModalAppears([&](QWidget* modal) {
    QCOMPARE(modal, about.data());
    QCOMPARE(about->windowTitle(), QStringLiteral("A propos de Tortuval."));
    QCOMPARE(about->headline->text() + " " + about->dateLine->text(), "Tortuval Mai 2019");
    QCOMPARE(about->focusWidget(), about->closeButton);
    QCOMPARE(about->pos(), QPoint(centred.left, centred.top));
    // The user drags it elsewhere, then closes it with its button.
    about->move(about->pos() + QPoint(15, 10));
    firstPlace = about->pos();
    QTest::mouseClick(about->closeButton, Qt::LeftButton);
  });
  window_->aboutAction->trigger();
  QVERIFY(!about.isNull() && about->isHidden());

  QPoint secondPlace;
  WhenModalAppears([&](QWidget* modal) {
    secondPlace = modal->pos();
    modal->close();  // as the title bar's close box does
  });
  window_->aboutAction->trigger();
  QVERIFY(!about.isNull() && about->isHidden());
  QCOMPARE(secondPlace, firstPlace);
}

}  // namespace tortuval::app

int main(int argc, char* argv[]) {
  tortuval::app::UseLaptopScreen();
  QApplication application(argc, argv);
  tortuval::app::MainWindowTest test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
