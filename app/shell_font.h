#pragma once
// The typeface of both windows.

#include <QFont>

namespace tortuval::app {

/// Tahoma at a character height of `pixelHeight` pixels, or the closest sans-serif installed.
QFont ShellFont(int pixelHeight, bool bold = false);

}  // namespace tortuval::app
