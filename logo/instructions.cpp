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

// What a call may read up to: inside parentheses the ")" ends the inputs of "( random 1 6 )".
enum class Where { kLine, kGroup };

// The kinds that end a call's inputs and an expression, as bits.
constexpr unsigned kStops = 1u << static_cast<unsigned>(TokenKind::kLineEnd) |
                            1u << static_cast<unsigned>(TokenKind::kCloseList) |
                            1u << static_cast<unsigned>(TokenKind::kCloseGroup);

constexpr bool IsStop(TokenKind kind) { return (kStops >> static_cast<unsigned>(kind) & 1u) != 0; }

class InstructionCheck {
 public:
  InstructionCheck(const LexemeStream& stream, std::size_t end, const InstructionScope& scope,
                   std::vector<Finding>& findings)
      : stream_(stream),
        tokens_(stream.lexemes.data()),
        end_(end),
        scope_(scope),
        primitives_(scope.names->primitives.data()),
        procedureInputs_(scope.names->procedureInputs.data()),
        infix_(scope.names->infix.data()),
        globals_(scope.names->globals.data()),
        findings_(findings),
        minus_(stream.names.Find("-")),
        plus_(stream.names.Find("+")) {}

  // Reads instructions up to the end, or up to the "]" that closes the block when `inList`.
  void Instructions(std::size_t& at, bool inList) {
    while (at < end_) {
      const TokenKind kind = tokens_[at].kind;
      if (kind == TokenKind::kCloseList && inList) return;
      if (IsStop(kind)) {
        ++at;  // a stray closing bracket is the balance check's to report
      } else {
        Instruction(at);
      }
    }
  }

 private:
  bool AtStop(std::size_t at) const { return at >= end_ || IsStop(tokens_[at].kind); }

  bool IsInfix(const Lexeme& token) const {
    return token.kind == TokenKind::kOperator ||
           (token.kind == TokenKind::kWord && infix_[token.name] != 0);
  }

