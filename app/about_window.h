#pragma once
// The about window: product name, date and a button that closes it.

#include <QDialog>

class QLabel;
class QPushButton;

namespace tortuval::app {

/// The about window, created hidden once at start-up, shown modally on demand and hidden again
/// (never destroyed) when closed, so that it keeps its place between showings.
class AboutWindow : public QDialog {
  Q_OBJECT

 public:
  /// Builds the window hidden and centres it on the primary screen once.
  explicit AboutWindow(QWidget* parent = nullptr);

  QLabel* headline = nullptr;         ///< the headline, the product name in blue
  QLabel* dateLine = nullptr;      ///< the date line
  QPushButton* closeButton = nullptr;  ///< "Fermer"

 public slots:
  /// Closes the window, ending its modal run; the window is hidden and kept.
  void CloseButtonClick();

 private:
  void FormCreate();
};

}  // namespace tortuval::app
