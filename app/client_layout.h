#pragma once
// The places of the main window's controls in its client area: the specified ones, and smaller
// ones for a screen that cannot hold the window.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace tortuval::app {

/// The client area below the menu bar, at its specified size, in pixels.
inline constexpr QSize kClientSize{970, 455};

/// Where each control of the client area goes.
struct ClientLayout {
  QRect examples;  ///< the examples
  QPoint listingHeading;      ///< the listing pane's heading
  QRect listingPane;     ///< the listing pane
  QPoint logoHeading;      ///< the LOGO pane's heading
  QRect logoPane;      ///< the LOGO pane
};

/// The places in a client area of size `client`: the specified places at kClientSize; in a
/// smaller area the two panes share the missing width in proportion to their widths, and the
/// panes and the examples lose the missing height, every margin staying as it is.
ClientLayout LayoutForClient(QSize client);

/// The smallest client area in which every control stays usable, given the height the examples'
/// frame needs to show all of its items.
QSize MinimumClientSize(int radioGroupMinimumHeight);

/// The client size for a window whose parts other than the client area (frame, menu bar, status
/// line) take `chrome`, on a screen area of size `available`: kClientSize when it fits, else as
/// much as fits, never below `minimum`.
QSize FittedClientSize(QSize available, QSize chrome, QSize minimum);

/// The top-left corner that centres a window of outer size `outer` in `area`, moved so that it
/// lies wholly inside; a window larger than the area keeps its top-left corner (and title bar)
/// on it.
QPoint PlacedInside(QRect area, QSize outer);

}  // namespace tortuval::app
