#include "app/error_display.h"

#include <QMessageBox>
#include <exception>

namespace tortuval::app {

QString WithClosingPeriod(const QString& message) {
  if (message.isEmpty() || message.back().unicode() <= u'.') return message;
  return message + u'.';
}

QString UnexpectedErrorMessage() {
  try {
    throw;
  } catch (const std::exception& error) {
    return QString::fromStdString(error.what());
  } catch (...) {
    return QStringLiteral("Exception inconnue");
  }
}

void ShowErrorMessage(QWidget* parent, const QString& message) {
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kErrorBoxTitle),
                  WithClosingPeriod(message), QMessageBox::Ok, parent);
  box.exec();
}

void ShowInformation(QWidget* parent, const QString& message) {
  QString text = message;
  if (!text.isEmpty()) text[0] = text[0].toUpper();
  QMessageBox box(QMessageBox::Information, QString::fromLatin1(kErrorBoxTitle), text,
                  QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace tortuval::app
