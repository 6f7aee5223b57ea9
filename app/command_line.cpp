#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "app/main_window.h"
#include "app/radio_group.h"
#include "app/run_window.h"
#include "examples/example_catalogue.h"
#include "tortuval/version.h"

namespace tortuval::app {
namespace {

const QStringList kHelpNames = {QStringLiteral("h"), QStringLiteral("help")};
const QStringList kVersionNames = {QStringLiteral("version")};

constexpr char kHelpText[] =
    R"(Utilisation : tortuval [options] [FICHIER]
Ouvre la fenêtre de Tortuval, qui convertit les algorithmes Pseudal (fichiers
.alg) en programmes LOGO.
FICHIER : un document à ouvrir et convertir au démarrage, comme par « Ouvrir. ».

Options :
  -h, --help             affiche cette aide
  --version              affiche la version
  --select-example N     choisit l'exemple intégré N (1 à 17) au démarrage
  --screenshot FICHIER   enregistre une image PNG de la fenêtre, puis quitte
  --run-program          lance le programme LOGO jusqu'à sa fin ; l'image est
                         alors celle de la fenêtre d'exécution
  --step-program N       de plus, le relance pas à pas pour N pas ; l'image montre
                         alors les deux fenêtres côte à côte
  --screen               l'image est celle de tout l'écran, chaque fenêtre à sa
                         place

Code de retour : 0 ; 1 si l'image n'a pas pu être enregistrée ; 2 pour une
erreur d'utilisation.
)";

QString VersionText() {
  return QStringLiteral("tortuval %1\n")
      .arg(QString::fromUtf8(tortuval::kVersion.data(),
                             static_cast<qsizetype>(tortuval::kVersion.size())));
}

}  // namespace

QString HelpText() { return QString::fromUtf8(kHelpText); }

StartOptions ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  const QCommandLineOption help(kHelpNames);
  const QCommandLineOption version(kVersionNames);
  const QCommandLineOption example(QStringLiteral("select-example"), QString(),
                                   QStringLiteral("N"));
  const QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(),
                                      QStringLiteral("FICHIER"));
  const QCommandLineOption runProgram(QStringLiteral("run-program"));
  const QCommandLineOption stepProgram(QStringLiteral("step-program"), QString(),
                                       QStringLiteral("N"));
  const QCommandLineOption wholeScreen(QStringLiteral("screen"));
  parser.addOptions({help, version, example, screenshot, runProgram, stepProgram, wholeScreen});

  StartOptions options;
  // The parser reads on past an unknown option, so help and version still answer.
  const bool parsed = parser.parse(arguments);
  if (parser.isSet(help)) {
    options.printedText = HelpText();
    return options;
  }
  if (parser.isSet(version)) {
    options.printedText = VersionText();
    return options;
  }
  if (!parsed) {
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty()) ThrowError(parser.errorText().toStdString());
    const QString& name = unknown.constFirst();
    const QString dashes = name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
    ThrowError(QStringLiteral("Option inconnue : « %1%2 ».").arg(dashes, name).toStdString());
  }
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) ThrowError("Un seul fichier peut être ouvert à la fois.");
  if (!files.isEmpty()) options.file = files.constFirst();
  if (parser.isSet(example)) {
    bool isNumber = false;
    const int number = parser.value(example).toInt(&isNumber);
    if (!isNumber || number < 1 || number > examples::kExampleCount) {
      ThrowError(QStringLiteral("Numéro d'exemple invalide : « %1 » (de 1 à %2 attendu).")
                     .arg(parser.value(example))
                     .arg(examples::kExampleCount)
                     .toStdString());
    }
    options.selectExample = number;
  }
  options.screenshotPath = parser.value(screenshot);
  options.runProgram = parser.isSet(runProgram);
  options.stepProgram = parser.value(stepProgram).toInt();
  options.runProgram = options.runProgram || options.stepProgram > 0;
  options.wholeScreen = parser.isSet(wholeScreen);
  return options;
}

namespace {

// The screen as it shows, once the windows have painted themselves there.
bool SaveScreen(const QString& path) {
  QEventLoop settle;
  QTimer::singleShot(500, &settle, &QEventLoop::quit);
  settle.exec();
  return QGuiApplication::primaryScreen()->grabWindow(0).save(path, "PNG");
}

}  // namespace

bool ApplyStartOptions(MainWindow& window, const StartOptions& options) {
  if (!options.file.isEmpty()) window.OpenSourceFile(options.file);
  if (options.selectExample > 0) window.exampleGroup->SetItemIndex(options.selectExample - 1);
  QWidget* pictured = &window;
  if (options.runProgram) {
    window.runLogoAction->trigger();
    RunWindow* runWindow = window.RunView();
    if (runWindow == nullptr) return false;
    // The picture shows the end of the run; a program that does not end is pictured after a
    // minute.
    QEventLoop loop;
    QObject::connect(runWindow, &RunWindow::RunEnded, &loop, &QEventLoop::quit);
    QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
    if (runWindow->IsRunning()) loop.exec();
    pictured = runWindow;
    if (options.stepProgram > 0) {
      // Again step by step from the first instruction, one stop per step.
      QEventLoop stepLoop;
      QObject::connect(runWindow, &RunWindow::StoppedAtLine, &stepLoop, &QEventLoop::quit);
      for (int step = 0; step < options.stepProgram; ++step) {
        runWindow->PasAPasClick();
        QTimer::singleShot(10'000, &stepLoop, &QEventLoop::quit);
        stepLoop.exec();
      }
      if (options.screenshotPath.isEmpty()) return true;
      if (options.wholeScreen) return SaveScreen(options.screenshotPath);
      // Both windows, side by side: the panes with their lines selected, the run and its table.
      const QPixmap main = window.grab();
      const QPixmap run = runWindow->grab();
      QPixmap both(main.width() + run.width(), std::max(main.height(), run.height()));
      both.fill(Qt::white);
      QPainter painter(&both);
      painter.drawPixmap(0, 0, main);
      painter.drawPixmap(main.width(), 0, run);
      painter.end();
      return both.save(options.screenshotPath, "PNG");
    }
  }
  if (options.screenshotPath.isEmpty()) return true;
  if (options.wholeScreen) return SaveScreen(options.screenshotPath);
  return pictured->grab().save(options.screenshotPath, "PNG");
}

}  // namespace tortuval::app
