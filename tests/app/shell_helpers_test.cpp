// The window's parts that work without the main window: centring, the controls' places on small
// screens, error messages, pane texts, the run's output pane,
// dialog filters, the saved program's name, Qt's French texts and the command line.

#include <QAbstractTextDocumentLayout>
#include <QDialogButtonBox>
#include <QFile>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTranslator>
#include <stdexcept>
#include <string>

#include "app/client_layout.h"
#include "app/command_line.h"
#include "app/error_display.h"
#include "app/file_filter.h"
#include "app/logo_file.h"
#include "app/output_pane.h"
#include "app/pane_text.h"
#include "app/qt_french.h"
#include "app/window_geometry.h"
#include "tests/test_support.h"
#include "tortuval/version.h"

namespace tortuval::app {

class ShellHelpersTest : public QObject {
  Q_OBJECT

 private slots:
  void CentringHalvesEachSizeFirst_data();
  void CentringHalvesEachSizeFirst();
  void ControlPlaces_data();
  void ControlPlaces();
  void FittingAScreen();
  void ClosingPeriod_data();
  void ClosingPeriod();
  void UnexpectedErrorIsShown();
  void PaneTextRoundTrip_data();
  void PaneTextRoundTrip();
  void OutputKeepsNumbersWhole_data();
  void OutputKeepsNumbersWhole();
  void OutputShowsItsLastLine();
  void DialogFilters();
  void ProposedLogoName_data();
  void ProposedLogoName();
  void QtSpeaksFrench();
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

void ShellHelpersTest::ControlPlaces_data() {
  QTest::addColumn<QSize>("client");
  QTest::addColumn<QList<QRect>>("places");  // group, listing, LOGO pane, then the two headings
  QTest::newRow("specified size") << QSize(970, 455)
                                  << QList{QRect(8, 8, 198, 435), QRect(211, 32, 377, 413),
                                           QRect(596, 32, 365, 413), QRect(212, 8, 0, 0),
                                           QRect(600, 8, 0, 0)};
  // 100 pixels narrower: 50 from the listing (100 x 377 / 742), 50 from the LOGO pane.
  QTest::newRow("narrower and shorter")
      << QSize(870, 431)
      << QList{QRect(8, 8, 198, 411), QRect(211, 32, 327, 389), QRect(546, 32, 315, 389),
               QRect(212, 8, 0, 0), QRect(550, 8, 0, 0)};
  QTest::newRow("narrowest") << MinimumClientSize(349)
                             << QList{QRect(8, 8, 198, 349), QRect(211, 32, 155, 327),
                                      QRect(374, 32, 150, 327), QRect(212, 8, 0, 0),
                                      QRect(378, 8, 0, 0)};
}

void ShellHelpersTest::ControlPlaces() {
  QFETCH(QSize, client);
  QFETCH(QList<QRect>, places);
  const ClientLayout layout = LayoutForClient(client);
  QCOMPARE(layout.examples, places[0]);
  QCOMPARE(layout.listingPane, places[1]);
  QCOMPARE(layout.logoPane, places[2]);
  QCOMPARE(layout.listingHeading, places[3].topLeft());
  QCOMPARE(layout.logoHeading, places[4].topLeft());
  // The right margin stays 9 pixels.
  QCOMPARE(client.width() - layout.logoPane.right() - 1, 9);
}

void ShellHelpersTest::FittingAScreen() {
  const QSize chrome(4, 49);  // frame, menu bar and status line
  const QSize minimum = MinimumClientSize(349);
  QCOMPARE(minimum, QSize(533, 369));
  QCOMPARE(FittedClientSize({1366, 768}, chrome, minimum), QSize(970, 455));
  QCOMPARE(FittedClientSize({974, 504}, chrome, minimum), QSize(970, 455));
  // 1366 x 768 at 150 %.
  QCOMPARE(FittedClientSize({911, 512}, chrome, minimum), QSize(907, 455));
  QCOMPARE(FittedClientSize({819, 480}, chrome, minimum), QSize(815, 431));
  QCOMPARE(FittedClientSize({400, 300}, chrome, minimum), minimum);

  QCOMPARE(PlacedInside({0, 0, 911, 512}, {911, 504}), QPoint(0, 4));
  QCOMPARE(PlacedInside({0, 30, 800, 570}, {600, 400}), QPoint(100, 115));
  // Larger than the area: its top-left corner, with the title bar, stays on it.
  QCOMPARE(PlacedInside({0, 30, 800, 570}, {900, 700}), QPoint(0, 30));
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

void ShellHelpersTest::OutputKeepsNumbersWhole_data() {
  // The rows' width, as a share of the line's.
  QTest::addColumn<double>("share");
  QTest::newRow("narrower than the number") << 0.25;
  QTest::newRow("about the number's width") << 0.6;
  QTest::newRow("a little narrower than the line") << 0.9;
}

void ShellHelpersTest::OutputKeepsNumbersWhole() {
  QFETCH(double, share);
  QPlainTextEdit pane;
  SetUpOutputPane(&pane);
  const QString text = QStringLiteral("x = 0,0998753117206983 y = 12,5");
  pane.setPlainText(text);
  const int margins = pane.width() - pane.viewport()->width() +
                      2 * static_cast<int>(pane.document()->documentMargin());
  pane.resize(static_cast<int>(share * pane.fontMetrics().horizontalAdvance(text)) + margins, 200);
  pane.show();
  QVERIFY(QTest::qWaitForWindowExposed(&pane));
  const QTextBlock block = pane.document()->firstBlock();
  pane.document()->documentLayout()->blockBoundingRect(block);  // lays the block out
  const QTextLayout* layout = block.layout();
  QVERIFY2(layout->lineCount() > 1, "the line still wraps");
  for (const QString& number : {QStringLiteral("0,0998753117206983"), QStringLiteral("12,5")}) {
    const int start = static_cast<int>(text.indexOf(number));
    const int last = start + static_cast<int>(number.size()) - 1;
    QVERIFY2(layout->lineForTextPosition(start).lineNumber() ==
                 layout->lineForTextPosition(last).lineNumber(),
             qPrintable(number));
  }
}

void ShellHelpersTest::OutputShowsItsLastLine() {
  QPlainTextEdit pane;
  pane.setReadOnly(true);
  SetUpOutputPane(&pane);
  pane.resize(200, 150);
  pane.show();
  QVERIFY(QTest::qWaitForWindowExposed(&pane));
  QTextCursor end(pane.document());
  for (int line = 1; line <= 300; ++line) {
    end.insertText(QStringLiteral("%1 ; 0,0998753117206983 ; 0,426934202076293\n").arg(line));
  }
  end.insertText(QStringLiteral("fin"));
  QTextCursor selection(pane.document());
  selection.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
  pane.setTextCursor(selection);
  QVERIFY(pane.cursorRect(end).top() > pane.viewport()->height());

  ShowLastOutput(&pane);
  QVERIFY(pane.viewport()->rect().contains(pane.cursorRect(end)));
  QCOMPARE(pane.horizontalScrollBar()->value(), pane.horizontalScrollBar()->minimum());
  QCOMPARE(pane.textCursor().selectedText(), QStringLiteral("1 "));
}

void ShellHelpersTest::DialogFilters() {
  QCOMPARE(QtNameFilters(kOpenDialogFilter),
           QStringList({"Fichiers Algo (*.alg) (*.alg)", "Fichiers texte  (*.text) (*.text)",
                        "Tous les fichiers (*.*) (*)"}));
}

void ShellHelpersTest::ProposedLogoName_data() {
  QTest::addColumn<QString>("document");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("proposed");
  QTest::newRow("opened document") << "/cours/td 3/élève.alg"
                                   << "prof_Euler."
                                   << "/cours/td 3/élève.lgo";
  QTest::newRow("only the last extension") << "/cours/a.b.text"
                                           << ""
                                           << "/cours/a.b.lgo";
  QTest::newRow("example") << ""
                           << "prof_pgdc_récursif."
                           << "/ici/prof_pgdc_récursif.lgo";
  QTest::newRow("period inside the caption") << ""
                                             << "prof_décomp._facteurs_premiers."
                                             << "/ici/prof_décomp._facteurs_premiers.lgo";
  QTest::newRow("caption without period") << ""
                                          << "fonction pos_minimum"
                                          << "/ici/fonction pos_minimum.lgo";
  QTest::newRow("nothing converted") << ""
                                     << ""
                                     << "/ici/programme.lgo";
}

void ShellHelpersTest::ProposedLogoName() {
  QFETCH(QString, document);
  QFETCH(QString, caption);
  QTEST(ProposedLogoPath(document, caption, "/ici"), "proposed");
}

void ShellHelpersTest::QtSpeaksFrench() {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  QTranslator translator;
  if (!QFile::exists(folder + "/qtbase_fr.qm")) {
    QVERIFY(!LoadQtFrench(translator));
    QSKIP("Qt's French translation is not installed (scripts/install-deps.sh installs it).");
  }
  QVERIFY(LoadQtFrench(translator));
  QVERIFY(QCoreApplication::installTranslator(&translator));
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  const QString cancel = buttons.button(QDialogButtonBox::Cancel)->text();
  QCoreApplication::removeTranslator(&translator);
  QCOMPARE(cancel, QStringLiteral("Annuler"));
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
  if (!valid) {
    // A French sentence that names what is wrong, not Qt's English text.
    QVERIFY2(error.find("Option inconnue") != std::string::npos ||
                 error.find("Numéro d'exemple invalide") != std::string::npos ||
                 error.find("Un seul fichier") != std::string::npos,
             error.c_str());
    return;
  }
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
