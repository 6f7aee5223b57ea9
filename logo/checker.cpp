// The check: the reading's own findings, then passes over the tree for the values never
// introduced, the conditions that command nothing, the reads given a list as position, the
// converter's leftovers and the lines it marked for a fix by hand.

#include "logo/checker.h"

#include <algorithm>
#include <string>

#include "library/support_table.h"
#include "logo/leftovers.h"
#include "logo/messages.h"

namespace tortuval::logo {
namespace {

// Lines [first, last] of a procedure in which nothing is reported.
struct Span {
  int first;
  int last;
};

bool InSpans(const std::vector<Span>& spans, int line) {
  return std::any_of(spans.begin(), spans.end(),
                     [line](const Span& span) { return line >= span.first && line <= span.last; });
}

// The list whose "[" is where `list` is, as the document wrote it between its brackets: the
// text inside them, trimmed, without the colons the converter puts before names ("[ :i + 1 ]"
// gives "i + 1").
std::string WrittenInside(const Tokens& tokens, const Node& list) {
  const std::uint32_t open = tokens.lineStarts[static_cast<std::size_t>(list.line - 1)] +
                             static_cast<std::uint32_t>(list.column - 1);
  auto at = std::lower_bound(
      tokens.tokens.begin(), tokens.tokens.end(), open,
      [](const Token& token, std::uint32_t wanted) { return token.begin < wanted; });
  if (at == tokens.tokens.end() || at->kind != TokenKind::kOpenList) return {};
  std::string written;
  std::uint32_t copied = at->begin + 1;
  int depth = 0;
  for (++at; at != tokens.tokens.end() && at->kind != TokenKind::kLineEnd; ++at) {
    if (at->kind == TokenKind::kOpenList) ++depth;
    if (at->kind == TokenKind::kCloseList) {
      if (depth == 0) {
        written.append(tokens.text.substr(copied, at->begin - copied));
        break;
      }
      --depth;
    }
    if (at->kind == TokenKind::kValue) {
      written.append(tokens.text.substr(copied, at->begin - copied));
      copied = at->begin + 1;
    }
  }
  const std::size_t first = written.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return written.substr(first, written.find_last_not_of(" \t") + 1 - first);
}

// Values never introduced, the leftovers, the conditions that command nothing and the reads given
// a list as position, over one procedure (null: the main instructions) in one walk: a value read
// before the SOIT that introduces it waits for the walk's end.
class TreePass {
 public:
  TreePass(const Reading& reading, const Procedure* procedure, std::vector<char>& introduced,
           std::vector<Finding>& findings)
      : reading_(reading),
        program_(reading.program),
        procedure_(procedure),
        introduced_(introduced),
        findings_(findings) {}

  void Run(const Node& scope) {
    Visit(scope);
    for (const Node* node : waiting_) {
      if (introduced_[static_cast<std::size_t>(node->variable)] == 0) Report(*node);
    }
  }

 private:
  void Visit(const Node& node) {
    switch (node.op) {
      case Op::kAssign:
        ReportListAsReadPosition(node);
        [[fallthrough]];
      case Op::kDefine:
        if (!node.local) introduced_[static_cast<std::size_t>(node.variable)] = 1;
        break;
      case Op::kVariable:
      case Op::kStep:
      case Op::kReplace:
        if (!node.local && introduced_[static_cast<std::size_t>(node.variable)] == 0) {
          waiting_.push_back(&node);
        }
        break;
      case Op::kBlock:
        ReportIdleConditions(node);
        break;
      default:
        break;
    }
    if (node.leftover != Leftover::kNone) {
      findings_.push_back(Finding{node.line, node.column, FindingKind::kForYourLogo,
                                  LeftoverMessage(node.leftover, node.text)});
    }
    for (const Node& kid : node.kids) Visit(kid);
  }

