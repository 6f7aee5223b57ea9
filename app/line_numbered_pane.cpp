#include "app/line_numbered_pane.h"

#include <QPainter>
#include <QTextBlock>

namespace tortuval::app {
namespace {

const QColor kGutterBackground(0xf2, 0xf2, 0xf2);
const QColor kGutterNumber(0x80, 0x80, 0x80);
constexpr int kGutterPadding = 4;

}  // namespace

// The strip beside the text where the numbers are painted, by the pane that knows its lines.
class LineNumberedPane::Gutter : public QWidget {
 public:
  explicit Gutter(LineNumberedPane* pane) : QWidget(pane), pane_(pane) {}
  QSize sizeHint() const override { return {pane_->GutterWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { pane_->PaintGutter(event); }

 private:
  LineNumberedPane* pane_;
};

LineNumberedPane::LineNumberedPane(QWidget* parent)
    : QPlainTextEdit(parent), gutter_(new Gutter(this)) {
  connect(this, &QPlainTextEdit::blockCountChanged, this, &LineNumberedPane::UpdateGutterWidth);
  connect(this, &QPlainTextEdit::updateRequest, this, &LineNumberedPane::UpdateGutter);
  UpdateGutterWidth();
}

int LineNumberedPane::GutterWidth() const {
  int digits = 2;
  for (int count = blockCount(); count >= 100; count /= 10) ++digits;
  return 2 * kGutterPadding + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void LineNumberedPane::UpdateGutterWidth() { setViewportMargins(GutterWidth(), 0, 0, 0); }

void LineNumberedPane::UpdateGutter(const QRect& rect, int dy) {
  if (dy != 0) {
    gutter_->scroll(0, dy);
  } else {
    gutter_->update(0, rect.y(), gutter_->width(), rect.height());
  }
  if (rect.contains(viewport()->rect())) UpdateGutterWidth();
}

void LineNumberedPane::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect contents = contentsRect();
  gutter_->setGeometry(QRect(contents.left(), contents.top(), GutterWidth(), contents.height()));
}

void LineNumberedPane::PaintGutter(QPaintEvent* event) {
  QPainter painter(gutter_);
  painter.fillRect(event->rect(), kGutterBackground);
  painter.setPen(kGutterNumber);
  painter.setFont(font());
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  const int lineHeight = fontMetrics().height();
  while (block.isValid() && top <= event->rect().bottom()) {
    const int bottom = top + qRound(blockBoundingRect(block).height());
    if (block.isVisible() && bottom >= event->rect().top()) {
      painter.drawText(0, top, gutter_->width() - kGutterPadding, lineHeight, Qt::AlignRight,
                       QString::number(block.blockNumber() + 1));
    }
    block = block.next();
    top = bottom;
  }
}

}  // namespace tortuval::app
