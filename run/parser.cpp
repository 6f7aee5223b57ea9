#include "run/parser.h"

#include <cmath>
#include <unordered_map>
#include <utility>

#include "logo/reader.h"
#include "logo/vocabulary.h"
#include "run/machine.h"

namespace tortuval::run {
namespace {

using logo::Token;
using logo::TokenKind;

// Deeper nesting of lists, groups and expressions than this is no program a person wrote.
constexpr int kMaxNesting = 200;
constexpr int kMaxChain = 2000;

struct ParseFailure {
  std::string message;  // Windows-1252
  int line;
};

Node Leaf(Op op, int line) {
  Node node;
  node.op = op;
  node.line = line;
  return node;
}

Node Failure(const ParseFailure& failure) {
  Node node = Leaf(Op::kFailure, failure.line);
  node.value = Value::Word(failure.message);
  return node;
}

Op BinaryOp(std::string_view name) {
  static const std::unordered_map<std::string_view, Op> ops = {
      {"OU", Op::kOr},        {"ET", Op::kAnd},          {"=", Op::kEqual},
      {"<>", Op::kNotEqual},  {"<", Op::kLess},          {">", Op::kGreater},
      {"<=", Op::kLessEqual}, {">=", Op::kGreaterEqual}, {"+", Op::kAdd},
      {"-", Op::kSubtract},   {"*", Op::kMultiply},      {"/", Op::kDivide},
      {"%", Op::kRemainder},  {"DIV", Op::kQuotient},    {"^", Op::kPower},
  };
  return ops.at(name);
}

class Parser {
 public:
  explicit Parser(std::string_view text) : program_(logo::ReadProgram(text)) {}

  Code Parse() {
    const std::vector<logo::Procedure>& procedures = program_.procedures;
    std::string key;
    for (std::size_t i = 0; i < procedures.size(); ++i) {
      ProcedureCode& code = code_.procedures.emplace_back();
      code.name = std::string(procedures[i].name);
      code.inputCount = static_cast<int>(procedures[i].inputs.size());
      logo::WordKey(procedures[i].name, key);
      // A later definition of the same name replaces an earlier one.
      if (!key.empty()) procedureByKey_[key] = static_cast<int>(i);
    }
    for (std::size_t i = 0; i < procedures.size(); ++i) ParseProcedure(i);
    procedure_ = nullptr;
    code_.main = Leaf(Op::kBlock, 1);
    for (const auto& [begin, end] : program_.mainParts) {
      Node part = ParseRange(begin, end);
      for (Node& kid : part.kids) code_.main.kids.push_back(std::move(kid));
    }
    // Everything after a POUR without FIN belongs to that procedure: the main part stops there.
    for (const logo::Procedure& procedure : procedures) {
      if (procedure.closed) continue;
      code_.main.kids.push_back(Failure({Message("« POUR %s » n'a pas de « FIN ».", procedure.name),
                                         Tokens()[procedure.header].line}));
      break;
    }
    return std::move(code_);
  }

 private:
  // ---- Tokens.

  const std::vector<Token>& Tokens() const { return program_.stream.tokens; }
  bool AtEnd() const { return at_ >= end_; }
  const Token& Current() const { return Tokens()[at_]; }
  int Line() const {
    if (at_ < end_) return Current().line;
    return at_ > 0 && at_ - 1 < Tokens().size() ? Tokens()[at_ - 1].line : 1;
  }
  bool Is(TokenKind kind) const { return !AtEnd() && Current().kind == kind; }
  std::string_view Key(const Token& token) const { return program_.stream.names.Key(token.name); }

  void SkipLineEnds() {
    while (Is(TokenKind::kLineEnd)) ++at_;
  }
  // Inside parentheses and bracketed expressions a line end is a blank.
  void SkipLineEndsInGroup() {
    if (groupDepth_ > 0) SkipLineEnds();
  }

  [[noreturn]] void Fail(std::string message) const {
    throw ParseFailure{std::move(message), Line()};
  }

  void Expect(TokenKind kind, std::string_view missingMessage) {
    SkipLineEndsInGroup();
    if (!Is(kind)) Fail(Message(missingMessage));
    if (kind == TokenKind::kCloseList) --openLists_;
    ++at_;
  }

  void OpenList() {
    ++openLists_;
    ++at_;
  }

