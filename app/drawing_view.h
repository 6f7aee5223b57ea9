#pragma once
// The drawing of a LOGO program on screen, framed by its document's axes or fitted to the
// widget, with graduated axes and a light grid, and saved as PNG or SVG.

#include <QWidget>
#include <optional>

#include "drawing/drawing.h"

class QPainter;

namespace tortuval::app {

/// Paints `drawing` on a picture of `size` pixels, with the frame the SVG writer uses.
void PaintDrawing(QPainter& painter, const drawing::Drawing& drawing,
                  const std::optional<drawing::Axes>& axes, QSize size);

class DrawingView : public QWidget {
  Q_OBJECT

 public:
  explicit DrawingView(QWidget* parent = nullptr);

  /// Replaces the drawing shown.
  void SetDrawing(drawing::Drawing drawing);
  const drawing::Drawing& Drawing() const { return drawing_; }
  /// The document's axes that frame the drawing; none fits the frame to what was drawn.
  void SetAxes(std::optional<drawing::Axes> axes);

  /// Writes the drawing to `path`: SVG when the name ends in ".svg", PNG otherwise, at the
  /// widget's size. Raises an Error with a French message when the file cannot be written.
  void SaveTo(const QString& path) const;

  QSize sizeHint() const override { return {400, 300}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  drawing::Drawing drawing_;
  std::optional<drawing::Axes> axes_;
};

}  // namespace tortuval::app
