#include "logo/reader.h"

#include "base/cp1252.h"

namespace tortuval::logo {
bool IsWord(const Token& token, std::string_view upper) {
  return token.kind == TokenKind::kWord && base::EqualIgnoringCase(token.text, upper);
}

ProgramParts FindParts(const LexemeStream& stream) {
  ProgramParts parts;
  const std::vector<Lexeme>& lexemes = stream.lexemes;
  const std::vector<std::uint32_t>& lineFirsts = stream.lineFirsts;
  // Only the lines the reader found starting with POUR or FIN are visited.
  const std::uint32_t pour = stream.names.Find("POUR");
  const std::uint32_t fin = stream.names.Find("FIN");
  const auto is = [&](std::size_t at, std::uint32_t name) {
    return lexemes[at].kind == TokenKind::kWord && lexemes[at].name == name;
  };
  // The first lexeme of the line after line `line` (from 0), or the end.
  const auto nextLine = [&](std::size_t line) -> std::size_t {
    return line + 1 < lineFirsts.size() ? lineFirsts[line + 1] : lexemes.size();
  };
  std::size_t partStart = 0;
  // The open procedure, by index: the vector grows while it is open.
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t open = kNone;
  for (const std::size_t line : stream.procedureLines) {
    const std::size_t at = lineFirsts[line];
    if (is(at, pour)) {
      if (open != kNone) {
        parts.procedures[open].bodyEnd = at;
      } else if (at > partStart) {
        parts.mainParts.emplace_back(partStart, at);
      }
      ProcedureParts& procedure = parts.procedures.emplace_back();
      procedure.header = at;
      std::size_t next = at + 1;
      if (next < lexemes.size() && lexemes[next].kind == TokenKind::kWord) {
        procedure.nameAt = next++;
      }
      procedure.inputsBegin = next;
      while (next < lexemes.size() && lexemes[next].kind == TokenKind::kValue) ++next;
      procedure.inputsEnd = next;
      procedure.bodyBegin = nextLine(line);
      procedure.bodyEnd = lexemes.size();
      open = parts.procedures.size() - 1;
    } else if (is(at, fin)) {
      if (open == kNone) {
        if (at > partStart) parts.mainParts.emplace_back(partStart, at);
        parts.strayEnds.push_back(at);
      } else {
        parts.procedures[open].bodyEnd = at;
        parts.procedures[open].closed = true;
        open = kNone;
      }
      partStart = nextLine(line);
    }
  }
  if (open == kNone && partStart < lexemes.size()) {
    parts.mainParts.emplace_back(partStart, lexemes.size());
  }
  return parts;
}

Program ReadProgram(std::string_view text) {
  LexemeStream lexemes = ReadLexemes(text);
  ProgramParts parts = FindParts(lexemes);
  Program program;
  program.stream = TokensOf(std::move(lexemes));
  const std::vector<Token>& tokens = program.stream.tokens;
  program.procedures.reserve(parts.procedures.size());
  for (const ProcedureParts& found : parts.procedures) {
    Procedure& procedure = program.procedures.emplace_back();
    if (found.nameAt != ProcedureParts::kNoLexeme) procedure.name = tokens[found.nameAt].text;
    for (std::size_t at = found.inputsBegin; at < found.inputsEnd; ++at) {
      procedure.inputs.push_back(NameOf(tokens[at]));
    }
    procedure.header = found.header;
    procedure.bodyBegin = found.bodyBegin;
    procedure.bodyEnd = found.bodyEnd;
    procedure.closed = found.closed;
  }
  program.mainParts = std::move(parts.mainParts);
  program.strayEnds = std::move(parts.strayEnds);
  return program;
}

}  // namespace tortuval::logo
