#pragma once
// Where the run window opens: beside the main window, whose lines it points at, when the screen
// has room for it there; over it only when the screen has none. On a screen wide enough for both,
// the main window first moves aside, so that the run window gets the screen's whole height.

#include <QRect>
#include <QSize>

namespace tortuval::app {

/// The run window's outer frame on the screen's free area `screen`, next to the main window's
/// outer frame `main`: at its `size` beside the main window (right, then below, left, above)
/// where one side has room for it; else in the roomiest side that holds its `minimum` size;
/// else over the main window, fitted to the screen and covering as little of it as it can.
QRect RunWindowPlace(const QRect& screen, const QRect& main, QSize size, QSize minimum);

/// Both windows' outer frames once the run window first opens.
struct FirstRunPlaces {
  QRect main;  ///< the main window, moved aside or where it was, at its size
  QRect run;   ///< the run window
};

/// Where the run window first opens on the screen's free area `screen`, and where the main
/// window's outer frame `main` goes for it. Where the width holds both side by side, the run
/// window at its `size`, the main window moves to the side edge it is nearer to (the left one
/// when centred), at its height on the screen, and the run window takes the rest of the width and
/// the whole height; elsewhere the main window stays and the run window goes to RunWindowPlace.
FirstRunPlaces PlacesAtFirstRun(const QRect& screen, const QRect& main, QSize size, QSize minimum);

}  // namespace tortuval::app
