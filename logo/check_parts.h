#pragma once
// The parts of the check, each over lexeme ranges of a read program: the bracket balance, the
// instructions and their inputs, and the recognition of the converter's support procedures.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "logo/checker.h"
#include "logo/reader.h"
#include "logo/vocabulary.h"

namespace tortuval::logo {

/// Appends a finding placed at `lexeme`.
inline void AddFinding(const LexemeStream& stream, std::vector<Finding>& findings,
                       const Lexeme& lexeme, FindingKind kind, std::string message) {
  const Place place = stream.PlaceOf(lexeme.begin);
  findings.push_back(Finding{place.line, place.column, kind, std::move(message)});
}

/// How a range of instructions ends: at the end of the program, or at a procedure's FIN.
enum class RangeEnd { kProgramEnd, kFin };

/// What each name of the program (Lexeme::name) stands for, by its number.
struct NameMeanings {
  std::vector<const Primitive*> primitives;  ///< the primitive it names, or null
  std::vector<char> infix;                   ///< whether it is an infix word or sign
  std::vector<int> procedureInputs;          ///< the input count of the procedure it names, or -1
  std::vector<char> globals;                 ///< whether a value of that name is introduced
                                             ///< outside the procedures
};

/// Reports the brackets and parentheses of lexemes [begin, end) that do not balance on their
/// statement, and the blocks still open at the end of the range. A "[" that ends its line opens
/// a block, which may span lines; any other "[" and every "(" close on their line.
void CheckBalance(const LexemeStream& stream, std::size_t begin, std::size_t end, RangeEnd rangeEnd,
                  std::vector<Finding>& findings);

/// Whether the byte at `offset` stands on one of `lines` (in text order).
inline bool IsOnWarnedLine(const std::vector<WarnedLine>& lines, std::uint32_t offset) {
  // Few lines are warned: they are searched, not the program's line starts.
  const auto after = std::upper_bound(
      lines.begin(), lines.end(), offset,
      [](std::uint32_t wanted, const WarnedLine& line) { return wanted < line.start; });
  return after != lines.begin() && offset < std::prev(after)->end;
}

/// What the instruction check reads besides the lexemes.
struct InstructionScope {
  const NameMeanings* names;
  /// By name number: `localMark` when the procedure being checked introduces the value; null
  /// outside the procedures.
  const std::vector<std::uint32_t>* locals;
  std::uint32_t localMark;
  const std::vector<WarnedLine>* warnedLines;
};

/// Reports, in lexemes [begin, end), undeclared values, words that are not LOGO and missing
/// inputs.
void CheckInstructions(const LexemeStream& stream, std::size_t begin, std::size_t end,
                       const InstructionScope& scope, std::vector<Finding>& findings);

/// True when `procedure` is one of the converter's support procedures, name and text alike
/// (blanks and line ends aside).
bool IsSupportProcedure(const LexemeStream& stream, const ProcedureParts& procedure);

}  // namespace tortuval::logo
