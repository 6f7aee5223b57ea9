// Instructions and their inputs: every call takes its inputs, each a whole infix expression,
// before the end of its line (or of its list or group); values must have been introduced and
// words must be primitives or procedures.

#include <cstdint>
#include <string>

#include "logo/check_parts.h"
#include "logo/messages.h"
#include "logo/vocabulary.h"

namespace tortuval::logo {
namespace {

constexpr std::size_t kLongestInfixWord = 3;

// What a call may read up to: inside parentheses the ")" ends the inputs of "( random 1 6 )".
enum class Where { kLine, kGroup };

class InstructionCheck {
 public:
  InstructionCheck(const std::vector<Token>& tokens, std::size_t end, const InstructionScope& scope,
                   std::vector<Finding>& findings)
      : tokens_(tokens),
        end_(end),
        scope_(scope),
        findings_(findings),
        minus_(scope.lexicon->Find("-")),
        plus_(scope.lexicon->Find("+")) {}

  void Instructions(std::size_t& at, bool inList) {
    while (at < end_) {
      const TokenKind kind = tokens_[at].kind;
      if (kind == TokenKind::kCloseList && inList) return;
      if (kind == TokenKind::kLineEnd || kind == TokenKind::kCloseList ||
          kind == TokenKind::kCloseGroup) {
        ++at;  // a stray closing bracket is the balance check's to report
      } else {
        Instruction(at);
      }
    }
  }

 private:
  bool AtStop(std::size_t at) const {
    if (at >= end_) return true;
    const TokenKind kind = tokens_[at].kind;
    return kind == TokenKind::kLineEnd || kind == TokenKind::kCloseList ||
           kind == TokenKind::kCloseGroup;
  }

  // Every infix word is short (ET, OU, div): longer words are not looked up, which matters as
  // this is asked after every operand.
  bool IsInfix(const Token& token) {
    if (token.kind == TokenKind::kOperator) return true;
    if (token.kind != TokenKind::kWord || token.text.size() > kLongestInfixWord) return false;
    return scope_.names->infix[token.name] != 0;
  }

  void Instruction(std::size_t& at) {
    if (tokens_[at].kind == TokenKind::kWord) {
      Call(at, Where::kLine);
    } else {
      Expression(at);
    }
  }

  // An operand, then as many "operator operand" pairs as follow on the line.
  void Expression(std::size_t& at) {
    Operand(at);
    while (at < end_ && IsInfix(tokens_[at])) {
      const Token& sign = tokens_[at++];
      if (AtStop(at)) {
        AddFinding(findings_, sign, FindingKind::kMissingInput,
                   FormatMessage(MessageId::kMissingOperand, {sign.text}));
        return;
      }
      Operand(at);
    }
  }

  void Operand(std::size_t& at) {
    if (AtStop(at)) return;
    const Token& token = tokens_[at];
    switch (token.kind) {
      case TokenKind::kOperator:
        ++at;
        // A sign before an operand is unary ("- 5", "-:n"); any other operator here is stray.
        if (token.name == minus_ || token.name == plus_) Operand(at);
        return;
      case TokenKind::kValue:
        CheckValue(token);
        ++at;
        return;
      case TokenKind::kOpenGroup:
        return Group(at);
      case TokenKind::kOpenList:
        return List(at);
      case TokenKind::kWord:
        if (IsInfix(token)) {
          ++at;
          return;
        }
        return Call(at, Where::kLine);
      default:
        ++at;
        return;
    }
  }

  // "( word inputs… )" calls the word with every input up to ")"; any other group holds
  // expressions.
  void Group(std::size_t& at) {
    ++at;
    if (at < end_ && tokens_[at].kind == TokenKind::kWord && !IsInfix(tokens_[at])) {
      Call(at, Where::kGroup);
    }
    while (!AtStop(at)) Expression(at);
    if (at < end_ && tokens_[at].kind == TokenKind::kCloseGroup) ++at;
  }

