// The main window on a screen whose free area cannot hold it, as a laptop screen scaled to
// 150 % cannot: the environment gives the offscreen platform's screen and QT_SCALE_FACTOR.

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include "app/main_window.h"
#include "app/radio_group.h"
#include "tests/app/window_test_support.h"

namespace tortuval::app {

class MainWindowScaledTest : public WindowTestBase {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init() { OpenWindow(); }
  void cleanup() { CloseWindow(); }
  void WindowFitsWhollyOnTheScreen();
  void SizeChangesSnapBackToTheFittedSize();
};

namespace {

QRect FreeArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// Where `widget` lies in `window`'s coordinates.
QRect PlaceIn(const QWidget* window, const QWidget* widget) {
  return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

}  // namespace

void MainWindowScaledTest::initTestCase() {
  // Too small for the client area of 970 x 455 with its menu bar and status line.
  QVERIFY2(FreeArea().width() < 978 || FreeArea().height() < 509,
           "the environment must describe a small or scaled screen");
}

void MainWindowScaledTest::WindowFitsWhollyOnTheScreen() {
  MainWindow& window = *window_;
  QTRY_VERIFY2(FreeArea().contains(window.frameGeometry()),
               qPrintable(QStringLiteral("window at (%1, %2) %3 x %4")
                              .arg(window.frameGeometry().x())
                              .arg(window.frameGeometry().y())
                              .arg(window.frameGeometry().width())
                              .arg(window.frameGeometry().height())));

  // The panes gave the room; the examples keep their width and every item shows whole.
  QWidget* client = window.centralWidget();
  QVERIFY(client->width() < 970 || client->height() < 455);
  QCOMPARE(window.exampleGroup->width(), 198);
  QVERIFY(window.listingPane->width() < 377 || window.listingPane->height() < 413);
  QVERIFY(window.listingPane->width() >= 150 && window.logoPane->width() >= 150);
  const QRect group = window.exampleGroup->contentsRect();
  for (int index = 0; index < window.exampleGroup->ItemCount(); ++index) {
    const QRadioButton* item = window.exampleGroup->Item(index);
    QVERIFY2(group.contains(item->geometry()), qPrintable(item->text()));
    QVERIFY(item->height() >= item->minimumSizeHint().height());
  }

  // Left to right, without overlap, all inside the client area: examples, listing, LOGO pane;
  // each heading above its pane.
  const QRect examples = PlaceIn(client, window.exampleGroup);
  const QRect listing = PlaceIn(client, window.listingPane);
  const QRect logo = PlaceIn(client, window.logoPane);
  QVERIFY(examples.right() < listing.left() && listing.right() < logo.left());
  QVERIFY(client->rect().contains(examples) && client->rect().contains(logo));
  for (auto [heading, pane] :
       {std::pair{window.listingLabel, listing}, std::pair{window.logoLabel, logo}}) {
    const QRect place = PlaceIn(client, heading);
    QVERIFY(place.bottom() < pane.top());
    QVERIFY(place.left() >= pane.left() && place.right() <= pane.right());
  }

  // Every menu on the bar, and the check's summary, inside the window.
  for (QAction* menu : window.mainMenu->actions()) {
    QVERIFY2(window.mainMenu->rect().contains(window.mainMenu->actionGeometry(menu)),
             qPrintable(menu->text()));
  }
  QVERIFY(window.rect().contains(PlaceIn(&window, window.checkSummary)));
}

void MainWindowScaledTest::SizeChangesSnapBackToTheFittedSize() {
  MainWindow& window = *window_;
  QTRY_VERIFY(FreeArea().contains(window.frameGeometry()));
  const QSize fitted = window.size();
  window.showMaximized();
  QTRY_VERIFY(!window.isMaximized());
  QCOMPARE(window.size(), fitted);

  window.setMinimumSize(0, 0);
  window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  window.resize(fitted + QSize(300, 200));
  QCOMPARE(window.size(), fitted);
  QVERIFY(FreeArea().contains(window.frameGeometry()));
}

}  // namespace tortuval::app

QTEST_MAIN(tortuval::app::MainWindowScaledTest)
#include "main_window_scaled_test.moc"
