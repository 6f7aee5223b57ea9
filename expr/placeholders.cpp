#include "expr/placeholders.h"

#include "expr/replace_all.h"

namespace tortuval::expr {
namespace {

constexpr char kLastPlaceholder = kHeldMinus;

constexpr ReplaceRule kPlaceholderWords[] = {
    {"\x01", "arccos", Case::kSensitive},
    {"\x02", "arcsin", Case::kSensitive},
    {"\x03", "arctan", Case::kSensitive},
    {"\x04", "transforme", Case::kSensitive},
    {"\x05", "caract\xE8re", Case::kSensitive},
    {"\x06", "substr", Case::kSensitive},
    {"\x07", "+", Case::kSensitive},
    {"\x08", "-", Case::kSensitive},
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
