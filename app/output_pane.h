#pragma once
// The run window's output pane: its rows break at blanks only, so that a number such as
// "0,0998753117206983" is never split at its comma, and it can be brought to its last line.

class QPlainTextEdit;

namespace tortuval::app {

/// Makes `pane` wrap its lines at blanks only: a word or a number longer than a row stays whole
/// and the pane scrolls sideways to it.
void SetUpOutputPane(QPlainTextEdit* pane);

/// Scrolls `pane` to its last line, seen from its start, leaving its cursor and selection as
/// they are.
void ShowLastOutput(QPlainTextEdit* pane);

}  // namespace tortuval::app
