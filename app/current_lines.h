#pragma once
// The run window's strip that names the lines a run stands at (session::CurrentLines words them).

class QLabel;
class QWidget;

namespace tortuval::app {

/// The strip that names the current lines, large enough for a class to read from afar: its two
/// labels, the algorithm's line above the LOGO one, are given back in `algorithm` and `logo`.
QWidget* MakeCurrentLinesStrip(QWidget* parent, QLabel*& algorithm, QLabel*& logo);

}  // namespace tortuval::app
