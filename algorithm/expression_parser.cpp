// Reads the editor's notation by recursive descent, one function a precedence level, lowest
// first: OU, ET, equality, order, sums, products, signs, then what follows a value (a call, a
// list's element, a member).

#include <cctype>
#include <string>
#include <utility>

#include "algorithm/expression.h"
#include "base/cp1252.h"

namespace tortuval::algorithm {
namespace {

using Kind = Expression::Kind;

// Deeper than any algorithm writes; it keeps a hostile text from exhausting the stack.
constexpr int kMaxDepth = 100;

bool IsLetter(unsigned char c) { return std::isalpha(c) || c == '_' || c == '$' || c >= 0xC0; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  ReadExpression Read() {
    ReadExpression read;
    read.expression = Or();
    SkipSpace();
    if (error_.empty() && at_ < text_.size()) Fail(Unexpected());
    read.error = std::move(error_);
    if (!read.ok()) read.expression = Expression{};
    return read;
  }

 private:
  // ---- The levels.

  Expression Or() { return LeftToRight(&Parser::And, {"||"}, "OU"); }
  Expression And() { return LeftToRight(&Parser::Equality, {"&&"}, "ET"); }
  Expression Equality() {
    return LeftToRight(&Parser::Order, {"===", "!==", "==", "!=", "="}, {});
  }
  Expression Order() { return LeftToRight(&Parser::Sum, {"<=", ">=", "<>", "<", ">"}, {}); }
  Expression Sum() { return LeftToRight(&Parser::Product, {"+", "-"}, {}); }
  Expression Product() { return LeftToRight(&Parser::Sign, {"*", "/", "%"}, {}); }

  Expression Sign() {
    SkipSpace();
    if (at_ < text_.size() && (text_[at_] == '-' || text_[at_] == '+' || text_[at_] == '!') &&
        text_.substr(at_, 2) != "!=") {
      Expression sign{Kind::kUnary, std::string(1, text_[at_++]), {}};
      if (!Deeper()) return {};
      sign.operands.push_back(Sign());
      --depth_;
      return sign;
    }
    return Postfix();
  }

  Expression Postfix() {
    Expression value = Primary();
    while (error_.empty()) {
      SkipSpace();
      if (Take("(")) {
        if (value.kind != Kind::kName) return Fail(Cp("seul un nom de fonction peut être appelé"));
        value.kind = Kind::kCall;
        value.operands = Arguments();
      } else if (Take("[")) {
        Expression element{Kind::kIndex, {}, {std::move(value)}};
        element.operands.push_back(Inner(&Parser::Or));
        Expect("]");
        value = std::move(element);
      } else if (Take(".")) {
        SkipSpace();
        const std::string name = Name();
        if (name.empty()) return Fail(Cp("un nom est attendu après « . »"));
        Expression member{Kind::kMember, name, {std::move(value)}};
        SkipSpace();
        if (Take("(")) {
          member.kind = Kind::kMemberCall;
          for (Expression& argument : Arguments()) member.operands.push_back(std::move(argument));
        }
        value = std::move(member);
      } else {
        return value;
      }
    }
    return value;
  }

  Expression Primary() {
    SkipSpace();
    if (at_ >= text_.size()) return Fail(Cp("l'expression est incomplète"));
    const unsigned char c = static_cast<unsigned char>(text_[at_]);
    if (c == '(') {
      ++at_;
      Expression inner = Inner(&Parser::Or);
      Expect(")");
      return inner;
    }
    if (c == '"' || c == '\'') {
      const std::size_t end = text_.find(static_cast<char>(c), at_ + 1);
      if (end == std::string_view::npos) return Fail(Cp("un texte n'est pas refermé"));
      Expression quoted{Kind::kText, std::string(text_.substr(at_ + 1, end - at_ - 1)), {}};
      at_ = end + 1;
      return quoted;
    }
    if (IsDigit(c) || (c == '.' && at_ + 1 < text_.size() && IsDigit(text_[at_ + 1]))) {
      return Number();
    }
    if (IsLetter(c)) return Expression{Kind::kName, Name(), {}};
    return Fail(Unexpected());
  }

  // ---- Pieces.

  Expression Number() {
    const std::size_t start = at_;
    while (at_ < text_.size() && IsDigit(text_[at_])) ++at_;
    if (at_ < text_.size() && text_[at_] == '.') {
      ++at_;
      while (at_ < text_.size() && IsDigit(text_[at_])) ++at_;
    }
    // An exponent only where digits follow: "2e" alone is a number and a name.
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      std::size_t digits = at_ + 1;
      if (digits < text_.size() && (text_[digits] == '+' || text_[digits] == '-')) ++digits;
      if (digits < text_.size() && IsDigit(text_[digits])) {
        at_ = digits;
        while (at_ < text_.size() && IsDigit(text_[at_])) ++at_;
      }
    }
    return Expression{Kind::kNumber, std::string(text_.substr(start, at_ - start)), {}};
  }