  // A TESTE sets what the next SIVRAI or SIFAUX of its block reads. One followed by any other
  // instruction, or by none, commands nothing: a SI item whose block the document lost. A line
  // that could not be read after it is reported already.
  void ReportIdleConditions(const Node& block) {
    for (std::size_t i = 0; i < block.kids.size(); ++i) {
      if (block.kids[i].op != Op::kTest) continue;
      if (i + 1 < block.kids.size()) {
        const Op next = block.kids[i + 1].op;
        if (next == Op::kIfTrue || next == Op::kIfFalse || next == Op::kFailure) continue;
      }
      findings_.push_back(Finding{block.kids[i].line, block.kids[i].column,
                                  FindingKind::kIdleCondition,
                                  FormatMessage(MessageId::kIdleCondition, {})});
    }
  }

  // Where a read from a position ("LIRE t[i]") is given a list as that position, the list:
  // "SOIT "t PSEUDAL_LIRE_LISTE :t [ :i ]" into a list, "SOIT "t PH LISTEVARS 0 0 ( [ :i ] - 1 )
  // LISLISTE" into any other variable. Null for any other value.
  const Node* ListAsReadPosition(const Node& value) const {
    const auto isList = [](const Node& node) { return node.op == Op::kConstant && node.isList; };
    if (value.op == Op::kCall && value.kids.size() == 2 && isList(value.kids[1])) {
      const Procedure& called = program_.procedures[static_cast<std::size_t>(value.procedure)];
      const library::SupportProcedure* row = library::FindSupportProcedure(called.name);
      if (called.support && row != nullptr && row->use == library::Use::kListRead) {
        return &value.kids[1];
      }
    }
    if (value.operation == Operation::kSentence && value.kids.size() == 2 &&
        value.kids[1].operation == Operation::kReadList &&
        value.kids[0].operation == Operation::kSpacedNumbers && value.kids[0].kids.size() == 3) {
      const Node& skipped = value.kids[0].kids[2];
      if (skipped.op == Op::kSubtract && !skipped.kids.empty() && isList(skipped.kids[0])) {
        return &skipped.kids[0];
      }
    }
    return nullptr;
  }

  // "LIRE t[[i]]": the document gives the read the position "[i]", which the converter writes as
  // the list "[ :i ]"; the run would stop on it as on a value that is no number.
  void ReportListAsReadPosition(const Node& assignment) {
    if (assignment.kids.empty()) return;
    const Node* position = ListAsReadPosition(assignment.kids[0]);
    if (position == nullptr) return;
    const std::string& name =
        assignment.local && procedure_ != nullptr
            ? procedure_->localNames[static_cast<std::size_t>(assignment.variable)]
            : program_.globalNames[static_cast<std::size_t>(assignment.variable)];
    findings_.push_back(Finding{position->line, position->column, FindingKind::kUnknownWord,
                                FormatMessage(MessageId::kDoubledBrackets,
                                              {name, WrittenInside(reading_.tokens, *position)})});
  }

  void Report(const Node& node) {
    const std::string& name = program_.globalNames[static_cast<std::size_t>(node.variable)];
    const std::string written = ":" + name;
    findings_.push_back(Finding{node.line, node.column, FindingKind::kUndeclaredValue,
                                FormatMessage(MessageId::kUndeclaredValue, {written, name})});
  }

