#pragma once
// The words of the LOGO dialect that converted programs use: the one place where each is
// described, with how it reads its inputs and what the runtime does for it.

#include <span>
#include <string_view>

#include "logo/tree.h"

namespace tortuval::logo {

/// One primitive. Input shapes, one letter each: v a value; g a value, or when written
/// "( … )" that group alone; t a text list or a value; r an instruction list or one
/// instruction; i and b a bracketed expression or a value; p a point list; n a quoted name;
/// c and l a variable written :name; k a type word; s a sort order list.
struct Word {
  std::string_view name;  ///< UTF-8 in the table; compared by its key in Windows-1252
  std::string_view shapes;
  Op op;
  Operation operation = Operation::kNone;
  int maxInputs = -1;  ///< more inputs allowed in "( … )"; -1: as many as shapes
};

/// One infix operator, sign or word; a higher precedence binds tighter.
struct Infix {
  std::string_view name;
  int precedence;
  Op op;
};

/// The precedence of a unary minus: tighter than "*", looser than "^".
inline constexpr int kUnaryPrecedence = 6;

/// The primitive named by a word's key (WordKey), or null.
const Word* FindWord(std::string_view key);

/// The infix operator named by a word's key or a sign, or null.
const Infix* FindInfix(std::string_view key);

/// Every primitive and every infix operator, in their tables' order (the page's code panes
/// colour these words).
std::span<const Word> Words();
std::span<const Infix> Infixes();

}  // namespace tortuval::logo
