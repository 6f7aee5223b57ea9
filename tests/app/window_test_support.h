#pragma once
// Helpers shared by the main window's Qt Test suites: a window shown afresh for each test, a
// folder for the files they open, the pane checks and the handling of modal windows.

#include <QObject>
#include <QPointer>
#include <QRadioButton>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <string>

#include "app/main_window.h"

namespace tortuval::app {

/// A small document with accents and a Greek letter; files hold it in various encodings.
extern const char kDocument[];

/// The document as the window must hold it: Windows-1252, CR LF, "α" lacking in the code page.
std::string ExpectedSourceText();

/// The text of the LOGO pane.
std::string Logo(const MainWindow& window);
/// The text of the listing pane.
std::string Listing(const MainWindow& window);

/// Checks that both panes hold the library's conversion of `document`.
void VerifyPanesShow(const MainWindow& window, const std::string& document);

/// Runs `action` on the next modal window to appear, from inside the loop that shows it, then
/// closes that window if the action left it open. Returns the timer that watches, gone once it
/// has acted.
QPointer<QTimer> WhenModalAppears(std::function<void(QWidget*)> action);

/// The error box's text shown while `command` runs, or an empty text when none was shown.
QString ErrorShownBy(const std::function<void()>& command);

/// The information box's text shown while `command` runs, or an empty text when none was shown.
QString InformationShownBy(const std::function<void()>& command);

/// A click on an item's round mark, where a click selects it.
void ClickItem(QRadioButton* item);

/// Points the offscreen platform at a common laptop screen, before the application starts.
void UseLaptopScreen();

/// The state of one window test: the window, shown, and a folder for its files. A suite calls
/// OpenWindow from its init slot and CloseWindow from its cleanup slot.
class WindowTestBase : public QObject {
 protected:
  void OpenWindow();
  void CloseWindow();
  /// Writes `bytes` to `name` in the folder; returns the file's path, empty when it failed.
  QString WriteFile(const QString& name, const QByteArray& bytes);

  QTemporaryDir folder_;
  MainWindow* window_ = nullptr;
};

}  // namespace tortuval::app
