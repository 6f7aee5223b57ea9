#include "app/drawing_view.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QVector>

#include "app/pane_text.h"
#include "base/error.h"
#include "base/output_file.h"
#include "drawing/frame.h"
#include "drawing/svg.h"

namespace tortuval::app {
namespace {

// The same colours and sizes as the SVG writer, so that both pictures look alike.
const QColor kAxisColour(0x99, 0x99, 0x99);
const QColor kGridColour(0xe6, 0xe6, 0xe6);
const QColor kNumberColour(0x55, 0x55, 0x55);
const QColor kLineColour(0x1a, 0x1a, 0x80);
const QColor kPointColour(0xc0, 0x20, 0x20);
constexpr double kLineWidth = 1.5;
constexpr double kPointRadius = 2.5;
// Where the picture has no size yet (a hidden widget), files get this one.
constexpr QSize kDefaultPictureSize(800, 600);

QPointF Pixel(const drawing::Frame& frame, drawing::Point p) {
  const drawing::Point pixel = frame.ToPixels(p);
  return {pixel.x, pixel.y};
}

[[noreturn]] void ThrowSaveError(const QString& path) {
  ThrowError(
      QStringLiteral("Impossible d'enregistrer le dessin dans « %1 »").arg(path).toStdString());
}

// The grid, the axes, their graduations and numbers, as the SVG writer draws them.
void PaintAxes(QPainter& painter, const drawing::Frame& frame) {
  const drawing::Point crossing = drawing::AxesCrossing(frame);
  const std::vector<drawing::Graduation> across = drawing::AxisGraduations(frame, true);
  const std::vector<drawing::Graduation> up = drawing::AxisGraduations(frame, false);
  painter.setPen(QPen(kGridColour, 1));
  for (const drawing::Graduation& g : across) {
    painter.drawLine(Pixel(frame, {g.value, frame.gridMinY}),
                     Pixel(frame, {g.value, frame.gridMaxY}));
  }
  for (const drawing::Graduation& g : up) {
    painter.drawLine(Pixel(frame, {frame.gridMinX, g.value}),
                     Pixel(frame, {frame.gridMaxX, g.value}));
  }
  painter.setPen(QPen(kAxisColour, 1));
  painter.drawLine(Pixel(frame, {frame.gridMinX, crossing.y}),
                   Pixel(frame, {frame.gridMaxX, crossing.y}));
  painter.drawLine(Pixel(frame, {crossing.x, frame.gridMinY}),
                   Pixel(frame, {crossing.x, frame.gridMaxY}));
  for (const drawing::Graduation& g : across) {
    const QPointF at = Pixel(frame, {g.value, crossing.y});
    painter.drawLine(at - QPointF(0, 3), at + QPointF(0, 3));
  }
  for (const drawing::Graduation& g : up) {
    const QPointF at = Pixel(frame, {crossing.x, g.value});
    painter.drawLine(at - QPointF(3, 0), at + QPointF(3, 0));
  }
  QFont font = painter.font();
  font.setPixelSize(drawing::kNumberSize);
  painter.setFont(font);
  painter.setPen(kNumberColour);
  // On the same baseline as in the SVG writer, which keeps a comma's tail in the picture.
  const double baseline = drawing::HorizontalNumbersBaseline(frame);
  const QFontMetricsF metrics(font);
  for (const drawing::Graduation& g : across) {
    if (g.label.empty()) continue;
    const QPointF at = Pixel(frame, {g.value, crossing.y});
    const QString text = ToPaneText(g.label);
    painter.drawText(QPointF(at.x() - metrics.horizontalAdvance(text) / 2, at.y() + baseline),
                     text);
  }
  // Beside the vertical axis on the side the SVG writer chooses: to its right where the picture
  // has no room for them on its left.
  const double offset = drawing::VerticalNumbersOffset(frame, up);
  for (const drawing::Graduation& g : up) {
    if (g.label.empty()) continue;
    const QPointF at = Pixel(frame, {crossing.x, g.value});
    const QRectF box = offset < 0 ? QRectF(at.x() + offset - 80, at.y() - 7, 80, 14)
                                  : QRectF(at.x() + offset, at.y() - 7, 80, 14);
    painter.drawText(box, (offset < 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                     ToPaneText(g.label));
  }
}

}  // namespace

void PaintDrawing(QPainter& painter, const drawing::Drawing& drawing,
                  const std::optional<drawing::Axes>& axes, QSize size) {
  const drawing::Frame frame = drawing::FrameFor(drawing, axes, size.width(), size.height());
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintAxes(painter, frame);

  QVector<QLineF> lines;
  lines.reserve(static_cast<qsizetype>(drawing.segments.size()));
  for (const drawing::Segment& segment : drawing.segments) {
    if (const std::optional<drawing::Segment> visible = drawing::VisiblePart(frame, segment)) {
      lines.append(QLineF(Pixel(frame, visible->from), Pixel(frame, visible->to)));
    }
  }
  painter.setPen(QPen(kLineColour, kLineWidth, Qt::SolidLine, Qt::RoundCap));
  painter.drawLines(lines);

  painter.setPen(Qt::NoPen);
  painter.setBrush(kPointColour);
  for (const drawing::Point& point : drawing.points) {
    if (drawing::Shows(frame, point)) {
      painter.drawEllipse(Pixel(frame, point), kPointRadius, kPointRadius);
    }
  }
}

DrawingView::DrawingView(QWidget* parent) : QWidget(parent) {
  setMinimumSize(120, 90);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DrawingView::SetDrawing(drawing::Drawing drawing) {
  drawing_ = std::move(drawing);
  update();
}

void DrawingView::SetAxes(std::optional<drawing::Axes> axes) {
  axes_ = axes;
  update();
}

void DrawingView::SaveTo(const QString& path) const {
  const QSize pictureSize = isVisible() ? size() : kDefaultPictureSize;
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    base::WriteOutputFile(
        std::filesystem::path(QFile::encodeName(path).toStdString()),
        drawing::DrawingToSvg(drawing_, pictureSize.width(), pictureSize.height(), axes_));
    return;
  }
  QImage image(pictureSize, QImage::Format_RGB32);
  QPainter painter(&image);
  PaintDrawing(painter, drawing_, axes_, pictureSize);
  painter.end();
  if (!image.save(path, "PNG")) ThrowSaveError(path);
}

void DrawingView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintDrawing(painter, drawing_, axes_, size());
}

}  // namespace tortuval::app
