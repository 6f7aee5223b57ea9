#pragma once
// The one place where an error that escapes a command is shown to the user.

#include <QString>
#include <exception>
#include <string>

class QWidget;

namespace tortuval::app {

/// Title of every error box: the application's title.
inline constexpr char kErrorBoxTitle[] = "Tortuval";

/// The message with "." appended when it is not empty and its last character's code is above
/// that of "." (so a message ending in ".", "!", ")", ",", "-" or a blank is kept as it is).
QString WithClosingPeriod(const QString& message);

/// The message of the innermost error that `error` wraps (through std::nested_exception), or its
/// own message when it wraps none.
std::string InnermostMessage(const std::exception& error);

/// The message to show for the exception being handled; call only inside a catch block.
QString CurrentErrorMessage();

/// Shows `message` (UTF-8 text in a QString) in a modal critical box titled "Tortuval" with a
/// single OK button, after WithClosingPeriod.
void ShowErrorMessage(QWidget* parent, const QString& message);

/// Runs one command handler; an error escaping it is shown by ShowErrorMessage and the program
/// goes on with whatever the handler had already done.
template <typename Handler>
void RunGuarded(QWidget* parent, Handler&& handler) {
  QString message;
  try {
    handler();
    return;
  } catch (...) {
    message = CurrentErrorMessage();
  }
  // Shown outside the catch block: the box runs a nested event loop.
  ShowErrorMessage(parent, message);
}

}  // namespace tortuval::app
