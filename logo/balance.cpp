// Bracket balance: groups and data lists close on their line, blocks by the end of their range.

#include <algorithm>
#include <vector>

#include "logo/check_parts.h"
#include "logo/messages.h"

namespace tortuval::logo {
namespace {

enum class Opening { kGroup, kList, kText, kBlock };

struct Open {
  Opening kind;
  std::uint32_t at;  // the lexeme's index
};

class BalanceCheck {
 public:
  BalanceCheck(const LexemeStream& stream, std::vector<Finding>& findings)
      : stream_(stream), lexemes_(stream.lexemes), findings_(findings) {}

  void Run(std::size_t begin, std::size_t end, RangeEnd rangeEnd) {
    // Only the brackets and parentheses matter, and the line each stands on: the lexer lists
    // them, so the words and signs between them are not visited.
    const std::vector<BracketAt>& brackets = stream_.brackets;
    auto bracket = std::lower_bound(
        brackets.begin(), brackets.end(), begin,
        [](const BracketAt& held, std::size_t wanted) { return held.index < wanted; });
    std::uint32_t line = 0;
    for (; bracket != brackets.end() && bracket->index < end; ++bracket) {
      // A line ended since the last one: what that line opened must be closed.
      if (bracket->line != line) {
        CloseLine();
        line = bracket->line;
      }
      const std::uint32_t at = bracket->index;
      switch (bracket->kind) {
        case TokenKind::kOpenGroup:
          if (!InText()) open_.push_back({Opening::kGroup, at});
          break;
        case TokenKind::kCloseGroup:
          if (InText()) break;
          if (!open_.empty() && open_.back().kind == Opening::kGroup) {
            open_.pop_back();
          } else {
            Report(at, MessageId::kUnopenedGroup);
          }
          break;
        case TokenKind::kOpenList:
          open_.push_back({KindOfList(*bracket, end), at});
          break;
        default:  // kCloseList
          CloseList(at);
          break;
      }
    }
    CloseLine();
    for (const Open& open : open_) {
      Report(open.at,
             rangeEnd == RangeEnd::kFin ? MessageId::kOpenBlockAtFin : MessageId::kOpenBlockAtEnd,
             FindingKind::kOpenBlock);
    }
  }

 private:
  bool InText() const { return !open_.empty() && open_.back().kind == Opening::kText; }

  // A list inside a text list is text; a list given to a primitive that prints it is text; a
  // list whose "[" ends the line is a block.
  Opening KindOfList(const BracketAt& bracket, std::size_t end) const {
    if (InText() || bracket.afterTextWord) return Opening::kText;
    if (bracket.index + 1 == end || bracket.beforeLineEnd) return Opening::kBlock;
    return Opening::kList;
  }

  void CloseList(std::uint32_t at) {
    // Groups left open inside the list end with it.
    while (!open_.empty() && open_.back().kind == Opening::kGroup) {
      Report(open_.back().at, MessageId::kUnclosedGroup);
      open_.pop_back();
    }
    if (open_.empty()) {
      Report(at, MessageId::kUnopenedList);
    } else {
      open_.pop_back();
    }
  }

  // At a line end every group and list opened on the line must be closed; blocks go on.
  void CloseLine() {
    while (!open_.empty() && open_.back().kind != Opening::kBlock) {
      const Open& open = open_.back();
      Report(open.at,
             open.kind == Opening::kGroup ? MessageId::kUnclosedGroup : MessageId::kUnclosedList);
      open_.pop_back();
    }
  }

  // Kept out of the walk over the brackets, which stays small.
  [[gnu::noinline]] void Report(std::uint32_t at, MessageId message,
                                FindingKind kind = FindingKind::kUnbalanced) {
    AddFinding(stream_, findings_, lexemes_[at], kind, FormatMessage(message, {}));
  }

  const LexemeStream& stream_;
  const std::vector<Lexeme>& lexemes_;
  std::vector<Finding>& findings_;
  std::vector<Open> open_;
};

}  // namespace

void CheckBalance(const LexemeStream& stream, std::size_t begin, std::size_t end, RangeEnd rangeEnd,
                  std::vector<Finding>& findings) {
  BalanceCheck(stream, findings).Run(begin, end, rangeEnd);
}

}  // namespace tortuval::logo
