#pragma once
// The checker's findings in the window: the lines of the LOGO pane that need a person's hand get
// a discreet background and their messages as tooltip, and a summary under the panes leads from
// one finding to the next, saying each in words.

#include <QObject>
#include <cstddef>
#include <vector>

#include "logo/finding.h"
#include "session/session.h"

class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace tortuval::app {

class FindingMarks : public QObject {
  Q_OBJECT

 public:
  /// Marks lines of `pane` and writes the summary into `summary`, whose clicks it takes.
  FindingMarks(QPlainTextEdit* pane, QPushButton* summary, QObject* parent);

  /// Shows the findings of the session's program, which the pane now holds, replacing the
  /// previous ones; a program with nothing to check gets no marks and an empty summary.
  void Show(const session::Session& session);

  /// No program to check: no marks, and an empty summary that says nothing was checked.
  void Clear();

  /// Puts the pane's cursor on the next finding (the first after the last one), focuses it and
  /// shows the finding's sentence in the summary's line.
  void GoToNextFinding();

 signals:
  /// The pane's cursor went to a finding on `line` (from 1).
  void WentToFinding(int line);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetSummaryLine(const QString& text);
  void ShowFindingInSummary(const logo::Finding& finding);

  QPlainTextEdit* pane_;
  QWidget* viewport_;
  QPushButton* summary_;
  std::vector<logo::Finding> findings_;
  std::size_t next_ = 0;
};

}  // namespace tortuval::app
