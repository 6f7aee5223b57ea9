// The run window driven from the real main window on the offscreen platform: the menu, answers
// typed in the answer line, the Stop button on an endless loop, an error's line selected in the
// LOGO pane, and the drawing shown and saved.

#include "app/run_window.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "app/drawing_view.h"
#include "app/main_window.h"
#include "app/pane_text.h"
#include "app/radio_group.h"
#include "library/support_procedures.h"
#include "tests/app/window_test_support.h"
#include "tests/test_support.h"

namespace tortuval::app {

// Long enough for a slow sanitizer build; QTRY_ returns as soon as the condition holds.
constexpr int kTimeout = 20000;

class RunWindowTest : public WindowTestBase {
  Q_OBJECT

 private slots:
  void init() { OpenWindow(); }
  void cleanup() { CloseWindow(); }
  void MenuComesAfterTheOthers();
  void EuclidTakesItsAnswersFromTheAnswerLine();
  void StopEndsAnEndlessLoopAndAWaitingRead();
  void ErrorSelectsItsLineInTheLogoPane();
  void DrawingIsShownAndSaved();
  void ARefusedAnswerIsAskedAgainAndTheExchangeStaysInTheOutput();
  void APauseWaitsForContinueThenRelancerRunsAgainAndEscCloses();
  void StepByStepThroughEuclidStopsAtEachAlgorithmLine();
  void AStepAskedDuringAQuestionWaitsForTheAnswer();
  void ARunEndsWhenAnotherProgramIsShownAndRelancerRunsTheNewOne();
  void SteppedDrawingShowsEachSegmentAsItIsDrawn();
  void TheTableShowsTheValuesTheRunEndedWith();
  void OneStepOverAListReadAndTheHighlightStaysOnTheCall();
  void AFailureInsideASupportProcedureIsAtItsCall();
  void AFailureInsideF1IsAtTheLineThatCalledIt();

