#include "app/wrapped_lines.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace tortuval::app {
namespace {

// The plain layout lays a block out in rows of the pane's width, each from the left margin, and
// ignores the block formats' margins and indents. Its rows are moved here, once it has made
// them, every time the pane asks where a block stands: that question comes before a block is
// painted, measured or hit, and after each of the plain layout's own passes.
class IndentedRowsLayout : public QPlainTextDocumentLayout {
 public:
  using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

  QRectF blockBoundingRect(const QTextBlock& block) const override {
    const QRectF plain = QPlainTextDocumentLayout::blockBoundingRect(block);
    if (!const_cast<IndentedRowsLayout*>(this)->IndentContinuations(block)) return plain;
    return QPlainTextDocumentLayout::blockBoundingRect(block);
  }

 private:
  // Lays the rows after the first under the line's first word; false when they already are, or
  // when the block has one row or no indentation.
  bool IndentContinuations(const QTextBlock& block) {
    QTextLayout* layout = block.layout();
    if (!block.isVisible() || layout->lineCount() < 2) return false;
    const QString text = block.text();
    int blanks = 0;
    while (blanks < text.size() && (text[blanks] == u' ' || text[blanks] == u'\t')) ++blanks;
    const QTextLine first = layout->lineAt(0);
    if (blanks == 0 || blanks >= first.textLength()) return false;
    const qreal rowWidth = first.width();
    const qreal left = first.x();
    // Half the row at least stays for the text: a deep indentation is kept only in part.
    const qreal indent =
        std::min(first.cursorToX(blanks) - first.cursorToX(0), std::floor(rowWidth / 2));
    if (indent <= 0 || std::abs(layout->lineAt(1).x() - (left + indent)) < 0.5) return false;

    const int rowsBefore = layout->lineCount();
    layout->beginLayout();
    qreal top = 0;
    for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine()) {
      const qreal shift = row.lineNumber() == 0 ? 0 : indent;
      row.setLeadingIncluded(true);
      row.setLineWidth(rowWidth - shift);
      row.setPosition(QPointF(left + shift, top));
      top += row.height();
      if (row.leading() < 0) top += std::ceil(row.leading());
    }
    layout->endLayout();
    // The pane scrolls by rows: it is told when a block has more of them than before.
    if (layout->lineCount() != rowsBefore) {
      QTextBlock(block).setLineCount(layout->lineCount());
      emit documentSizeChanged(documentSize());
    }
    return true;
  }
};

}  // namespace

void WrapLinesAtBlanksUnderTheirIndent(QPlainTextEdit* pane) {
  auto* document = new QTextDocument(pane);
  document->setDocumentLayout(new IndentedRowsLayout(document));
  document->setDefaultFont(pane->font());
  pane->setDocument(document);
  pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // A word longer than the row runs past it rather than being cut in two.
  pane->setWordWrapMode(QTextOption::WordWrap);
}

}  // namespace tortuval::app
