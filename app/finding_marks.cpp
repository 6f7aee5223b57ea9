#include "app/finding_marks.h"

#include <QColor>
#include <QHelpEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QToolTip>

#include "app/pane_text.h"

namespace tortuval::app {
namespace {

// Light enough to leave the text as readable as on the white pane.
const QColor kMarkedLine(255, 243, 205);
// What the status bar's layout keeps around its widgets.
constexpr int kSummaryMargins = 8;

}  // namespace

FindingMarks::FindingMarks(QPlainTextEdit* pane, QPushButton* summary, QObject* parent)
    : QObject(parent), pane_(pane), viewport_(pane->viewport()), summary_(summary) {
  // With nothing to review the summary leads nowhere and is disabled, but it is read all the
  // same, on a projector too: its text keeps the status bar's own colour, not the pale one of a
  // disabled button.
  QPalette readable = summary_->palette();
  const QColor text = readable.color(QPalette::Active, QPalette::WindowText);
  for (const QPalette::ColorRole role : {QPalette::ButtonText, QPalette::WindowText}) {
    readable.setColor(QPalette::Disabled, role, text);
  }
  summary_->setPalette(readable);
  viewport_->installEventFilter(this);
  connect(summary_, &QPushButton::clicked, this, &FindingMarks::GoToNextFinding);
  Clear();
}

void FindingMarks::Clear() {
  findings_.clear();
  next_ = 0;
  pane_->setExtraSelections({});
  summary_->setEnabled(false);
  SetSummaryLine(QString());
}

void FindingMarks::Show(const session::Session& session) {
  const std::string summary = session.Summary();
  if (summary.empty()) {
    Clear();
    return;
  }
  findings_ = session.Findings();
  next_ = 0;
  QList<QTextEdit::ExtraSelection> marks;
  int lastMarked = 0;
  for (const logo::Finding& finding : findings_) {
    if (finding.line == lastMarked) continue;
    lastMarked = finding.line;
    QTextEdit::ExtraSelection mark;
    // The whole paragraph, so that a line the pane wraps is marked on each of its rows.
    mark.cursor = QTextCursor(pane_->document()->findBlockByNumber(finding.line - 1));
    mark.cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    mark.format.setBackground(kMarkedLine);
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    marks.append(mark);
  }
  pane_->setExtraSelections(marks);
  summary_->setEnabled(!findings_.empty());
  SetSummaryLine(ToPaneText(summary));
}

void FindingMarks::SetSummaryLine(const QString& text) {
  summary_->setToolTip(QString());
  summary_->setText(text);
  // The status bar gives its widgets the width they asked for when placed: the new text asks.
  summary_->setMinimumWidth(summary_->sizeHint().width());
}

void FindingMarks::ShowFindingInSummary(const logo::Finding& finding) {
  const QString sentence =
      QStringLiteral("ligne %1 : ").arg(finding.line) + ToPaneText(finding.message);
  // The window keeps its width: a sentence longer than the line is cut, and the tooltip holds
  // it whole.
  const QWidget* line = summary_->parentWidget();
  const int room = line != nullptr ? line->contentsRect().width() - kSummaryMargins : 0;
  QString shown = sentence;
  summary_->setText(shown);
  for (int tries = 0; room > 0 && summary_->sizeHint().width() > room && tries < 4; ++tries) {
    const int textRoom =
        summary_->fontMetrics().horizontalAdvance(shown) - (summary_->sizeHint().width() - room);
    shown = summary_->fontMetrics().elidedText(sentence, Qt::ElideRight, textRoom);
    summary_->setText(shown);
  }
  summary_->setToolTip(shown == sentence ? QString() : sentence);
  summary_->setMinimumWidth(summary_->sizeHint().width());
}

void FindingMarks::GoToNextFinding() {
  if (findings_.empty()) return;
  const logo::Finding& finding = findings_[next_];
  next_ = (next_ + 1) % findings_.size();
  const QTextBlock block = pane_->document()->findBlockByNumber(finding.line - 1);
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor,
                      std::min(finding.column - 1, block.length() - 1));
  pane_->setTextCursor(cursor);
  pane_->centerCursor();  // the line stands in the middle, not half-hidden at an edge
  pane_->setFocus();
  ShowFindingInSummary(finding);
  emit WentToFinding(finding.line);
}

bool FindingMarks::eventFilter(QObject* watched, QEvent* event) {
  // The type first: while the pane is being destroyed its viewport still sends events here, and
  // the pane must not be touched then.
  if (event->type() != QEvent::ToolTip || watched != viewport_) return false;
  const auto* help = static_cast<QHelpEvent*>(event);
  const int line = pane_->cursorForPosition(help->pos()).blockNumber() + 1;
  QStringList messages;
  for (const logo::Finding& finding : findings_) {
    if (finding.line == line) messages << ToPaneText(logo::DescribeFinding(finding));
  }
  if (messages.isEmpty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(help->globalPos(), messages.join(QLatin1Char('\n')), pane_->viewport());
  }
  return true;
}

}  // namespace tortuval::app
