#pragma once
// Where a window of a given outer size goes on a screen of a given size.

namespace tortuval::app {

/// The top-left corner of a window's outer frame, in screen pixels.
struct WindowPosition {
  int left = 0;
  int top = 0;
  friend bool operator==(const WindowPosition&, const WindowPosition&) = default;
};

/// Position that centres a `width` x `height` window on a `screenWidth` x `screenHeight` screen,
/// each size halved on its own before the subtraction; a window larger than the screen gets a
/// negative position.
WindowPosition CentredPosition(int screenWidth, int screenHeight, int width, int height);

}  // namespace tortuval::app
