#include "logo/reader.h"

#include "expr/cp1252.h"

namespace tortuval::logo {
namespace {

bool StartsLine(const std::vector<Token>& tokens, std::size_t at) {
  return at == 0 || tokens[at - 1].kind == TokenKind::kLineEnd;
}

std::size_t NextLine(const std::vector<Token>& tokens, std::size_t at) {
  while (at < tokens.size() && tokens[at].kind != TokenKind::kLineEnd) ++at;
  return at < tokens.size() ? at + 1 : at;
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

Program ReadProgram(std::string_view text) {
  Program program;
  program.stream = ReadTokens(text);
  const std::vector<Token>& tokens = program.stream.tokens;
  // The words are compared by their numbers: IsWord would read every line's first word again.
  const std::uint32_t pour = program.stream.names.Find("POUR");
  const std::uint32_t fin = program.stream.names.Find("FIN");
  const auto is = [&](std::size_t at, std::uint32_t name) {
    return tokens[at].kind == TokenKind::kWord && tokens[at].name == name;
  };
  std::size_t partStart = 0;
  // The open procedure, by index: the vector grows while it is open.
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t open = kNone;
  for (std::size_t at = 0; at < tokens.size(); at = NextLine(tokens, at)) {
    if (!StartsLine(tokens, at)) continue;
    if (is(at, pour)) {
      if (open != kNone) {
        program.procedures[open].bodyEnd = at;
      } else if (at > partStart) {
        program.mainParts.emplace_back(partStart, at);
      }
      Procedure& procedure = program.procedures.emplace_back();
      procedure.header = at;
      std::size_t next = at + 1;
      if (next < tokens.size() && tokens[next].kind == TokenKind::kWord) {
        procedure.name = tokens[next++].text;
      }
      for (; next < tokens.size() && tokens[next].kind == TokenKind::kValue; ++next) {
        procedure.inputs.push_back(NameOf(tokens[next]));
      }
      procedure.bodyBegin = NextLine(tokens, at);
      procedure.bodyEnd = tokens.size();
      open = program.procedures.size() - 1;
    } else if (is(at, fin)) {
      if (open == kNone) {
        if (at > partStart) program.mainParts.emplace_back(partStart, at);
        program.strayEnds.push_back(at);
      } else {
        program.procedures[open].bodyEnd = at;
        program.procedures[open].closed = true;
        open = kNone;
      }
      partStart = NextLine(tokens, at);
    }
  }
  if (open == kNone && partStart < tokens.size()) {
    program.mainParts.emplace_back(partStart, tokens.size());
  }
  return program;
}

}  // namespace tortuval::logo
