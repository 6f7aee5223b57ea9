#include "tests/app/window_test_support.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app/pane_text.h"
#include "base/cp1252.h"
#include "convert/conversion.h"
#include "tests/test_support.h"

namespace tortuval::app {

const char kDocument[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Algo>\n"
    "<description texte=\"Moyenne d'un élève, où ?\" courant=\"\" />\n"
    "<item algoitem=\"VARIABLES\" code=\"100#declarationsvariables\">\n"
    "<item algoitem=\"note EST_DU_TYPE NOMBRE\" code=\"1#NOMBRE#note\"/>\n</item>\n"
    "<item algoitem=\"DEBUT_ALGORITHME\" code=\"101#debutalgo\">\n"
    "<item algoitem=\"AFFICHER &quot;Très bien α&quot;\" code=\"4#Très bien α#1\"/>\n"
    "</item>\n<item algoitem=\"FIN_ALGORITHME\" code=\"102#finalgo\"/>\n</Algo>\n";

std::string ExpectedSourceText() {
  return base::Utf8ToCp1252(QString(kDocument).replace("\n", "\r\n").toStdString());
}

std::string Logo(const MainWindow& window) { return PaneText(window.logoPane); }
std::string Listing(const MainWindow& window) { return PaneText(window.listingPane); }

void VerifyPanesShow(const MainWindow& window, const std::string& document) {
  const convert::ConversionResult expected = convert::ConvertDocument(document);
  QVERIFY2(Logo(window) == expected.logoText,
           testing::LineDiff(expected.logoText, Logo(window)).c_str());
  QVERIFY2(Listing(window) == expected.listingText,
           testing::LineDiff(expected.listingText, Listing(window)).c_str());
}

QPointer<QTimer> WhenModalAppears(std::function<void(QWidget*)> action) {
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
  return timer;
}

namespace {

// The text of the box with `icon` shown while `command` runs; a watch that saw no box is stopped,
// so that it does not take a later window for this command's box.
QString BoxShownBy(const std::function<void()>& command, QMessageBox::Icon icon) {
  QString shown;
  const QPointer<QTimer> watch = WhenModalAppears([&shown, icon](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY(box != nullptr);
    QCOMPARE(box->windowTitle(), QStringLiteral("Tortuval"));
    QCOMPARE(box->icon(), icon);
    QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    shown = box->text();
  });
  command();
  delete watch.data();
  return shown;
}

}  // namespace

QString ErrorShownBy(const std::function<void()>& command) {
  return BoxShownBy(command, QMessageBox::Critical);
}

QString InformationShownBy(const std::function<void()>& command) {
  return BoxShownBy(command, QMessageBox::Information);
}

void ClickItem(QRadioButton* item) {
  QTest::mouseClick(item, Qt::LeftButton, Qt::NoModifier, QPoint(6, item->height() / 2));
}

void UseLaptopScreen() {
  // The offscreen platform's own screen (800 x 800) is narrower than the window, and it reports
  // negative window positions two pixels off; a common laptop screen avoids both.
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform == "offscreen") {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TORTUVAL_OFFSCREEN_SCREEN);
  }
}

void WindowTestBase::OpenWindow() {
  window_ = new MainWindow;
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void WindowTestBase::CloseWindow() {
  delete window_;
  window_ = nullptr;
}

QString WindowTestBase::WriteFile(const QString& name, const QByteArray& bytes) {
  QFile file(folder_.filePath(name));
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
  return file.fileName();
}

}  // namespace tortuval::app
