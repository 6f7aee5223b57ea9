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

// Names that DEFINIS "x or SOIT "x introduce in tokens [begin, end); counted loops are written
// as a SOIT of their counter.
void CollectIntroducedNames(const std::vector<Token>& tokens, std::size_t begin, std::size_t end,
                            NameSet& names) {
  for (std::size_t at = begin; at + 1 < end; ++at) {
    if (tokens[at + 1].kind != TokenKind::kQuoted) continue;
    if (IsWord(tokens[at], "SOIT") || IsWord(tokens[at], "DEFINIS")) {
      names.Insert(NameOf(tokens[at + 1]));
    }
  }
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
                       const ProcedureInputs& procedures, std::vector<Finding>& findings) {
  const std::vector<Token>& tokens = program.stream.tokens;
  std::vector<const Token*> call(warned.size(), nullptr);
  std::vector<const Token*> firstGroup(warned.size(), nullptr);
  std::vector<const Token*> callee(warned.size(), nullptr);
  for (std::size_t at = 0; at < tokens.size(); ++at) {
    const Token& token = tokens[at];
    const auto line = static_cast<std::size_t>(token.line);
    if (token.kind != TokenKind::kOpenGroup || warned[line] == 0) continue;
    if (firstGroup[line] == nullptr) firstGroup[line] = &token;
    if (call[line] == nullptr && at > 0 && tokens[at - 1].kind == TokenKind::kWord) {
      if (procedures.Contains(tokens[at - 1].text)) {
        call[line] = &token;
        callee[line] = &tokens[at - 1];
      }
    }
  }
  for (const Comment& comment : program.stream.comments) {
    const auto line = static_cast<std::size_t>(comment.line);
    if (warned[line] == 0) continue;
    if (call[line] != nullptr) {
      AddFinding(findings, *call[line], FindingKind::kFixByHand,
                 FormatMessage(MessageId::kWarnedCall, {callee[line]->text}));
    } else {
      if (firstGroup[line] != nullptr) {
        AddFinding(findings, *firstGroup[line], FindingKind::kFixByHand,
                   FormatMessage(MessageId::kWarnedLine, {}));
      } else {
        findings.push_back(Finding{comment.line, comment.column, FindingKind::kFixByHand,
                                   FormatMessage(MessageId::kWarnedWithoutParentheses, {})});
      }
    }
  }
}

}  // namespace

std::vector<Finding> CheckProgram(std::string_view text) {
  const Program program = ReadProgram(text);
  const std::vector<Token>& tokens = program.stream.tokens;
  std::vector<Finding> findings;
  const std::vector<char> warned = WarnedLines(program.stream);

  ProcedureInputs procedures;
  for (const Procedure& procedure : program.procedures) {
    if (procedure.name.empty()) continue;
    procedures.Insert(procedure.name, static_cast<int>(procedure.inputs.size()));
  }
  NameSet globals;
  for (const auto& [begin, end] : program.mainParts) {
    CollectIntroducedNames(tokens, begin, end, globals);
  }

  for (const std::size_t at : program.strayEnds) {
    AddFinding(findings, tokens[at], FindingKind::kUnbalanced,
               FormatMessage(MessageId::kStrayEnd, {tokens[at].text}));
  }
  for (const auto& [begin, end] : program.mainParts) {
    CheckBalance(tokens, begin, end, RangeEnd::kProgramEnd, findings);
    CheckInstructions(tokens, begin, end, {&procedures, &globals, nullptr, &warned}, findings);
  }
  for (const Procedure& procedure : program.procedures) {
    // The support procedures are fixed texts the user does not write, with oddities of their
    // own (a bare "val", "entier:n"): nothing is reported inside them.
    if (IsSupportProcedure(program, procedure)) continue;
    NameSet locals;
    for (const std::string_view input : procedure.inputs) locals.Insert(input);
    CollectIntroducedNames(tokens, procedure.bodyBegin, procedure.bodyEnd, locals);
    const RangeEnd rangeEnd = procedure.closed ? RangeEnd::kFin : RangeEnd::kProgramEnd;
    CheckBalance(tokens, procedure.bodyBegin, procedure.bodyEnd, rangeEnd, findings);
    CheckInstructions(tokens, procedure.bodyBegin, procedure.bodyEnd,
                      {&procedures, &globals, &locals, &warned}, findings);
    if (!procedure.closed) {
      AddFinding(findings, tokens[procedure.header], FindingKind::kOpenBlock,
                 FormatMessage(MessageId::kOpenProcedure, {procedure.name}));
    }
  }
  ReportWarnedLines(program, warned, procedures, findings);

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
