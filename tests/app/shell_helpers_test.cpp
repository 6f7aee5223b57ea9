// The window's parts that work without the main window: centring, error messages, pane texts,
// open-dialog filters and the command line.

#include <QPlainTextEdit>
#include <QTest>
#include <stdexcept>
#include <string>

#include "app/command_line.h"
#include "app/error_display.h"
#include "app/file_filter.h"
#include "app/pane_text.h"
#include "app/window_geometry.h"
#include "tests/test_support.h"
#include "tortuval/version.h"

namespace tortuval::app {

class ShellHelpersTest : public QObject {
  Q_OBJECT

 private slots:
  void CentringHalvesEachSizeFirst_data();
  void CentringHalvesEachSizeFirst();
  void ClosingPeriod_data();
  void ClosingPeriod();
  void UnexpectedErrorIsShown();
  void PaneTextRoundTrip_data();
  void PaneTextRoundTrip();
  void DialogFilters();
  void CommandLine_data();
  void CommandLine();
  void HelpAndVersion();
};

void ShellHelpersTest::CentringHalvesEachSizeFirst_data() {
  QTest::addColumn<QList<int>>("screenAndWindow");
  QTest::addColumn<WindowPosition>("position");
  QTest::newRow("main window on 1366x768")
      << QList{1366, 768, 978, 509} << WindowPosition{194, 130};
  // (1000 - 301) div 2 would give 349.
  QTest::newRow("even screen, odd window")
      << QList{1000, 600, 301, 201} << WindowPosition{350, 200};
  QTest::newRow("larger than the screen")
      << QList{800, 600, 1003, 700} << WindowPosition{-101, -50};
}

void ShellHelpersTest::CentringHalvesEachSizeFirst() {
  QFETCH(QList<int>, screenAndWindow);
  QFETCH(WindowPosition, position);
  const auto& s = screenAndWindow;
  QVERIFY(CentredPosition(s[0], s[1], s[2], s[3]) == position);
}

void ShellHelpersTest::ClosingPeriod_data() {
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("shown");
  QTest::newRow("empty") << ""
                         << "";
  QTest::newRow("accented letter") << "Débordement d'entier"
                                   << "Débordement d'entier.";
  QTest::newRow("digit") << "Erreur E/S 32"
                         << "Erreur E/S 32.";
  QTest::newRow("slash, just above the period") << "a/"
                                                << "a/.";
  QTest::newRow("period") << "Accès refusé."
                          << "Accès refusé.";
  QTest::newRow("exclamation") << "Attention !"
                               << "Attention !";
  QTest::newRow("parenthesis") << "Erreur (code 5)"
                               << "Erreur (code 5)";
  QTest::newRow("blank") << "a "
                         << "a ";
}

void ShellHelpersTest::ClosingPeriod() {
  QFETCH(QString, message);
  QFETCH(QString, shown);
  QCOMPARE(WithClosingPeriod(message), shown);
}

void ShellHelpersTest::UnexpectedErrorIsShown() {
  try {
    throw std::logic_error("cœur");
  } catch (...) {
    QCOMPARE(UnexpectedErrorMessage(), QStringLiteral("cœur"));
  }
  try {
    throw 42;
  } catch (...) {
    QCOMPARE(UnexpectedErrorMessage(), QStringLiteral("Exception inconnue"));
  }
}

void ShellHelpersTest::PaneTextRoundTrip_data() {
  QTest::addColumn<QByteArray>("cp1252");
  QTest::addColumn<QByteArray>("readBack");
  QTest::newRow("empty") << QByteArray() << QByteArray();
  QTest::newRow("CR LF, empty lines")
      << QByteArray("\r\nun\r\n\r\n") << QByteArray("\r\nun\r\n\r\n");
  QTest::newRow("lone LF becomes CR LF") << QByteArray("a\nb") << QByteArray("a\r\nb");
  std::string all;
  for (int byte = 1; byte < 256; ++byte) {
    if (byte != '\r' && byte != '\n') all += static_cast<char>(byte);
  }
  // Non-breaking space included: the pane must not turn it into a blank.
  QTest::newRow("every byte but NUL, CR and LF")
      << QByteArray::fromStdString(all) << QByteArray::fromStdString(all);
}

void ShellHelpersTest::PaneTextRoundTrip() {
  QFETCH(QByteArray, cp1252);
  QFETCH(QByteArray, readBack);
  QPlainTextEdit pane;
  SetPaneText(&pane, cp1252.toStdString());
  QCOMPARE(QByteArray::fromStdString(PaneText(&pane)), readBack);
  // Typed characters the code page lacks become "?".
  pane.setPlainText(QStringLiteral("α€é\nœ"));
  QCOMPARE(PaneText(&pane), testing::Cp("?€é\r\nœ"));
}

void ShellHelpersTest::DialogFilters() {
  QCOMPARE(QtNameFilters(kOpenDialogFilter),
           QStringList({"Fichiers Algo (*.alg) (*.alg)", "Fichiers texte  (*.text) (*.text)",
                        "Tous les fichiers (*.*) (*)"}));
}

void ShellHelpersTest::CommandLine_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<bool>("valid");
  QTest::addColumn<QString>("file");
  QTest::addColumn<int>("example");
  QTest::addColumn<QString>("screenshot");
  QTest::newRow("nothing") << QStringList{"tortuval"} << true << "" << 0 << "";
  QTest::newRow("a file named like an option")
      << QStringList{"tortuval", "--", "-x.alg"} << true << "-x.alg" << 0 << "";
  QTest::newRow("example and picture")
      << QStringList{"tortuval", "--select-example=17", "--screenshot", "w.png"} << true << "" << 17
      << "w.png";
  QTest::newRow("example 0") << QStringList{"tortuval", "--select-example", "0"} << false;
  QTest::newRow("example 18") << QStringList{"tortuval", "--select-example", "18"} << false;
  QTest::newRow("two files") << QStringList{"tortuval", "a.alg", "b.alg"} << false;
  QTest::newRow("unknown option") << QStringList{"tortuval", "--vite"} << false;
}

