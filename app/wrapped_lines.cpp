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

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

// The plain layout lays a block out in rows of the pane's width, each from the left margin, and
// ignores the block formats' margins and indents. Its rows are laid again here, once it has made
// them, every time the pane asks where a block stands: that question comes before a block is
// painted, measured or hit, and after each of the plain layout's own passes.
//
// An indented line keeps its indentation on each row, as far as half the row and as long as its
// longest word still fits beside it. A deeper indentation is partly laid left of the pane, where
// only blanks go: the plain layout would give its first row the blanks and a piece of the first
// word ("E", then "CRIS :x" below).
class IndentedRowsLayout : public QPlainTextDocumentLayout {
 public:
  using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

  QRectF blockBoundingRect(const QTextBlock& block) const override {
    const QRectF plain = QPlainTextDocumentLayout::blockBoundingRect(block);
    if (!const_cast<IndentedRowsLayout*>(this)->LayRowsUnderIndent(block)) return plain;
    return QPlainTextDocumentLayout::blockBoundingRect(block);
  }

 private:
  struct LineWidths {
    qreal indent = 0;       // the leading blanks
    qreal longestWord = 0;  // the widest run of other characters
  };

  // Measured on one row as wide as the line.
  static LineWidths Measure(QTextLayout* layout, const QString& text, int blanks) {
    LineWidths widths;
    layout->beginLayout();
    QTextLine row = layout->createLine();
    row.setLineWidth(1e9);
    layout->endLayout();
    widths.indent = row.cursorToX(blanks) - row.cursorToX(0);
    for (int start = blanks; start < text.size();) {
      int end = start;
      while (end < text.size() && !IsBlank(text[end])) ++end;
      widths.longestWord = std::max(widths.longestWord, row.cursorToX(end) - row.cursorToX(start));
      start = end;
      while (start < text.size() && IsBlank(text[start])) ++start;
    }
    return widths;
  }

  // False when the block was left as the plain layout made it, or was already laid here.
  bool LayRowsUnderIndent(const QTextBlock& block) {
    QTextLayout* layout = block.layout();
    if (!block.isVisible() || layout->lineCount() == 0) return false;
    const qreal margin = document()->documentMargin();
    const QTextLine first = layout->lineAt(0);
    const bool plain = std::abs(first.x() - margin) < 0.5 &&
                       (layout->lineCount() == 1 || std::abs(layout->lineAt(1).x() - margin) < 0.5);
    if (!plain) return false;
    const QString text = block.text();
    int blanks = 0;
    while (blanks < text.size() && IsBlank(text[blanks])) ++blanks;
    if (blanks == 0 || blanks == text.size()) return false;

    const qreal rowWidth = first.width();
    const int rowsBefore = layout->lineCount();
    // Most lines: one row, indented less than half of it.
    if (rowsBefore == 1 &&
        first.cursorToX(blanks) - first.cursorToX(0) <= std::floor(rowWidth / 2)) {
      return false;
    }
    const LineWidths widths = Measure(layout, text, blanks);
    const qreal indent = std::max<qreal>(
        0, std::min({widths.indent, std::floor(rowWidth / 2), rowWidth - widths.longestWord}));
    const qreal hidden = widths.indent - indent;
    if (hidden < 0.5 && (rowsBefore == 1 || indent < 0.5)) {
      // The plain rows were right: they are made again, the measure having replaced them.
      LayRows(layout, margin, rowWidth, 0, 0);
      return false;
    }
    LayRows(layout, margin, rowWidth, indent, hidden);
    // The pane scrolls by rows: it is told when a block has another number of them.
    if (layout->lineCount() != rowsBefore) {
      QTextBlock(block).setLineCount(layout->lineCount());
      emit documentSizeChanged(documentSize());
    }
    return true;
  }

  // The first row starts `hidden` left of the margin; the others start `indent` right of it.
  static void LayRows(QTextLayout* layout, qreal margin, qreal rowWidth, qreal indent,
                      qreal hidden) {
    layout->beginLayout();
    qreal top = 0;
    for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine()) {
      const bool isFirst = row.lineNumber() == 0;
      row.setLeadingIncluded(true);
      row.setLineWidth(isFirst ? rowWidth + hidden : rowWidth - indent);
      row.setPosition(QPointF(isFirst ? margin - hidden : margin + indent, top));
      top += row.height();
      if (row.leading() < 0) top += std::ceil(row.leading());
    }
    layout->endLayout();
  }
};

}  // namespace

void WrapLinesAtBlanksUnderTheirIndent(QPlainTextEdit* pane) {
  auto* document = new QTextDocument(pane);
  document->setDocumentLayout(new IndentedRowsLayout(document));
  document->setDefaultFont(pane->font());
  pane->setDocument(document);
  pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // Rows break at blanks; only a word longer than a whole row is cut.
  pane->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

}  // namespace tortuval::app
