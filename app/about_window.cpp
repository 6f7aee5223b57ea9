#include "app/about_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

#include "app/shell_font.h"
#include "app/window_geometry.h"

namespace tortuval::app {
namespace {

constexpr int kClientWidth = 334;
constexpr int kClientHeight = 208;

// A label holding one line centred in `area`; a stand-in font wider than Tahoma widens the
// label evenly on both sides rather than cutting the text.
QLabel* CentredLabel(const QString& text, const QFont& font, QRect area, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  label->setAlignment(Qt::AlignCenter);
  const int extra = label->sizeHint().width() - area.width();
  if (extra > 0) area.adjust(-(extra + 1) / 2, 0, (extra + 1) / 2, 0);
  label->setGeometry(area);
  return label;
}

}  // namespace

AboutWindow::AboutWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("A propos de Tortuval."));
  setModal(true);
  setFixedSize(kClientWidth, kClientHeight);
  setFont(ShellFont(11));

  headline =
      CentredLabel(QStringLiteral("Tortuval"), ShellFont(24, true), QRect(37, 19, 266, 29), this);
  QPalette blue = headline->palette();
  blue.setColor(QPalette::WindowText, Qt::blue);
  headline->setPalette(blue);

  dateLine =
      CentredLabel(QStringLiteral("Mai 2019"), ShellFont(19, true), QRect(115, 62, 88, 23), this);

  closeButton = new QPushButton(QStringLiteral("Fermer"), this);
  closeButton->setFont(ShellFont(13, true));
  closeButton->setGeometry(128, 144, 75, 33);
  closeButton->setDefault(true);
  closeButton->setFocus();
  connect(closeButton, &QPushButton::clicked, this, &AboutWindow::CloseButtonClick);

  FormCreate();
}

void AboutWindow::CloseButtonClick() { close(); }

void AboutWindow::FormCreate() {
  // Centred once, here; afterwards the window stays wherever it was last left.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QSize outer = frameGeometry().size();
  const WindowPosition position =
      CentredPosition(screen.width(), screen.height(), outer.width(), outer.height());
  move(screen.left() + position.left, screen.top() + position.top);
}

}  // namespace tortuval::app
