// The machine's drawing instructions: segments and points drawn, the drawing started afresh and
// shown.

#include "run/machine.h"

namespace tortuval::run {
namespace {

// The most segments and points one drawing keeps.
constexpr std::size_t kMaxDrawn = std::size_t{1} << 22;

}  // namespace

// Checked before the points are computed: a drawing that is full stops the run first.
bool Machine::MayDraw(const Node& node) {
  if (drawing_.segments.size() + drawing_.points.size() < kMaxDrawn) return true;
  Fail(node, Message("Le dessin a trop d'éléments (plus de %s).",
                     FormatNumber(static_cast<double>(kMaxDrawn))));
  return false;
}

// SEGMENT3D from to, PLOT at.
void Machine::Draw(const Node& node) {
  if (!MayDraw(node)) return;
  const Point from = PointOf(node.kids[0]);
  if (leaving_ != Leaving::kNo) return;
  const Point to = node.op == Op::kPlot ? from : PointOf(node.kids[1]);
  if (leaving_ != Leaving::kNo) return;
  AddDrawn(node, from, to);
}

void Machine::AddDrawn(const Node& node, Point from, Point to) {
  if (node.op == Op::kPlot) {
    drawing_.points.push_back(from);
  } else {
    drawing_.segments.push_back({from, to});
  }
  drawing_.started = true;
  ++drawingChanges_;
}

// initgraph, once its input is computed.
void Machine::StartDrawing(const Node&) {
  if (leaving_ != Leaving::kNo) return;
  drawing_ = Drawing();
  drawing_.started = true;
  ++drawingChanges_;
}

// grapheur, with its input computed.
void Machine::ShowDrawing(const Node& node, const Value& shown) {
  if (leaving_ != Leaving::kNo) return;
  if (!TruthOf(node.kids[0], shown) || leaving_ != Leaving::kNo) return;
  drawing_.shown = true;
  Flush();
  console_.ShowDrawing(drawing_);
}

// A point is [ x y z ] or a list of two or three numbers; the drawing is flat, z aside.
Point Machine::PointOf(const Node& node) {
  double coordinates[3] = {0, 0, 0};
  int count = 0;
  if (node.op == Op::kPointList) {
    for (const Node& kid : node.kids) {
      const double number = EvalNumber(kid);
      if (count < 3) coordinates[count] = number;
      ++count;
    }
    return PointOfList(node, coordinates, count);
  }
  return PointOfValue(node, Eval(node));
}

// A point given as a value: a list of two or three numbers.
Point Machine::PointOfValue(const Node& node, const Value& list) {
  double coordinates[3] = {0, 0, 0};
  int count = 0;
  for (const Value& item : ListOf(node, list)) {
    const double number = NumberOf(node, item);
    if (count < 3) coordinates[count] = number;
    ++count;
  }
  return PointOfList(node, coordinates, count);
}

Point Machine::PointOfList(const Node& node, const double* coordinates, int count) {
  if (leaving_ != Leaving::kNo) return {};
  if (count < 2 || count > 3) {
    Fail(node, Message("Un point s'écrit [ x y z ] : %s coordonnées ici.",
                       FormatNumber(static_cast<double>(count))));
    return {};
  }
  return {coordinates[0], coordinates[1]};
}

}  // namespace tortuval::run
