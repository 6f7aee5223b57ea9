#pragma once
// What the check says about one place of a program.

#include <string>

namespace tortuval::logo {

enum class FindingKind {
  kUndeclaredValue,
  kUnknownWord,
  kMissingInput,
  kUnbalanced,
  kOpenBlock,
  kFixByHand,
  /// A TESTE that no SIVRAI or SIFAUX uses: what follows it runs whatever the condition.
  kIdleCondition,
  /// A leftover of the converter that runs here under a reading of its own, but that the
  /// user's LOGO will not take as written.
  kForYourLogo,
};

struct Finding {
  int line;    // from 1, in the program text
  int column;  // from 1, in bytes (Windows-1252: one byte per character)
  FindingKind kind;
  std::string message;  // French, Windows-1252, without the position
};

/// "ligne L, colonne C : " followed by the message.
std::string DescribeFinding(const Finding& finding);

}  // namespace tortuval::logo