  // A "[" that ends its line opens a block of instructions over several lines; any other list
  // ends on its line, where the balance check reports it if it is left open.
  void List(std::size_t& at) {
    ++at;
    const bool block = at >= end_ || tokens_[at].kind == TokenKind::kLineEnd;
    if (block) {
      Instructions(at, true);
    } else {
      while (at < end_ && tokens_[at].kind != TokenKind::kLineEnd &&
             tokens_[at].kind != TokenKind::kCloseList) {
        if (tokens_[at].kind == TokenKind::kCloseGroup) {
          ++at;
        } else {
          Instruction(at);
        }
      }
    }
    if (at < end_ && tokens_[at].kind == TokenKind::kCloseList) ++at;
  }

  // A list read as text: its words are not code. It ends with its "]" or its line.
  void TextList(std::size_t& at) {
    int depth = 0;
    for (; at < end_ && tokens_[at].kind != TokenKind::kLineEnd; ++at) {
      if (tokens_[at].kind == TokenKind::kOpenList) ++depth;
      if (tokens_[at].kind == TokenKind::kCloseList && --depth == 0) {
        ++at;
        return;
      }
    }
  }

  void Call(std::size_t& at, Where where) {
    const Token& word = tokens_[at++];
    std::string_view shapes;
    int inputs = 0;
    if (const Primitive* primitive = scope_.names->primitives[word.name]; primitive != nullptr) {
      shapes = primitive->shapes;
      inputs = primitive->InputCount();
    } else if (const int count = scope_.names->procedureInputs[word.name]; count >= 0) {
      inputs = count;
    } else if (SplitExponent(at, word)) {
      return;
    } else if (!SplitWord(at, word, inputs)) {
      ReportUnknownWord(word);
      // Unknown: its inputs are unknown too, so what follows is read as further instructions.
      return;
    }
    int received = 0;
    for (; received < inputs || (where == Where::kGroup && !AtStop(at)); ++received) {
      if (AtStop(at)) break;
      const InputShape shape = received < static_cast<int>(shapes.size())
                                   ? static_cast<InputShape>(shapes[received])
                                   : InputShape::kValue;
      Input(at, shape);
    }
    if (received < inputs) ReportMissingInputs(word, at, inputs, received);
  }

  void Input(std::size_t& at, InputShape shape) {
    const Token& token = tokens_[at];
    switch (shape) {
      case InputShape::kRun:
        if (token.kind == TokenKind::kOpenList) return List(at);
        return Instruction(at);
      case InputShape::kText:
        if (token.kind == TokenKind::kOpenList) return TextList(at);
        return Expression(at);
      case InputShape::kName:
        // A name is one operand: "soit "xmin - 5" gives -5 to xmin, the converter writes it so.
        return Operand(at);
      case InputShape::kTypeWord:
        if (token.kind == TokenKind::kWord) {
          ++at;
          return;
        }
        return Expression(at);
      default:
        return Expression(at);
    }
  }

  // "ent :ier": a word the variable stage cut in two around a declared name. When the joined
  // word is a primitive or a procedure, it is reported once and read as that call.
  bool SplitWord(std::size_t& at, const Token& word, int& inputs) {
    if (at >= end_ || tokens_[at].kind != TokenKind::kValue) return false;
    const Token& value = tokens_[at];
    const int gap = value.column - (word.column + static_cast<int>(word.text.size()));
    if (value.line != word.line || gap < 0 || gap > 1) return false;
    std::string joined(word.text);
    joined.append(NameOf(value));
    if (const Primitive* primitive = FindPrimitive(joined); primitive != nullptr) {
      inputs = primitive->InputCount();
    } else if (const std::uint32_t name = scope_.lexicon->Find(joined);
               name != kNoName && scope_.names->procedureInputs[name] >= 0) {
      inputs = scope_.names->procedureInputs[name];
    } else {
      return false;
    }
    const std::string shown =
        std::string(word.text) + std::string(gap, ' ') + std::string(value.text);
    AddFinding(findings_, word, FindingKind::kUnknownWord,
               FormatMessage(MessageId::kSplitWord, {shown, joined, NameOf(value)}));
    ++at;
    return true;
  }

