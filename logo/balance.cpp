// Bracket balance: groups and data lists close on their line, blocks by the end of their range.

#include <vector>

#include "logo/check_parts.h"
#include "logo/messages.h"

namespace tortuval::logo {
namespace {

enum class Opening { kGroup, kList, kText, kBlock };

// The kinds the balance looks at, brackets, parentheses and line ends, come last in TokenKind.
constexpr bool Matters(TokenKind kind) { return kind >= TokenKind::kOpenList; }
static_assert(TokenKind::kCloseList > TokenKind::kOpenList &&
              TokenKind::kOpenGroup > TokenKind::kOpenList &&
              TokenKind::kCloseGroup > TokenKind::kOpenList &&
              TokenKind::kLineEnd > TokenKind::kOpenList);

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
    for (std::size_t at = begin; at < end; ++at) {
      // Words, numbers, values and signs are passed over in a tight loop: most lexemes are.
      while (!Matters(lexemes_[at].kind) && ++at < end) {
      }
      if (at == end) break;
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
        case TokenKind::kCloseList:
          CloseList(lexeme);
          break;
        case TokenKind::kLineEnd:
          CloseLine();
          break;
        default:
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

  void Report(const Lexeme& lexeme, MessageId message,
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