  struct Nesting {
    explicit Nesting(Parser& parser) : parser_(parser) {
      if (++parser_.nesting_ > kMaxNesting)
        parser_.Fail(Message("Le programme est trop imbriqué."));
    }
    ~Nesting() { --parser_.nesting_; }
    Parser& parser_;
  };

  // ---- Variables: a procedure's inputs and DEFINIS are its locals, other names globals.

  Node VariableNode(std::string_view name, int line) {
    Node node = Leaf(Op::kVariable, line);
    if (procedure_ != nullptr) {
      const auto local = locals_.find(std::string(name));
      if (local != locals_.end()) {
        node.local = true;
        node.slot = local->second;
        return node;
      }
    }
    const auto [global, added] =
        globals_.try_emplace(std::string(name), static_cast<int>(code_.globalNames.size()));
    if (added) code_.globalNames.emplace_back(name);
    node.slot = global->second;
    return node;
  }

  // ":mot.length" is the source's length of a word, which the converter leaves as it stands
  // (it rewrites only a list's length, into "card"): it is read as the length of ":mot".
  Node ValueOf(std::string_view name, int line) {
    constexpr std::string_view kLength = ".length";
    if (name.size() <= kLength.size() || !name.ends_with(kLength)) return VariableNode(name, line);
    Node node = Leaf(Op::kPrimitive, line);
    node.builtin = FindBuiltin("CARD");
    node.kids.push_back(VariableNode(name.substr(0, name.size() - kLength.size()), line));
    return node;
  }

  void ParseProcedure(std::size_t index) {
    const logo::Procedure& procedure = program_.procedures[index];
    ProcedureCode& code = code_.procedures[index];
    procedure_ = &code;
    locals_.clear();
    const auto addLocal = [&](std::string_view name) {
      if (locals_.try_emplace(std::string(name), code.localCount).second) {
        code.localNames.emplace_back(name);
        ++code.localCount;
      }
    };
    for (const std::string_view input : procedure.inputs) addLocal(input);
    code.inputCount = code.localCount;  // an input named twice is one local
    for (std::size_t at = procedure.bodyBegin; at + 1 < procedure.bodyEnd; ++at) {
      if (logo::IsWord(Tokens()[at], "DEFINIS") && Tokens()[at + 1].kind == TokenKind::kQuoted) {
        addLocal(QuotedName(Tokens()[at + 1]));
      }
    }
    code.body = ParseRange(procedure.bodyBegin, procedure.bodyEnd);
    if (code.name.empty()) {
      code.body.kids.insert(
          code.body.kids.begin(),
          Failure({Message("« POUR » sans nom de procédure."), Tokens()[procedure.header].line}));
    }
  }

  static std::string_view QuotedName(const Token& token) {
    std::string_view name = logo::NameOf(token);
    // The converter writes the source's strings "text" as quoted words: the closing mark
    // belongs to the notation, not to the word.
    if (name.size() > 1 && name.back() == '"') name.remove_suffix(1);
    return name;
  }

  // ---- Instructions.

  Node ParseRange(std::size_t begin, std::size_t end) {
    at_ = begin;
    end_ = std::min(end, Tokens().size());
    openLists_ = 0;
    groupDepth_ = 0;
    nesting_ = 0;
    return ParseInstructions(false);
  }

  Node ParseInstructions(bool inList) {
    const int line = Line();
    Nesting nesting(*this);
    const int savedGroups = std::exchange(groupDepth_, 0);
    Node block = Leaf(Op::kBlock, line);
    while (true) {
      SkipLineEnds();
      if (AtEnd()) {
        if (inList) throw ParseFailure{Message("Il manque un crochet fermant « ] »."), line};
        break;
      }
      if (Is(TokenKind::kCloseList)) {
        if (inList) {
          --openLists_;
          ++at_;
          break;
        }
        block.kids.push_back(Failure({Message("Crochet fermant « ] » en trop."), Line()}));
        ++at_;
        continue;
      }
      const int listsBefore = openLists_;
      const int nestingBefore = nesting_;
      try {
        block.kids.push_back(ParseInstruction());
      } catch (const ParseFailure& failure) {
        block.kids.push_back(Failure(failure));
        SkipRestOfInstruction(openLists_ - listsBefore);
        openLists_ = listsBefore;
        nesting_ = nestingBefore;
        groupDepth_ = 0;
      }
    }
    groupDepth_ = savedGroups;
    return block;
  }