 private:
  // Waits for the program to stop before the instruction at `line`, step by step.
  static bool StoppedBefore(RunWindow* run, int line) {
    return run->Etat->text() ==
           QStringLiteral("Pas à pas : le programme s'arrête avant la ligne %1.").arg(line);
  }
  static QString Value(RunWindow* run, int row) { return run->Variables->item(row, 1)->text(); }
  // The strip's LOGO line: the pane's line `line`, its blanks around it left out.
  static QString StripLogoLine(MainWindow* window, int line) {
    return QStringLiteral("LOGO, ligne %1 : %2")
        .arg(line)
        .arg(window->logoPane->document()->findBlockByNumber(line - 1).text().trimmed());
  }
  // The LOGO pane's line (from 1) that holds `text`, 0 when none does.
  static int PaneLineWith(MainWindow* window, const QString& text) {
    const QTextBlock block = window->logoPane->document()->find(text).block();
    return block.isValid() ? block.blockNumber() + 1 : 0;
  }
  static bool Marked(RunWindow* run, int row) {
    return run->Variables->item(row, 1)->background().style() != Qt::NoBrush;
  }
  RunWindow* Launch() {
    window_->runLogoAction->trigger();
    RunWindow* run = window_->RunView();
    if (run != nullptr && !QTest::qWaitForWindowExposed(run)) return nullptr;
    return run;
  }
  static void Answer(RunWindow* run, const QString& text) {
    QTRY_VERIFY_WITH_TIMEOUT(run->Reponse->isEnabled(), kTimeout);
    QTest::keyClicks(run->Reponse, text);
    QTest::keyClick(run->Reponse, Qt::Key_Return);
  }
};

void RunWindowTest::MenuComesAfterTheOthers() {
  const QList<QAction*> menus = window_->mainMenu->actions();
  QCOMPARE(menus.size(), 4);
  QCOMPARE(menus[3]->text(), QStringLiteral("Exécution."));
  QCOMPARE(menus[3]->menu()->actions().size(), 1);
  QCOMPARE(menus[3]->menu()->actions()[0], window_->runLogoAction);
  QCOMPARE(window_->runLogoAction->text(), QStringLiteral("Lancer le programme LOGO."));
  QVERIFY(window_->RunView() == nullptr);
}

void RunWindowTest::EuclidTakesItsAnswersFromTheAnswerLine() {
  ClickItem(window_->exampleGroup->Item(7));
  RunWindow* run = Launch();
  QVERIFY(run != nullptr && run->isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(run->Reponse->isEnabled(), kTimeout);
  QCOMPARE(run->Question->text(), QStringLiteral("Tape un nombre."));
  Answer(run, "12");
  Answer(run, "18");
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(run->Etat->text(), QStringLiteral("Programme terminé."));
  QVERIFY2(run->Sortie->toPlainText().trimmed().endsWith(" 6"),
           qPrintable(run->Sortie->toPlainText()));
  QVERIFY(run->Sortie->toPlainText().contains("12"));
  QVERIFY(!run->Reponse->isEnabled() && !run->Arreter->isEnabled());
  QVERIFY(run->Dessin->isHidden());
}

void RunWindowTest::StopEndsAnEndlessLoopAndAWaitingRead() {
  // A hand-written program: the pane's text runs, whatever converted it.
  SetPaneText(window_->logoPane,
              "DEFINIS \"x NOMBRE\r\nSOIT \"x 0\r\nTANT QUE 1 = 1 [\r\n  soit \"x :x + 1\r\n"
              "  ECRISLIGNE :x\r\n]\r\n");
  RunWindow* run = Launch();
  // The window keeps showing the output of a program that prints without end.
  QTRY_VERIFY_WITH_TIMEOUT(run->Sortie->blockCount() > 1000, kTimeout);
  QVERIFY(run->IsRunning());
  // Nor does it freeze: during a second of that flood, its events wait well under half a second.
  QElapsedTimer clock;
  clock.start();
  qint64 longestWait = 0;
  while (clock.elapsed() < 1000) {
    const qint64 before = clock.elapsed();
    QTest::qWait(10);
    longestWait = std::max(longestWait, clock.elapsed() - before);
  }
  QVERIFY2(longestWait < 500, qPrintable(QString::number(longestWait)));
  QTest::mouseClick(run->Arreter, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(run->Etat->text(), QStringLiteral("Programme arrêté."));

  ClickItem(window_->exampleGroup->Item(7));
  window_->runLogoAction->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(run->Reponse->isEnabled(), kTimeout);
  QTest::mouseClick(run->Arreter, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(run->Etat->text(), QStringLiteral("Programme arrêté."));
  QVERIFY(!run->Reponse->isEnabled());
}

void RunWindowTest::ErrorSelectsItsLineInTheLogoPane() {
  SetPaneText(window_->logoPane,
              testing::Cp("DEFINIS \"L LISTE\r\nECRISLIGNE [déjà]\r\nECRISLIGNE item :L [ 5 ]\r\n"
                          "ECRISLIGNE [après]\r\n"));
  RunWindow* run = Launch();
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QVERIFY2(run->Etat->text().startsWith(QStringLiteral("Erreur à la ligne 3 : ")),
           qPrintable(run->Etat->text()));
  QCOMPARE(run->Sortie->toPlainText(), QStringLiteral("déjà\n"));
  QCOMPARE(window_->logoPane->textCursor().blockNumber(), 2);
  QCOMPARE(window_->logoPane->textCursor().selectedText(),
           QStringLiteral("ECRISLIGNE item :L [ 5 ]"));
}

void RunWindowTest::DrawingIsShownAndSaved() {
  // Example 7 draws the curve of x³ - 3x² from -2 to 4 in steps of 0.1.
  ClickItem(window_->exampleGroup->Item(6));
  RunWindow* run = Launch();
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(run->Etat->text(), QStringLiteral("Programme terminé."));
  QVERIFY(run->Dessin->isVisible());
  QVERIFY(run->EnregistrerDessin->isEnabled());
  const std::size_t segments = run->Dessin->Drawing().segments.size();
  QCOMPARE(segments, std::size_t{60});

  const QString svg = folder_.filePath("courbe.svg");
  const QString png = folder_.filePath("courbe.png");
  run->Dessin->SaveTo(svg);
  run->Dessin->SaveTo(png);
  QFile svgFile(svg);
  QVERIFY(svgFile.open(QIODevice::ReadOnly));
  const QByteArray picture = svgFile.readAll();
  // The curve runs past y = -10 and y = 10 at its ends: 7 segments lie wholly outside the frame.
  QCOMPARE(static_cast<std::size_t>(picture.count("<line x1=")), segments - 7);
  // The document's frame: x numbered from -2 to 4, y from -10 to 10.
  for (const char* number : {"\"middle\">-2<", "\"middle\">4<", "\"end\">-10<", "\"end\">10<"}) {
    QCOMPARE(picture.count(number), 1);
  }
  QImage image(png);
  QCOMPARE(image.size(), run->Dessin->size());
  // The view cuts the curve at the frame too: nothing of its colour in the margins around the
  // frame's rectangle (24 pixels at the sides, 14 at the top and bottom, less the 2 pixels that
  // the line's round end may reach past the edge).
  int curvePixelsInMargins = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool inFrame = x >= 22 && x < image.width() - 22 && y >= 12 && y < image.height() - 12;
      const QRgb pixel = image.pixel(x, y);
      if (!inFrame && qBlue(pixel) - qRed(pixel) > 30) ++curvePixelsInMargins;
    }
  }
  QCOMPARE(curvePixelsInMargins, 0);
  QVERIFY_THROWS_EXCEPTION(Error, run->Dessin->SaveTo(folder_.filePath("absent/x.png")));
}

// "douze" is refused with its reason and asked again; each question and its answer join the
// output, the answer in a colour of its own.
void RunWindowTest::ARefusedAnswerIsAskedAgainAndTheExchangeStaysInTheOutput() {
  ClickItem(window_->exampleGroup->Item(7));
  RunWindow* run = Launch();
  Answer(run, "douze");
  QTRY_COMPARE_WITH_TIMEOUT(run->Question->text(),
                            QStringLiteral("« douze » n'est pas un nombre : tapez un nombre."),
                            kTimeout);
  Answer(run, "12");
  Answer(run, "18");
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(run->Etat->text(), QStringLiteral("Programme terminé."));
  const QString output = run->Sortie->toPlainText();
  QVERIFY2(
      output.startsWith(QStringLiteral("Tape un nombre. douze\n« douze » n'est pas un nombre : "
                                       "tapez un nombre. 12\nTape un nombre. 18\n")),
      qPrintable(output));
  QVERIFY2(output.endsWith(QStringLiteral("Le PGCD de 12 et 18 est : 6")), qPrintable(output));
  QTextCursor answer(run->Sortie->document()->findBlockByNumber(2));
  answer.movePosition(QTextCursor::EndOfBlock);
  QCOMPARE(answer.charFormat().fontWeight(), QFont::Bold);
  QTextCursor question(run->Sortie->document()->findBlockByNumber(2));
  question.movePosition(QTextCursor::NextCharacter);
  QVERIFY(question.charFormat().fontWeight() != QFont::Bold);
}

void RunWindowTest::APauseWaitsForContinueThenRelancerRunsAgainAndEscCloses() {
  SetPaneText(window_->logoPane,
              testing::Cp("ECRIS [cliquez sur CONTINUER]\r\ntant que non(touche?) []\r\n"
                          "ECRIS [ suite]\r\n"));
  RunWindow* run = Launch();
  QTRY_VERIFY_WITH_TIMEOUT(run->Continuer->isEnabled(), kTimeout);
  QCOMPARE(run->Sortie->toPlainText(), QStringLiteral("cliquez sur CONTINUER"));
  QVERIFY(run->IsRunning());
  QCOMPARE(run->LigneLogo->text(), QStringLiteral("LOGO, ligne 2 : tant que non(touche?) []"));
  QTest::qWait(100);  // the pause waits
  QVERIFY(run->IsRunning());
  QTest::mouseClick(run->Continuer, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(run->Sortie->toPlainText(), QStringLiteral("cliquez sur CONTINUERsuite"));
  QVERIFY(!run->Continuer->isEnabled());

  // "Relancer" runs the same program from a clear window; Enter ends its pause too.
  QTest::mouseClick(run->Relancer, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(run->Continuer->isEnabled(), kTimeout);
  QCOMPARE(run->Sortie->toPlainText(), QStringLiteral("cliquez sur CONTINUER"));
  QTest::keyClick(run, Qt::Key_Return);
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(run->Sortie->toPlainText(), QStringLiteral("cliquez sur CONTINUERsuite"));

  // Esc closes the window and stops a run that waits.
  QTest::mouseClick(run->Relancer, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(run->Continuer->isEnabled(), kTimeout);
  QTest::keyClick(run, Qt::Key_Escape);
  QVERIFY(!run->isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(run->Etat->text(), QStringLiteral("Programme arrêté."));
}

// Euclid step by step, with 12 and 18: one stop before each algorithm line that executes, the
// loop's test at each turn, a read in one step; both panes on the line, the values that changed
// marked. Entrée after an answer keeps stepping.
void RunWindowTest::StepByStepThroughEuclidStopsAtEachAlgorithmLine() {
  ClickItem(window_->exampleGroup->Item(7));
  RunWindow* run = Launch();
  Answer(run, "1");
  Answer(run, "1");
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QTest::mouseClick(run->PasAPas, Qt::LeftButton);  // once ended, a stepped run from the start
  QList<int> lines;
  QStringList answers = {"12", "18"};
  while (lines.size() < 40) {
    QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning() || run->Continuer->isEnabled(), kTimeout);
    if (!run->IsRunning()) break;
    const int line = window_->listingPane->textCursor().blockNumber() + 1;
    lines.append(line);
    QCOMPARE(run->LigneAlgorithme->text(),
             QStringLiteral("Algorithme, ligne %1 : %2")
                 .arg(line)
                 .arg(window_->listingPane->textCursor().selectedText().trimmed()));
    QCOMPARE(run->LigneLogo->text(),
             StripLogoLine(window_, window_->logoPane->textCursor().blockNumber() + 1));
    if (line == 17 && lines.count(17) == 1) {
      // R took A % B = 12: A, B, R = 12, 18, 12 with R marked.
      QCOMPARE(run->Variables->rowCount(), 3);
      const char* const values[] = {"12", "18", "12"};
      for (int row = 0; row < 3; ++row) {
        QCOMPARE(Value(run, row), QString::fromLatin1(values[row]));
        QCOMPARE(Marked(run, row), row == 2);
      }
    }
    QTest::mouseClick(run->PasAPas, Qt::LeftButton);
    if (line == 7 || line == 8) {
      QTRY_VERIFY_WITH_TIMEOUT(run->Reponse->isEnabled(), kTimeout);
      QCOMPARE(run->Reponse, QApplication::focusWidget());
      QTest::keyClicks(run->Reponse, answers.takeFirst());
      QTest::keyClick(run->Reponse, Qt::Key_Return);
    }
  }
  const QList<int> expected = {7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18,
                               14, 16, 17, 18, 14, 16, 17, 18, 14, 20};
  QCOMPARE(lines, expected);
  QCOMPARE(run->Etat->text(), QStringLiteral("Programme terminé."));
  QVERIFY(run->Sortie->toPlainText().endsWith(QStringLiteral(" 6")));
  QVERIFY(run->LignesCourantes->isHidden());
}

// While a question waits, "Pas à pas" leaves it the keyboard and steps once it is answered.
void RunWindowTest::AStepAskedDuringAQuestionWaitsForTheAnswer() {
  ClickItem(window_->exampleGroup->Item(7));
  RunWindow* run = Launch();
  QTRY_VERIFY_WITH_TIMEOUT(run->Reponse->isEnabled(), kTimeout);
  QTest::mouseClick(run->PasAPas, Qt::LeftButton);
  QVERIFY(run->Reponse->isEnabled());
  QCOMPARE(QApplication::focusWidget(), run->Reponse);
  QTest::keyClicks(QApplication::focusWidget(), "12");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QTRY_VERIFY_WITH_TIMEOUT(run->Continuer->isEnabled(), kTimeout);
  QCOMPARE(run->LigneAlgorithme->text(), QStringLiteral("Algorithme, ligne 8 : LIRE B"));
  QVERIFY(run->Sortie->toPlainText().contains(QStringLiteral("Tape un nombre. 12")));
  QTest::mouseClick(run->Arreter, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
}

// Choosing another example during a run ends the run first: the run window says so, the main
// window's panes keep to the new program, and "Relancer" runs the program shown.
void RunWindowTest::ARunEndsWhenAnotherProgramIsShownAndRelancerRunsTheNewOne() {
  ClickItem(window_->exampleGroup->Item(6));
  RunWindow* run = Launch();
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QTest::mouseClick(run->PasAPas, Qt::LeftButton);
  for (int i = 0; i < 5; ++i) {
    QTRY_VERIFY_WITH_TIMEOUT(run->Continuer->isEnabled(), kTimeout);
    QTest::mouseClick(run->PasAPas, Qt::LeftButton);
  }
  QTRY_VERIFY_WITH_TIMEOUT(run->Continuer->isEnabled(), kTimeout);
  ClickItem(window_->exampleGroup->Item(7));
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(run->Etat->text(), QStringLiteral("Programme arrêté : un autre programme est affiché."));
  QVERIFY(!window_->logoPane->textCursor().hasSelection());
  QTest::mouseClick(run->Relancer, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(run->Reponse->isEnabled(), kTimeout);
  QCOMPARE(run->Question->text(), QStringLiteral("Tape un nombre."));
  QVERIFY(run->Dessin->isHidden());

  // A key typed in the program ends the run waiting there, and Relancer runs the edit.
  window_->logoPane->moveCursor(QTextCursor::End);
  QTest::keyClicks(window_->logoPane, "ECRIS 7");
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(run->Etat->text(), QStringLiteral("Programme arrêté : un autre programme est affiché."));
  QTest::mouseClick(run->Relancer, Qt::LeftButton);
  Answer(run, "12");
  Answer(run, "18");
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QVERIFY2(run->Sortie->toPlainText().endsWith(QStringLiteral(" 67")),
           qPrintable(run->Sortie->toPlainText()));
}

// Example 7 step by step: its first segment is on view at the stop after it is drawn, long
// before the program shows its drawing.
void RunWindowTest::SteppedDrawingShowsEachSegmentAsItIsDrawn() {
  ClickItem(window_->exampleGroup->Item(6));
  RunWindow* run = Launch();
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QTest::mouseClick(run->PasAPas, Qt::LeftButton);
  int steps = 0;
  while (run->Dessin->isHidden() && steps < 200) {
    QTRY_VERIFY_WITH_TIMEOUT(run->Etat->text().startsWith(QStringLiteral("Pas à pas")), kTimeout);
    QTest::mouseClick(run->PasAPas, Qt::LeftButton);
    ++steps;
    QTRY_VERIFY_WITH_TIMEOUT(run->Continuer->isEnabled() || !run->IsRunning(), kTimeout);
  }
  QVERIFY(run->IsRunning());
  QVERIFY(run->Dessin->isVisible());
  QCOMPARE(run->Dessin->Drawing().segments.size(), std::size_t{1});
  // The next segment joins it at a later stop; the drawing stays on view in between.
  for (int i = 0; i < 40 && run->Dessin->Drawing().segments.size() < 2; ++i) {
    QTest::mouseClick(run->PasAPas, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(run->Continuer->isEnabled(), kTimeout);
    QVERIFY(run->Dessin->isVisible());
  }
  QCOMPARE(run->Dessin->Drawing().segments.size(), std::size_t{2});
  QTest::mouseClick(run->Arreter, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
}

// After a run at full speed the table holds the sum it printed, not a value of a stop long past.
void RunWindowTest::TheTableShowsTheValuesTheRunEndedWith() {
  SetPaneText(window_->logoPane,
              "DEFINIS \"somme NOMBRE\r\nSOIT \"somme 0\r\nREPETE 5 [ SOIT \"somme :somme + 5 ]\r\n"
              "ECRIS :somme\r\n");
  RunWindow* run = Launch();
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(run->Sortie->toPlainText(), QStringLiteral("25"));
  QVERIFY(run->Variables->isVisible());
  QCOMPARE(run->Variables->rowCount(), 1);
  QCOMPARE(Value(run, 0), QStringLiteral("25"));

  // Stepped to its second instruction, then stopped: the values at the stop.
  QTest::mouseClick(run->PasAPas, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(StoppedBefore(run, 1), kTimeout);
  QTest::mouseClick(run->PasAPas, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(StoppedBefore(run, 2), kTimeout);
  QTest::mouseClick(run->PasAPas, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(StoppedBefore(run, 3), kTimeout);
  QTest::mouseClick(run->Arreter, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(Value(run, 0), QStringLiteral("0"));
}

// Example 15 reads into its list through a support procedure: one step over the whole read, its
// locals never in the table, the panes still on the read while it waits.
void RunWindowTest::OneStepOverAListReadAndTheHighlightStaysOnTheCall() {
  ClickItem(window_->exampleGroup->Item(14));
  const int call = PaneLineWith(window_, QStringLiteral("PSEUDAL_LIRE_LISTE :listenombre"));
  QVERIFY(call > 0);
  RunWindow* run = Launch();
  QTRY_VERIFY_WITH_TIMEOUT(run->Reponse->isEnabled(), kTimeout);
  QTest::mouseClick(run->PasAPas, Qt::LeftButton);
  Answer(run, "3");
  // The read's prompt, a line above the call, is where the algorithm's read starts.
  QTRY_VERIFY_WITH_TIMEOUT(StoppedBefore(run, call - 1), kTimeout);
  QCOMPARE(run->LigneAlgorithme->text(),
           QStringLiteral("Algorithme, ligne 9 : LIRE listenombre[4]"));
  QTest::mouseClick(run->PasAPas, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(run->Reponse->isEnabled(), kTimeout);
  QCOMPARE(window_->logoPane->textCursor().blockNumber(), call - 2);
  Answer(run, "4:5:6");
  QTRY_VERIFY_WITH_TIMEOUT(run->Continuer->isEnabled(), kTimeout);
  QCOMPARE(run->LigneAlgorithme->text(),
           QStringLiteral("Algorithme, ligne 10 : POUR i ALLANT_DE 1 A ntermes-1"));
  for (int row = 0; row < run->Variables->rowCount(); ++row) {
    QVERIFY2(!run->Variables->item(row, 0)->text().endsWith(QStringLiteral("(locale)")),
             qPrintable(run->Variables->item(row, 0)->text()));
  }
  QCOMPARE(run->Variables->rowCount(), 5);
  QCOMPARE(Value(run, 0), QStringLiteral("[0 0 0 0 4 5 6]"));
  QTest::mouseClick(run->Arreter, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
}

// F1 has no line in the listing: a division by zero inside it is the error of the algorithm's
// line that called it, in the strip and the listing pane.
void RunWindowTest::AFailureInsideF1IsAtTheLineThatCalledIt() {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("inverse.alg"));
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(R"doc(<Algo><description texte="Inverse" courant=""/>
<fonction fctcode="1/x" fctetat="actif"/>
<item code="100#declarationsvariables" algoitem="VARIABLES">
<item code="1#NOMBRE#a" algoitem="a EST_DU_TYPE NOMBRE"/>
<item code="1#NOMBRE#b" algoitem="b EST_DU_TYPE NOMBRE"/></item>
<item code="101#debutalgo" algoitem="DEBUT_ALGORITHME">
<item code="2#a#pasliste" algoitem="LIRE a"/>
<item code="5#b#F1(a)#pasliste" algoitem="b PREND_LA_VALEUR F1(a)"/></item>
<item code="102#finalgo" algoitem="FIN_ALGORITHME"/></Algo>)doc");
  file.close();
  window_->OpenSourceFile(path);
  RunWindow* run = Launch();
  Answer(run, "0");
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(run->Etat->text(), QStringLiteral("Erreur à la ligne 2 : Division par zéro."));
  QCOMPARE(run->LigneAlgorithme->text(),
           QStringLiteral("Algorithme, ligne 7 : b PREND_LA_VALEUR F1(a)"));
  QCOMPARE(window_->logoPane->textCursor().blockNumber(), 1);
  QCOMPARE(window_->listingPane->textCursor().selectedText(),
           QStringLiteral("b PREND_LA_VALEUR F1(a)"));
}

// A list of words given to a sum: the error names the procedure and stands at the line that
// called it, in the state line, the strip and the LOGO pane.
void RunWindowTest::AFailureInsideASupportProcedureIsAtItsCall() {
  std::string program;
  library::AppendSupportProcedure(library::FindSupportProcedure("PSEUDAL_SOMME")->position, "",
                                  program);
  const int call = static_cast<int>(std::count(program.begin(), program.end(), '\n')) + 4;
  SetPaneText(window_->logoPane, program +
                                     "\r\nSOIT \"L [ 1 douze 3 ]\r\nECRIS [ avant ]\r\n"
                                     "ECRIS PSEUDAL_SOMME :L 0 2\r\n");
  RunWindow* run = Launch();
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  QCOMPARE(run->Etat->text(),
           QStringLiteral("Erreur à la ligne %1 : PSEUDAL_SOMME : « douze » n'est pas un nombre.")
               .arg(call));
  QCOMPARE(window_->logoPane->textCursor().blockNumber(), call - 1);
  QVERIFY(run->LignesCourantes->isVisible());
  QCOMPARE(run->LigneLogo->text(),
           QStringLiteral("LOGO, ligne %1 : ECRIS PSEUDAL_SOMME :L 0 2").arg(call));
}

}  // namespace tortuval::app

int main(int argc, char** argv) {
  tortuval::app::UseLaptopScreen();
  QApplication application(argc, argv);
  tortuval::app::RunWindowTest test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}

#include "run_window_test.moc"
