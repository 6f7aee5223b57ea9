#pragma once
// The window program's command line: a document to open at start, help and version, and the
// options that let scripts choose an example, run its program and take a picture.

#include <QString>
#include <QStringList>

#include "base/error.h"

namespace tortuval::app {

class MainWindow;

/// What the program is asked to do at start.
struct StartOptions {
  QString file;            ///< a document to open and convert at start, or empty
  int selectExample = 0;   ///< 1 to 17: the example to choose at start; 0 for none
  QString screenshotPath;  ///< where to save a PNG picture of the window before quitting
  /// The help or version text to print instead of opening the window, else empty.
  QString printedText;
  bool runProgram = false;  ///< run the LOGO pane's program; the picture is then the run window's
  /// Run the program to its end, then again step by step for this many steps; the picture is
  /// then the main window and the run window side by side.
  int stepProgram = 0;
  /// The picture is the whole screen, each window where it opened.
  bool wholeScreen = false;
};

/// Parses the arguments, program name first. A wrong command line raises an Error with a French
/// message; help and version are answered whatever else the line holds.
StartOptions ParseCommandLine(const QStringList& arguments);

/// The French usage text printed by --help (LF line ends).
QString HelpText();

/// Carries out the start options on the shown window: opens the file exactly as "Ouvrir." would,
/// chooses the example, runs the program to its end when asked, then saves the picture. Returns
/// false when the picture could not be saved.
bool ApplyStartOptions(MainWindow& window, const StartOptions& options);

}  // namespace tortuval::app
