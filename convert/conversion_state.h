#pragma once
// The working state of one conversion, shared by the translators for the length of the call.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tortuval::convert {

/// Widths of the open blocks; the top gives the indentation of every appended line.
class IndentStack {
 public:
  /// The last width pushed, 0 when empty.
  std::int64_t Top() const { return widths_.empty() ? 0 : widths_.back(); }
  void Push(std::int64_t width) { widths_.push_back(width); }
  /// Drops the last width; nothing when empty.
  void Pop() {
    if (!widths_.empty()) widths_.pop_back();
  }
  void Clear() { widths_.clear(); }

 private:
  std::vector<std::int64_t> widths_;
};

/// The number of spaces before a line for a top width n: n + n div 2 + n div 3.
std::int64_t IndentationWidth(std::int64_t top);

/// One open counted loop: its variable and the span text "(( end ) - ( start ))".
struct LoopRecord {
  std::string variable;
  std::string span;
};

/// Everything one conversion works on, created empty at its start.
struct ConversionState {
  std::string logoText;
  IndentStack indentStack;
  std::vector<LoopRecord> loopStack;
  std::string globalVariables;    ///< " name code name code…"
  std::string functionVariables;  ///< same form, for the user function being read
  bool inFunction = false;
  bool graphicsUsed = false;
  bool parenthesesWarning = false;
  std::string usageFlags;
  int instructionNumber = 0;
  /// Where the last output item (`code="3` or `code="4`) starts in the renumbered document.
  std::size_t lastOutputMarker = std::string_view::npos;
  /// Where the not yet consumed part of the renumbered document starts.
  std::size_t remainingStart = 0;

  /// The spaces put before a line now.
  std::string_view Indentation();
  /// Appends the indentation, the text and CR LF.
  void AppendLine(std::string_view text);
  /// Appends the text as it stands.
  void Append(std::string_view text) { logoText.append(text); }
  /// Appends the parentheses warning when it is set.
  void AppendWarningIfSet();
  /// Appends the indentation, the text, the warning when set and CR LF.
  void AppendLineWithWarning(std::string_view text);
  /// Translates an expression with the current variables and instruction number.
  std::string Translate(std::string_view expression, int functionMode = 0);
  /// True when an output item stands after the current position.
  bool OutputFollows() const;

 private:
  std::string indentation_;
};

/// The text that ends a line whose expressions hold built-ins with parentheses to remove.
inline constexpr std::string_view kParenthesesWarning =
    "  // Des parenth\xE8ses doivent \xEAtre supprim\xE9"
    "es sur cette ligne.";

/// Appends the entry " name code" to a variable list.
void AddVariable(std::string& list, std::string_view name, std::string_view code);

/// The one-character type code of a declared variable ("1" number, "2" list, "3" word),
/// looked up in the function's variables first, then the global ones; "0" when undeclared.
std::string LookupVariableType(const ConversionState& state, std::string_view name);

}  // namespace tortuval::convert
