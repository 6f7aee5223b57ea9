// The machine's drawing instructions: segments and points drawn, the drawing started afresh and
// shown.

#include "run/machine.h"

namespace tortuval::run {
namespace {

// The most segments and points one drawing keeps.
constexpr std::size_t kMaxDrawn = std::size_t{1} << 22;

}  // namespace

// SEGMENT3D from to, PLOT at.
void Machine::Draw(const Node& node) {
  if (drawing_.segments.size() + drawing_.points.size() >= kMaxDrawn) {
    Fail(node, Message("Le dessin a trop d'éléments (plus de %s).",
                       FormatNumber(static_cast<double>(kMaxDrawn))));
  }
  const Point from = PointOf(node.kids[0]);
  if (node.op == Op::kPlot) {
    drawing_.points.push_back(from);
  } else {
    drawing_.segments.push_back({from, PointOf(node.kids[1])});
  }
  drawing_.started = true;
  ++drawingChanges_;
}

void Machine::StartDrawing(const Node& node) {
  Eval(node.kids[0]);
  drawing_ = Drawing();
  drawing_.started = true;
  ++drawingChanges_;
}

void Machine::ShowDrawing(const Node& node) {
  if (!TruthOf(node.kids[0], Eval(node.kids[0]))) return;
  drawing_.shown = true;
  Flush();
  console_.ShowDrawing(drawing_);
}

// A point is [ x y z ] or a list of two or three numbers; the drawing is flat, z aside.
Point Machine::PointOf(const Node& node) {
  double coordinates[2] = {0, 0};
  int count = 0;
  if (node.op == Op::kPointList) {
    for (const Node& kid : node.kids) {
      const double number = EvalNumber(kid);
      if (count < 2) coordinates[count] = number;
      ++count;
    }
  } else {
    for (const Value& item : ListOf(node, Eval(node))) {
      const double number = NumberOf(node, item);
      if (count < 2) coordinates[count] = number;
      ++count;
    }
  }
  if (count < 2 || count > 3) {
    Fail(node, Message("Un point s'écrit [ x y z ] : %s coordonnées ici.",
                       FormatNumber(static_cast<double>(count))));
  }
  return {coordinates[0], coordinates[1]};
}

}  // namespace tortuval::run
