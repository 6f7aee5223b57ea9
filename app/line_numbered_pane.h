#pragma once
// A text pane with the numbers of its lines in a gutter on the left, as the check's messages
// and the run's errors cite them; a line the pane wraps is numbered on its first row.

#include <QPlainTextEdit>

namespace tortuval::app {

class LineNumberedPane : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LineNumberedPane(QWidget* parent = nullptr);

  /// The gutter's width for the pane's line count.
  int GutterWidth() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  class Gutter;
  void PaintGutter(QPaintEvent* event);
  void UpdateGutterWidth();
  void UpdateGutter(const QRect& rect, int dy);

  Gutter* gutter_;
};

}  // namespace tortuval::app
