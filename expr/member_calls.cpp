#include "expr/member_calls.h"

#include <cstddef>
#include <string_view>
#include <vector>

#include "expr/placeholders.h"
#include "expr/replace_all.h"

namespace tortuval::expr {
namespace {

constexpr std::size_t kNone = std::string::npos;
constexpr Case kAnyCase = Case::kInsensitive;

bool StartsWith(std::string_view text, std::size_t at, std::string_view word, Case match) {
  return text.size() - at >= word.size() && Find(text.substr(at, word.size()), word, 0, match) == 0;
}

std::size_t SkipSpaces(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] == ' ') ++at;
  return at;
}

// Before functions, constants and brackets: member calls. "x.toString()" on a number gives "transforme :x",
// "w.substr(a,b)" on a word gives "substr :w a b", an argument of more than one word going into
// brackets. They are rewritten before the brackets
// are spaced and the argument comma becomes a space, while the call's shape is still visible.
// Only ".substr(" written exactly so is rewritten: it is also what brings the substr procedure
// into the program.
constexpr std::string_view kToString = "toString";
constexpr std::string_view kSubstrCall = "substr(";

bool IsNameChar(char c) {
  constexpr std::string_view kBreaks = " +-*/%=<>!()[]{},.;:'\"&|^@#";
  return static_cast<unsigned char>(c) >= 0x20 && kBreaks.find(c) == kNone;
}

// One "(" of the text: where its ")" is and which commas stand directly inside it.
struct Parenthesis {
  std::size_t close = kNone;
  std::size_t firstComma = kNone;
  int commas = 0;
};

std::vector<Parenthesis> MatchParentheses(std::string_view text) {
  std::vector<Parenthesis> parentheses(text.size());
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case '(':
      case '[':
        open.push_back(i);
        break;
      case ')':
        if (!open.empty() && text[open.back()] == '(') {
          parentheses[open.back()].close = i;
          open.pop_back();
        }
        break;
      case ']':
        if (!open.empty() && text[open.back()] == '[') open.pop_back();
        break;
      case ',':
        if (!open.empty() && text[open.back()] == '(') {
          Parenthesis& inner = parentheses[open.back()];
          if (inner.commas++ == 0) inner.firstComma = i;
        }
        break;
      default:
        break;
    }
  }
  return parentheses;
}

// An argument of more than one word goes into brackets, so that LOGO reads it as one input.
bool NeedsBrackets(std::string_view argument) {
  const std::size_t first = argument.find_first_not_of(' ');
  if (first == kNone) return false;
  const std::size_t last = argument.find_last_not_of(' ');
  return argument.substr(first, last - first + 1).find_first_of(" ()[],") != kNone;
}

// Text written at a comma or closing bracket of a rewritten call, once the scan reaches it.
struct PendingText {
  std::size_t position;
  std::string_view text;
};

class MemberCallRewriter {
 public:
  MemberCallRewriter(std::string_view text, const VariableScope& variables)
      : text_(text), variables_(variables), parentheses_(MatchParentheses(text)) {
    out_.reserve(text.size() + 16);
  }

  /// Puts the rewritten text into `result`; false, leaving it alone, when no call was rewritten.
  bool Rewrite(std::string& result) {
    bool changed = false;
    std::size_t i = 0;
    while (i < text_.size()) {
      if (!pending_.empty() && pending_.back().position == i) {
        out_.append(pending_.back().text);
        pending_.pop_back();
        ++i;
      } else if (std::size_t next = text_[i] == '.' ? RewriteMethodAt(i) : kNone; next != kNone) {
        changed = true;
        i = next;
      } else {
        out_.push_back(text_[i]);
        ++i;
      }
    }
    if (changed) result.swap(out_);
    return changed;
  }

 private:
  // ".toString()" and ".substr(" behind a declared variable of the right type, the point at
  // `dot`; returns where the scan goes on, or kNone.
  std::size_t RewriteMethodAt(std::size_t dot) {
    std::size_t end = dot;
    while (end > 0 && text_[end - 1] == ' ') --end;
    std::size_t start = end;
    while (start > 0 && IsNameChar(text_[start - 1])) --start;
    const std::string_view receiver = text_.substr(start, end - start);
    const std::size_t copied = dot - start;
    // The receiver and the spaces behind it have just been copied unchanged; they are taken back.
    if (receiver.empty() || out_.size() < copied ||
        out_.compare(out_.size() - copied, copied, text_, start, copied) != 0) {
      return kNone;
    }
    const Variable* variable = FindVariable(receiver, variables_);
    if (variable == nullptr) return kNone;
    if (variable->kind == VariableKind::kNumber &&
        StartsWith(text_, dot + 1, kToString, kAnyCase)) {
      const std::size_t open = SkipSpaces(text_, dot + 1 + kToString.size());
      if (open == text_.size() || text_[open] != '(') return kNone;
      const std::size_t close = SkipSpaces(text_, open + 1);
      if (close == text_.size() || text_[close] != ')') return kNone;
      out_.resize(out_.size() - copied);
      out_.append(kTransforme).append(receiver).push_back(' ');
      return close + 1;
    }
    if (variable->kind == VariableKind::kWord &&
        StartsWith(text_, dot + 1, kSubstrCall, Case::kSensitive)) {
      const std::size_t open = dot + kSubstrCall.size();
      const Parenthesis& call = parentheses_[open];
      if (call.close == kNone || call.commas != 1) return kNone;
      const std::size_t comma = call.firstComma;
      const bool wrapStart = NeedsBrackets(text_.substr(open + 1, comma - open - 1));
      const bool wrapCount = NeedsBrackets(text_.substr(comma + 1, call.close - comma - 1));
      static constexpr std::string_view kBetween[2][2] = {{" ", " ( "}, {" ) ", " ) ( "}};
      out_.resize(out_.size() - copied);
      out_.append(kSubstr).append(receiver).push_back(' ');
      if (wrapStart) out_.append("( ");
      // The comma is met before the closing bracket, so it goes on top.
      pending_.push_back({call.close, wrapCount ? " ) " : " "});
      pending_.push_back({comma, kBetween[wrapStart][wrapCount]});
      return open + 1;
    }
    return kNone;
  }

  std::string_view text_;
  const VariableScope& variables_;
  std::vector<Parenthesis> parentheses_;
  std::vector<PendingText> pending_;
  std::string out_;
};

}  // namespace

void RewriteMemberCalls(std::string& text, const VariableScope& variables) {
  if (!Contains(text, kToString, kAnyCase) && !Contains(text, kSubstrCall)) return;
  MemberCallRewriter(text, variables).Rewrite(text);
}

}  // namespace tortuval::expr
