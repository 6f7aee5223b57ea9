// Inputs and expressions: each input of a call is a whole infix expression, read before the end
// of its line, list or group; lists and groups close on their line.

#include <string>
#include <utility>

#include "base/number_text.h"
#include "logo/leftovers.h"
#include "logo/parser.h"

namespace tortuval::logo {
namespace {

// The tree of a chain "a + b + c …" is as deep as the chain is long.
constexpr int kMaxChain = 2000;

bool EndsWithMark(std::string_view text) { return !text.empty() && text.back() == '"'; }

}  // namespace

Node Parser::ReadInput(char shape, const Token& word, int received, int expected,
                       bool* bracketed) {
  if (AtStop()) FailMissingInput(word, expected, received);
  const bool list = Is(TokenKind::kOpenList);
  switch (shape) {
    case 'g':
      if (Is(TokenKind::kOpenGroup)) return ReadGroup();
      break;
    case 't':
      if (list) return ReadTextList();
      break;
    case 'r':
      if (list) return ReadRunList();
      return ReadInstruction();
    case 'i':
    case 'b':
      if (list) {
        if (bracketed != nullptr) *bracketed = true;
        return ReadBracketed();
      }
      break;
    case 'p':
      if (list) return ReadPointList();
      break;
    case 's':
      return ReadSortOrder(word);
    default:
      break;
  }
  return ReadExpression(0);
}

void Parser::FailMissingInput(const Token& word, int expected, int received) const {
  const std::string before = AtEnd() || Current().kind == TokenKind::kLineEnd
                                 ? FormatMessage(MessageId::kEndOfLine, {})
                                 : Quoted(TextOf(Current()));
  const std::string count =
      FormatMessage(expected == 1 ? MessageId::kOneInput : MessageId::kInputs,
                    {std::to_string(expected)});
  Fail(word, FindingKind::kMissingInput,
       received == 0 ? MessageId::kNoInput : MessageId::kMissingInputs,
       {TextOf(word), count, std::to_string(received), before});
}

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
  return node;
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
  while (!AtStop()) node.kids.push_back(ReadExpression(0));
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

Node Parser::ReadExpression(int minPrecedence) {
  Nesting nesting(*this);
  Node left = ReadUnary();
  return ReadInfix(std::move(left), minPrecedence);
}

Node Parser::ReadInfix(Node left, int minPrecedence) {
  int chain = 0;
  while (!AtEnd()) {
    const Token& sign = Current();
    const Infix* infix = InfixOf(sign);
    if (infix == nullptr || infix->precedence < minPrecedence) break;
    if (groupDepth_ == pointDepth_ && infix->op == Op::kSubtract) break;
    if (++chain > kMaxChain) Fail(sign, FindingKind::kUnbalanced, MessageId::kTooLong);
    ++at_;
    SkipLineEndsInGroup();  // inside parentheses, an operator that ends a line continues it
    if (AtStop()) Fail(sign, FindingKind::kMissingInput, MessageId::kMissingOperand, {TextOf(sign)});
    Node right = ReadExpression(infix->precedence + 1);
    Node node = Leaf(infix->op, sign);
    node.kids.reserve(2);
    node.kids.push_back(std::move(left));
    node.kids.push_back(std::move(right));
    left = std::move(node);
  }
  return left;
}

Node Parser::ReadUnary() {
  if (Is(TokenKind::kOperator) && (TextOf(Current()) == "-" || TextOf(Current()) == "+")) {
    const Token& sign = Current();
    ++at_;
    if (AtStop()) {
      Fail(sign, FindingKind::kMissingInput, MessageId::kMissingSignOperand, {TextOf(sign)});
    }
    Node operand = ReadExpression(kUnaryPrecedence);
    if (TextOf(sign) == "+") return operand;
    Node node = Leaf(Op::kNegate, sign);
    node.kids.push_back(std::move(operand));
    return node;
  }
  return ReadPrimary();
}

Node Parser::ReadPrimary() {
  if (AtStop()) {
    const std::string before = AtEnd() || Current().kind == TokenKind::kLineEnd
                                   ? FormatMessage(MessageId::kEndOfLine, {})
                                   : Quoted(TextOf(Current()));
    Fail(AtEnd() ? LastToken() : Current(), FindingKind::kMissingInput, MessageId::kMissingValue,
         {before});
  }
  const Token& token = Current();
  switch (token.kind) {
    case TokenKind::kNumber:
      return ReadNumber(token);
    case TokenKind::kValue:
      return ReadValue(token);
    case TokenKind::kQuoted:
      return ReadQuotedWord();
    case TokenKind::kOpenGroup:
      return ReadGroup();
    case TokenKind::kOpenList:
      return ReadLiteralList();
    case TokenKind::kWord:
      if (Node number; ReadSplitExponent(number)) return number;
      return ReadCall(false);
    default:
      Fail(token, FindingKind::kUnknownWord, MessageId::kUnexpected, {TextOf(token)});
  }
}

Node Parser::ReadNumber(const Token& token) {
  Node node = Leaf(Op::kNumber, token);
  if (!base::ParseNumber(TextOf(token), node.number)) {
    Fail(token, FindingKind::kUnknownWord, MessageId::kBadNumber, {TextOf(token)});
  }
  ++at_;
  return node;
}

// ":name", and ":mot.length", the source's length of a word, which the converter leaves as it
// stands: it is read as the length of ":mot".
Node Parser::ReadValue(const Token& token) {
  ++at_;
  const std::string_view name = TextOf(token).substr(1);
  if (name.empty()) Fail(token, FindingKind::kUndeclaredValue, MessageId::kEmptyValue);
  const std::string_view word = LengthOfWord(name);
  if (word.empty()) {
    // Source notation left in a name (":s.charCodeAt") is reported as an unknown word is.
    if (const MessageId* notation = FindUnreadNotation(name); notation != nullptr) {
      Finding finding{static_cast<int>(token.line), reading_.tokens.ColumnOf(token),
                      FindingKind::kUnknownWord, FormatMessage(*notation, {TextOf(token)})};
      unknownWord_ = finding;
      reading_.findings.push_back(std::move(finding));
      return FailureNode(unknownWord_);
    }
    return VariableNode(token.name, token);
  }
  Node node = Leaf(Op::kPrimitive, token);
  node.operation = Operation::kCount;
  node.leftover = Leftover::kWordLength;
  node.text = TextOf(token);
  node.kids.push_back(VariableNode(reading_.tokens.names.Intern(word), token));
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
  return node;
}

// "1e - 8": the converter leaves the sign of some exponents spaced apart from their number.
bool Parser::ReadSplitExponent(Node& node) {
  if (at_ + 2 >= end_ || Tokens()[at_ + 1].kind != TokenKind::kOperator ||
      Tokens()[at_ + 2].kind != TokenKind::kNumber) {
    return false;
  }
  const Token& mantissa = Current();
  const Token& exponent = Tokens()[at_ + 2];
  double number = 0;
  if (!logo::ReadSplitExponent(TextOf(mantissa), TextOf(Tokens()[at_ + 1]), TextOf(exponent),
                               number)) {
    return false;
  }
  node = Leaf(Op::kNumber, mantissa);
  node.number = number;
  node.leftover = Leftover::kSplitExponent;
  node.text = reading_.tokens.text.substr(mantissa.begin,
                                          exponent.begin + exponent.length - mantissa.begin);
  at_ += 3;
  return true;
}

Node Parser::ReadGroup() {
  Nesting nesting(*this);
  const std::size_t opening = at_++;
  ++groupDepth_;
  ++parenDepth_;
  Node node;
  if (!AtEnd() && Current().kind == TokenKind::kWord && InfixOf(Current()) == nullptr) {
    node = ReadInfix(ReadCall(true), 0);
  } else {
    node = ReadExpression(0);
  }
  if (!Is(TokenKind::kCloseGroup)) {
    if (AtEnd() || Is(TokenKind::kLineEnd) || Is(TokenKind::kCloseList)) {
      Fail(Tokens()[opening], FindingKind::kUnbalanced, MessageId::kUnclosedGroup);
    }
    Fail(Current(), FindingKind::kMissingInput, MessageId::kTooManyValues, {TextOf(Current())});
  }
  ++at_;
  --groupDepth_;
  --parenDepth_;
  return node;
}

// A list written in the program: its words and numbers, not evaluated.
Node Parser::ReadLiteralList() {
  Nesting nesting(*this);
  const std::size_t opening = at_++;
  Node node = Leaf(Op::kConstant, Tokens()[opening]);
  node.flag = true;
  while (!AtEnd() && !Is(TokenKind::kLineEnd) && !Is(TokenKind::kCloseList)) {
    const Token& token = Current();
    if (token.kind == TokenKind::kOpenList) {
      node.kids.push_back(ReadLiteralList());
    } else if (token.kind == TokenKind::kNumber) {
      node.kids.push_back(ReadNumber(token));
    } else {
      Node word = Leaf(Op::kConstant, token);
      word.text = TextOf(token);
      node.kids.push_back(std::move(word));
      ++at_;
    }
  }
  CloseList(opening);
  return node;
}

// A word that names an operation or a procedure, with its inputs; `inGroup` when it opens
// "( … )", where a primitive of more inputs takes them.
Node Parser::ReadCall(bool inGroup) {
  const Token& token = Current();
  int procedure = ProcedureOf(token);
  bool factorial = false;
  // Old programs call the factorial by its source name without bringing its procedure.
  if (procedure < 0 && token.kind == TokenKind::kWord && Key(token) == kFactorialKey) {
    const std::uint32_t fact = reading_.tokens.names.Find(kFactorialReading);
    procedure = fact < procedureByName_.size() ? procedureByName_[fact] : -1;
    factorial = procedure >= 0;
  }
  if (procedure >= 0) {
    ++at_;
    Node node = Leaf(Op::kCall, token);
    node.slot = procedure;
    if (factorial) {
      node.leftover = Leftover::kFactorial;
      node.text = TextOf(token);
    }
    const int inputs = program_.procedures[static_cast<std::size_t>(procedure)].inputCount;
    for (int i = 0; i < inputs; ++i) node.kids.push_back(ReadInput('v', token, i, inputs));
    return node;
  }
  const Word* word = WordOf(token);
  if (word == nullptr) return ReadUnknownWord(inGroup);
  if (word->op >= Op::kBlock) {
    Fail(token, FindingKind::kUnknownWord, MessageId::kNoValue, {TextOf(token)});
  }
  ++at_;
  Node node = Leaf(word->op, token);
  node.operation = word->operation;
  const int expected = static_cast<int>(word->shapes.size());
  switch (word->op) {
    case Op::kNumber:
      node.number = 3.14159265358979323846;
      return node;
    case Op::kTruth:
      node.number = Key(token) == "VRAI" ? 1 : 0;
      return node;
    case Op::kItem:
      node.kids.push_back(ReadInput('v', token, 0, expected));
      node.kids.push_back(ReadInput('i', token, 1, expected, &node.flag));
      return node;
    default:
      break;
  }
  for (int i = 0; i < expected; ++i) {
    node.kids.push_back(ReadInput(word->shapes[static_cast<std::size_t>(i)], token, i, expected));
  }
  while (inGroup && static_cast<int>(node.kids.size()) < word->maxInputs && !AtStop()) {
    node.kids.push_back(ReadInput('v', token, static_cast<int>(node.kids.size()), word->maxInputs));
  }
  return node;
}

// A word that is neither a primitive nor a procedure: "ent :ier", a word the variable stage cut
// in two around a declared name, read as the joined call; source notation that was not
// converted; or a mistyped name. It is reported and the reading goes on, so that each such word
// of a line is reported: inside "( … )" it takes every value up to ")", elsewhere none. The run
// stops at it.
Node Parser::ReadUnknownWord(bool inGroup) {
  const Token& word = Current();
  ++at_;
  int inputs = 0;
  Finding finding = SplitWordFinding(word, inputs);
  if (inputs < 0) {
    const MessageId* notation = FindUnreadNotation(TextOf(word));
    finding = Finding{static_cast<int>(word.line), reading_.tokens.ColumnOf(word),
                      FindingKind::kUnknownWord,
                      FormatMessage(notation != nullptr ? *notation : MessageId::kUnknownWord,
                                    {TextOf(word)})};
  } else {
    ++at_;  // the value that holds the word's end
  }
  unknownWord_ = finding;
  Node node = FailureNode(finding);
  reading_.findings.push_back(std::move(finding));
  for (int i = 0; i < inputs; ++i) node.kids.push_back(ReadInput('v', word, i, inputs));
  while (inGroup && !AtStop()) node.kids.push_back(ReadExpression(0));
  return node;
}

// The finding of a word cut in two before the value at at_, with the joined call's input count;
// `inputs` is -1 when the word is not that.
Finding Parser::SplitWordFinding(const Token& word, int& inputs) {
  inputs = -1;
  if (AtEnd() || Current().kind != TokenKind::kValue) return {};
  const Token& value = Current();
  const std::uint32_t gap = value.begin - (word.begin + word.length);
  if (gap > 1) return {};
  std::string joined(TextOf(word));
  joined.append(TextOf(value).substr(1));
  std::string key;
  WordKey(joined, key);
  const std::uint32_t name = reading_.tokens.names.Find(key);
  if (const Word* primitive = FindWord(key); primitive != nullptr) {
    inputs = static_cast<int>(primitive->shapes.size());
  } else if (name < procedureByName_.size() && procedureByName_[name] >= 0) {
    inputs = program_.procedures[static_cast<std::size_t>(procedureByName_[name])].inputCount;
  } else {
    return {};
  }
  const std::string shown =
      std::string(TextOf(word)) + std::string(gap, ' ') + std::string(TextOf(value));
  return Finding{static_cast<int>(word.line), reading_.tokens.ColumnOf(word),
                 FindingKind::kUnknownWord,
                 FormatMessage(MessageId::kSplitWord, {shown, joined, TextOf(value).substr(1)})};
}

}  // namespace tortuval::logo
