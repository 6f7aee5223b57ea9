#include "app/current_lines.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/pane_text.h"

namespace tortuval::app {
namespace {

// A text's lines, whatever its line ends, each without the blanks around it: the converter
// indents nested blocks far to the right.
QStringList TrimmedLines(const std::string& cp1252) {
  QStringList lines = ToPaneText(cp1252).split('\n');
  for (QString& line : lines) line = line.trimmed();
  return lines;
}

QString Named(const char* place, int line, const QStringList& lines) {
  if (line < 1 || line > lines.size()) return {};
  return QStringLiteral("%1, ligne %2 : %3")
      .arg(QLatin1String(place))
      .arg(line)
      .arg(lines[line - 1]);
}

}  // namespace

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

CurrentLines::CurrentLines(const session::ReadProgram& program, const session::Session& session)
    : logo_(TrimmedLines(program.Text())) {
  if (!session.IsDocument()) return;
  listing_ = TrimmedLines(session.Listing());
  algorithmLines_.reserve(static_cast<std::size_t>(logo_.size()));
  for (int line = 1; line <= logo_.size(); ++line) {
    algorithmLines_.push_back(session.AlgorithmLine(line));
  }
}

QString CurrentLines::AlgorithmLine(int logoLine) const {
  const auto index = static_cast<std::size_t>(logoLine - 1);
  if (logoLine < 1 || index >= algorithmLines_.size()) return {};
  return Named("Algorithme", algorithmLines_[index], listing_);
}

QString CurrentLines::LogoLine(int logoLine) const { return Named("LOGO", logoLine, logo_); }

}  // namespace tortuval::app
