#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>

#include "app/ConvertisseurPseudalUnit.h"
#include "app/radio_group.h"
#include "app/run_window.h"
#include "examples/example_catalogue.h"

namespace tortuval::app {

StartOptions ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Convertit les algorithmes Pseudal (.alg) en programmes LOGO."));
  const QCommandLineOption help = parser.addHelpOption();
  parser.addPositionalArgument(QStringLiteral("fichier"),
                               QStringLiteral("Algorithme à ouvrir et convertir au démarrage."),
                               QStringLiteral("[fichier]"));
  QCommandLineOption example(QStringLiteral("select-example"),
                             QStringLiteral("Choisit l'exemple N (1 à 17) au démarrage."),
                             QStringLiteral("N"));
  example.setFlags(QCommandLineOption::HiddenFromHelp);
  QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                QStringLiteral("Enregistre une image de la fenêtre puis quitte."),
                                QStringLiteral("FICHIER"));
  screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
  QCommandLineOption runProgram(QStringLiteral("run-program"),
                                QStringLiteral("Exécute le programme LOGO au démarrage."));
  runProgram.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(example);
  parser.addOption(screenshot);
  parser.addOption(runProgram);

  StartOptions options;
  if (!parser.parse(arguments)) ThrowError(parser.errorText().toStdString());
  if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    options.helpText = parser.helpText();
    return options;
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
  return options;
}

bool ApplyStartOptions(TFicheConvertisseur& window, const StartOptions& options) {
  if (!options.file.isEmpty()) window.OpenSourceFile(options.file);
  if (options.selectExample > 0) window.RadioGroup1->SetItemIndex(options.selectExample - 1);
  QWidget* pictured = &window;
  if (options.runProgram) {
    window.LancerleprogrammeLOGO->trigger();
    RunWindow* runWindow = window.FicheExecution();
    if (runWindow == nullptr) return false;
    // The picture shows the end of the run; a program that does not end is pictured after a
    // minute.
    QEventLoop loop;
    QObject::connect(runWindow, &RunWindow::RunEnded, &loop, &QEventLoop::quit);
    QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
    if (runWindow->IsRunning()) loop.exec();
    pictured = runWindow;
  }
  if (options.screenshotPath.isEmpty()) return true;
  return pictured->grab().save(options.screenshotPath, "PNG");
}

}  // namespace tortuval::app
