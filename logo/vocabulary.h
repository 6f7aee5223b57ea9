#pragma once
// The primitives of the LOGO dialect that converted programs use, with their inputs, and the
// infix operators. Words are compared ignoring case (Windows-1252 capitals).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tortuval::logo {

/// How a primitive reads one of its inputs.
enum class InputShape : char {
  kValue = 'v',     ///< an expression
  kName = 'n',      ///< an expression giving a variable's name, in practice a quoted word
  kRun = 'r',       ///< a list of instructions, or one instruction written without brackets
  kText = 't',      ///< a list read as text (its words are not code), or an expression
  kTypeWord = 'k',  ///< a bare word naming a type (NOMBRE, MOT, LISTE, or a document's own)
};

/// One primitive: its name as the converter writes it and one shape letter per input.
struct Primitive {
  std::string_view name;
  std::string_view shapes;

  int InputCount() const { return static_cast<int>(shapes.size()); }
  InputShape Shape(int input) const { return static_cast<InputShape>(shapes[input]); }
  /// Whether a list given as its first input is text (ECRIS, ECL): its words are not code.
  bool ReadsTextFirst() const { return !shapes.empty() && Shape(0) == InputShape::kText; }
};

/// One infix operator, sign or word; a higher precedence binds tighter.
struct InfixOperator {
  std::string_view name;
  int precedence;
};

/// Every primitive, in the order of the table.
std::span<const Primitive> Primitives();

/// Every infix operator.
std::span<const InfixOperator> InfixOperators();

/// The word in capitals with each run of blanks as one space ("tant  que" gives "TANT QUE").
void WordKey(std::string_view word, std::string& key);

/// The primitive named by a word (or its key made by WordKey: both give the same), or null.
const Primitive* FindPrimitive(std::string_view word);

/// The same, with `hash` = WordHash(word) computed once for several lookups.
const Primitive* FindPrimitive(std::string_view word, std::uint64_t hash);

/// The infix operator named by a word (or its key made by WordKey, or a sign), or null.
const InfixOperator* FindInfix(std::string_view word);

}  // namespace tortuval::logo
