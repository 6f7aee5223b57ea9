// The program's parts (procedures and the main instructions between them) and its
// instructions. Each instruction that cannot be read is reported once, at its place, and
// becomes a failure node; the reading goes on with the next one.

#include "logo/parser.h"

#include <algorithm>
#include <utility>

#include "logo/leftovers.h"

namespace tortuval::logo {
namespace {

// Deeper nesting of lists, groups and expressions than this is no program a person wrote.
constexpr int kMaxNesting = 200;

bool IsCommand(const Word& word) { return IsInstruction(word.op); }

DeclaredType DeclaredTypeOf(std::string_view typeKey) {
  if (typeKey == "NOMBRE") return DeclaredType::kNumber;
  if (typeKey == "MOT") return DeclaredType::kWord;
  if (typeKey == "LISTE") return DeclaredType::kList;
  return DeclaredType::kOther;
}

}  // namespace

Parser::Nesting::Nesting(Parser& parser) : parser_(parser) {
  if (++parser_.nesting_ > kMaxNesting) {
    parser_.Fail(parser_.AtEnd() ? parser_.LastToken() : parser_.Current(),
                 FindingKind::kUnbalanced, MessageId::kTooDeep);
  }
}

Parser::Parser(Reading& reading) : reading_(reading), program_(reading.program) {
  const Names& names = reading.tokens.names;
  words_.resize(names.Size());
  infix_.resize(names.Size());
  for (std::uint32_t name = 0; name < names.Size(); ++name) {
    words_[name] = FindWord(names.Text(name));
    infix_[name] = FindInfix(names.Text(name));
  }
  procedureByName_.assign(names.Size(), -1);
  globalSlots_.assign(names.Size(), -1);
  localSlots_.assign(names.Size(), -1);
}

void Parser::Run() {
  FindParts();
  for (std::size_t i = 0; i < program_.procedures.size(); ++i) ReadProcedure(i);
  procedure_ = nullptr;
  program_.main.op = Op::kBlock;
  program_.main.line = 1;
  for (const auto& [begin, end] : mainParts_) {
    Node part = ReadRange(begin, end, false);
    for (Node& kid : part.kids) Adopt(program_.main, std::move(kid));
  }
  for (const std::size_t at : strayEnds_) {
    reading_.findings.push_back(
        FindingAt(Tokens()[at], FindingKind::kUnbalanced,
                  FormatMessage(MessageId::kStrayEnd, {TextOf(Tokens()[at])})));
  }
  // Everything after a POUR without FIN belongs to that procedure: the main part stops there.
  bool stopped = false;
  for (const Procedure& procedure : program_.procedures) {
    if (procedure.closed) continue;
    const Token& pour = Tokens()[procedure.firstToken];
    Finding finding = FindingAt(pour, FindingKind::kOpenBlock,
                                FormatMessage(MessageId::kOpenProcedure, {procedure.name}));
    if (!stopped) Adopt(program_.main, FailureNode(finding));
    stopped = true;
    reading_.findings.push_back(std::move(finding));
  }
}

// A procedure starts at a line whose first word is POUR and ends at one whose first word is
// FIN; the lines outside every procedure are the main parts.
void Parser::FindParts() {
  const std::vector<Token>& tokens = Tokens();
  const Names& names = reading_.tokens.names;
  const std::uint32_t pour = names.Find("POUR");
  const std::uint32_t fin = names.Find("FIN");
  const auto lineAfter = [&](std::size_t at) {
    while (at < tokens.size() && tokens[at].kind != TokenKind::kLineEnd) ++at;
    return at < tokens.size() ? at + 1 : at;
  };
  std::size_t partStart = 0;
  Procedure* open = nullptr;
  for (std::size_t at = 0; at < tokens.size(); at = lineAfter(at)) {
    const Token& first = tokens[at];
    if (first.kind != TokenKind::kWord || (first.name != pour && first.name != fin)) continue;
    if (first.name == pour) {
      if (open != nullptr) {
        open->endToken = static_cast<std::uint32_t>(at);
      } else if (at > partStart) {
        mainParts_.emplace_back(partStart, at);
      }
      Procedure& procedure = program_.procedures.emplace_back();
      procedure.firstToken = static_cast<std::uint32_t>(at);
      procedure.line = static_cast<int>(first.line);
      Header& header = headers_.emplace_back();
      std::size_t next = at + 1;
      if (next < tokens.size() && tokens[next].kind == TokenKind::kWord) {
        procedure.name = TextOf(tokens[next]);
        // A later definition of the same name replaces an earlier one.
        procedureByName_[tokens[next].name] = static_cast<int>(program_.procedures.size() - 1);
        ++next;
      }
      header.inputsBegin = next;
      // Calls may come before the procedure's body is read: its input count is known now. An
      // input named twice is one.
      std::vector<std::uint32_t> inputs;
      for (; next < tokens.size() && tokens[next].kind == TokenKind::kValue; ++next) {
        if (std::find(inputs.begin(), inputs.end(), tokens[next].name) == inputs.end()) {
          inputs.push_back(tokens[next].name);
        }
      }
      header.inputsEnd = next;
      procedure.inputCount = static_cast<int>(inputs.size());
      header.bodyBegin = lineAfter(at);
      procedure.endToken = static_cast<std::uint32_t>(tokens.size());
      open = &procedure;
    } else if (open == nullptr) {
      if (at > partStart) mainParts_.emplace_back(partStart, at);
      strayEnds_.push_back(at);
      partStart = lineAfter(at);
    } else {
      open->endToken = static_cast<std::uint32_t>(at);
      open->closed = true;
      open = nullptr;
      partStart = lineAfter(at);
    }
  }
  if (open == nullptr && partStart < tokens.size())
    mainParts_.emplace_back(partStart, tokens.size());
}

// A procedure's inputs and the names DEFINIS introduces in it are its locals.
void Parser::ReadProcedure(std::size_t index) {
  Procedure& procedure = program_.procedures[index];
  const Header& header = headers_[index];
  procedure_ = &procedure;
  for (const std::uint32_t name : localNames_) localSlots_[name] = -1;
  localNames_.clear();
  const auto addLocal = [&](std::uint32_t name) {
    if (name >= localSlots_.size()) localSlots_.resize(name + 1, -1);
    if (localSlots_[name] >= 0) return;
    localSlots_[name] = procedure.localCount++;
    localNames_.push_back(name);
    procedure.localNames.emplace_back(reading_.tokens.names.Text(name));
  };
  for (std::size_t at = header.inputsBegin; at < header.inputsEnd; ++at) {
    addLocal(Tokens()[at].name);
  }
  procedure.inputCount = procedure.localCount;  // an input named twice is one local
  const std::uint32_t definis = reading_.tokens.names.Find("DEFINIS");
  for (std::size_t at = header.bodyBegin; at + 1 < procedure.endToken; ++at) {
    if (Tokens()[at].kind == TokenKind::kWord && Tokens()[at].name == definis &&
        Tokens()[at + 1].kind == TokenKind::kQuoted) {
      addLocal(QuotedName(Tokens()[at + 1]));
    }
  }
  procedure.body = ReadRange(header.bodyBegin, procedure.endToken, procedure.closed);
  if (procedure.name.empty()) {
    const Token& pour = Tokens()[procedure.firstToken];
    Finding finding =
        FindingAt(pour, FindingKind::kUnknownWord, FormatMessage(MessageId::kUnnamedProcedure, {}));
    procedure.body.kids.insert(procedure.body.kids.begin(), FailureNode(finding));
    reading_.findings.push_back(std::move(finding));
  }
}

Node Parser::ReadRange(std::size_t begin, std::size_t end, bool endsAtFin) {
  at_ = begin;
  end_ = std::min(end, Tokens().size());
  endsAtFin_ = endsAtFin;
  nesting_ = 0;
  groupDepth_ = 0;
  parenDepth_ = 0;
  pointDepth_ = -1;
  Node block;
  block.op = Op::kBlock;
  block.line = begin < Tokens().size() ? static_cast<int>(Tokens()[begin].line) : 1;
  Node read = ReadInstructions(Enclosure::kRange, begin);
  block.kids = std::move(read.kids);
  block.callsOrWaits = read.callsOrWaits;
  return block;
}

// Instructions up to the end of the range, or up to the "]" that closes a block.
Node Parser::ReadInstructions(Enclosure enclosure, std::size_t opening) {
  const int savedParens = std::exchange(parenDepth_, 0);
  Node block;
  block.op = Op::kBlock;
  block.line = static_cast<int>(Tokens()[std::min(opening, Tokens().size() - 1)].line);
  while (true) {
    while (Is(TokenKind::kLineEnd)) ++at_;
    if (AtEnd()) {
      if (enclosure == Enclosure::kRange) break;
      Fail(Tokens()[opening], FindingKind::kOpenBlock,
           endsAtFin_ ? MessageId::kOpenBlockAtFin : MessageId::kOpenBlockAtEnd);
    }
    const std::size_t start = at_;
    try {
      if (Is(TokenKind::kCloseList)) {
        if (enclosure != Enclosure::kRange) {
          ++at_;
          break;
        }
        Fail(Current(), FindingKind::kUnbalanced, MessageId::kUnopenedList);
      }
      if (Is(TokenKind::kCloseGroup)) {
        Fail(Current(), FindingKind::kUnbalanced, MessageId::kUnopenedGroup);
      }
      Adopt(block, ReadInstruction());
    } catch (const ReadFailure& failure) {
      // What else cannot be read on the line of an unknown word mostly follows from that word:
      // the word is the reason given.
      const FindingKind kind = failure.finding.kind;
      if (failure.finding.line == unknownWord_.line && kind != FindingKind::kOpenBlock &&
          kind != FindingKind::kUnbalanced) {
        Adopt(block, FailureNode(unknownWord_));
      } else {
        Adopt(block, FailureNode(failure.finding));
        reading_.findings.push_back(failure.finding);
      }
      if (at_ == start) ++at_;
      SkipRestOfInstruction(start);
      nesting_ = 0;
      groupDepth_ = 0;
      parenDepth_ = 0;
      pointDepth_ = -1;
    }
  }
  parenDepth_ = savedParens;
  return block;
}

// After a failure: on to the end of the line, past the lists still open in the instruction
// and the whole lists that start on the line, up to a "]" that closes an outer list.
void Parser::SkipRestOfInstruction(std::size_t start) {
  int depth = 0;
  for (std::size_t at = start; at < at_ && at < end_; ++at) {
    if (Tokens()[at].kind == TokenKind::kOpenList) ++depth;
    if (Tokens()[at].kind == TokenKind::kCloseList) --depth;
  }
  for (; !AtEnd(); ++at_) {
    const TokenKind kind = Current().kind;
    if (kind == TokenKind::kOpenList) {
      ++depth;
    } else if (kind == TokenKind::kCloseList) {
      if (depth <= 0) return;
      --depth;
    } else if (kind == TokenKind::kLineEnd && depth <= 0) {
      return;
    }
  }
}

Node Parser::ReadInstruction() {
  Nesting nesting(*this);
  const Token& token = Current();
  if (token.kind == TokenKind::kWord && ProcedureOf(token) < 0) {
    if (const Word* word = WordOf(token); word != nullptr && IsCommand(*word)) {
      return ReadCommand(*word);
    }
  }
  const std::size_t start = at_;
  Node node = ReadExpression(0);
  if (node.op == Op::kCall || node.op == Op::kFailure) return node;
  Fail(Tokens()[start], FindingKind::kUnknownWord, MessageId::kUnusedValue,
       {TextOf(Tokens()[start])});
}

Node Parser::ReadCommand(const Word& word) {
  const Token& token = Current();
  ++at_;
  Node node = Leaf(word.op, token);
  const std::string_view key = Key(token);
  const int expected = static_cast<int>(word.shapes.size());
  switch (word.op) {
    case Op::kDefine:
    case Op::kAssign:
      TakeName(node, token);
      if (word.op == Op::kAssign) {
        Adopt(node, ReadInput('v', token, 1, expected));
      } else {
        if (AtStop()) FailMissingInput(token, expected, 1);
        if (!Is(TokenKind::kWord))
          Fail(token, FindingKind::kMissingInput, MessageId::kTypeExpected);
        node.declaredType = DeclaredTypeOf(Key(Current()));
        ++at_;
      }
      return node;
    case Op::kStep:
    case Op::kReplace:
      TakeVariable(node, token, expected);
      if (word.op == Op::kStep) {
        node.step = key == "DEC" ? StepDirection::kDown : StepDirection::kUp;
      } else {
        Adopt(node, ReadInput('b', token, 1, expected));
        Adopt(node, ReadInput('i', token, 2, expected, &node.position));
      }
      return node;
    case Op::kPrint:
      node.endsLine = key == "ECRISLIGNE";
      break;
    default:
      break;
  }
  for (int i = 0; i < expected; ++i) {
    Adopt(node, ReadInput(word.shapes[static_cast<std::size_t>(i)], token, i, expected));
  }
  if (word.op == Op::kRepeat && key == "REPETE" && MarkCountedLoop(node)) {
    node.text = node.local ? procedure_->localNames[static_cast<std::size_t>(node.variable)]
                           : program_.globalNames[static_cast<std::size_t>(node.variable)];
  }
  return node;
}

// The variable a SOIT or DEFINIS introduces: the node takes its slot and its place.
void Parser::TakeName(Node& node, const Token& word) {
  if (AtStop()) FailMissingInput(word, 2, 0);
  if (!Is(TokenKind::kQuoted)) {
    Fail(word, FindingKind::kMissingInput, MessageId::kNameExpected, {TextOf(word)});
  }
  const Node variable = VariableNode(QuotedName(Current()), Current());
  node.local = variable.local;
  node.variable = variable.variable;
  node.column = variable.column;
  ++at_;
}

void Parser::TakeVariable(Node& node, const Token& word, int expected) {
  if (AtStop()) FailMissingInput(word, expected, 0);
  if (!Is(TokenKind::kValue) && !Is(TokenKind::kQuoted)) {
    Fail(word, FindingKind::kMissingInput, MessageId::kVariableExpected, {TextOf(word)});
  }
  if (Current().length == 1) Fail(Current(), FindingKind::kUndeclaredValue, MessageId::kEmptyValue);
  const Node variable = VariableNode(QuotedName(Current()), Current());
  node.local = variable.local;
  node.variable = variable.variable;
  node.column = variable.column;
  ++at_;
}

// ---- Helpers.

bool Parser::AtStop() const {
  if (AtEnd()) return true;
  const TokenKind kind = Current().kind;
  return kind == TokenKind::kLineEnd || kind == TokenKind::kCloseGroup ||
         kind == TokenKind::kCloseList;
}

const Word* Parser::WordOf(const Token& token) const {
  return token.kind == TokenKind::kWord && token.name < words_.size() ? words_[token.name]
                                                                      : nullptr;
}

const Infix* Parser::InfixOf(const Token& token) const {
  if (token.kind != TokenKind::kWord && token.kind != TokenKind::kOperator) return nullptr;
  return token.name < infix_.size() ? infix_[token.name] : nullptr;
}

int Parser::ProcedureOf(const Token& token) const {
  if (token.kind != TokenKind::kWord || token.name >= procedureByName_.size()) return -1;
  return procedureByName_[token.name];
}

Node Parser::Leaf(Op op, const Token& token) const {
  Node node;
  node.op = op;
  node.line = static_cast<int>(token.line);
  node.column = reading_.tokens.ColumnOf(token);
  return node;
}

Node Parser::Numbered(Node constant) {
  constant.constant = program_.constantCount++;
  return constant;
}

// A procedure's locals first; any other name is a global.
Node Parser::VariableNode(std::uint32_t name, const Token& token) {
  Node node = Leaf(Op::kVariable, token);
  if (procedure_ != nullptr && name < localSlots_.size() && localSlots_[name] >= 0) {
    node.local = true;
    node.variable = localSlots_[name];
    return node;
  }
  if (name >= globalSlots_.size()) globalSlots_.resize(name + 1, -1);
  if (globalSlots_[name] < 0) {
    globalSlots_[name] = static_cast<int>(program_.globalNames.size());
    program_.globalNames.emplace_back(reading_.tokens.names.Text(name));
  }
  node.variable = globalSlots_[name];
  return node;
}

// The converter writes the source's strings "text" as quoted words: a closing mark belongs to
// the notation, not to the name.
std::uint32_t Parser::QuotedName(const Token& token) {
  std::string_view name = TextOf(token).substr(1);
  if (token.kind != TokenKind::kQuoted || name.size() < 2 || name.back() != '"') return token.name;
  name.remove_suffix(1);
  return reading_.tokens.names.Intern(name);
}

const Token& Parser::LastToken() const { return Tokens()[std::min(end_, Tokens().size()) - 1]; }

Node Parser::FailureNode(const Finding& finding) const {
  Node node;
  node.op = Op::kFailure;
  node.line = finding.line;
  node.column = finding.column;
  node.text = finding.message;
  // A sentence of its own when the run stops on it.
  if (!node.text.empty() && node.text[0] >= 'a' && node.text[0] <= 'z') node.text[0] -= 'a' - 'A';
  return node;
}

Finding Parser::FindingAt(const Token& at, FindingKind kind, std::string message) const {
  return Finding{static_cast<int>(at.line), reading_.tokens.ColumnOf(at), kind, std::move(message)};
}

void Parser::Fail(const Token& at, FindingKind kind, MessageId message,
                  std::initializer_list<std::string_view> arguments) const {
  throw ReadFailure{FindingAt(at, kind, FormatMessage(message, arguments))};
}

}  // namespace tortuval::logo
