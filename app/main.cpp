// The desktop window program: the main window, optionally opening the file it is given.

#include <QApplication>
#include <QIcon>
#include <QStringList>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/qt_french.h"
#include "tortuval/version.h"

int main(int argc, char* argv[]) {
  using tortuval::app::MainWindow;
  using tortuval::app::StartOptions;

  // Help and version are answered before the GUI starts, so that they work without a display.
  // The window's own parse below comes after Qt has taken its options (-platform, -style…).
  try {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const StartOptions early = tortuval::app::ParseCommandLine(arguments);
    if (!early.printedText.isEmpty()) {
      std::fputs(qUtf8Printable(early.printedText), stdout);
      return 0;
    }
  } catch (const tortuval::Error&) {
    // Reported by the parse below, unless the argument was one of Qt's options.
  }

  QApplication application(argc, argv);
  // The name, not the display name: Qt would append a display name to every window title.
  QApplication::setApplicationName(QStringLiteral("Tortuval"));
  QApplication::setApplicationVersion(QString::fromUtf8(
      tortuval::kVersion.data(), static_cast<qsizetype>(tortuval::kVersion.size())));
  QGuiApplication::setDesktopFileName(QStringLiteral("tortuval"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/tortuval.png")));

  // The window speaks French whatever the system's language; so do Qt's standard buttons and
  // file dialogs when their translation is installed.
  QTranslator qtTranslator;
  if (tortuval::app::LoadQtFrench(qtTranslator)) QApplication::installTranslator(&qtTranslator);

  StartOptions options;
  try {
    options = tortuval::app::ParseCommandLine(QApplication::arguments());
  } catch (const tortuval::Error& error) {
    std::fprintf(stderr, "tortuval : %s\n", error.what());
    return 2;
  }
  if (!options.printedText.isEmpty()) {
    std::fputs(qUtf8Printable(options.printedText), stdout);
    return 0;
  }

  MainWindow window;
  window.show();
  // Start-up work runs inside the event loop, so that an error box has a shown window under it.
  QTimer::singleShot(0, &window, [&window, &options] {
    const bool saved = tortuval::app::ApplyStartOptions(window, options);
    if (options.screenshotPath.isEmpty()) return;
    if (!saved) {
      std::fprintf(stderr, "tortuval : impossible d'enregistrer l'image « %s ».\n",
                   qUtf8Printable(options.screenshotPath));
    }
    QCoreApplication::exit(saved ? 0 : 1);
  });
  return QApplication::exec();
}
