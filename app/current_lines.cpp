#include "app/current_lines.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tortuval::app {

QWidget* MakeCurrentLinesStrip(QWidget* parent, QLabel*& algorithm, QLabel*& logo) {
  auto* strip = new QWidget(parent);
  algorithm = new QLabel(strip);
  logo = new QLabel(strip);
  auto* layout = new QVBoxLayout(strip);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->setSpacing(2);
  for (QLabel* line : {algorithm, logo}) {
    QFont font = line->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    line->setFont(font);
    line->setWordWrap(true);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(line);
  }
  strip->setAutoFillBackground(true);
  strip->setStyleSheet(QStringLiteral("background: #fff6d0;"));
  return strip;
}

}  // namespace tortuval::app
