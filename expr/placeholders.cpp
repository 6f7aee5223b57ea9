#include "expr/placeholders.h"

#include "expr/replace_all.h"

namespace tortuval::expr {
namespace {

constexpr char kLastPlaceholder = '\x06';

constexpr ReplaceRule kPlaceholderWords[] = {
    {"\x01", "arccos", Case::kSensitive},
    {"\x02", "arcsin", Case::kSensitive},
    {"\x03", "arctan", Case::kSensitive},
    {"\x04", "transforme", Case::kSensitive},
    {"\x05", "caract\xE8re", Case::kSensitive},
    {"\x06", "substr", Case::kSensitive},
};

}  // namespace

void RestorePlaceholders(std::string& text) {
  for (char c : text) {
    if (c > 0 && c <= kLastPlaceholder) {
      ApplyRulesToShortText(text, kPlaceholderWords);
      return;
    }
  }
}

}  // namespace tortuval::expr