  std::string_view TextOf(const Lexeme& token) const { return stream_.TextOf(token); }
  std::string_view NameOf(const Lexeme& token) const { return TextOf(token).substr(1); }

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
      const Lexeme& sign = tokens_[at++];
      if (AtStop(at)) {
        ReportMissingOperand(sign);
        return;
      }
      Operand(at);
    }
  }

  // Numbers, quoted words and values, the commonest operands, are one lexeme each: they are
  // taken here, where the compiler can inline it, and the others in NestedOperand.
  void Operand(std::size_t& at) {
    if (AtStop(at)) return;
    const Lexeme& token = tokens_[at];
    if (token.kind == TokenKind::kNumber || token.kind == TokenKind::kQuoted) {
      ++at;
    } else if (token.kind == TokenKind::kValue) {
      CheckValue(token);
      ++at;
    } else {
      NestedOperand(at);
    }
  }

  void NestedOperand(std::size_t& at) {
    const Lexeme& token = tokens_[at];
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

  // The reports build messages: they are kept out of the walk, whose functions stay small.
  [[gnu::noinline]] void ReportMissingOperand(const Lexeme& sign) {
    AddFinding(stream_, findings_, sign, FindingKind::kMissingInput,
               FormatMessage(MessageId::kMissingOperand, {TextOf(sign)}));
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
    const Lexeme& word = tokens_[at++];
    std::string_view shapes;
    int inputs = 0;
    if (const Primitive* primitive = primitives_[word.name]; primitive != nullptr) {
      shapes = primitive->shapes;
      inputs = primitive->InputCount();
    } else if (const int count = procedureInputs_[word.name]; count >= 0) {
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
    const Lexeme& token = tokens_[at];
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
  [[gnu::noinline]] bool SplitWord(std::size_t& at, const Lexeme& word, int& inputs) {
    if (at >= end_ || tokens_[at].kind != TokenKind::kValue) return false;
    // Two lexemes in a row are on one line: a line end between them would be one too.
    const Lexeme& value = tokens_[at];
    const auto gap = static_cast<std::int64_t>(value.begin) - (word.begin + word.length);
    if (gap < 0 || gap > 1) return false;
    std::string joined(TextOf(word));
    joined.append(NameOf(value));
    if (const Primitive* primitive = FindPrimitive(joined); primitive != nullptr) {
      inputs = primitive->InputCount();
    } else if (const std::uint32_t name = stream_.names.Find(joined);
               name != kNoName && scope_.names->procedureInputs[name] >= 0) {
      inputs = scope_.names->procedureInputs[name];
    } else {
      return false;
    }
    const std::string shown = std::string(TextOf(word)) +
                              std::string(static_cast<std::size_t>(gap), ' ') +
                              std::string(TextOf(value));
    AddFinding(stream_, findings_, word, FindingKind::kUnknownWord,
               FormatMessage(MessageId::kSplitWord, {shown, joined, NameOf(value)}));
    ++at;
    return true;
  }

  // "1e - 8": a number in scientific notation whose sign the translator left spaced out.
  [[gnu::noinline]] bool SplitExponent(std::size_t& at, const Lexeme& word) {
    const std::string_view text = TextOf(word);
    if (text.size() < 2 || (text.back() != 'e' && text.back() != 'E')) return false;
    for (const char c : text.substr(0, text.size() - 1)) {
      if ((c < '0' || c > '9') && c != '.' && c != ',') return false;
    }
    if (at + 1 >= end_ || tokens_[at].kind != TokenKind::kOperator ||
        (tokens_[at].name != minus_ && tokens_[at].name != plus_) ||
        tokens_[at + 1].kind != TokenKind::kNumber) {
      return false;
    }
    const Lexeme& sign = tokens_[at];
    const Lexeme& exponent = tokens_[at + 1];
    const std::string_view shown =
        stream_.text.substr(word.begin, exponent.begin + exponent.length - word.begin);
    const std::string joined =
        std::string(text) + std::string(TextOf(sign)) + std::string(TextOf(exponent));
    AddFinding(stream_, findings_, word, FindingKind::kUnknownWord,
               FormatMessage(MessageId::kSplitExponent, {shown, joined}));
    at += 2;
    return true;
  }

  [[gnu::noinline]] void ReportUnknownWord(const Lexeme& token) {
    const Leftover* leftover = FindLeftover(TextOf(token));
    AddFinding(stream_, findings_, token, FindingKind::kUnknownWord,
               FormatMessage(leftover != nullptr ? leftover->message : MessageId::kUnknownWord,
                             {TextOf(token)}));
  }

  // Most values were introduced: that is told from two arrays, and the rest reported apart.
  void CheckValue(const Lexeme& token) {
    if (token.length != 1 &&
        (globals_[token.name] != 0 ||
         (scope_.locals != nullptr && (*scope_.locals)[token.name] == scope_.localMark))) {
      return;
    }
    ReportValue(token);
  }

  [[gnu::noinline]] void ReportValue(const Lexeme& token) {
    if (token.length == 1) {
      AddFinding(stream_, findings_, token, FindingKind::kUndeclaredValue,
                 FormatMessage(MessageId::kEmptyValue, {}));
      return;
    }
    const std::string_view name = NameOf(token);
    if (const Leftover* leftover = FindLeftover(name); leftover != nullptr) {
      AddFinding(stream_, findings_, token, FindingKind::kUnknownWord,
                 FormatMessage(leftover->message, {TextOf(token)}));
      return;
    }
    AddFinding(stream_, findings_, token, FindingKind::kUndeclaredValue,
               FormatMessage(MessageId::kUndeclaredValue, {TextOf(token), name}));
  }

  // A warned line keeps parentheses around inputs on purpose; its count is not reported.
  [[gnu::noinline]] void ReportMissingInputs(const Lexeme& word, std::size_t at, int inputs,
                                             int received) {
    if (IsOnWarnedLine(*scope_.warnedLines, word.begin)) return;
    const std::string before = at < end_ && tokens_[at].kind != TokenKind::kLineEnd
                                   ? Quoted(TextOf(tokens_[at]))
                                   : FormatMessage(MessageId::kEndOfLine, {});
    AddFinding(stream_, findings_, word, FindingKind::kMissingInput,
               FormatMessage(received == 0 ? MessageId::kNoInput : MessageId::kMissingInputs,
                             {TextOf(word),
                              FormatMessage(inputs == 1 ? MessageId::kOneInput : MessageId::kInputs,
                                            {std::to_string(inputs)}),
                              std::to_string(received), before}));
  }

  const LexemeStream& stream_;
  const Lexeme* tokens_;
  std::size_t end_;
  const InstructionScope& scope_;
  // The meanings by name, read for nearly every lexeme: held here as plain arrays.
  const Primitive* const* primitives_;
  const int* procedureInputs_;
  const char* infix_;
  const char* globals_;
  std::vector<Finding>& findings_;
  // The numbers of the signs of a unary operand; kNoName when the program has none.
  std::uint32_t minus_;
  std::uint32_t plus_;
};

}  // namespace

void CheckInstructions(const LexemeStream& stream, std::size_t begin, std::size_t end,
                       const InstructionScope& scope, std::vector<Finding>& findings) {
  InstructionCheck check(stream, end, scope, findings);
  check.Instructions(begin, false);
}

}  // namespace tortuval::logo
