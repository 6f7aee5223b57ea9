// Where the run window opens, on the screen the environment describes to the offscreen platform:
// a large one (1920 x 1080), where it leaves the main window in sight, and a projector's
// (1024 x 768), where it goes over it but wholly on the screen, its strip of current lines in
// view; then it keeps the place and size the user gives it. The placement rule itself is checked
// on the sides it chooses between.

#include "app/run_window_place.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

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
};

namespace {

QRect FreeArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

QString Describe(const QRect& r) {
  return QStringLiteral("(%1, %2) %3 x %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

}  // namespace

void RunWindowPlaceTest::OpensBesideWhereThereIsRoomElseOverWithItsStripInView() {
  QTest::qWait(50);  // the main window centres itself once shown
  ClickItem(window_->exampleGroup->Item(7));
  window_->runLogoAction->trigger();
  RunWindow* run = window_->RunView();
  QVERIFY(run != nullptr && QTest::qWaitForWindowExposed(run));
  const QRect main = window_->frameGeometry();
  const QRect placed = run->frameGeometry();
  QVERIFY2(FreeArea().contains(placed), qPrintable(Describe(placed)));
  if (FreeArea().width() >= 1920) {
    QVERIFY2(!placed.intersects(main), qPrintable(Describe(placed) + " / " + Describe(main)));
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

}  // namespace tortuval::app

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  tortuval::app::RunWindowPlaceTest test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}

#include "run_window_place_test.moc"
