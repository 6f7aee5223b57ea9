// Writes a tree back in the editor's notation, with the brackets its precedence needs.

#include <string>

#include "algorithm/expression.h"

namespace tortuval::algorithm {
namespace {

using Kind = Expression::Kind;

// Binding strength of a binary operator: higher binds tighter.
int Precedence(const std::string& op) {
  if (op == "OU" || op == "||") return 1;
  if (op == "ET" || op == "&&") return 2;
  if (op == "==" || op == "!=" || op == "=" || op == "===" || op == "!==") return 3;
  if (op == "<" || op == ">" || op == "<=" || op == ">=" || op == "<>") return 4;
  if (op == "+" || op == "-") return 5;
  return 6;  // * / %
}

constexpr int kSignPrecedence = 7;
constexpr int kPostfixPrecedence = 8;

int PrecedenceOf(const Expression& expression) {
  switch (expression.kind) {
    case Kind::kBinary:
      return Precedence(expression.text);
    case Kind::kUnary:
      return kSignPrecedence;
    default:
      return kPostfixPrecedence + 1;
  }
}

void Write(const Expression& expression, std::string& out);

// An operand, bracketed when it binds looser than its place needs.
void WriteOperand(const Expression& operand, int needed, std::string& out) {
  const bool bracketed = PrecedenceOf(operand) < needed;
  if (bracketed) out += '(';
  Write(operand, out);
  if (bracketed) out += ')';
}

void WriteArguments(const Expression& expression, std::size_t first, std::string& out) {
  out += '(';
  for (std::size_t i = first; i < expression.operands.size(); ++i) {
    if (i > first) out += ',';
    Write(expression.operands[i], out);
  }
  out += ')';
}

void Write(const Expression& expression, std::string& out) {
  switch (expression.kind) {
    case Kind::kNumber:
    case Kind::kName:
      out += expression.text;
      return;
    case Kind::kText: {
      const char quote = expression.text.find('"') == std::string::npos ? '"' : '\'';
      out += quote;
      out += expression.text;
      out += quote;
      return;
    }
    case Kind::kUnary:
      out += expression.text;
      WriteOperand(expression.operands[0], kSignPrecedence, out);
      return;
    case Kind::kBinary: {
      const int precedence = Precedence(expression.text);
      // Left to right: a right operand of the same strength needs its brackets.
      WriteOperand(expression.operands[0], precedence, out);
      out += ' ';
      out += expression.text;
      out += ' ';
      WriteOperand(expression.operands[1], precedence + 1, out);
      return;
    }
    case Kind::kCall:
      out += expression.text;
      WriteArguments(expression, 0, out);
      return;
    case Kind::kIndex:
      WriteOperand(expression.operands[0], kPostfixPrecedence + 1, out);
      out += '[';
      Write(expression.operands[1], out);
      out += ']';
      return;
    case Kind::kMember:
    case Kind::kMemberCall:
      WriteOperand(expression.operands[0], kPostfixPrecedence + 1, out);
      out += '.';
      out += expression.text;
      if (expression.kind == Kind::kMemberCall) WriteArguments(expression, 1, out);
      return;
  }
}

}  // namespace

std::string WriteNotation(const Expression& expression) {
  std::string out;
  Write(expression, out);
  return out;
}

}  // namespace tortuval::algorithm
