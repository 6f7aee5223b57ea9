#include "python/python_drawing.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace tortuval::python {

using algorithm::Instruction;
using algorithm::Item;

std::string MatplotlibColour(std::string_view name) {
  static constexpr std::pair<std::string_view, std::string_view> kColours[] = {
      {"rouge", "red"},       {"bleu", "blue"},      {"vert", "green"},   {"noir", "black"},
      {"blanc", "white"},     {"jaune", "gold"},     {"orange", "orange"}, {"gris", "gray"},
      {"rose", "pink"},       {"violet", "purple"},  {"marron", "brown"}, {"cyan", "cyan"},
      {"magenta", "magenta"},
  };
  std::string key(name);
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const auto& [editor, python] : kColours) {
    if (key == editor) return "\"" + std::string(python) + "\"";
  }
  return "\"black\"";
}

std::string FrameFunction(const algorithm::Frame& frame) {
  std::string text =
      "def _repere():\n"
      "    \"\"\"Un dessin vide dans le repère du document.\"\"\"\n"
      "    plt.clf()\n"
      "    axes = plt.gca()\n"
      "    axes.grid(True, color=\"#e6e6e6\")\n";
  if (frame.active) {
    // The shortest digits that read back as the value (the page's C++ library has no
    // std::to_chars for doubles).
    const auto number = [](double value) {
      char buffer[40];
      if (value == std::floor(value) && std::fabs(value) < 1e15) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
        return std::string(buffer);
      }
      for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
        if (std::strtod(buffer, nullptr) == value) break;
      }
      return std::string(buffer);
    };
    text += "    axes.set_xlim(" + number(frame.xMin) + ", " + number(frame.xMax) + ")\n";
    text += "    axes.set_ylim(" + number(frame.yMin) + ", " + number(frame.yMax) + ")\n";
    const auto ticks = [&number](const char* axis, double from, double to, double step) {
      // Graduations only for a frame that has some, and not too many to write.
      const double steps = (to - from) / step;
      if (!(step > 0) || !(steps >= 0 && steps <= 200)) return std::string();
      return std::string("    axes.set_") + axis + "ticks([" + number(from) + " + k * " +
             number(step) + " for k in range(" +
             std::to_string(static_cast<int>(std::floor(steps + 1e-9)) + 1) + ")])\n";
    };
    text += ticks("x", frame.xMin, frame.xMax, frame.xStep);
    text += ticks("y", frame.yMin, frame.yMax, frame.yStep);
  }
  return text + "\n\n";
}

bool Draws(const std::vector<Item>& items) {
  for (const Item& item : items) {
    if (item.Is(Instruction::kDrawSegment) || item.Is(Instruction::kPlotPoint) ||
        item.Is(Instruction::kClearDrawing) || Draws(item.items)) {
      return true;
    }
  }
  return false;
}

}  // namespace tortuval::python
