#include "app/run_window_place.h"

#include <algorithm>
#include <array>
#include <limits>

namespace tortuval::app {
namespace {

// The free area on each side of the main window, across the whole screen, with the corner the
// run window starts from there: level with the main window's top or left edge.
struct Side {
  QRect room;
  QPoint start;
};

std::array<Side, 4> SidesOf(const QRect& screen, const QRect& main, QSize size) {
  const QRect right(QPoint(main.right() + 1, screen.top()), screen.bottomRight());
  const QRect below(QPoint(screen.left(), main.bottom() + 1), screen.bottomRight());
  const QRect left(screen.topLeft(), QPoint(main.left() - 1, screen.bottom()));
  const QRect above(screen.topLeft(), QPoint(screen.right(), main.top() - 1));
  return {Side{right, {right.left(), main.top()}}, Side{below, {main.left(), below.top()}},
          Side{left, {left.right() + 1 - size.width(), main.top()}},
          Side{above, {main.left(), above.bottom() + 1 - size.height()}}};
}

// `rect` moved, as little as it takes, into `area` (which holds its size).
QRect MovedInto(QRect rect, const QRect& area) {
  rect.moveLeft(std::clamp(rect.left(), area.left(), area.right() + 1 - rect.width()));
  rect.moveTop(std::clamp(rect.top(), area.top(), area.bottom() + 1 - rect.height()));
  return rect;
}

long long Area(const QRect& rect) {
  return rect.isEmpty() ? 0 : static_cast<long long>(rect.width()) * rect.height();
}

}  // namespace

QRect RunWindowPlace(const QRect& screen, const QRect& main, QSize size, QSize minimum) {
  size = size.boundedTo(screen.size());
  const std::array<Side, 4> sides = SidesOf(screen, main, size);
  for (const Side& side : sides) {
    if (side.room.width() >= size.width() && side.room.height() >= size.height()) {
      return MovedInto(QRect(side.start, size), side.room);
    }
  }
  // A smaller window beside the main one still leaves both in sight.
  QRect roomiest;
  for (const Side& side : sides) {
    const QSize fitted = size.boundedTo(side.room.size());
    if (fitted.width() < minimum.width() || fitted.height() < minimum.height()) continue;
    const QRect placed = MovedInto(QRect(side.start, fitted), side.room);
    if (Area(placed) > Area(roomiest)) roomiest = placed;
  }
  if (!roomiest.isNull()) return roomiest;
  // Over the main window: wholly on the screen, where it hides the least of it; at equal cost
  // low and to the right, which leaves the main window's menus in sight.
  QRect best;
  long long hidden = std::numeric_limits<long long>::max();
  const QPoint corners[] = {screen.bottomRight(), sides[1].start,    sides[0].start,
                            screen.bottomLeft(),  screen.topRight(), screen.topLeft()};
  for (const QPoint& corner : corners) {
    const QRect placed = MovedInto(QRect(corner, size), screen);
    const long long covered = Area(placed & main);
    if (covered < hidden) {
      hidden = covered;
      best = placed;
    }
  }
  return best;
}

FirstRunPlaces PlacesAtFirstRun(const QRect& screen, const QRect& main, QSize size, QSize minimum) {
  if (screen.width() < main.width() + size.width() || screen.height() < size.height() ||
      screen.height() < main.height()) {
    return {main, RunWindowPlace(screen, main, size, minimum)};
  }
  // Moved only across: the window keeps its height on the screen, where the user's eyes are.
  QRect aside = MovedInto(main, screen);
  QRect run = screen;
  if (main.center().x() <= screen.center().x()) {
    aside.moveLeft(screen.left());
    run.setLeft(aside.right() + 1);
  } else {
    aside.moveRight(screen.right());
    run.setRight(aside.left() - 1);
  }
  return {aside, run};
}

}  // namespace tortuval::app
