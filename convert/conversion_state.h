#pragma once
// The working state of one conversion, shared by the translators for the length of the call.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "expr/translate_expression.h"
#include "expr/variable_index.h"
#include "library/support_procedures.h"

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

/// A list of declared variables in its text form " name code name code…", with what the
/// expression translator and the type lookups need kept up to date as it grows: a long document
/// appends a loop variable at every counted loop, and no translation reads the whole list again.
class VariableList {
 public:
  /// `match`: how the translator compares names of this list; `collapseSpaces`: whether it
  /// counts runs of spaces as one.
  VariableList(expr::Case match, bool collapseSpaces) : index_(match, collapseSpaces) {}

  /// Appends the entry " name code", the code written for `kind`.
  void Add(std::string_view name, expr::VariableKind kind);
  /// Replaces the whole list.
  void Assign(std::string_view text);
  void Clear() { Assign({}); }

  const std::string& Text() const { return text_; }
  const expr::VariableIndex& Index() const { return index_; }

  /// The code that follows the first " name " of the list text up to the next space, or nothing.
  /// This reads the text itself, not the index: a name holding a space or a run of spaces in a
  /// function's list is looked up as the text shows it.
  std::string_view FindTypeCode(std::string_view name) const;

 private:
  struct Lookup {
    std::size_t codeStart = std::string::npos;  // where the code starts, when found
    std::size_t searchedUpTo = 0;               // the list text searched so far
  };

  std::string text_;
  expr::VariableIndex index_;
  mutable std::unordered_map<std::string, Lookup> lookups_;
};

/// Everything one conversion works on, created empty at its start.
struct ConversionState {
  std::string logoText;
  IndentStack indentStack;
  std::vector<LoopRecord> loopStack;
  VariableList globalVariables{expr::Case::kInsensitive, false};
  /// Every global declaration of the document, read ahead: what a user function's body sees.
  VariableList documentGlobals{expr::Case::kInsensitive, false};
  /// The variables of the user function being read (and of loops and F1/F2).
  VariableList functionVariables{expr::Case::kSensitive, true};
  bool inFunction = false;
  /// The names of the user functions whose headers have been read, in their order.
  std::vector<std::string> functionNames;
  /// Every user function's name, read ahead: a function's body calls those below it as well.
  std::vector<std::string> documentFunctionNames;
  bool graphicsUsed = false;
  /// The support procedures the program defines, where the algorithm starts.
  library::SupportProcedureSet neededProcedures;
  /// Where the last output item (of a value or a text) starts in the renumbered document.
  std::size_t lastOutputMarker = std::string_view::npos;
  /// Where the not yet consumed part of the renumbered document starts.
  std::size_t remainingStart = 0;

  /// The spaces put before a line now.
  std::string_view Indentation();
  /// Appends the indentation, the text and CR LF.
  void AppendLine(std::string_view text);
  /// Appends the text as it stands.
  void Append(std::string_view text) { logoText.append(text); }
  /// Translates an expression with the current variables.
  std::string Translate(std::string_view expression,
                        expr::ExpressionKind kind = expr::ExpressionKind::kPlain);
  /// The global variables the current item sees: inside a user function, all of the
  /// document's; elsewhere, those declared so far.
  const VariableList& VisibleGlobals() const {
    return inFunction ? documentGlobals : globalVariables;
  }
  /// The user functions the current item can call: inside a user function, all of the
  /// document's; elsewhere, those whose headers have been read.
  const std::vector<std::string>& VisibleFunctionNames() const {
    return inFunction ? documentFunctionNames : functionNames;
  }
  /// True when an output item stands after the current position.
  bool OutputFollows() const;
  /// True when the support procedure the program calls `logoName` is among those it defines.
  bool DefinesSupportProcedure(std::string_view logoName) const;

 private:
  std::string indentation_;
};

/// The kind of a declared variable, from its code in the function's variables first, then in the
/// global ones; unknown when neither declares it.
expr::VariableKind LookupVariableType(const ConversionState& state, std::string_view name);

}  // namespace tortuval::convert
