#include "logo/checker.h"

#include <algorithm>
#include <string>

#include "logo/check_parts.h"
#include "logo/messages.h"
#include "logo/vocabulary.h"

namespace tortuval::logo {
namespace {

// The converter ends a line with this sentence (after "//", alone or after the loop comment)
// when built-ins kept parentheses that the user must remove.
constexpr std::string_view kWarningSentence =
    "Des parenth\xE8ses doivent \xEAtre supprim\xE9"
    "es sur cette ligne.";

// Calls fn(name) for each name that DEFINIS "x or SOIT "x introduce in tokens [begin, end);
// counted loops are written as a SOIT of their counter.
template <typename Fn>
void CollectIntroducedNames(const Program& program, std::size_t begin, std::size_t end, Fn fn) {
  const std::vector<Token>& tokens = program.stream.tokens;
  const std::uint32_t soit = program.stream.names.Find("SOIT");
  const std::uint32_t definis = program.stream.names.Find("DEFINIS");
  for (std::size_t at = begin; at + 1 < end; ++at) {
    if (tokens[at + 1].kind != TokenKind::kQuoted || tokens[at].kind != TokenKind::kWord) continue;
    if (tokens[at].name == soit || tokens[at].name == definis) fn(tokens[at + 1].name);
  }
}

// What each name stands for, and the values introduced outside the procedures.
NameMeanings MeaningsOf(const Program& program) {
  const Lexicon& lexicon = program.stream.names;
  NameMeanings names;
  names.primitives.resize(lexicon.Size());
  names.infix.resize(lexicon.Size());
  for (std::uint32_t name = 0; name < lexicon.Size(); ++name) {
    names.primitives[name] = FindPrimitive(lexicon.Key(name));
    names.infix[name] = FindInfix(lexicon.Key(name)) != nullptr;
  }
  // A name given to two procedures keeps the first one's inputs.
  names.procedureInputs.assign(lexicon.Size(), -1);
  for (const Procedure& procedure : program.procedures) {
    if (procedure.name.empty()) continue;
    int& inputs = names.procedureInputs[lexicon.Find(procedure.name)];
    if (inputs < 0) inputs = static_cast<int>(procedure.inputs.size());
  }
  names.globals.assign(lexicon.Size(), 0);
  for (const auto& [begin, end] : program.mainParts) {
    CollectIntroducedNames(program, begin, end,
                           [&](std::uint32_t name) { names.globals[name] = 1; });
  }
  return names;
}

std::vector<char> WarnedLines(const TokenStream& stream) {
  std::vector<char> warned(static_cast<std::size_t>(stream.lineCount) + 1, 0);
  for (const Comment& comment : stream.comments) {
    if (comment.text.find(kWarningSentence) != std::string_view::npos) {
      warned[static_cast<std::size_t>(comment.line)] = 1;
    }
  }
  return warned;
}

// One finding per warned line, at the parenthesis to remove: the one behind a procedure name
// ("PSEUDAL_POS_MINIMUM ( … )"), else the line's first one, else the warning itself.
void ReportWarnedLines(const Program& program, const std::vector<char>& warned,
                       const NameMeanings& names, std::vector<Finding>& findings) {
  const std::vector<Token>& tokens = program.stream.tokens;
  for (const Comment& comment : program.stream.comments) {
    const auto line = static_cast<std::size_t>(comment.line);
    if (warned[line] == 0) continue;
    // Few lines are warned: the tokens, in line order, are searched for each one's.
    const auto first =
        std::lower_bound(tokens.begin(), tokens.end(), comment.line,
                         [](const Token& token, int wanted) { return token.line < wanted; });
    const Token* call = nullptr;
    const Token* callee = nullptr;
    const Token* firstGroup = nullptr;
    for (auto at = static_cast<std::size_t>(first - tokens.begin());
         at < tokens.size() && tokens[at].line == comment.line && call == nullptr; ++at) {
      const Token& token = tokens[at];
      if (token.kind != TokenKind::kOpenGroup) continue;
      if (firstGroup == nullptr) firstGroup = &token;
      if (at > 0 && tokens[at - 1].kind == TokenKind::kWord &&
          names.procedureInputs[tokens[at - 1].name] >= 0) {
        call = &token;
        callee = &tokens[at - 1];
      }
    }
    if (call != nullptr) {
      AddFinding(findings, *call, FindingKind::kFixByHand,
                 FormatMessage(MessageId::kWarnedCall, {callee->text}));
    } else if (firstGroup != nullptr) {
      AddFinding(findings, *firstGroup, FindingKind::kFixByHand,
                 FormatMessage(MessageId::kWarnedLine, {}));
    } else {
      findings.push_back(Finding{comment.line, comment.column, FindingKind::kFixByHand,
                                 FormatMessage(MessageId::kWarnedWithoutParentheses, {})});
    }
  }
}

}  // namespace

std::vector<Finding> CheckProgram(std::string_view text) {
  const Program program = ReadProgram(text);
  const std::vector<Token>& tokens = program.stream.tokens;
  std::vector<Finding> findings;
  const std::vector<char> warned = WarnedLines(program.stream);

  const Lexicon& lexicon = program.stream.names;
  const NameMeanings names = MeaningsOf(program);

  for (const std::size_t at : program.strayEnds) {
    AddFinding(findings, tokens[at], FindingKind::kUnbalanced,
               FormatMessage(MessageId::kStrayEnd, {tokens[at].text}));
  }
  for (const auto& [begin, end] : program.mainParts) {
    CheckBalance(tokens, begin, end, RangeEnd::kProgramEnd, names, findings);
    CheckInstructions(tokens, begin, end, {&lexicon, &names, nullptr, 0, &warned}, findings);
  }
  // By name number: the mark of the last procedure that introduced the value.
  std::vector<std::uint32_t> locals(lexicon.Size(), 0);
  std::uint32_t localMark = 0;
  for (const Procedure& procedure : program.procedures) {
    // The support procedures are fixed texts the user does not write, with oddities of their
    // own (a bare "val", "entier:n"): nothing is reported inside them.
    if (IsSupportProcedure(program, procedure)) continue;
    ++localMark;
    for (const std::string_view input : procedure.inputs) locals[lexicon.Find(input)] = localMark;
    CollectIntroducedNames(program, procedure.bodyBegin, procedure.bodyEnd,
                           [&](std::uint32_t name) { locals[name] = localMark; });
    const RangeEnd rangeEnd = procedure.closed ? RangeEnd::kFin : RangeEnd::kProgramEnd;
    CheckBalance(tokens, procedure.bodyBegin, procedure.bodyEnd, rangeEnd, names, findings);
    CheckInstructions(tokens, procedure.bodyBegin, procedure.bodyEnd,
                      {&lexicon, &names, &locals, localMark, &warned}, findings);
    if (!procedure.closed) {
      AddFinding(findings, tokens[procedure.header], FindingKind::kOpenBlock,
                 FormatMessage(MessageId::kOpenProcedure, {procedure.name}));
    }
  }
  ReportWarnedLines(program, warned, names, findings);

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