  // "1e - 8": a number in scientific notation whose sign the translator left spaced out.
  bool SplitExponent(std::size_t& at, const Token& word) {
    const std::string_view text = word.text;
    if (text.size() < 2 || (text.back() != 'e' && text.back() != 'E')) return false;
    for (const char c : text.substr(0, text.size() - 1)) {
      if ((c < '0' || c > '9') && c != '.' && c != ',') return false;
    }
    if (at + 1 >= end_ || tokens_[at].kind != TokenKind::kOperator ||
        (tokens_[at].name != minus_ && tokens_[at].name != plus_) ||
        tokens_[at + 1].kind != TokenKind::kNumber || tokens_[at + 1].line != word.line) {
      return false;
    }
    const Token& sign = tokens_[at];
    const Token& exponent = tokens_[at + 1];
    const char* first = word.text.data();
    const char* last = exponent.text.data() + exponent.text.size();
    const std::string_view shown(first, static_cast<std::size_t>(last - first));
    const std::string joined =
        std::string(text) + std::string(sign.text) + std::string(exponent.text);
    AddFinding(findings_, word, FindingKind::kUnknownWord,
               FormatMessage(MessageId::kSplitExponent, {shown, joined}));
    at += 2;
    return true;
  }

  void ReportUnknownWord(const Token& token) {
    const Leftover* leftover = FindLeftover(token.text);
    AddFinding(findings_, token, FindingKind::kUnknownWord,
               FormatMessage(leftover != nullptr ? leftover->message : MessageId::kUnknownWord,
                             {token.text}));
  }

  void CheckValue(const Token& token) {
    const std::string_view name = NameOf(token);
    if (name.empty()) {
      AddFinding(findings_, token, FindingKind::kUndeclaredValue,
                 FormatMessage(MessageId::kEmptyValue, {}));
      return;
    }
    if (scope_.names->globals[token.name] != 0 ||
        (scope_.locals != nullptr && (*scope_.locals)[token.name] == scope_.localMark)) {
      return;
    }
    if (const Leftover* leftover = FindLeftover(name); leftover != nullptr) {
      AddFinding(findings_, token, FindingKind::kUnknownWord,
                 FormatMessage(leftover->message, {token.text}));
      return;
    }
    AddFinding(findings_, token, FindingKind::kUndeclaredValue,
               FormatMessage(MessageId::kUndeclaredValue, {token.text, name}));
  }

  // A warned line keeps parentheses around inputs on purpose; its count is not reported.
  void ReportMissingInputs(const Token& word, std::size_t at, int inputs, int received) {
    const auto line = static_cast<std::size_t>(word.line);
    if (line < scope_.warnedLines->size() && (*scope_.warnedLines)[line] != 0) return;
    const std::string before = at < end_ && tokens_[at].kind != TokenKind::kLineEnd
                                   ? Quoted(tokens_[at].text)
                                   : FormatMessage(MessageId::kEndOfLine, {});
    AddFinding(findings_, word, FindingKind::kMissingInput,
               FormatMessage(received == 0 ? MessageId::kNoInput : MessageId::kMissingInputs,
                             {word.text,
                              FormatMessage(inputs == 1 ? MessageId::kOneInput : MessageId::kInputs,
                                            {std::to_string(inputs)}),
                              std::to_string(received), before}));
  }

  const std::vector<Token>& tokens_;
  std::size_t end_;
  const InstructionScope& scope_;
  std::vector<Finding>& findings_;
  // The numbers of the signs of a unary operand; kNoName when the program has none.
  std::uint32_t minus_;
  std::uint32_t plus_;
};

}  // namespace

void CheckInstructions(const std::vector<Token>& tokens, std::size_t begin, std::size_t end,
                       const InstructionScope& scope, std::vector<Finding>& findings) {
  InstructionCheck check(tokens, end, scope, findings);
  check.Instructions(begin, false);
}

}  // namespace tortuval::logo
