#pragma once
// A LOGO program read into its tokens and its procedure definitions: the structure that the
// checker walks and that a runner executes.

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "logo/tokens.h"

namespace tortuval::logo {

/// "POUR name :a :b … FIN" (either case): where its tokens are.
struct Procedure {
  std::string_view name;                 ///< empty when the header line names nothing
  std::vector<std::string_view> inputs;  ///< the names of its inputs, without the colons
  std::size_t header = 0;                ///< index of the POUR token
  std::size_t bodyBegin = 0;             ///< first token after the header line
  std::size_t bodyEnd = 0;               ///< index of the FIN token, or the end of the program
  bool closed = false;                   ///< whether a FIN line ends it
};

/// The whole program: its tokens, its procedures in text order, and the parts outside them.
struct Program {
  TokenStream stream;
  std::vector<Procedure> procedures;
  /// Token ranges [first, second) of the instructions outside every procedure, in order.
  std::vector<std::pair<std::size_t, std::size_t>> mainParts;
  /// FIN tokens that close no procedure.
  std::vector<std::size_t> strayEnds;
};

/// Where one procedure is, by lexeme index: the compact form of Procedure.
struct ProcedureParts {
  static constexpr std::size_t kNoLexeme = static_cast<std::size_t>(-1);
  std::size_t header = 0;          ///< the POUR lexeme
  std::size_t nameAt = kNoLexeme;  ///< the lexeme of its name, or kNoLexeme
  std::size_t inputsBegin = 0;     ///< its inputs are the values [inputsBegin, inputsEnd)
  std::size_t inputsEnd = 0;
  std::size_t bodyBegin = 0;  ///< first lexeme after the header line
  std::size_t bodyEnd = 0;    ///< the FIN lexeme, or the end of the program
  bool closed = false;        ///< whether a FIN line ends it
};

/// The procedures and main parts of a program read in the compact form, as in Program.
struct ProgramParts {
  std::vector<ProcedureParts> procedures;
  std::vector<std::pair<std::size_t, std::size_t>> mainParts;
  std::vector<std::size_t> strayEnds;
};

/// Finds the procedures of a program read by ReadLexemes, by the rule of ReadProgram.
ProgramParts FindParts(const LexemeStream& stream);

/// Reads a program (Windows-1252, CR LF or LF line ends, any bytes). A procedure starts at a
/// line whose first word is POUR and ends at a line whose first word is FIN; a POUR line met
/// before that FIN leaves the procedure open and starts the next one.
Program ReadProgram(std::string_view text);

/// True when `token` is a word equal to `upper` ignoring case.
bool IsWord(const Token& token, std::string_view upper);

}  // namespace tortuval::logo