  // After a failure: on to the end of the line, past the lists still open in the instruction
  // and the whole lists that start on the line, up to a "]" that closes an outer list.
  void SkipRestOfInstruction(int open) {
    int depth = open;
    while (!AtEnd()) {
      const TokenKind kind = Current().kind;
      if (kind == TokenKind::kOpenList) {
        ++depth;
      } else if (kind == TokenKind::kCloseList) {
        if (depth == 0) return;
        --depth;
      } else if (kind == TokenKind::kLineEnd && depth == 0) {
        return;
      }
      ++at_;
    }
  }

  Node ParseInstruction() {
    Nesting nesting(*this);
    const Token& token = Current();
    if (token.kind == TokenKind::kWord) {
      if (Procedure(token) < 0) {
        if (const Builtin* builtin = FindBuiltin(Key(token));
            builtin != nullptr && IsCommand(*builtin)) {
          return ParseCommand(*builtin);
        }
      }
    }
    const std::size_t start = at_;
    Node node = ParseExpression(0);
    if (node.op == Op::kCall || node.op == Op::kFailure) return node;
    const Token& first = Tokens()[start];
    Fail(Message("Que faire de « %s » ?", first.text));
  }

  static bool IsCommand(const Builtin& builtin) { return builtin.op >= Op::kBlock; }

  Node ParseCommand(const Builtin& builtin) {
    const Token& word = Current();
    ++at_;
    Node node = Leaf(builtin.op, word.line);
    const std::string_view key = Key(word);
    switch (builtin.op) {
      case Op::kDefine:
      case Op::kAssign: {
        TakeName(node, word);
        if (builtin.op == Op::kAssign) {
          node.kids.push_back(ParseInput('v', word));
        } else {
          if (!Is(TokenKind::kWord)) Fail(Message("Il manque le type après « DEFINIS »."));
          const std::string_view type = Key(Current());
          node.number = type == "NOMBRE" ? 0 : type == "MOT" ? 1 : type == "LISTE" ? 2 : 3;
          ++at_;
        }
        return node;
      }
      case Op::kStep:
      case Op::kReplace:
        TakeVariable(node, word);
        node.number = key == "DEC" ? -1 : 1;
        if (builtin.op == Op::kReplace) {
          node.kids.push_back(ParseInput('b', word));
          node.kids.push_back(ParseInput('i', word, &node.flag));
        }
        return node;
      case Op::kPrint:
        node.flag = key == "ECRISLIGNE";
        break;
      default:
        break;
    }
    for (const char shape : builtin.shapes) node.kids.push_back(ParseInput(shape, word));
    if (builtin.op == Op::kRepeat) MarkCountedLoop(node, key == "REPETE");
    return node;
  }

  void TakeName(Node& node, const Token& word) {
    if (!Is(TokenKind::kQuoted)) {
      Fail(Message("« %s » attend un nom de variable écrit \"nom.", word.text));
    }
    const Node variable = VariableNode(QuotedName(Current()), node.line);
    node.local = variable.local;
    node.slot = variable.slot;
    ++at_;
  }

  void TakeVariable(Node& node, const Token& word) {
    if (!Is(TokenKind::kValue) && !Is(TokenKind::kQuoted)) {
      Fail(Message("« %s » attend une variable écrite :nom.", word.text));
    }
    const Node variable = VariableNode(QuotedName(Current()), node.line);
    node.local = variable.local;
    node.slot = variable.slot;
    ++at_;
  }

  // The converter ends each pass of a counted loop with "TESTE … SIVRAI INC :i SIFAUX DEC :i":
  // such a loop also ends when its counter has been moved past its last value.
  static void MarkCountedLoop(Node& node, bool counted) {
    if (!counted || node.kids[1].op != Op::kBlock) return;
    const std::vector<Node>& body = node.kids[1].kids;
    if (body.size() < 3) return;
    const Node& test = body[body.size() - 3];
    const Node& ifTrue = body[body.size() - 2];
    const Node& ifFalse = body[body.size() - 1];
    if (test.op != Op::kTest || ifTrue.op != Op::kIfTrue || ifFalse.op != Op::kIfFalse) return;
    const Node& up = ifTrue.kids[0];
    const Node& down = ifFalse.kids[0];
    if (up.op != Op::kStep || down.op != Op::kStep || up.number != 1 || down.number != -1 ||
        up.slot != down.slot || up.local != down.local) {
      return;
    }
    node.flag = true;
    node.slot = up.slot;
    node.local = up.local;
  }

  // ---- Inputs.

