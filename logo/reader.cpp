#include "logo/reader.h"

#include "expr/cp1252.h"

namespace tortuval::logo {
namespace {

// The index after the line end that follows `at`, or the end.
std::size_t NextLine(const std::vector<Lexeme>& lexemes, std::size_t at) {
  while (at < lexemes.size() && lexemes[at].kind != TokenKind::kLineEnd) ++at;
  return at < lexemes.size() ? at + 1 : at;
}

}  // namespace

bool IsWord(const Token& token, std::string_view upper) {
  if (token.kind != TokenKind::kWord || token.text.size() != upper.size()) return false;
  for (std::size_t i = 0; i < upper.size(); ++i) {
    if (expr::UpperCp1252(static_cast<unsigned char>(token.text[i])) !=
        static_cast<unsigned char>(upper[i])) {
      return false;
    }
  }
  return true;
}

ProgramParts FindParts(const LexemeStream& stream) {
  ProgramParts parts;
  const std::vector<Lexeme>& lexemes = stream.lexemes;
  // The words are compared by their numbers: only each line's first word is looked at.
  const std::uint32_t pour = stream.names.Find("POUR");
  const std::uint32_t fin = stream.names.Find("FIN");
  const auto is = [&](std::size_t at, std::uint32_t name) {
    return lexemes[at].kind == TokenKind::kWord && lexemes[at].name == name;
  };
  std::size_t partStart = 0;
  // The open procedure, by index: the vector grows while it is open.
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t open = kNone;
  for (std::size_t at = 0; at < lexemes.size(); at = NextLine(lexemes, at)) {
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
      procedure.bodyBegin = NextLine(lexemes, at);
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
      partStart = NextLine(lexemes, at);
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
    if (found.nameAt != ProcedureParts::kNoName) procedure.name = tokens[found.nameAt].text;
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
