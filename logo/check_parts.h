#pragma once
// The parts of the check, each over token ranges of a read program: the bracket balance, the
// instructions and their inputs, and the recognition of the converter's support procedures.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "logo/checker.h"
#include "logo/reader.h"
#include "logo/vocabulary.h"

namespace tortuval::logo {

/// Appends a finding placed at `token`.
inline void AddFinding(std::vector<Finding>& findings, const Token& token, FindingKind kind,
                       std::string message) {
  findings.push_back(Finding{token.line, token.column, kind, std::move(message)});
}

/// How a range of instructions ends: at the end of the program, or at a procedure's FIN.
enum class RangeEnd { kProgramEnd, kFin };

/// Reports the brackets and parentheses of tokens [begin, end) that do not balance on their
/// statement, and the blocks still open at the end of the range. A "[" that ends its line opens
/// a block, which may span lines; any other "[" and every "(" close on their line.
struct NameMeanings;
void CheckBalance(const std::vector<Token>& tokens, std::size_t begin, std::size_t end,
                  RangeEnd rangeEnd, const NameMeanings& names, std::vector<Finding>& findings);

/// What each name of the program (Token::name) stands for, by its number.
struct NameMeanings {
  std::vector<const Primitive*> primitives;  ///< the primitive it names, or null
  std::vector<char> infix;                   ///< whether it is an infix word or sign
  std::vector<int> procedureInputs;          ///< the input count of the procedure it names, or -1
  std::vector<char> globals;                 ///< whether a value of that name is introduced
                                             ///< outside the procedures
};

/// What the instruction check reads besides the tokens.
struct InstructionScope {
  const Lexicon* lexicon;  ///< the program's names
  const NameMeanings* names;
  /// By name number: `localMark` when the procedure being checked introduces the value; null
  /// outside the procedures.
  const std::vector<std::uint32_t>* locals;
  std::uint32_t localMark;
  const std::vector<char>* warnedLines;  ///< by line number: the line carries the warning
};

/// Reports, in tokens [begin, end), undeclared values, words that are not LOGO and missing
/// inputs.
void CheckInstructions(const std::vector<Token>& tokens, std::size_t begin, std::size_t end,
                       const InstructionScope& scope, std::vector<Finding>& findings);

/// True when `procedure` is one of the converter's support procedures, name and text alike
/// (blanks and line ends aside).
bool IsSupportProcedure(const Program& program, const Procedure& procedure);

}  // namespace tortuval::logo
