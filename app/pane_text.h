#pragma once
// Moving the 8-bit texts of the conversion in and out of the two text panes.

#include <QString>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace tortuval::app {

/// The pane form of a Windows-1252 text: Unicode, each CR LF (or lone CR or LF) a line break.
QString ToPaneText(std::string_view cp1252);

/// The Windows-1252 form of a pane's raw text (as QTextDocument::toRawText gives it): each
/// paragraph or line separator becomes CR LF, a character the code page lacks becomes "?".
std::string FromPaneText(const QString& rawText);

/// Replaces the whole text of `pane` with a Windows-1252 text.
void SetPaneText(QPlainTextEdit* pane, std::string_view cp1252);

/// The whole text of `pane` in Windows-1252 with CR LF line breaks.
std::string PaneText(const QPlainTextEdit* pane);

/// The selected text of `pane` with "\n" line breaks, as the clipboard takes it.
QString SelectedPaneText(const QPlainTextEdit* pane);

}  // namespace tortuval::app