  bool InputMissing() {
    SkipLineEndsInGroup();
    return AtEnd() || Is(TokenKind::kLineEnd) || Is(TokenKind::kCloseGroup) ||
           Is(TokenKind::kCloseList);
  }

  Node ParseInput(char shape, const Token& word, bool* bracketed = nullptr) {
    if (InputMissing()) Fail(Message("Il manque une entrée à « %s ».", word.text));
    const bool list = Is(TokenKind::kOpenList);
    switch (shape) {
      case 'g':
        if (Is(TokenKind::kOpenGroup)) return ParseGroup();
        break;
      case 't':
        if (list) return TextList();
        break;
      case 'r':
        if (list) {
          OpenList();
          return ParseInstructions(true);
        }
        return ParseInstruction();
      case 'i':
      case 'b':
        if (list) {
          if (bracketed != nullptr) *bracketed = true;
          return BracketedExpression();
        }
        break;
      case 'p':
        if (list) return PointList();
        break;
      case 's':
        return SortOrder(word);
      default:
        break;
    }
    return ParseExpression(0);
  }

  // "[ text ]" given to a primitive that writes it: its bytes as written, less the blank that
  // the converter puts inside each bracket.
  Node TextList() {
    const int line = Line();
    const std::size_t open = at_;
    int depth = 0;
    std::size_t close = open;
    for (; close < end_; ++close) {
      const TokenKind kind = Tokens()[close].kind;
      if (kind == TokenKind::kLineEnd) break;
      if (kind == TokenKind::kOpenList) ++depth;
      if (kind == TokenKind::kCloseList && --depth == 0) break;
    }
    if (close >= end_ || Tokens()[close].kind != TokenKind::kCloseList) {
      Fail(Message("Il manque un crochet fermant « ] »."));
    }
    const char* from = Tokens()[open].text.data() + 1;
    const char* to = Tokens()[close].text.data();
    std::string_view text(from, static_cast<std::size_t>(to - from));
    if (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    if (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    at_ = close + 1;
    Node node = Leaf(Op::kConstant, line);
    node.value = Value::Word(std::string(text));
    return node;
  }

  Node BracketedExpression() {
    OpenList();
    ++groupDepth_;
    Node node = ParseExpression(0);
    --groupDepth_;
    Expect(TokenKind::kCloseList, "Il manque un crochet fermant « ] ».");
    return node;
  }

  // "[ x y  0 ]". The converter spaces a sign as an operator, "[ 3 - 4  0 ]" for (3, -4):
  // when the items read with "-" as an operator are not three, "-" starts an item.
  Node PointList() {
    const std::size_t start = at_;
    const int lists = openLists_;
    Node node = PointItems(false);
    if (node.kids.size() != 3) {
      const std::size_t end = at_;
      at_ = start;
      openLists_ = lists;
      Node split = PointItems(true);
      if (split.kids.size() == 3) return split;
      at_ = end;
    }
    return node;
  }

  Node PointItems(bool minusStartsItem) {
    Node node = Leaf(Op::kPointList, Line());
    OpenList();
    ++groupDepth_;
    const int savedDepth = std::exchange(pointDepth_, minusStartsItem ? groupDepth_ : -1);
    while (true) {
      SkipLineEnds();
      if (AtEnd() || Is(TokenKind::kCloseList)) break;
      node.kids.push_back(ParseExpression(0));
    }
    pointDepth_ = savedDepth;
    --groupDepth_;
    Expect(TokenKind::kCloseList, "Il manque un crochet fermant « ] ».");
    return node;
  }

  // "[ < NOMBRE ]" sorts rising, "[ > NOMBRE ]" falling.
  Node SortOrder(const Token& word) {
    if (!Is(TokenKind::kOpenList))
      Fail(Message("« %s » attend un ordre comme [ < NOMBRE ].", word.text));
    Node node = Leaf(Op::kNumber, Line());
    node.number = 1;
    OpenList();
    while (!AtEnd() && !Is(TokenKind::kCloseList) && !Is(TokenKind::kLineEnd)) {
      if (Current().text == ">") node.number = -1;
      ++at_;
    }
    Expect(TokenKind::kCloseList, "Il manque un crochet fermant « ] ».");
    return node;
  }

  // ---- Expressions.

  Node ParseExpression(int minPrecedence) {
    Nesting nesting(*this);
    Node left = ParseUnary();
    return ParseInfix(std::move(left), minPrecedence);
  }

  const logo::InfixOperator* InfixAt() {
    SkipLineEndsInGroup();
    if (!Is(TokenKind::kOperator) && !Is(TokenKind::kWord)) return nullptr;
    return logo::FindInfix(Current().text);
  }

  Node ParseInfix(Node left, int minPrecedence) {
    int chain = 0;
    while (const logo::InfixOperator* infix = InfixAt()) {
      if (infix->precedence < minPrecedence) break;
      if (groupDepth_ == pointDepth_ && Current().text == "-") break;
      // The tree of a chain "a + b + c …" is as deep as the chain is long.
      if (++chain > kMaxChain) Fail(Message("L'expression est trop longue."));
      const int line = Line();
      const std::string_view name = Key(Current());
      ++at_;
      SkipLineEnds();  // an operator at the end of a line continues on the next
      Node right = ParseExpression(infix->precedence + 1);
      Node node = Leaf(BinaryOp(name), line);
      node.kids.push_back(std::move(left));
      node.kids.push_back(std::move(right));
      left = std::move(node);
    }
    return left;
  }

  Node ParseUnary() {
    SkipLineEndsInGroup();
    if (Is(TokenKind::kOperator) && (Current().text == "-" || Current().text == "+")) {
      const bool minus = Current().text == "-";
      const int line = Line();
      ++at_;
      if (InputMissing()) Fail(Message("Il manque une valeur après « - »."));
      Node operand = ParseExpression(6);
      if (!minus) return operand;
      Node node = Leaf(Op::kNegate, line);
      node.kids.push_back(std::move(operand));
      return node;
    }
    return ParsePrimary();
  }

  Node ParsePrimary() {
    if (InputMissing()) Fail(Message("Il manque une valeur."));
    const Token& token = Current();
    switch (token.kind) {
      case TokenKind::kNumber: {
        Node node = Leaf(Op::kNumber, token.line);
        if (!ParseNumber(token.text, node.number))
          Fail(Message("Nombre illisible « %s ».", token.text));
        ++at_;
        return node;
      }
      case TokenKind::kValue:
        ++at_;
        return ValueOf(logo::NameOf(token), token.line);
      case TokenKind::kQuoted:
        return QuotedWord();
      case TokenKind::kOpenGroup:
        return ParseGroup();
      case TokenKind::kOpenList:
        return LiteralList();
      case TokenKind::kWord:
        if (Node number; SplitExponent(number)) return number;
        return ParseCall(false);
      default:
        Fail(Message("« %s » est inattendu ici.", token.text));
    }
  }

  // The converter writes a source string "deux mots" as "deux mots ": the word runs to the
  // closing mark when one ends a later word of the line.
  Node QuotedWord() {
    const Token& token = Current();
    Node node = Leaf(Op::kConstant, token.line);
    std::size_t close = at_;
    if (token.text.size() < 2 || token.text.back() != '"') {
      for (std::size_t at = at_ + 1; at < end_ && Tokens()[at].kind != TokenKind::kLineEnd; ++at) {
        if (Tokens()[at].text.back() == '"') {
          close = at;
          break;
        }
      }
    }
    if (close == at_) {
      node.value = Value::Word(std::string(QuotedName(token)));
    } else {
      const char* from = token.text.data() + 1;
      const char* to = Tokens()[close].text.data() + Tokens()[close].text.size() - 1;
      // The converter puts one blank before the closing mark of every source string ("bonjour"
      // becomes "bonjour "): that blank is the notation's, not the string's.
      if (to > from && to[-1] == ' ') --to;
      node.value = Value::Word(std::string(from, static_cast<std::size_t>(to - from)));
    }
    at_ = close + 1;
    return node;
  }

  // "1e - 8": the converter leaves the sign of some exponents spaced apart from their number.
  bool SplitExponent(Node& node) {
    const std::string_view text = Current().text;
    if (text.size() < 2 || (text.back() != 'e' && text.back() != 'E') || at_ + 2 >= end_) {
      return false;
    }
    double mantissa = 0;
    const Token& sign = Tokens()[at_ + 1];
    const Token& exponent = Tokens()[at_ + 2];
    if (!ParseNumber(text.substr(0, text.size() - 1), mantissa) ||
        sign.kind != TokenKind::kOperator || (sign.text != "-" && sign.text != "+") ||
        exponent.kind != TokenKind::kNumber) {
      return false;
    }
    double power = 0;
    if (!ParseNumber(exponent.text, power)) return false;
    node = Leaf(Op::kNumber, Current().line);
    node.number = mantissa * std::pow(10.0, sign.text == "-" ? -power : power);
    at_ += 3;
    return true;
  }

  Node ParseGroup() {
    Nesting nesting(*this);
    ++at_;
    ++groupDepth_;
    SkipLineEnds();
    Node node;
    if (Is(TokenKind::kWord) && !logo::FindInfix(Current().text)) {
      node = ParseInfix(ParseCall(true), 0);
    } else {
      node = ParseExpression(0);
    }
    SkipLineEnds();
    if (!Is(TokenKind::kCloseGroup)) {
      if (AtEnd() || Is(TokenKind::kCloseList))
        Fail(Message("Il manque une parenthèse fermante « ) »."));
      Fail(Message("Trop de valeurs entre parenthèses (à partir de « %s »).", Current().text));
    }
    ++at_;
    --groupDepth_;
    return node;
  }

  // A list written in the program: its words and numbers, not evaluated.
  Node LiteralList() {
    Nesting nesting(*this);
    Node node = Leaf(Op::kConstant, Line());
    OpenList();
    List items;
    while (true) {
      SkipLineEnds();
      if (AtEnd()) Fail(Message("Il manque un crochet fermant « ] »."));
      const Token& token = Current();
      if (token.kind == TokenKind::kCloseList) break;
      if (token.kind == TokenKind::kOpenList) {
        items.push_back(LiteralList().value);
        continue;
      }
      double number = 0;
      items.push_back(ParseNumber(token.text, number) ? Value::Number(number)
                                                      : Value::Word(std::string(token.text)));
      ++at_;
    }
    Expect(TokenKind::kCloseList, "Il manque un crochet fermant « ] ».");
    node.value = Value::MakeList(std::move(items));
    return node;
  }

  int Procedure(const Token& token) const {
    std::string key(Key(token));
    // The converter calls the factorial by its source name and brings the procedure "fact"
    // for it.
    if (key == "PSEUDAL_FACTORIELLE" && !procedureByKey_.contains(key)) key = "FACT";
    const auto found = procedureByKey_.find(key);
    return found == procedureByKey_.end() ? -1 : found->second;
  }

  // A word that names an operation or a procedure, with its inputs; `inGroup` when it opens
  // "( … )", where a variadic primitive takes more inputs.
  Node ParseCall(bool inGroup) {
    const Token& word = Current();
    if (const int procedure = Procedure(word); procedure >= 0) {
      ++at_;
      Node node = Leaf(Op::kCall, word.line);
      node.slot = procedure;
      const int inputs = code_.procedures[static_cast<std::size_t>(procedure)].inputCount;
      for (int i = 0; i < inputs; ++i) node.kids.push_back(ParseInput('v', word));
      return node;
    }
    const Builtin* builtin = FindBuiltin(Key(word));
    if (builtin == nullptr) Fail(Message("Je ne connais pas « %s ».", word.text));
    if (IsCommand(*builtin)) Fail(Message("« %s » ne rend pas de valeur.", word.text));
    ++at_;
    Node node = Leaf(builtin->op, word.line);
    node.builtin = builtin;
    switch (builtin->op) {
      case Op::kNumber:
        node.number = 3.14159265358979323846;
        return node;
      case Op::kConstant:
        node.value = Value::Bool(Key(word) == "VRAI");
        return node;
      case Op::kItem:
        node.kids.push_back(ParseInput('v', word));
        node.kids.push_back(ParseInput('i', word, &node.flag));
        return node;
      default:
        break;
    }
    for (const char shape : builtin->shapes) node.kids.push_back(ParseInput(shape, word));
    while (inGroup && static_cast<int>(node.kids.size()) < builtin->maxInputs && !InputMissing()) {
      node.kids.push_back(ParseInput('v', word));
    }
    return node;
  }

  logo::Program program_;
  Code code_;
  std::unordered_map<std::string, int> procedureByKey_;
  std::unordered_map<std::string, int> globals_;
  std::unordered_map<std::string, int> locals_;
  ProcedureCode* procedure_ = nullptr;
  std::size_t at_ = 0;
  std::size_t end_ = 0;
  int openLists_ = 0;
  int groupDepth_ = 0;
  int nesting_ = 0;
  int pointDepth_ = -1;  // the depth of the point list whose items a "-" starts
};

}  // namespace

Code ParseProgram(std::string_view text) { return Parser(text).Parse(); }

}  // namespace tortuval::run
