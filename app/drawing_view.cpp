#include "app/drawing_view.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QVector>
#include <cmath>

#include "base/error.h"
#include "base/output_file.h"
#include "run/drawing_frame.h"
#include "run/svg.h"

namespace tortuval::app {
namespace {

// The same colours and sizes as the SVG writer, so that both pictures look alike.
const QColor kAxisColour(0x99, 0x99, 0x99);
const QColor kLineColour(0x1a, 0x1a, 0x80);
const QColor kPointColour(0xc0, 0x20, 0x20);
constexpr double kLineWidth = 1.5;
constexpr double kPointRadius = 2.5;
// Where the picture has no size yet (a hidden widget), files get this one.
constexpr QSize kDefaultPictureSize(800, 600);

QPointF Pixel(const run::Frame& frame, run::Point p) {
  const run::Point pixel = frame.ToPixels(p);
  return {pixel.x, pixel.y};
}

bool IsFinite(run::Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

[[noreturn]] void ThrowSaveError(const QString& path) {
  ThrowError(
      QStringLiteral("Impossible d'enregistrer le dessin dans « %1 »").arg(path).toStdString());
}

}  // namespace

void PaintDrawing(QPainter& painter, const run::Drawing& drawing, QSize size) {
  const run::Frame frame = run::FitFrame(drawing, size.width(), size.height());
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  painter.setRenderHint(QPainter::Antialiasing);

  painter.setPen(QPen(kAxisColour, 1));
  if (frame.ShowsXAxis())
    painter.drawLine(Pixel(frame, {frame.minX, 0}), Pixel(frame, {frame.maxX, 0}));
  if (frame.ShowsYAxis())
    painter.drawLine(Pixel(frame, {0, frame.minY}), Pixel(frame, {0, frame.maxY}));

  QVector<QLineF> lines;
  lines.reserve(static_cast<qsizetype>(drawing.segments.size()));
  for (const run::Segment& segment : drawing.segments) {
    if (IsFinite(segment.from) && IsFinite(segment.to)) {
      lines.append(QLineF(Pixel(frame, segment.from), Pixel(frame, segment.to)));
    }
  }
  painter.setPen(QPen(kLineColour, kLineWidth, Qt::SolidLine, Qt::RoundCap));
  painter.drawLines(lines);

  painter.setPen(Qt::NoPen);
  painter.setBrush(kPointColour);
  for (const run::Point& point : drawing.points) {
    if (IsFinite(point)) painter.drawEllipse(Pixel(frame, point), kPointRadius, kPointRadius);
  }
}

DrawingView::DrawingView(QWidget* parent) : QWidget(parent) {
  setMinimumSize(120, 90);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DrawingView::SetDrawing(run::Drawing drawing) {
  drawing_ = std::move(drawing);
  update();
}

void DrawingView::SaveTo(const QString& path) const {
  const QSize pictureSize = isVisible() ? size() : kDefaultPictureSize;
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    base::WriteOutputFile(std::filesystem::path(QFile::encodeName(path).toStdString()),
                          run::DrawingToSvg(drawing_, pictureSize.width(), pictureSize.height()));
    return;
  }
  QImage image(pictureSize, QImage::Format_RGB32);
  QPainter painter(&image);
  PaintDrawing(painter, drawing_, pictureSize);
  painter.end();
  if (!image.save(path, "PNG")) ThrowSaveError(path);
}

void DrawingView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintDrawing(painter, drawing_, size());
}

}  // namespace tortuval::app
