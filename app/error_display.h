#pragma once
// The one place where an error that escapes a command is shown to the user.

#include <QString>

#include "base/error.h"

class QWidget;

namespace tortuval::app {

/// Title of every error box: the application's title.
inline constexpr char kErrorBoxTitle[] = "Tortuval";

/// The message with "." appended when it is not empty and its last character's code is above
/// that of "." (so a message ending in ".", "!", ")", ",", "-" or a blank is kept as it is).
QString WithClosingPeriod(const QString& message);

/// The message to show for an exception being handled that is not an Error: a standard
/// exception's own text, or "Exception inconnue"; call only inside a catch block.
QString UnexpectedErrorMessage();

/// Shows `message` (UTF-8 text in a QString) in a modal critical box titled "Tortuval" with a
/// single OK button, after WithClosingPeriod.
void ShowErrorMessage(QWidget* parent, const QString& message);

/// Shows `message` (UTF-8 text in a QString) in a modal information box titled "Tortuval" with a
/// single OK button, its first letter in upper case: something the user should know about a
/// result the window shows all the same.
void ShowInformation(QWidget* parent, const QString& message);

/// Runs one command handler; an Error escaping it is shown by ShowErrorMessage and the program
/// goes on with whatever the handler had already done.
template <typename Handler>
void RunGuarded(QWidget* parent, Handler&& handler) {
  QString message;
  try {
    handler();
    return;
  } catch (const Error& error) {
    message = QString::fromStdString(error.what());
  } catch (...) {
    // Not one of the program's own reports (running out of memory on a huge file, say): shown
    // all the same rather than letting it end the program.
    message = UnexpectedErrorMessage();
  }
  // Shown outside the catch block: the box runs a nested event loop.
  ShowErrorMessage(parent, message);
}

}  // namespace tortuval::app
