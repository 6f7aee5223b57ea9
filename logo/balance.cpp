// Bracket balance: groups and data lists close on their line, blocks by the end of their range.

#include <vector>

#include "logo/check_parts.h"
#include "logo/messages.h"
#include "logo/vocabulary.h"

namespace tortuval::logo {
namespace {

enum class Opening { kGroup, kList, kText, kBlock };

struct Open {
  Opening kind;
  const Token* token;
};

class BalanceCheck {
 public:
  BalanceCheck(const std::vector<Token>& tokens, const NameMeanings& names,
               std::vector<Finding>& findings)
      : tokens_(tokens), names_(names), findings_(findings) {}

  void Run(std::size_t begin, std::size_t end, RangeEnd rangeEnd) {
    for (std::size_t at = begin; at < end; ++at) {
      const Token& token = tokens_[at];
      const bool inText = !open_.empty() && open_.back().kind == Opening::kText;
      switch (token.kind) {
        case TokenKind::kOpenGroup:
          if (!inText) open_.push_back({Opening::kGroup, &token});
          break;
        case TokenKind::kCloseGroup:
          if (inText) break;
          if (!open_.empty() && open_.back().kind == Opening::kGroup) {
            open_.pop_back();
          } else {
            Report(token, MessageId::kUnopenedGroup);
          }
          break;
        case TokenKind::kOpenList:
          open_.push_back({KindOfList(at, end, inText), &token});
          break;
        case TokenKind::kCloseList:
          CloseList(token);
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
      Report(*open.token,
             rangeEnd == RangeEnd::kFin ? MessageId::kOpenBlockAtFin : MessageId::kOpenBlockAtEnd,
             FindingKind::kOpenBlock);
    }
  }

 private:
  // A list inside a text list is text; a list given to a primitive that prints it is text; a
  // list whose "[" ends the line is a block.
  Opening KindOfList(std::size_t at, std::size_t end, bool inText) {
    if (inText) return Opening::kText;
    if (at > 0 && tokens_[at - 1].kind == TokenKind::kWord) {
      const Primitive* primitive = names_.primitives[tokens_[at - 1].name];
      if (primitive != nullptr && primitive->InputCount() > 0 &&
          primitive->Shape(0) == InputShape::kText) {
        return Opening::kText;
      }
    }
    if (at + 1 == end || tokens_[at + 1].kind == TokenKind::kLineEnd) return Opening::kBlock;
    return Opening::kList;
  }

  void CloseList(const Token& token) {
    // Groups left open inside the list end with it.
    while (!open_.empty() && open_.back().kind == Opening::kGroup) {
      Report(*open_.back().token, MessageId::kUnclosedGroup);
      open_.pop_back();
    }
    if (open_.empty()) {
      Report(token, MessageId::kUnopenedList);
    } else {
      open_.pop_back();
    }
  }

  // At a line end every group and list opened on the line must be closed; blocks go on.
  void CloseLine() {
    while (!open_.empty() && open_.back().kind != Opening::kBlock) {
      const Open& open = open_.back();
      Report(*open.token,
             open.kind == Opening::kGroup ? MessageId::kUnclosedGroup : MessageId::kUnclosedList);
      open_.pop_back();
    }
  }

  void Report(const Token& token, MessageId message, FindingKind kind = FindingKind::kUnbalanced) {
    AddFinding(findings_, token, kind, FormatMessage(message, {}));
  }

  const std::vector<Token>& tokens_;
  const NameMeanings& names_;
  std::vector<Finding>& findings_;
  std::vector<Open> open_;
};

}  // namespace

void CheckBalance(const std::vector<Token>& tokens, std::size_t begin, std::size_t end,
                  RangeEnd rangeEnd, const NameMeanings& names, std::vector<Finding>& findings) {
  BalanceCheck(tokens, names, findings).Run(begin, end, rangeEnd);
}

}  // namespace tortuval::logo
