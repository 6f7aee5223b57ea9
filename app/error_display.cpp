#include "app/error_display.h"

#include <QMessageBox>

namespace tortuval::app {

QString WithClosingPeriod(const QString& message) {
  if (message.isEmpty() || message.back().unicode() <= u'.') return message;
  return message + u'.';
}

std::string InnermostMessage(const std::exception& error) {
  try {
    std::rethrow_if_nested(error);
  } catch (const std::exception& inner) {
    return InnermostMessage(inner);
  } catch (...) {
    // An inner error that is not a std::exception carries no text; the outer one does.
  }
  return error.what();
}

QString CurrentErrorMessage() {
  try {
    throw;
  } catch (const std::exception& error) {
    return QString::fromStdString(InnermostMessage(error));
  } catch (...) {
    return QStringLiteral("Exception inconnue");
  }
}

void ShowErrorMessage(QWidget* parent, const QString& message) {
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kErrorBoxTitle),
                  WithClosingPeriod(message), QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace tortuval::app
