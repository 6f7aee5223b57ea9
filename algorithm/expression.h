#pragma once
// An expression of the teaching editor's notation (a script-like syntax: "floor(n/2)",
// "L[i+1]", "x.toString()", "Math.PI", "a%b==0 ET b!=0"), read into a tree. Writers of other
// languages than LOGO walk the tree; the LOGO conversion keeps its own text rewrites.

#include <string>
#include <string_view>
#include <vector>

namespace tortuval::algorithm {

struct Expression {
  enum class Kind {
    kNumber,      // text: the digits as written ("0.5", ".5", "1e-8")
    kText,        // text: the characters between the quotes
    kName,        // text: a variable's or a constant's name
    kUnary,       // text: "-", "+" or "!"; one operand
    kBinary,      // text: the operator as the editor writes it ("%", "==", "ET", "&&", …)
    kCall,        // text: the function's name ("floor", "F2", "Math.sqrt"); the arguments
    kIndex,       // a list's element: the list, then the position
    kMember,      // text: the member's name ("length"); the object
    kMemberCall,  // text: the method's name ("substr"); the object, then the arguments
  };

  Kind kind = Kind::kNumber;
  std::string text;
  std::vector<Expression> operands;

  bool operator==(const Expression&) const = default;
};

/// The outcome of reading: the tree, or a French message (Windows-1252) saying where the text
/// stops making sense.
struct ReadExpression {
  Expression expression;
  std::string error;  ///< empty when the whole text was read

  bool ok() const { return error.empty(); }
};

/// Reads one expression. "ET" and "OU" (any case, as whole words) are the logical operators the
/// editor writes, besides "&&" and "||"; precedence is the script notation's.
ReadExpression ParseExpression(std::string_view text);

/// The expression written back in the editor's notation, fully bracketed where precedence
/// needs it: reading it again gives the same tree.
std::string WriteNotation(const Expression& expression);

}  // namespace tortuval::algorithm
