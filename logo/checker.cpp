#include "logo/checker.h"

#include <algorithm>
#include <future>
#include <iterator>
#include <limits>
#include <string>

#include "logo/check_parts.h"
#include "logo/messages.h"
#include "logo/vocabulary.h"

namespace tortuval::logo {
namespace {

// Calls fn(name) for each name that DEFINIS "x or SOIT "x introduce in lexemes [begin, end);
// counted loops are written as a SOIT of their counter.
template <typename Fn>
void CollectIntroducedNames(const LexemeStream& stream, std::size_t begin, std::size_t end, Fn fn) {
  const std::uint32_t soit = stream.names.Find("SOIT");
  const std::uint32_t definis = stream.names.Find("DEFINIS");
  // Only the quoted words are visited: a name follows the word that introduces it.
  auto quoted = std::lower_bound(
      stream.quoted.begin(), stream.quoted.end(), begin,
      [](const QuotedAt& held, std::size_t wanted) { return held.index < wanted; });
  for (; quoted != stream.quoted.end() && quoted->index < end; ++quoted) {
    if (quoted->wordBefore != kNoName &&
        (quoted->wordBefore == soit || quoted->wordBefore == definis)) {
      fn(quoted->name);
    }
  }
}

// What each name stands for, and the values introduced outside the procedures.
NameMeanings MeaningsOf(const LexemeStream& stream, const ProgramParts& parts) {
  const Lexicon& lexicon = stream.names;
  NameMeanings names;
  names.primitives.resize(lexicon.Size());
  names.infix.resize(lexicon.Size());
  for (std::uint32_t name = 0; name < lexicon.Size(); ++name) {
    const Primitive* primitive = FindPrimitive(lexicon.Key(name));
    names.primitives[name] = primitive;
    names.infix[name] = FindInfix(lexicon.Key(name)) != nullptr;
  }
  // A name given to two procedures keeps the first one's inputs.
  names.procedureInputs.assign(lexicon.Size(), -1);
  for (const ProcedureParts& procedure : parts.procedures) {
    if (procedure.nameAt == ProcedureParts::kNoLexeme) continue;
    int& inputs = names.procedureInputs[stream.lexemes[procedure.nameAt].name];
    if (inputs < 0) inputs = static_cast<int>(procedure.inputsEnd - procedure.inputsBegin);
  }
  names.globals.assign(lexicon.Size(), 0);
  for (const auto& [begin, end] : parts.mainParts) {
    CollectIntroducedNames(stream, begin, end,
                           [&](std::uint32_t name) { names.globals[name] = 1; });
  }
  return names;
}

// The bracket balance and the instructions of lexemes [begin, end).
void CheckRange(const LexemeStream& stream, std::size_t begin, std::size_t end, RangeEnd rangeEnd,
                const InstructionScope& scope, std::vector<Finding>& findings) {
  CheckBalance(stream, begin, end, rangeEnd, findings);
  CheckInstructions(stream, begin, end, scope, findings);
}

// One finding per warned line, at the parenthesis to remove: the one behind a procedure name
// ("PSEUDAL_POS_MINIMUM ( … )"), else the line's first one, else the warning itself.
void ReportWarnedLines(const LexemeStream& stream, const std::vector<WarnedLine>& warned,
                       const NameMeanings& names, std::vector<Finding>& findings) {
  const std::vector<Lexeme>& lexemes = stream.lexemes;
  for (const WarnedLine& line : warned) {
    const Lexeme* call = nullptr;
    const Lexeme* callee = nullptr;
    const Lexeme* firstGroup = nullptr;
    for (std::size_t at = line.firstLexeme;
         at < lexemes.size() && lexemes[at].begin < line.end && call == nullptr; ++at) {
      const Lexeme& lexeme = lexemes[at];
      if (lexeme.kind != TokenKind::kOpenGroup) continue;
      if (firstGroup == nullptr) firstGroup = &lexeme;
      if (at > 0 && lexemes[at - 1].kind == TokenKind::kWord &&
          names.procedureInputs[lexemes[at - 1].name] >= 0) {
        call = &lexeme;
        callee = &lexemes[at - 1];
      }
    }
    if (call != nullptr) {
      AddFinding(stream, findings, *call, FindingKind::kFixByHand,
                 FormatMessage(MessageId::kWarnedCall, {stream.TextOf(*callee)}));
    } else if (firstGroup != nullptr) {
      AddFinding(stream, findings, *firstGroup, FindingKind::kFixByHand,
                 FormatMessage(MessageId::kWarnedLine, {}));
    } else {
      const Comment& comment = stream.comments[line.comment];
      findings.push_back(Finding{comment.line, comment.column, FindingKind::kFixByHand,
                                 FormatMessage(MessageId::kWarnedWithoutParentheses, {})});
    }
  }
}

}  // namespace

std::vector<Finding> CheckProgram(std::string_view text) {
  const LexemeStream stream = ReadLexemes(text);
  const ProgramParts parts = FindParts(stream);
  const std::vector<Lexeme>& lexemes = stream.lexemes;
  std::vector<Finding> findings;
  const std::vector<WarnedLine>& warned = stream.warnedLines;
  const NameMeanings names = MeaningsOf(stream, parts);

  for (const std::size_t at : parts.strayEnds) {
    AddFinding(stream, findings, lexemes[at], FindingKind::kUnbalanced,
               FormatMessage(MessageId::kStrayEnd, {stream.TextOf(lexemes[at])}));
  }
  for (const auto& [begin, end] : parts.mainParts) {
    CheckRange(stream, begin, end, RangeEnd::kProgramEnd, {&names, nullptr, 0, &warned}, findings);
  }
  // By name number: the mark of the last procedure that introduced the value.
  std::vector<std::uint32_t> locals(stream.names.Size(), 0);
  std::uint32_t localMark = 0;
  for (const ProcedureParts& procedure : parts.procedures) {
    // The support procedures are fixed texts the user does not write, with oddities of their
    // own (a bare "val", "entier:n"): nothing is reported inside them.
    if (IsSupportProcedure(stream, procedure)) continue;
    ++localMark;
    for (std::size_t at = procedure.inputsBegin; at < procedure.inputsEnd; ++at) {
      locals[lexemes[at].name] = localMark;
    }
    CollectIntroducedNames(stream, procedure.bodyBegin, procedure.bodyEnd,
                           [&](std::uint32_t name) { locals[name] = localMark; });
    const RangeEnd rangeEnd = procedure.closed ? RangeEnd::kFin : RangeEnd::kProgramEnd;
    CheckRange(stream, procedure.bodyBegin, procedure.bodyEnd, rangeEnd,
               {&names, &locals, localMark, &warned}, findings);
    if (!procedure.closed) {
      const std::string_view name = procedure.nameAt == ProcedureParts::kNoLexeme
                                        ? std::string_view()
                                        : stream.TextOf(lexemes[procedure.nameAt]);
      AddFinding(stream, findings, lexemes[procedure.header], FindingKind::kOpenBlock,
                 FormatMessage(MessageId::kOpenProcedure, {name}));
    }
  }
  ReportWarnedLines(stream, warned, names, findings);

  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return a.line != b.line ? a.line < b.line : a.column < b.column;
  });
  return findings;
}

std::string DescribeFinding(const Finding& finding) {
  return "ligne " + std::to_string(finding.line) + ", colonne " + std::to_string(finding.column) +
         " : " + finding.message;
}

}  // namespace tortuval::logo
