// Where the run window opens, on the screen the environment describes to the offscreen platform:
// a large one (1920 x 1080), where the main window, centred until then, moves aside for it and it
// takes the screen's height beside it, and a projector's (1024 x 768), where it goes over the main
// window but wholly on the screen, its strip of current lines in view; then it keeps the place and
// size the user gives it. The placement rules themselves are checked on the sides they choose
// between.

#include "app/run_window_place.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cstdlib>

#include "app/radio_group.h"
#include "app/run_window.h"
#include "tests/app/window_test_support.h"

namespace tortuval::app {

constexpr int kTimeout = 20000;

class RunWindowPlaceTest : public WindowTestBase {
  Q_OBJECT

 private slots:
  void init() { OpenWindow(); }
  void cleanup() { CloseWindow(); }
  void OpensBesideWhereThereIsRoomElseOverWithItsStripInView();
  void PlacementPrefersTheSideWithRoomThenTheRoomiest();
  void TheMainWindowMovesAsideWhereBothFit_data();
  void TheMainWindowMovesAsideWhereBothFit();
};

namespace {

QRect FreeArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

QString Describe(const QRect& r) {
  return QStringLiteral("(%1, %2) %3 x %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

}  // namespace

void RunWindowPlaceTest::OpensBesideWhereThereIsRoomElseOverWithItsStripInView() {
  QTest::qWait(50);  // the main window centres itself once shown
  const QRect centred = window_->frameGeometry();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  QVERIFY2(std::abs(centred.center().x() - screen.center().x()) <= 1 &&
               std::abs(centred.center().y() - screen.center().y()) <= 1,
           qPrintable(Describe(centred)));
  const QSize client = window_->centralWidget()->size();
  ClickItem(window_->exampleGroup->Item(7));
  window_->runLogoAction->trigger();
  RunWindow* run = window_->RunView();
  QVERIFY(run != nullptr && QTest::qWaitForWindowExposed(run));
  const QRect main = window_->frameGeometry();
  const QRect placed = run->frameGeometry();
  QVERIFY2(FreeArea().contains(placed), qPrintable(Describe(placed)));
  QCOMPARE(main.size(), centred.size());
  QCOMPARE(window_->centralWidget()->size(), client);
  if (FreeArea().width() >= 1920) {
    // Side by side, the drawing at least as large as at the run window's own size.
    QVERIFY2(!placed.intersects(main), qPrintable(Describe(placed) + " / " + Describe(main)));
    QCOMPARE(main.left(), FreeArea().left());
    QCOMPARE(main.top(), centred.top());
    QCOMPARE(placed.height(), FreeArea().height());
    QVERIFY2(placed.width() >= 860, qPrintable(Describe(placed)));
  } else {
    QCOMPARE(main, centred);
  }

  // Stopped step by step, the strip is on the screen, above the output.
  QTRY_VERIFY_WITH_TIMEOUT(run->Reponse->isEnabled(), kTimeout);
  QTest::mouseClick(run->PasAPas, Qt::LeftButton);  // it stops after its read
  QTest::keyClicks(run->Reponse, "12");
  QTest::keyClick(run->Reponse, Qt::Key_Return);
  QTRY_VERIFY_WITH_TIMEOUT(run->LignesCourantes->isVisible(), kTimeout);
  const QRect strip(run->LignesCourantes->mapToGlobal(QPoint(0, 0)), run->LignesCourantes->size());
  QVERIFY2(FreeArea().contains(strip), qPrintable(Describe(strip)));
  QVERIFY(strip.bottom() < run->Sortie->mapToGlobal(QPoint(0, 0)).y());

  // Moved and resized by the user, closed, run again: it stays as they left it.
  const QRect chosen(FreeArea().topLeft() + QPoint(10, 20), QSize(800, 450));
  run->setGeometry(chosen);
  QTest::keyClick(run, Qt::Key_Escape);
  QTRY_VERIFY_WITH_TIMEOUT(!run->IsRunning(), kTimeout);
  window_->runLogoAction->trigger();
  QVERIFY(QTest::qWaitForWindowExposed(run));
  QCOMPARE(run->geometry(), chosen);
  QCOMPARE(window_->frameGeometry(), main);
}

void RunWindowPlaceTest::PlacementPrefersTheSideWithRoomThenTheRoomiest() {
  const QSize size(860, 520);
  const QSize minimum(770, 170);
  // Room on the right: level with the main window's top.
  QCOMPARE(RunWindowPlace(QRect(0, 0, 1920, 1080), QRect(0, 100, 978, 509), size, minimum),
           QRect(978, 100, 860, 520));
  // Room on the left only, the main window low: lifted to stay on the screen.
  QCOMPARE(RunWindowPlace(QRect(0, 0, 1920, 1080), QRect(940, 700, 978, 380), size, minimum),
           QRect(80, 560, 860, 520));
  // No side holds the whole window: the roomiest that holds its minimum, here below.
  QCOMPARE(RunWindowPlace(QRect(0, 0, 1920, 1080), QRect(471, 285, 978, 509), size, minimum),
           QRect(471, 794, 860, 286));
  // A projector's screen: over the main window, low and to the right, whole on the screen.
  QCOMPARE(RunWindowPlace(QRect(0, 0, 1024, 768), QRect(23, 129, 978, 509), size, minimum),
           QRect(164, 248, 860, 520));
}

void RunWindowPlaceTest::TheMainWindowMovesAsideWhereBothFit_data() {
  QTest::addColumn<QRect>("screen");
  QTest::addColumn<QRect>("main");
  QTest::addColumn<QRect>("movedMain");
  QTest::addColumn<QRect>("run");
  QTest::newRow("1920 x 1080, centred: to the left edge")
      << QRect(0, 0, 1920, 1080) << QRect(471, 285, 978, 509) << QRect(0, 285, 978, 509)
      << QRect(978, 0, 942, 1080);
  QTest::newRow("moved right by the user: to the right edge")
      << QRect(0, 0, 1920, 1080) << QRect(900, 100, 978, 509) << QRect(942, 100, 978, 509)
      << QRect(0, 0, 942, 1080);
  QTest::newRow("a panel above, partly off the screen: back on it")
      << QRect(0, 32, 2560, 1408) << QRect(-40, 10, 978, 509) << QRect(0, 32, 978, 509)
      << QRect(978, 32, 1582, 1408);
  // Too narrow for both: the main window stays, the run window goes beside, below or over it.
  QTest::newRow("1600 x 900") << QRect(0, 0, 1600, 900) << QRect(311, 195, 978, 509)
                              << QRect(311, 195, 978, 509) << QRect(311, 704, 860, 196);
  QTest::newRow("a projector's 1024 x 768")
      << QRect(0, 0, 1024, 768) << QRect(23, 129, 978, 509) << QRect(23, 129, 978, 509)
      << QRect(164, 248, 860, 520);
}

void RunWindowPlaceTest::TheMainWindowMovesAsideWhereBothFit() {
  QFETCH(QRect, screen);
  QFETCH(QRect, main);
  QFETCH(QRect, movedMain);
  QFETCH(QRect, run);
  const FirstRunPlaces places = PlacesAtFirstRun(screen, main, QSize(860, 520), QSize(770, 170));
  QCOMPARE(places.main, movedMain);
  QCOMPARE(places.run, run);
}

}  // namespace tortuval::app

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  tortuval::app::RunWindowPlaceTest test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}

#include "run_window_place_test.moc"
