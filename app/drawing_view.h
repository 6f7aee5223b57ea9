#pragma once
// The drawing of a LOGO program on screen, fitted to the widget, and saved as PNG or SVG.

#include <QWidget>

#include "run/drawing.h"

class QPainter;

namespace tortuval::app {

/// Paints `drawing` on a picture of `size` pixels, with the frame the SVG writer uses.
void PaintDrawing(QPainter& painter, const run::Drawing& drawing, QSize size);

class DrawingView : public QWidget {
  Q_OBJECT

 public:
  explicit DrawingView(QWidget* parent = nullptr);

  /// Replaces the drawing shown.
  void SetDrawing(run::Drawing drawing);
  const run::Drawing& Drawing() const { return drawing_; }

  /// Writes the drawing to `path`: SVG when the name ends in ".svg", PNG otherwise, at the
  /// widget's size. Raises an Error with a French message when the file cannot be written.
  void SaveTo(const QString& path) const;

  QSize sizeHint() const override { return {400, 300}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  run::Drawing drawing_;
};

}  // namespace tortuval::app
