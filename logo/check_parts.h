#pragma once
// The parts of the check, each over token ranges of a read program: the bracket balance, the
// instructions and their inputs, and the recognition of the converter's support procedures.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "logo/checker.h"
#include "logo/reader.h"
#include "logo/word_table.h"

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
void CheckBalance(const std::vector<Token>& tokens, std::size_t begin, std::size_t end,
                  RangeEnd rangeEnd, std::vector<Finding>& findings);

/// Names compared as WordKey compares them: values introduced, procedures with their input count.
using NameSet = WordTable;
using ProcedureInputs = WordTable;

/// What the instruction check reads besides the tokens.
struct InstructionScope {
  const ProcedureInputs* procedures;     ///< every procedure of the program, by name
  const NameSet* globals;                ///< values introduced outside the procedures
  const NameSet* locals;                 ///< values of the procedure being checked, or null
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
