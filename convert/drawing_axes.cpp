#include "convert/drawing_axes.h"

#include <algorithm>

#include "base/number_text.h"

namespace tortuval::convert {

std::optional<drawing::Axes> ReadDrawingAxes(std::string_view document) {
  const std::size_t element = document.find("<repere ");
  if (element == std::string_view::npos) return std::nullopt;
  const std::size_t end = document.find('>', element);
  const std::string_view tag = document.substr(element, end - element);
  const auto attribute = [tag](std::string_view name) {
    const std::size_t at = tag.find(name);
    if (at == std::string_view::npos) return std::string_view();
    const std::size_t start = at + name.size();
    const std::size_t close = tag.find('"', start);
    return close == std::string_view::npos ? std::string_view() : tag.substr(start, close - start);
  };
  if (attribute("repetat=\"") != "actif") return std::nullopt;
  std::string_view code = attribute("repcode=\"");
  double numbers[6] = {};
  for (double& number : numbers) {
    const std::size_t cut = std::min(code.find('#'), code.size());
    if (!base::ParseNumber(code.substr(0, cut), number)) return std::nullopt;
    code.remove_prefix(std::min(cut + 1, code.size()));
  }
  return drawing::Axes{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]};
}

}  // namespace tortuval::convert
