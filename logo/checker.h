#pragma once
// PLACEHOLDER: replaced by the checker's own header at the merge.

#include <string>
#include <string_view>
#include <vector>

namespace tortuval::logo {
enum class FindingKind { kUndeclaredValue, kUnknownWord, kMissingInput, kUnbalanced, kOpenBlock, kFixByHand };
struct Finding {
  int line;
  int column;
  FindingKind kind;
  std::string message;
};
std::vector<Finding> CheckProgram(std::string_view program);
std::string DescribeFinding(const Finding& finding);
}  // namespace tortuval::logo
