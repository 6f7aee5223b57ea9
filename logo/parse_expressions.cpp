// Inputs, expressions and calls: each input of a call is a whole infix expression, read before
// the end of its line, list or group. Groups close on their line, unless a line inside them ends
// with an operator.

#include <string>

#include "base/number_text.h"
#include "logo/leftovers.h"
#include "logo/parser.h"

namespace tortuval::logo {
namespace {

// The tree of a chain "a + b + c …" is as deep as the chain is long.
constexpr int kMaxChain = 2000;

}  // namespace

Node Parser::ReadInput(char shape, const Token& word, int received, int expected,
                       Position* position) {
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
        if (position != nullptr) *position = Position::kBracketedFromZero;
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
  const std::string count = FormatMessage(expected == 1 ? MessageId::kOneInput : MessageId::kInputs,
                                          {std::to_string(expected)});
  Fail(word, FindingKind::kMissingInput,
       received == 0 ? MessageId::kNoInput : MessageId::kMissingInputs,
       {TextOf(word), count, std::to_string(received), before});
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
    if (AtStop())
      Fail(sign, FindingKind::kMissingInput, MessageId::kMissingOperand, {TextOf(sign)});
    Node right = ReadExpression(infix->precedence + 1);
    Node node = Leaf(infix->op, sign);
    node.kids.reserve(2);
    Adopt(node, std::move(left));
    Adopt(node, std::move(right));
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
    Adopt(node, std::move(operand));
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
      return Numbered(ReadLiteralList());
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
      Finding finding =
          FindingAt(token, FindingKind::kUnknownWord, FormatMessage(*notation, {TextOf(token)}));
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
  Adopt(node, VariableNode(reading_.tokens.names.Intern(word), token));
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
    node.procedure = procedure;
    node.callsOrWaits = true;
    if (factorial) {
      node.leftover = Leftover::kFactorial;
      node.text = TextOf(token);
    }
    const int inputs = program_.procedures[static_cast<std::size_t>(procedure)].inputCount;
    for (int i = 0; i < inputs; ++i) Adopt(node, ReadInput('v', token, i, inputs));
    return node;
  }
  const Word* word = WordOf(token);
  if (word == nullptr) return ReadUnknownWord(inGroup);
  if (IsInstruction(word->op)) {
    Fail(token, FindingKind::kUnknownWord, MessageId::kNoValue, {TextOf(token)});
  }
  ++at_;
  Node node = Leaf(word->op, token);
  node.operation = word->operation;
  node.callsOrWaits = WaitsForUser(node);
  const int expected = static_cast<int>(word->shapes.size());
  switch (word->op) {
    case Op::kNumber:
      node.number = 3.14159265358979323846;
      return node;
    case Op::kTruth:
      node.truth = Key(token) == "VRAI";
      return node;
    case Op::kItem:
      Adopt(node, ReadInput('v', token, 0, expected));
      Adopt(node, ReadInput('i', token, 1, expected, &node.position));
      return node;
    default:
      break;
  }
  for (int i = 0; i < expected; ++i) {
    Adopt(node, ReadInput(word->shapes[static_cast<std::size_t>(i)], token, i, expected));
  }
  while (inGroup && static_cast<int>(node.kids.size()) < word->maxInputs && !AtStop()) {
    Adopt(node, ReadInput('v', token, static_cast<int>(node.kids.size()), word->maxInputs));
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
    finding = FindingAt(
        word, FindingKind::kUnknownWord,
        FormatMessage(notation != nullptr ? *notation : MessageId::kUnknownWord, {TextOf(word)}));
  } else {
    ++at_;  // the value that holds the word's end
  }
  unknownWord_ = finding;
  Node node = FailureNode(finding);
  reading_.findings.push_back(std::move(finding));
  for (int i = 0; i < inputs; ++i) Adopt(node, ReadInput('v', word, i, inputs));
  while (inGroup && !AtStop()) Adopt(node, ReadExpression(0));
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
  return FindingAt(word, FindingKind::kUnknownWord,
                   FormatMessage(MessageId::kSplitWord, {shown, joined, TextOf(value).substr(1)}));
}

}  // namespace tortuval::logo
