#pragma once
// The drawing in Python: matplotlib with the document's frame and the editor's colours.

#include <string>
#include <string_view>
#include <vector>

#include "algorithm/document_tree.h"

namespace tortuval::python {

/// The editor's colour name as a Python string literal of matplotlib's ("Rouge" gives "red");
/// a colour it does not know draws in black.
std::string MatplotlibColour(std::string_view name);

/// The text of `_repere()`, which opens an empty drawing: in the document's frame when it is
/// active (its limits, its graduations, a light grid), else one fitted to the drawing.
std::string FrameFunction(const algorithm::Frame& frame);

/// Whether the items draw (a segment, a point, a drawing started again).
bool Draws(const std::vector<algorithm::Item>& items);

}  // namespace tortuval::python
