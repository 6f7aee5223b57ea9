// Drawing: segments and points in a three-dimensional frame (third coordinate 0), and the
// instruction that opens the drawing. Whether the program draws at all is decided from the whole
// document before the first item is translated.

#include "convert/document.h"
#include "convert/translators.h"

namespace tortuval::convert {

void TranslateSegment(ConversionState& state, std::string_view item) {
  ItemFields fields(item);
  std::string line = "SEGMENT3D [ " + state.Translate(fields.Next()) + " ";
  line += state.Translate(fields.Next()) + "  0 ] [ ";
  line += state.Translate(fields.Next()) + " ";
  line += state.Translate(fields.Next()) + "  0 ]";  // the colour field is not read
  state.AppendLine(line);
}

void TranslatePoint(ConversionState& state, std::string_view item) {
  ItemFields fields(item);
  std::string line = "PLOT [ " + state.Translate(fields.Next()) + " ";
  line += state.Translate(fields.Next()) + "  0 ]";
  state.AppendLine(line);
}

void TranslateGraphics(ConversionState& state, std::string_view /*item*/) {
  state.AppendLine("initgraph faux");
}

}  // namespace tortuval::convert