  std::string Name() {
    const std::size_t start = at_;
    if (at_ < text_.size() && IsLetter(static_cast<unsigned char>(text_[at_]))) {
      while (at_ < text_.size() && (IsLetter(static_cast<unsigned char>(text_[at_])) ||
                                    IsDigit(text_[at_]))) {
        ++at_;
      }
    }
    return std::string(text_.substr(start, at_ - start));
  }

  // After "(": the arguments up to ")", separated by ",".
  std::vector<Expression> Arguments() {
    std::vector<Expression> arguments;
    SkipSpace();
    if (Take(")")) return arguments;
    do {
      arguments.push_back(Inner(&Parser::Or));
      SkipSpace();
    } while (error_.empty() && Take(","));
    Expect(")");
    return arguments;
  }

  // A level's operands joined left to right by its operators (longest first, so that "<=" is
  // not read as "<"), and by its word ("ET", "OU") if it has one.
  Expression LeftToRight(Expression (Parser::*operand)(),
                         std::initializer_list<std::string_view> signs, std::string_view word) {
    Expression left = (this->*operand)();
    while (error_.empty()) {
      SkipSpace();
      std::string taken;
      for (const std::string_view sign : signs) {
        if (text_.substr(at_, sign.size()) == sign) {
          taken = sign;
          break;
        }
      }
      if (taken.empty() && !word.empty() && TakesWord(word)) taken = word;
      if (taken.empty()) return left;
      at_ += taken.size();
      Expression joined{Kind::kBinary, taken, {std::move(left)}};
      joined.operands.push_back((this->*operand)());
      left = std::move(joined);
    }
    return left;
  }

  // "ET" or "OU" here as a whole word, in any case.
  bool TakesWord(std::string_view word) const {
    if (text_.size() - at_ < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (std::toupper(static_cast<unsigned char>(text_[at_ + i])) != word[i]) return false;
    }
    const std::size_t after = at_ + word.size();
    return after == text_.size() || !(IsLetter(static_cast<unsigned char>(text_[after])) ||
                                      IsDigit(text_[after]));
  }

  Expression Inner(Expression (Parser::*level)()) {
    if (!Deeper()) return {};
    Expression inner = (this->*level)();
    --depth_;
    return inner;
  }

  bool Deeper() {
    if (++depth_ <= kMaxDepth) return true;
    Fail(Cp("l'expression est imbriquée trop profondément"));
    return false;
  }

  void SkipSpace() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                  text_[at_] == '\r' || text_[at_] == '\n')) {
      ++at_;
    }
  }

  bool Take(std::string_view sign) {
    if (text_.substr(at_, sign.size()) != sign) return false;
    at_ += sign.size();
    return true;
  }

  void Expect(std::string_view sign) {
    SkipSpace();
    if (error_.empty() && !Take(sign)) {
      Fail(at_ < text_.size() ? Cp("« ") + std::string(sign) + Cp(" » est attendu au lieu de « ") +
                                    text_[at_] + Cp(" »")
                              : Cp("il manque « ") + std::string(sign) + Cp(" » à la fin"));
    }
  }

  // Messages are French, in Windows-1252 as the text they quote.
  static std::string Cp(std::string_view utf8) { return base::Utf8ToCp1252(utf8); }

  std::string Unexpected() const {
    return Cp("« ") + text_[at_] + Cp(" » n'est pas attendu ici");
  }

  Expression Fail(const std::string& what) {
    if (error_.empty()) {
      error_ = what + Cp(" (caractère ") + std::to_string(at_ + 1) + Cp(" de « ") +
               std::string(text_) + Cp(" »).");
    }
    return {};
  }

  std::string_view text_;
  std::size_t at_ = 0;
  int depth_ = 0;
  std::string error_;
};

}  // namespace

ReadExpression ParseExpression(std::string_view text) { return Parser(text).Read(); }

}  // namespace tortuval::algorithm
