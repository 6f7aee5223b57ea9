// Lists: of instructions, of text, of words, bracketed expressions, points and sort orders; and
// the source's strings as the converter writes them. Lists other than instruction lists close
// on their line.

#include <string>
#include <utility>

#include "logo/leftovers.h"
#include "logo/parser.h"

namespace tortuval::logo {
namespace {

bool EndsWithMark(std::string_view text) { return !text.empty() && text.back() == '"'; }

}  // namespace

// A list of instructions, which may span lines.
Node Parser::ReadRunList() {
  const std::size_t opening = at_++;
  return ReadInstructions(Enclosure::kBlock, opening);
}

// Past the "]" of the list opened at `opening`, which must close on its line.
void Parser::CloseList(std::size_t opening) {
  if (Is(TokenKind::kCloseList)) {
    ++at_;
    return;
  }
  if (AtEnd() || Is(TokenKind::kLineEnd)) {
    Fail(Tokens()[opening], FindingKind::kUnbalanced, MessageId::kUnclosedList);
  }
  Fail(Current(), FindingKind::kUnknownWord, MessageId::kUnexpected, {TextOf(Current())});
}

// "[ text ]" given to a primitive that writes it: its bytes as written, less the blank that
// the converter puts inside each bracket.
Node Parser::ReadTextList() {
  const std::size_t opening = at_;
  int depth = 0;
  std::size_t close = opening;
  for (; close < end_; ++close) {
    const TokenKind kind = Tokens()[close].kind;
    if (kind == TokenKind::kLineEnd) break;
    if (kind == TokenKind::kOpenList) ++depth;
    if (kind == TokenKind::kCloseList && --depth == 0) break;
  }
  if (close >= end_ || Tokens()[close].kind != TokenKind::kCloseList) {
    Fail(Tokens()[opening], FindingKind::kUnbalanced, MessageId::kUnclosedList);
  }
  const std::uint32_t from = Tokens()[opening].begin + 1;
  std::string_view text = reading_.tokens.text.substr(from, Tokens()[close].begin - from);
  if (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  Node node = Leaf(Op::kConstant, Tokens()[opening]);
  node.text = text;
  at_ = close + 1;
  return Numbered(std::move(node));
}

Node Parser::ReadBracketed() {
  const std::size_t opening = at_++;
  ++groupDepth_;
  Node node = ReadExpression(0);
  --groupDepth_;
  CloseList(opening);
  return node;
}

// "[ x y  0 ]". The converter spaces a sign as an operator, "[ 3 - 4  0 ]" for (3, -4): when
// the items read with "-" as an operator are not three, "-" starts an item.
Node Parser::ReadPointList() {
  const std::size_t start = at_;
  Node node = ReadPointItems(false);
  if (node.kids.size() != 3) {
    const std::size_t end = at_;
    at_ = start;
    Node split = ReadPointItems(true);
    if (split.kids.size() == 3) {
      const std::uint32_t from = Tokens()[start].begin;
      split.text = reading_.tokens.text.substr(from, Tokens()[at_ - 1].begin + 1 - from);
      // "[ 3 -4  0 ]" is what a LOGO reads as a point; the spaced sign is the leftover.
      if (split.text.find("- ") != std::string::npos) split.leftover = Leftover::kSpacedSign;
      return split;
    }
    at_ = end;
  }
  return node;
}

Node Parser::ReadPointItems(bool minusStartsItem) {
  const std::size_t opening = at_++;
  Node node = Leaf(Op::kPointList, Tokens()[opening]);
  ++groupDepth_;
  const int savedDepth = std::exchange(pointDepth_, minusStartsItem ? groupDepth_ : -1);
  while (!AtStop()) Adopt(node, ReadExpression(0));
  pointDepth_ = savedDepth;
  --groupDepth_;
  CloseList(opening);
  return node;
}

// "[ < NOMBRE ]" sorts rising, "[ > NOMBRE ]" falling.
Node Parser::ReadSortOrder(const Token& word) {
  if (!Is(TokenKind::kOpenList)) {
    Fail(word, FindingKind::kMissingInput, MessageId::kSortOrderExpected, {TextOf(word)});
  }
  const std::size_t opening = at_++;
  Node node = Leaf(Op::kNumber, Tokens()[opening]);
  node.number = 1;
  for (; !AtStop(); ++at_) {
    if (TextOf(Current()) == ">") node.number = -1;
  }
  CloseList(opening);
  return node;
}

// A list written in the program: its words and numbers, not evaluated.
Node Parser::ReadLiteralList() {
  Nesting nesting(*this);
  const std::size_t opening = at_++;
  Node node = Leaf(Op::kConstant, Tokens()[opening]);
  node.isList = true;
  while (!AtEnd() && !Is(TokenKind::kLineEnd) && !Is(TokenKind::kCloseList)) {
    const Token& token = Current();
    if (token.kind == TokenKind::kOpenList) {
      Adopt(node, ReadLiteralList());
    } else if (token.kind == TokenKind::kNumber) {
      Adopt(node, ReadNumber(token));
    } else {
      Node word = Leaf(Op::kConstant, token);
      word.text = TextOf(token);
      Adopt(node, std::move(word));
      ++at_;
    }
  }
  CloseList(opening);
  return node;
}

// The converter writes a source string "deux mots" as "deux mots ": the word runs to the
// closing mark when one ends a later word of the line.
Node Parser::ReadQuotedWord() {
  const std::size_t opening = at_;
  const std::string_view first = TextOf(Tokens()[opening]);
  Node node = Leaf(Op::kConstant, Tokens()[opening]);
  std::size_t close = opening;
  if (first.size() < 2 || !EndsWithMark(first)) {
    for (std::size_t at = opening + 1; at < end_ && Tokens()[at].kind != TokenKind::kLineEnd;
         ++at) {
      if (EndsWithMark(TextOf(Tokens()[at]))) {
        close = at;
        break;
      }
    }
  }
  if (close == opening) {
    node.text = reading_.tokens.names.Text(QuotedName(Tokens()[opening]));
  } else {
    const std::uint32_t from = Tokens()[opening].begin + 1;
    std::uint32_t to = Tokens()[close].begin + Tokens()[close].length - 1;
    // The converter puts one blank before the closing mark of every source string ("bonjour"
    // becomes "bonjour "): that blank is the notation's, not the string's.
    if (to > from && reading_.tokens.text[to - 1] == ' ') --to;
    node.text = reading_.tokens.text.substr(from, to - from);
    if (node.text.find_first_of(" \t") != std::string::npos) {
      node.leftover = Leftover::kSpacedString;
    }
  }
  at_ = close + 1;
  return Numbered(std::move(node));
}

}  // namespace tortuval::logo
