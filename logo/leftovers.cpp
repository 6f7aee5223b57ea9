#include "logo/leftovers.h"

#include <cmath>

#include "base/cp1252.h"
#include "base/number_text.h"

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
  if (body.size() < 3) return false;
  const Node& test = body[body.size() - 3];
  const Node& ifTrue = body[body.size() - 2];
  const Node& ifFalse = body[body.size() - 1];
  if (test.op != Op::kTest || ifTrue.op != Op::kIfTrue || ifFalse.op != Op::kIfFalse) return false;
  const Node& up = ifTrue.kids[0];
  const Node& down = ifFalse.kids[0];
  if (up.op != Op::kStep || down.op != Op::kStep || up.step != StepDirection::kUp ||
      down.step != StepDirection::kDown || !SameVariable(up, down)) {
    return false;
  }
  repeat.countedLoop = true;
  repeat.variable = up.variable;
  repeat.local = up.local;
  for (std::size_t i = 0; i + 3 < body.size(); ++i) {
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
