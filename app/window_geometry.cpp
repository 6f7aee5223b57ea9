#include "app/window_geometry.h"

namespace tortuval::app {

WindowPosition CentredPosition(int screenWidth, int screenHeight, int width, int height) {
  // Halving each size first (truncating toward zero) and subtracting afterwards differs by one
  // pixel from halving the difference when both sizes are odd; the window's place is defined by
  // the first form.
  return {screenWidth / 2 - width / 2, screenHeight / 2 - height / 2};
}

}  // namespace tortuval::app
