// Blocks: SI/SINON, TANT_QUE and the counted POUR loop. Opening a block pushes the width of
// its opening text on the indentation stack; closing it writes the bracket and pops.

#include <string>

#include "convert/document.h"
#include "convert/translators.h"
#include "expr/numeric.h"
#include "library/counted_loop.h"

namespace tortuval::convert {
namespace {

// SIVRAI pushes a fixed width, wider than its own 8 characters.
constexpr std::int64_t kIfWidth = 22;
constexpr std::int64_t kElseWidth = 8;
// "TANT QUE " and " [" around the condition.
constexpr std::int64_t kWhileFrameWidth = 11;

constexpr std::string_view kLoopComment = "   // BOUCLE REPETE_POUR";

// The translator spaces a sign ("-1" gives "- 1"); a literal negative bound is joined again so
// that the count table recognises it.
std::string JoinNegativeLiteral(std::string bound) {
  if (bound.size() > 2 && bound[0] == '-' && bound[1] == ' ' &&
      expr::IsNumber(std::string_view(bound).substr(2))) {
    bound.erase(1, 1);
  }
  return bound;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The REPETE keyword (with "ABS " where the count may be negative) and the repetition count,
// chosen from the translated start s and end e.
struct LoopCount {
  std::string keyword;
  std::string count;
};

LoopCount CountLoop(const std::string& s, const std::string& e) {
  if (s == "0") {
    if (e == "-1") return {"REPETE ", "0"};
    if (e == "0") return {"REPETE ", "1"};
    if (e == "1") return {"REPETE ", "2"};
    if (EndsWith(e, "- 1")) return {"REPETE ABS ", "( " + e.substr(0, e.size() - 4) + " )"};
    return {"REPETE ABS ", "( " + e + " + 1)"};
  }
  if (s == "-1") return {"REPETE ABS ", "( " + e + " + 2)"};
  if (s == "1") {
    if (expr::IsNumber(e) && expr::NumberValue(e) >= 0) return {"REPETE ", e};
    return {"REPETE ABS ", "( " + e + " )"};
  }
  return {"REPETE ", "((( " + e + " ) - ( " + s + " )) + 1)"};
}

// Writes a pass's end: the test on a line, its two branches on the next.
class PassEndWriter {
 public:
  PassEndWriter(ConversionState& state, const LoopRecord& loop) : state_(state), loop_(loop) {}

  bool Test(std::string_view comparison) {
    state_.AppendLine("TESTE " + loop_.span + " " + std::string(comparison));
    return true;
  }
  bool Branch(std::string_view keyword, std::string_view stepWord, int /*step*/) {
    if (!branches_.empty()) branches_ += ' ';
    branches_.append(keyword).append(" ").append(stepWord).append(" :").append(loop_.variable);
    return true;
  }
  void Finish() { state_.AppendLine(branches_); }

 private:
  ConversionState& state_;
  const LoopRecord& loop_;
  std::string branches_;
};

void CloseBlock(ConversionState& state, std::string_view comment) {
  state.AppendLine(comment);
  state.AppendLine("]");
  state.indentStack.Pop();
}

}  // namespace

void TranslateIf(ConversionState& state, std::string_view item) {
  ItemFields fields(item);
  state.AppendLine("TESTE " + state.Translate(fields.Last()));
}

void TranslateIfBegin(ConversionState& state, std::string_view /*item*/) {
  state.AppendLine("SIVRAI [ // DEBUT_SI");
  state.indentStack.Push(state.indentStack.Top() + kIfWidth);
}

void TranslateIfEnd(ConversionState& state, std::string_view /*item*/) {
  CloseBlock(state, "// FIN_SI");
}

void TranslateElse(ConversionState& state, std::string_view /*item*/) {
  state.AppendLine("SIFAUX [");
  state.indentStack.Push(state.indentStack.Top() + kElseWidth);
}

void TranslateElseBegin(ConversionState& state, std::string_view /*item*/) {
  state.AppendLine("// DEBUT_SINON");
}

void TranslateElseEnd(ConversionState& state, std::string_view /*item*/) {
  CloseBlock(state, " // FIN_SINON");
}

void TranslateWhile(ConversionState& state, std::string_view item) {
  ItemFields fields(item);
  const std::string condition = state.Translate(fields.Last());
  state.AppendLine("TANT QUE " + condition + " [");
  state.indentStack.Push(state.indentStack.Top() + kWhileFrameWidth +
                         static_cast<std::int64_t>(condition.size()));
}

void TranslateWhileBegin(ConversionState& state, std::string_view /*item*/) {
  state.AppendLine("// DEBUT_TANTQUE");
}

void TranslateWhileEnd(ConversionState& state, std::string_view /*item*/) {
  CloseBlock(state, "// FIN_TANTQUE");
}

void TranslateFor(ConversionState& state, std::string_view item) {
  ItemFields fields(item);
  const std::string variable(fields.Next());
  const std::string_view start = fields.Next();
  const std::string_view end = fields.Last();
  if (!variable.empty()) state.functionVariables.Add(variable, expr::VariableKind::kNumber);
  const std::string s = JoinNegativeLiteral(state.Translate(start));
  const std::string e = JoinNegativeLiteral(state.Translate(end));
  state.AppendLine("SOIT \"" + variable + " " + s);

  const LoopCount loop = CountLoop(s, e);
  const std::string repeat = loop.keyword + loop.count + "  [";
  state.AppendLine(repeat + std::string(kLoopComment));
  state.indentStack.Push(state.indentStack.Top() + static_cast<std::int64_t>(repeat.size()));
  state.loopStack.push_back(LoopRecord{variable, "(( " + e + " ) - ( " + s + " ))"});
}

void TranslateForBegin(ConversionState& state, std::string_view /*item*/) {
  state.AppendLine("// DEBUT_BOUCLE_REPETE_POUR");
}

void TranslateForEnd(ConversionState& state, std::string_view /*item*/) {
  LoopRecord loop;
  if (!state.loopStack.empty()) {
    loop = std::move(state.loopStack.back());
    state.loopStack.pop_back();
  }
  // At the end of each pass the counter moves one step towards the end value.
  PassEndWriter writer(state, loop);
  library::CountedLoopPassEnd(writer);
  writer.Finish();
  CloseBlock(state, "// FIN_BOUCLE_REPETE_POUR");
}

}  // namespace tortuval::convert
