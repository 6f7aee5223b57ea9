#include "app/pane_text.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include "session/text_edges.h"

namespace tortuval::app {
namespace {

constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kLineSeparator = 0x2028;

bool IsLineBreak(QChar c) {
  return c.unicode() == kParagraphSeparator || c.unicode() == kLineSeparator;
}

}  // namespace

QString ToPaneText(std::string_view cp1252) {
  return QString::fromStdString(session::ToUtf8(cp1252));
}

std::string FromPaneText(const QString& rawText) {
  // The raw text keeps non-breaking spaces (toPlainText would turn them into blanks) and marks
  // every line break with a separator character.
  QString text;
  text.reserve(rawText.size() + rawText.size() / 16);
  for (QChar c : rawText) {
    if (IsLineBreak(c)) {
      text += QStringLiteral("\r\n");
    } else {
      text += c;
    }
  }
  return session::FromUtf8(text.toStdString());
}

void SetPaneText(QPlainTextEdit* pane, std::string_view cp1252) {
  pane->setPlainText(ToPaneText(cp1252));
}

std::string PaneText(const QPlainTextEdit* pane) {
  return FromPaneText(pane->document()->toRawText());
}

QString SelectedPaneText(const QPlainTextEdit* pane) {
  QString text = pane->textCursor().selectedText();
  for (QChar& c : text) {
    if (IsLineBreak(c)) c = u'\n';
  }
  return text;
}

}  // namespace tortuval::app
