#include "logo/leftovers.h"

#include <cmath>

#include "base/cp1252.h"
#include "base/number_text.h"
#include "library/counted_loop.h"
#include "logo/vocabulary.h"

namespace tortuval::logo {
namespace {

struct UnreadNotation {
  std::string_view pattern;  // compared ignoring case
  bool wholeWord;            // the word equals the pattern; else it contains it
  MessageId message;
};

// Searched in this order: the first row that matches gives the message.
constexpr UnreadNotation kUnreadNotations[] = {
    {".length", false, MessageId::kWordLength},
    {".charCodeAt", false, MessageId::kCharCodeAt},
    {"String.fromCharCode", false, MessageId::kFromCharCode},
    {".toString", false, MessageId::kToString},
    {".substr", false, MessageId::kSubstrCall},
    {"Math.", false, MessageId::kMathMember},
    {"modulo", true, MessageId::kModulo},
    {"sqrt", true, MessageId::kSquareRoot},
    {"PSEUDAL_FACTORIELLE", true, MessageId::kFactorial},
    {"F1", true, MessageId::kInactiveFunction},
    {"F2", true, MessageId::kInactiveFunction},
};

bool ContainsIgnoringCase(std::string_view text, std::string_view pattern) {
  for (std::size_t at = 0; at + pattern.size() <= text.size(); ++at) {
    if (base::EqualIgnoringCase(text.substr(at, pattern.size()), pattern)) return true;
  }
  return false;
}

// Compares a REPETE body's last statements with the end of a counted loop's pass, piece after
// piece, and takes the counter's variable from the branches.
class PassEndReader {
 public:
  explicit PassEndReader(const Node* statements) : next_(statements) {}

  bool Test(std::string_view /*comparison*/) { return (next_++)->op == Op::kTest; }
  bool Branch(std::string_view keyword, std::string_view stepWord, int step) {
    const Node& branch = *next_++;
    const Word* branchWord = FindWord(keyword);
    const Word* stepping = FindWord(stepWord);
    if (branchWord == nullptr || stepping == nullptr || branch.op != branchWord->op ||
        branch.kids.empty()) {
      return false;
    }
    const Node& move = branch.kids[0];
    if (move.op != stepping->op || static_cast<int>(move.step) != step) return false;
    if (counter_ != nullptr && !SameVariable(move, *counter_)) return false;
    counter_ = &move;
    return true;
  }
  const Node* Counter() const { return counter_; }

 private:
  const Node* next_;
  const Node* counter_ = nullptr;
};

bool AssignsTo(const Node& node, const Node& counter) {
  if (node.op == Op::kAssign && SameVariable(node, counter)) return true;
  for (const Node& kid : node.kids) {
    if (AssignsTo(kid, counter)) return true;
  }
  return false;
}

}  // namespace

const MessageId* FindUnreadNotation(std::string_view word) {
  // The patterns a word may contain all hold a ".": most words are passed at once.
  const bool dotted = word.find('.') != std::string_view::npos;
  for (const UnreadNotation& row : kUnreadNotations) {
    if (row.wholeWord ? word.size() != row.pattern.size() : !dotted) continue;
    if (row.wholeWord ? base::EqualIgnoringCase(word, row.pattern)
                      : ContainsIgnoringCase(word, row.pattern)) {
      return &row.message;
    }
  }
  return nullptr;
}

std::string_view LengthOfWord(std::string_view valueName) {
  constexpr std::string_view kLength = ".length";
  if (valueName.size() <= kLength.size() || !valueName.ends_with(kLength)) return {};
  return valueName.substr(0, valueName.size() - kLength.size());
}

bool ReadSplitExponent(std::string_view mantissa, std::string_view sign, std::string_view exponent,
                       double& number) {
  if (mantissa.size() < 2 || (mantissa.back() != 'e' && mantissa.back() != 'E')) return false;
  if (sign != "-" && sign != "+") return false;
  double mantissaValue = 0;
  double power = 0;
  const std::string_view digits = mantissa.substr(0, mantissa.size() - 1);
  if (digits.find_first_not_of("0123456789.,") != std::string_view::npos ||
      !base::ParseNumber(digits, mantissaValue) || !base::ParseNumber(exponent, power)) {
    return false;
  }
  number = mantissaValue * std::pow(10.0, sign == "-" ? -power : power);
  return true;
}

bool MarkCountedLoop(Node& repeat) {
  if (repeat.kids.size() != 2 || repeat.kids[1].op != Op::kBlock) return false;
  const std::vector<Node>& body = repeat.kids[1].kids;
  constexpr std::size_t kPassEnd = library::kCountedLoopPassEndStatements;
  if (body.size() < kPassEnd) return false;
  PassEndReader reader(&body[body.size() - kPassEnd]);
  if (!library::CountedLoopPassEnd(reader)) return false;
  const Node& up = *reader.Counter();
  repeat.countedLoop = true;
  repeat.variable = up.variable;
  repeat.local = up.local;
  for (std::size_t i = 0; i + kPassEnd < body.size(); ++i) {
    if (AssignsTo(body[i], up)) {
      repeat.leftover = Leftover::kLoopLeftEarly;
      return true;
    }
  }
  return false;
}

std::string LeftoverMessage(Leftover leftover, std::string_view written) {
  switch (leftover) {
    case Leftover::kWordLength: {
      const std::string variable(written.substr(0, written.size() - 7));  // less ".length"
      return FormatMessage(MessageId::kLeftoverLength, {written, variable});
    }
    case Leftover::kFactorial:
      return FormatMessage(MessageId::kLeftoverFactorial, {written});
    case Leftover::kSplitExponent: {
      std::string joined;
      for (const char c : written) {
        if (c != ' ' && c != '\t') joined.push_back(c);
      }
      return FormatMessage(MessageId::kLeftoverExponent, {written, joined});
    }
    case Leftover::kSpacedSign:
      return FormatMessage(MessageId::kLeftoverSign, {written});
    case Leftover::kSpacedString:
      return FormatMessage(MessageId::kLeftoverString, {written});
    case Leftover::kLoopLeftEarly:
      return FormatMessage(MessageId::kLeftoverLoop, {written});
    case Leftover::kNone:
      break;
  }
  return {};
}

}  // namespace tortuval::logo
