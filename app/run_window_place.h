#pragma once
// Where the run window opens: beside the main window, whose lines it points at, when the screen
// has room for it there; over it only when the screen has none.

#include <QRect>
#include <QSize>

namespace tortuval::app {

/// The run window's outer frame on the screen's free area `screen`, next to the main window's
/// outer frame `main`: at its `size` beside the main window (right, then below, left, above)
/// where one side has room for it; else in the roomiest side that holds its `minimum` size;
/// else over the main window, fitted to the screen and covering as little of it as it can.
QRect RunWindowPlace(const QRect& screen, const QRect& main, QSize size, QSize minimum);

}  // namespace tortuval::app
