#include "app/output_pane.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextOption>

namespace tortuval::app {

void SetUpOutputPane(QPlainTextEdit* pane) {
  pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // The default mode breaks a word anywhere once it is longer than a row, and a number's comma
  // then ends a row.
  pane->setWordWrapMode(QTextOption::WordWrap);
}

void ShowLastOutput(QPlainTextEdit* pane) {
  // The scroll bars, not the cursor: moving the cursor would drop a selection being copied.
  QScrollBar* down = pane->verticalScrollBar();
  down->setValue(down->maximum());
  QScrollBar* across = pane->horizontalScrollBar();
  across->setValue(across->minimum());
}

}  // namespace tortuval::app
