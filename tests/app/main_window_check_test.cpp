// The check of the converted program in the real main window: marked lines of the LOGO pane, the
// summary under the panes, readable from the back of a classroom, and its click going from one
// finding to the next, which it then says.

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <cmath>
#include <cstdlib>
#include <string>

#include "app/finding_marks.h"
#include "app/main_window.h"
#include "app/radio_group.h"
#include "tests/app/window_test_support.h"

namespace tortuval::app {

class MainWindowCheckTest : public WindowTestBase {
  Q_OBJECT

 private slots:
  void init() { OpenWindow(); }
  void cleanup() { CloseWindow(); }
  void ExampleHasNoRemark();
  void FindingsAreMarkedAndVisitedInTurn();
  void AFindingAndARunErrorSelectTheAlgorithmsLineToo();
  void TheSummarySaysWhatWasCheckedAndFollowsHandEdits();
  void TheSummaryReadsWellWithOrWithoutFindings();
};

namespace {

// The relative luminance of a colour, and the contrast ratio of two, as accessibility guidelines
// define them: from 1 (the same) to 21 (black on white).
double Luminance(const QColor& colour) {
  const auto linear = [](double channel) {
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
         0.0722 * linear(colour.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The summary as the status bar shows it: the contrast of its text, the pixel that stands out most,
// against its background, the colour most of its pixels have.
double SummaryContrast(const MainWindow& window) {
  QStatusBar* bar = window.statusBar();
  const QImage picture = bar->grab().toImage();
  const double ratio = picture.devicePixelRatio();
  const QRect summary(window.checkSummary->mapTo(bar, QPoint(0, 0)) * ratio,
                      window.checkSummary->size() * ratio);
  QHash<QRgb, int> counts;
  for (int y = summary.top(); y <= summary.bottom(); ++y) {
    for (int x = summary.left(); x <= summary.right(); ++x) ++counts[picture.pixel(x, y)];
  }
  QRgb background = 0;
  for (auto count = counts.cbegin(); count != counts.cend(); ++count) {
    if (count.value() > counts.value(background)) background = count.key();
  }
  double strongest = 1;
  for (auto count = counts.cbegin(); count != counts.cend(); ++count) {
    strongest = std::max(strongest, Contrast(QColor(count.key()), QColor(background)));
  }
  return strongest;
}

}  // namespace

void MainWindowCheckTest::ExampleHasNoRemark() {
  ClickItem(window_->exampleGroup->Item(7));
  QCOMPARE(window_->checkSummary->text(), QStringLiteral("Programme vérifié : aucune remarque."));
  QVERIFY(!window_->checkSummary->isEnabled());
  QVERIFY(window_->logoPane->extraSelections().isEmpty());
  // The client area keeps its size; the summary stands below it.
  QCOMPARE(window_->centralWidget()->size(), QSize(970, 455));
  QVERIFY(window_->checkSummary->isVisible());
}

void MainWindowCheckTest::FindingsAreMarkedAndVisitedInTurn() {
  // Two lines use names declared nowhere: "soit "x y + 1" on lines 1 and 2.
  const QByteArray document = R"(<Algo><item algoitem="a" code="5#x#y+1#pasliste"/>)"
                              R"(<item algoitem="b" code="5#x#z+1#pasliste"/></Algo>)";
  window_->OpenSourceFile(WriteFile("deux.alg", document));
  VerifyPanesShow(*window_, document.toStdString());
  QCOMPARE(window_->checkSummary->text(), QStringLiteral("Programme vérifié : 2 lignes à revoir."));
  const QList<QTextEdit::ExtraSelection> marks = window_->logoPane->extraSelections();
  QCOMPARE(marks.size(), 2);
  QCOMPARE(marks[0].cursor.blockNumber(), 0);
  QCOMPARE(marks[1].cursor.blockNumber(), 1);

  const QSize windowSize = window_->size();
  QTest::mouseClick(window_->checkSummary, Qt::LeftButton);
  QCOMPARE(window_->logoPane->textCursor().blockNumber(), 0);
  QCOMPARE(window_->logoPane->textCursor().positionInBlock(), 8);
  // The finding's sentence stands in the check line.
  QCOMPARE(window_->checkSummary->text(),
           QStringLiteral("ligne 1 : « y » n'est ni une primitive ni une procédure du programme : "
                          "corrigez le nom, ou définissez la procédure avec POUR … FIN."));
  QTest::mouseClick(window_->checkSummary, Qt::LeftButton);
  QCOMPARE(window_->logoPane->textCursor().blockNumber(), 1);
  QVERIFY(window_->checkSummary->text().startsWith(QStringLiteral("ligne 2 : « z »")));
  QCOMPARE(window_->size(), windowSize);

  // A sentence longer than the line is cut there, and whole in the line's tooltip; the window
  // keeps its size.
  const QString word(150, u'w');
  window_->OpenSourceFile(WriteFile("long.lgo", "ECRIS " + word.toLatin1() + "\r\n"));
  QTest::mouseClick(window_->checkSummary, Qt::LeftButton);
  const QString shown = window_->checkSummary->text();
  const QString sentence = window_->checkSummary->toolTip();
  QVERIFY(sentence.startsWith("ligne 1 : « " + word + " » n'est ni une primitive"));
  QVERIFY2(shown.endsWith(u'…') && sentence.startsWith(shown.chopped(1)), qPrintable(shown));
  QCOMPARE(window_->size(), windowSize);
  QTest::mouseClick(window_->checkSummary, Qt::LeftButton);
  QCOMPARE(window_->logoPane->textCursor().blockNumber(), 0);
}

// Example 16's first finding is on line 171 of the program, a loop written by "POUR j ALLANT_DE
// 1 A 8", line 137 of the listing; example 8's line 13 reads B, "LIRE B", line 8 of the listing.
void MainWindowCheckTest::AFindingAndARunErrorSelectTheAlgorithmsLineToo() {
  ClickItem(window_->exampleGroup->Item(15));
  QTest::mouseClick(window_->checkSummary, Qt::LeftButton);
  QCOMPARE(window_->logoPane->textCursor().blockNumber(), 170);
  // The line stands in the middle of the pane, not half-hidden at its bottom.
  const int middle = window_->logoPane->viewport()->height() / 2;
  const int lineHeight = window_->logoPane->fontMetrics().height();
  QVERIFY(std::abs(window_->logoPane->cursorRect().center().y() - middle) <= 2 * lineHeight);
  QCOMPARE(window_->listingPane->textCursor().blockNumber(), 136);
  QVERIFY(window_->listingPane->textCursor().selectedText().startsWith(QStringLiteral("POUR j")));

  ClickItem(window_->exampleGroup->Item(7));
  window_->SelectLogoLine(13);
  QCOMPARE(window_->logoPane->textCursor().selectedText().trimmed(),
           QStringLiteral("SOIT \"B LISNOMBRE"));
  QCOMPARE(window_->listingPane->textCursor().selectedText(), QStringLiteral("LIRE B"));
}

// Nothing is summed up before there is a program; a hand edit is checked again once the typing
// pauses, and the marks follow.
void MainWindowCheckTest::TheSummarySaysWhatWasCheckedAndFollowsHandEdits() {
  QCOMPARE(window_->checkSummary->text(), QString());
  QVERIFY(!window_->checkSummary->isEnabled());
  ClickItem(window_->exampleGroup->Item(7));
  QCOMPARE(window_->checkSummary->text(), QStringLiteral("Programme vérifié : aucune remarque."));

  QTextCursor end(window_->logoPane->document());
  end.movePosition(QTextCursor::End);
  window_->logoPane->setTextCursor(end);
  window_->logoPane->setFocus();
  QTest::keyClicks(window_->logoPane, "ECRISS :zz");
  QTRY_COMPARE_WITH_TIMEOUT(window_->checkSummary->text(),
                            QStringLiteral("Programme vérifié : 1 ligne à revoir."), 5000);
  const QList<QTextEdit::ExtraSelection> marks = window_->logoPane->extraSelections();
  QCOMPARE(marks.size(), 1);
  QCOMPARE(marks[0].cursor.blockNumber(), window_->logoPane->document()->blockCount() - 1);

  window_->logoPane->selectAll();
  QTest::keyClick(window_->logoPane, Qt::Key_Delete);
  QTRY_COMPARE_WITH_TIMEOUT(window_->checkSummary->text(), QString(), 5000);
}

// Shown on a projector, the summary's text stands out from the status bar: at least 4.5 : 1, with
// nothing to review (the summary then leads nowhere) as with lines to review.
void MainWindowCheckTest::TheSummaryReadsWellWithOrWithoutFindings() {
  ClickItem(window_->exampleGroup->Item(7));
  QVERIFY(!window_->checkSummary->isEnabled());
  const double ready = SummaryContrast(*window_);
  QVERIFY2(ready >= 4.5, qPrintable(QString::number(ready)));

  window_->logoPane->setPlainText(QStringLiteral("ECRISS :zz"));
  window_->CheckLogoPane();
  QVERIFY(window_->checkSummary->isEnabled());
  const double toReview = SummaryContrast(*window_);
  QVERIFY2(toReview >= 4.5, qPrintable(QString::number(toReview)));
}

}  // namespace tortuval::app

int main(int argc, char** argv) {
  tortuval::app::UseLaptopScreen();
  QApplication application(argc, argv);
  tortuval::app::MainWindowCheckTest test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_check_test.moc"