void ShellHelpersTest::CommandLine() {
  QFETCH(QStringList, arguments);
  QFETCH(bool, valid);
  const std::string error = testing::ErrorMessage([&arguments] { ParseCommandLine(arguments); });
  QCOMPARE(error == "(no error)", valid);
  QVERIFY(!error.empty());
  if (!valid) return;
  const StartOptions options = ParseCommandLine(arguments);
  QTEST(options.file, "file");
  QTEST(options.selectExample, "example");
  QTEST(options.screenshotPath, "screenshot");
}

void ShellHelpersTest::HelpAndVersion() {
  const QString help = ParseCommandLine({"tortuval", "--help"}).printedText;
  QVERIFY(help.startsWith("Utilisation : tortuval [options] [FICHIER]\n"));
  for (const char* option : {"-h, --help", "--version", "--select-example N", "--screenshot"}) {
    QVERIFY2(help.contains(QString::fromUtf8(option)), option);
  }
  // Answered whatever else the line holds, before the first "--".
  QCOMPARE(ParseCommandLine({"tortuval", "a.alg", "--vite", "-h"}).printedText, help);
  const QString version = QStringLiteral("tortuval %1\n").arg(QString::fromUtf8(kVersion));
  QCOMPARE(ParseCommandLine({"tortuval", "--version", "b.alg"}).printedText, version);
  const StartOptions file = ParseCommandLine({"tortuval", "--", "--help"});
  QVERIFY(file.printedText.isEmpty());
  QCOMPARE(file.file, QStringLiteral("--help"));
}

}  // namespace tortuval::app

QTEST_MAIN(tortuval::app::ShellHelpersTest)
#include "shell_helpers_test.moc"
