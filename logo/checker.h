#pragma once
// Finds, in a converted LOGO program, what will not run as it stands: values never introduced,
// words that are not LOGO, missing inputs, unbalanced brackets, open blocks and the lines the
// converter marked for a fix by hand.

#include <string>
#include <string_view>
#include <vector>

namespace tortuval::logo {

enum class FindingKind {
  kUndeclaredValue,
  kUnknownWord,
  kMissingInput,
  kUnbalanced,
  kOpenBlock,
  kFixByHand
};

struct Finding {
  int line;    // from 1, in the program text
  int column;  // from 1, in bytes (Windows-1252: one byte per character)
  FindingKind kind;
  std::string message;  // French, Windows-1252, without the position
};

/// The findings of a converted program (Windows-1252, CR LF or LF line ends), in line then column
/// order.
std::vector<Finding> CheckProgram(std::string_view program);

/// "ligne L, colonne C : " followed by the message.
std::string DescribeFinding(const Finding& finding);

}  // namespace tortuval::logo