  const Reading& reading_;
  const Program& program_;
  const Procedure* procedure_;
  std::vector<char>& introduced_;  // by global variable
  std::vector<Finding>& findings_;
  std::vector<const Node*> waiting_;
};

// One finding per warned line, at the parenthesis to remove: the one behind a procedure name
// ("PSEUDAL_POS_MINIMUM ( … )"), else the line's first one, else the warning itself.
void ReportWarnedLines(const Reading& reading, std::vector<Finding>& findings) {
  const std::vector<Token>& tokens = reading.tokens.tokens;
  const Names& names = reading.tokens.names;
  std::vector<std::uint32_t> procedureNames;
  std::string key;
  for (const Procedure& procedure : reading.program.procedures) {
    WordKey(procedure.name, key);
    procedureNames.push_back(names.Find(key));
  }
  const auto namesProcedure = [&](const Token& token) {
    return token.kind == TokenKind::kWord && std::find(procedureNames.begin(), procedureNames.end(),
                                                       token.name) != procedureNames.end();
  };
  for (const Comment& comment : reading.tokens.comments) {
    if (!comment.warns) continue;
    const auto line = static_cast<std::uint32_t>(comment.line);
    auto at = std::lower_bound(
        tokens.begin(), tokens.end(), line,
        [](const Token& token, std::uint32_t wanted) { return token.line < wanted; });
    const Token* firstGroup = nullptr;
    const Token* call = nullptr;
    for (; at != tokens.end() && at->line == line && call == nullptr; ++at) {
      if (at->kind != TokenKind::kOpenGroup) continue;
      if (firstGroup == nullptr) firstGroup = &*at;
      if (at != tokens.begin() && namesProcedure(*(at - 1))) call = &*at;
    }
    if (call != nullptr) {
      findings.push_back(
          Finding{comment.line, reading.tokens.ColumnOf(*call), FindingKind::kFixByHand,
                  FormatMessage(MessageId::kWarnedCall, {reading.tokens.TextOf(*(call - 1))})});
    } else if (firstGroup != nullptr) {
      findings.push_back(Finding{comment.line, reading.tokens.ColumnOf(*firstGroup),
                                 FindingKind::kFixByHand,
                                 FormatMessage(MessageId::kWarnedLine, {})});
    } else {
      findings.push_back(Finding{comment.line, comment.column, FindingKind::kFixByHand,
                                 FormatMessage(MessageId::kWarnedWithoutParentheses, {})});
    }
  }
}

}  // namespace

std::vector<Finding> CheckReading(const Reading& reading) {
  const Program& program = reading.program;
  const std::vector<Token>& tokens = reading.tokens.tokens;
  // The support procedures are fixed texts the user does not write, with oddities of their
  // own (a bare "val", "entier:n"): nothing is reported inside them.
  std::vector<Span> support;
  for (const Procedure& procedure : program.procedures) {
    if (procedure.support) {
      support.push_back(Span{procedure.line, static_cast<int>(tokens[procedure.endToken].line)});
    }
  }
  std::vector<int> warned;
  for (const Comment& comment : reading.tokens.comments) {
    if (comment.warns) warned.push_back(comment.line);
  }
  std::vector<Finding> findings;
  for (const Finding& finding : reading.findings) {
    if (InSpans(support, finding.line)) continue;
    // A warned line keeps parentheses around inputs on purpose: its counts are not reported.
    if (finding.kind == FindingKind::kMissingInput &&
        std::find(warned.begin(), warned.end(), finding.line) != warned.end()) {
      continue;
    }
    findings.push_back(finding);
  }

  // A procedure sees the values the main instructions introduce, and its own.
  std::vector<char> mainIntroduced(program.globalNames.size(), 0);
  TreePass(reading, nullptr, mainIntroduced, findings).Run(program.main);
  std::vector<char> introduced;
  for (const Procedure& procedure : program.procedures) {
    if (InSpans(support, procedure.line)) continue;
    introduced = mainIntroduced;
    TreePass(reading, &procedure, introduced, findings).Run(procedure.body);
  }
  ReportWarnedLines(reading, findings);

  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return a.line != b.line ? a.line < b.line : a.column < b.column;
  });
  return findings;
}

std::vector<Finding> CheckProgram(std::string_view program) {
  return CheckReading(ReadProgram(program));
}

std::string DescribeFinding(const Finding& finding) {
  return "ligne " + std::to_string(finding.line) + ", colonne " + std::to_string(finding.column) +
         " : " + finding.message;
}

}  // namespace tortuval::logo
