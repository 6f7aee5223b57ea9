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
  const Lexeme* lexeme;
};

class BalanceCheck {
 public:
  BalanceCheck(const LexemeStream& stream, const NameMeanings& names,
               std::vector<Finding>& findings)
      : stream_(stream), lexemes_(stream.lexemes), names_(names), findings_(findings) {}

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
      const std::size_t at = bracket->index;
      const Lexeme& lexeme = lexemes_[at];
      switch (lexeme.kind) {
        case TokenKind::kOpenGroup:
          if (!InText()) open_.push_back({Opening::kGroup, &lexeme});
          break;
        case TokenKind::kCloseGroup:
          if (InText()) break;
          if (!open_.empty() && open_.back().kind == Opening::kGroup) {
            open_.pop_back();
          } else {
            Report(lexeme, MessageId::kUnopenedGroup);
          }
          break;
        case TokenKind::kOpenList:
          open_.push_back({KindOfList(at, end), &lexeme});
          break;
        default:  // kCloseList
          CloseList(lexeme);
          break;
      }
    }
    CloseLine();
    for (const Open& open : open_) {
      Report(*open.lexeme,
             rangeEnd == RangeEnd::kFin ? MessageId::kOpenBlockAtFin : MessageId::kOpenBlockAtEnd,
             FindingKind::kOpenBlock);
    }
  }

 private:
  bool InText() const { return !open_.empty() && open_.back().kind == Opening::kText; }

  // A list inside a text list is text; a list given to a primitive that prints it is text; a
  // list whose "[" ends the line is a block.
  Opening KindOfList(std::size_t at, std::size_t end) const {
    if (InText()) return Opening::kText;
    if (at > 0 && lexemes_[at - 1].kind == TokenKind::kWord &&
        names_.opensText[lexemes_[at - 1].name] != 0) {
      return Opening::kText;
    }
    if (at + 1 == end || lexemes_[at + 1].kind == TokenKind::kLineEnd) return Opening::kBlock;
    return Opening::kList;
  }

  void CloseList(const Lexeme& lexeme) {
    // Groups left open inside the list end with it.
    while (!open_.empty() && open_.back().kind == Opening::kGroup) {
      Report(*open_.back().lexeme, MessageId::kUnclosedGroup);
      open_.pop_back();
    }
    if (open_.empty()) {
      Report(lexeme, MessageId::kUnopenedList);
    } else {
      open_.pop_back();
    }
  }

  // At a line end every group and list opened on the line must be closed; blocks go on.
  void CloseLine() {
    while (!open_.empty() && open_.back().kind != Opening::kBlock) {
      const Open& open = open_.back();
      Report(*open.lexeme,
             open.kind == Opening::kGroup ? MessageId::kUnclosedGroup : MessageId::kUnclosedList);
      open_.pop_back();
    }
  }

  // Kept out of the walk over the brackets, which stays small.
  [[gnu::noinline]] void Report(const Lexeme& lexeme, MessageId message,
                                FindingKind kind = FindingKind::kUnbalanced) {
    AddFinding(stream_, findings_, lexeme, kind, FormatMessage(message, {}));
  }

  const LexemeStream& stream_;
  const std::vector<Lexeme>& lexemes_;
  const NameMeanings& names_;
  std::vector<Finding>& findings_;
  std::vector<Open> open_;
};

}  // namespace

void CheckBalance(const LexemeStream& stream, std::size_t begin, std::size_t end, RangeEnd rangeEnd,
                  const NameMeanings& names, std::vector<Finding>& findings) {
  BalanceCheck(stream, names, findings).Run(begin, end, rangeEnd);
}

}  // namespace tortuval::logo
