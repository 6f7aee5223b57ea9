#pragma once
// How the panes wrap their long lines: at a blank, never inside a word, each continuation row
// starting under the line's first word as far as the pane has room for it.

class QPlainTextEdit;

namespace tortuval::app {

/// Gives `pane` a fresh empty document laid out that way; called before the pane takes its font
/// and its text.
void WrapLinesAtBlanksUnderTheirIndent(QPlainTextEdit* pane);

}  // namespace tortuval::app
