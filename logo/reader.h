#pragma once
// Reads a LOGO program into its tree, with what could not be read as findings at their places.

#include <string_view>
#include <vector>

#include "logo/finding.h"
#include "logo/lexer.h"
#include "logo/tree.h"

namespace tortuval::logo {

/// A program read: its tokens, its tree, and the findings of the reading (unknown words,
/// missing inputs, unbalanced brackets, open blocks), in the order met. Each part that could
/// not be read is a failure node in the tree, at its place, with the finding's sentence: a run
/// stops there after what precedes it.
struct Reading {
  Tokens tokens;
  Program program;
  std::vector<Finding> findings;
};

/// Reads a program (Windows-1252, CR LF or LF line ends, any bytes). A procedure starts at a
/// line whose first word is POUR and ends at a line whose first word is FIN; a POUR line met
/// before that FIN leaves the procedure open and starts the next one. The text must outlive
/// the reading.
Reading ReadProgram(std::string_view text);

/// True when `procedure` is one of the converter's support procedures, name and text alike
/// (blanks and line ends aside). The reader tells them apart once (Procedure::support): the check
/// reports nothing inside them, a run steps over them as one instruction of their caller.
bool IsSupportProcedure(const Tokens& tokens, const Procedure& procedure);

}  // namespace tortuval::logo
