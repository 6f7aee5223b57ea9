#include "expr/translate_expression.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp1252.h"
#include "expr/member_calls.h"
#include "expr/placeholders.h"
#include "expr/replace_all.h"
#include "expr/variable_stage.h"
#include "library/support_table.h"

namespace tortuval::expr {
namespace {

constexpr std::size_t kNone = std::string::npos;
constexpr Case kExact = Case::kSensitive;
constexpr Case kAnyCase = Case::kInsensitive;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// In every table, rows without letters match the same way in either case mode; they are compared
// exactly because that is the faster search.

// ---------------------------------------------------------------------------------------------
// Before the operator spacing: forms of the source notation that have a LOGO word of their own, rewritten
// before their signs could be spaced apart. "Math." goes first, so that "Math.max(" is "max(" and
// "Math.sqrt(" the square root; then negative arguments are grouped (no row below touches their
// signs); then the strict comparisons, which are the plain ones for LOGO, the negation and the
// logical operators (also "&&" as the text repair leaves it).
// clang-format off
constexpr ReplaceRule kOperatorWords[] = {
    {"!==", "!=", kExact},
    {"===", "==", kExact},
    {"!(", " non ( ", kExact},
    {"& amp; & amp;", " ET ", kAnyCase},
    {"&&", " ET ", kExact},
    {"||", " OU ", kExact},
};
// clang-format on

// Where the operand of a minus sign starting at `at` ends: a run of word bytes and points, an
// exponent's sign and digits included ("1e-8"), or `at` itself when there is none.
std::size_t OperandEnd(std::string_view text, std::size_t at) {
  std::size_t end = at;
  while (end < text.size() && (base::IsWordByteAt(text, end) || text[end] == '.')) ++end;
  const bool exponent = end - at >= 2 && (text[end - 1] == 'e' || text[end - 1] == 'E') &&
                        IsDigit(text[at]) && end + 1 < text.size() &&
                        (text[end] == '-' || text[end] == '+') && IsDigit(text[end + 1]);
  if (exponent) {
    end += 2;
    while (end < text.size() && IsDigit(text[end])) ++end;
  }
  return end;
}

// A negative argument after a comma, "f(a,-6)", would join the argument before it once the comma
// is a space ("a - 6"): it becomes its own group, ", ( - 6 ) ". An operand that is itself called
// or indexed ("-g(x)", "-L[i]") is left as it stands.
void GroupNegativeArguments(std::string& text) {
  std::size_t comma = text.find(',');
  if (comma == kNone) return;
  std::string out;
  std::size_t done = 0;
  for (; comma != kNone; comma = text.find(',', comma + 1)) {
    std::size_t minus = comma + 1;
    while (minus < text.size() && (text[minus] == ' ' || text[minus] == '\t')) ++minus;
    if (minus == text.size() || text[minus] != '-') continue;
    const std::size_t operand = minus + 1;
    const std::size_t end = OperandEnd(text, operand);
    if (end == operand) continue;
    std::size_t after = end;
    while (after < text.size() && text[after] == ' ') ++after;
    if (after < text.size() && (text[after] == '(' || text[after] == '[')) continue;
    out.append(text, done, comma - done);
    out.append(", ( - ").append(text, operand, end - operand).append(" ) ");
    done = end;
    comma = end - 1;
  }
  if (done == 0) return;
  out.append(text, done);
  text.swap(out);
}

void RewriteSourceForms(std::string& text) {
  if (text.find("Math.") != kNone) ReplaceWholeWords(text, "Math.", "", kExact);
  GroupNegativeArguments(text);
  ApplyRulesToShortText(text, kOperatorWords);
}

// ---------------------------------------------------------------------------------------------
// Operator spacing. "!=" comes after "<" and ">" so that the "<>" it writes stays whole.
constexpr ReplaceRule kOperatorSpacing[] = {
    {"+", " + ", kExact}, {"-", " - ", kExact}, {"*", " * ", kExact},
    {"/", " / ", kExact}, {"%", " % ", kExact}, {"==", " = ", kExact},
    {">", " > ", kExact}, {"<", " < ", kExact}, {"!=", " <> ", kExact},
};

// ---------------------------------------------------------------------------------------------
// One "condition@value#" line of F2, or its default "value :#".

constexpr ReplaceRule kF2LineEnds[] = {
    {":#", " ]\r\n", kExact},
    {"#", " ]\r\n", kExact},
};

void TranslateF2Line(std::string& text) {
  const std::size_t at = text.find('@');
  if (at == kNone || at == 0) {
    // No condition: the default value, or a line whose "@" stands first and is kept.
    text.insert(0, "sifaux [ rends ");
  } else {
    std::string line;
    line.reserve(text.size() + 24);
    line.append("teste ").append(text, 0, at).append(" sivrai [ rends ").append(text, at + 1);
    text.swap(line);
  }
  ApplyRulesToShortText(text, kF2LineEnds);
}

// ---------------------------------------------------------------------------------------------
// The operator spacing split ">=" and "<=" (a lone "=" is not spaced); join them again.
constexpr ReplaceRule kComparisonRepair[] = {
    {" > =", " >= ", kExact},
    {" < =", " <= ", kExact},
    {"'", "\"", kExact},
};

// ---------------------------------------------------------------------------------------------
// Functions, constants and brackets. The named rows match whole words only, so that a
// variable "distance" keeps its "tan"; the names the document gives its own functions follow
// them, then the calls of support procedures. The inverse trigonometric
// names get words of their own.
constexpr ReplaceRule kNamedRows[] = {
    {"random()", " ( randdec 0 1 ) ", kAnyCase},
    {"PSEUDAL_ALEA_ENT(", " ( random ", kAnyCase},
    {"pow(", " ( puissance ", kAnyCase},
    {"floor", " entier ", kAnyCase},
    {"acos", kArccos, kAnyCase},
    {"asin", kArcsin, kAnyCase},
    {"atan", kArctan, kAnyCase},
    {"cos", " cos ", kAnyCase},
    {"sin", " sin ", kAnyCase},
    {"tan", " tan ", kAnyCase},
    {"exp", " exp ", kAnyCase},
    {"log", " log ", kAnyCase},
    {"abs", " abs ", kAnyCase},
    {"round", " arrondir ", kAnyCase},
    {"true", " vrai ", kAnyCase},
    {"false", " faux ", kAnyCase},
    {"rac(", " ( rac2 ", kAnyCase},
    {"F1(", " ( F1 ", kAnyCase},
    {"F2(", " ( F2 ", kAnyCase},
};

constexpr ReplaceRule kBrackets[] = {
    {"(", " ( ", kExact}, {")", " ) ", kExact}, {"[", " [ ", kExact},
    {"]", " ] ", kExact}, {",", " ", kExact},
};

// Calls of the support procedures (library/support_table.h): a built-in's "NAME(a, b)" and a
// plain call such as "max(a, b)" become calls "( LOGONAME a b )"; the method calls (".substr(",
// ".charCodeAt(") are the member-call stage's.
struct SupportCallRules {
  std::vector<std::string> texts;  // what the rules point into
  std::vector<ReplaceRule> builtIns;
  std::vector<ReplaceRule> others;
};

const SupportCallRules& SupportCalls() {
  static const SupportCallRules rules = [] {
    SupportCallRules made;
    const std::span<const library::SupportProcedure> table = library::SupportProcedureTable();
    made.texts.reserve(2 * table.size());  // never moved, so the rules' views stay valid
    for (const library::SupportProcedure& procedure : table) {
      const bool builtIn = procedure.use == library::Use::kBuiltInWord;
      const bool call =
          procedure.use == library::Use::kCall && !procedure.sourceName.starts_with('.');
      if (!builtIn && !call) continue;
      const std::string& from = made.texts.emplace_back(std::string(procedure.sourceName) + "(");
      const std::string& to =
          made.texts.emplace_back(" ( " + std::string(procedure.logoName) + " ");
      (builtIn ? made.builtIns : made.others).push_back({from, to, kExact});
    }
    // The call's own ")" closes the group; the word travels as a placeholder (see placeholders.h).
    made.others.push_back({"String.fromCharCode(", " (\x05 ", kExact});
    return made;
  }();
  return rules;
}

// The rows, all compared exactly, one after the other; a row is searched for only where it
// occurs, which a plain search tells at once in a short text.
void ApplyExactWholeWordRules(std::string& text, std::span<const ReplaceRule> rules) {
  for (const ReplaceRule& rule : rules) {
    if (text.find(rule.from) != kNone) ReplaceWholeWords(text, rule.from, rule.to, kExact);
  }
}

// A call "f(a, b)" of a function of the document becomes the prefix call "( f a b )".
void MarkDocumentFunctionCalls(std::string& text, std::span<const std::string> functionNames) {
  std::string call;
  std::string prefix;
  for (const std::string& name : functionNames) {
    call.assign(name).push_back('(');
    prefix.assign(" ( ").append(name).push_back(' ');
    ReplaceWholeWords(text, call, prefix, kAnyCase);
  }
}

void MarkFunctionsAndBrackets(std::string& text, std::span<const std::string> functionNames) {
  ApplyWholeWordRules(text, kNamedRows);
  MarkDocumentFunctionCalls(text, functionNames);
  if (text.find('(') != kNone) {
    const SupportCallRules& calls = SupportCalls();
    if (text.find(library::kBuiltInPrefix) != kNone) {
      ApplyExactWholeWordRules(text, calls.builtIns);
    }
    ApplyExactWholeWordRules(text, calls.others);
  }
  ApplyRulesToShortText(text, kBrackets);
}

// ---------------------------------------------------------------------------------------------
// A fraction that opens the text gets its zero and a decimal comma.
void MarkLeadingFraction(std::string& text) {
  if (text.size() >= 2 && text[0] == '.' && IsDigit(text[1])) text.replace(0, 1, "0,");
}

// A fraction written without its zero, behind a delimiter or a sign. A point inside a
// number ("0.1", "2.5e-3") has a digit before it and is kept.
struct FractionRow {
  char before;
  std::string_view zero;
};

constexpr FractionRow kFractionRows[] = {
    {' ', " 0,"}, {'(', " 0,"}, {'[', " 0,"}, {'^', " 0,"}, {'%', " 0,"},
    {'&', " 0,"}, {'|', " 0,"}, {'<', " 0,"}, {'>', " 0,"}, {'=', " 0,"},
    {'-', "0,"},  {'+', "0,"},  {'*', "0,"},  {'/', "0,"},
};

void MarkFractions(std::string& text) {
  if (text.find('.') == kNone) return;
  for (char digit = '0'; digit <= '9'; ++digit) {
    // No row of this digit can match without its point and digit.
    const char fraction[] = {'.', digit};
    if (text.find(std::string_view(fraction, 2)) == kNone) continue;
    for (const FractionRow& row : kFractionRows) {
      const char from[] = {row.before, '.', digit};
      std::string to(1, row.before);  // short enough to stay in the string itself
      to.append(row.zero).push_back(digit);
      ReplaceAll(text, std::string_view(from, 3), to, kExact);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Two spaces become one until none are left, that is every run of spaces becomes one.
void CollapseSpaces(std::string& text) {
  const auto run = std::unique(text.begin(), text.end(),
                               [](char left, char right) { return left == ' ' && right == ' '; });
  text.erase(run, text.end());
}

// The comparison repair turned every apostrophe into a quotation mark; inside French words after
// these letters it was an elision. The new text is written in small letters whatever was matched.
constexpr ReplaceRule kElisions[] = {
    {"c\"", "c'", kAnyCase},   {"d\"", "d'", kAnyCase}, {"j\"", "j'", kAnyCase},
    {"l\"", "l'", kAnyCase},   {"m\"", "m'", kAnyCase}, {"n\"", "n'", kAnyCase},
    {"qu\"", "qu'", kAnyCase}, {"s\"", "s'", kAnyCase}, {"t\"", "t'", kAnyCase},
};

// ---------------------------------------------------------------------------------------------
// Exponents, which the operator spacing split ("1e-8" arrives as "1e - 8").

// An occurrence of `length` characters at `at` stands behind a digit and, unless it ends the text,
// before a digit or a value marker.
bool QualifiesAsExponent(std::string_view text, std::size_t at, std::size_t length) {
  if (at == 0 || !IsDigit(text[at - 1])) return false;
  const std::size_t after = at + length;
  return after == text.size() || IsDigit(text[after]) || text[after] == ':';
}

// A spaced sign, "e - " then "e + ": from the first occurrence on, each qualifying one is joined;
// the first that does not qualify ends the joining. A joined sign never makes a new occurrence before the next
// one, so searching on from there is the same as searching again from the start.
void JoinExponentSign(std::string& text, std::string_view spaced, std::string_view joined) {
  std::size_t hit = text.find(spaced);
  if (hit == kNone || !QualifiesAsExponent(text, hit, spaced.size())) return;
  std::string out;
  out.reserve(text.size());
  std::size_t done = 0;
  while (hit != kNone && QualifiesAsExponent(text, hit, spaced.size())) {
    out.append(text, done, hit - done).append(joined);
    done = hit + spaced.size();
    hit = text.find(spaced, done);
  }
  out.append(text, done);
  text.swap(out);
}

// Then "e " loses its space when the first occurrence qualifies; the following ones pass
// a looser test (a digit before, or a number, value or sign after), until one fails it. No run
// of spaces is left by then, so a deleted space never puts the same "e" before another one.
void JoinExponentSpaces(std::string& text) {
  std::size_t e = text.find("e ");
  bool first = true;
  std::string out;
  std::size_t done = 0;
  while (e != kNone) {
    const std::size_t space = e + 1;
    const bool digitBefore = e > 0 && IsDigit(text[e - 1]);
    const bool followed = space + 1 < text.size();
    const char next = followed ? text[space + 1] : '\0';
    const bool numberAfter = !followed || IsDigit(next) || next == ':';
    const bool joins = first ? digitBefore && numberAfter
                             : digitBefore || numberAfter || next == '+' || next == '-';
    if (!joins) break;
    first = false;
    out.append(text, done, space - done);
    done = space + 1;
    e = text.find("e ", done);
  }
  if (done == 0) return;
  out.append(text, done);
  text.swap(out);
}

// Outer spaces only; the CR LF of an F2 line stays.
void TrimSpaces(std::string& text) {
  const std::size_t last = text.find_last_not_of(' ');
  if (last == kNone) {
    text.clear();
    return;
  }
  text.erase(last + 1);
  text.erase(0, text.find_first_not_of(' '));
}

}  // namespace

std::string TranslateExpression(std::string_view source, ExpressionKind kind,
                                const ExpressionContext& context) {
  std::string text(source);

  RewriteSourceForms(text);
  ApplyRulesToShortText(text, kOperatorSpacing);
  if (kind == ExpressionKind::kF2Line) TranslateF2Line(text);
  ApplyRulesToShortText(text, kComparisonRepair);

  // The function's own variables come first.
  static const VariableIndex kNoFunctionVariables(Case::kSensitive, true);
  static const VariableIndex kNoGlobalVariables(Case::kInsensitive, false);
  const VariableScope variables{
      context.functionVariables != nullptr ? *context.functionVariables : kNoFunctionVariables,
      context.globalVariables != nullptr ? *context.globalVariables : kNoGlobalVariables};

  RewriteMemberCalls(text, variables);
  MarkFunctionsAndBrackets(text, context.functionNames);
  MarkLeadingFraction(text);
  MarkFractions(text);

  text.insert(text.begin(), ' ');
  text.push_back(' ');

  // Values, list items and lengths: nothing is left for a later stage to read of the lists.
  MarkVariables(text, variables);
  CollapseSpaces(text);
  if (text.find('"') != kNone) ApplyRulesToShortText(text, kElisions);

  JoinExponentSign(text, "e - ", "e-");
  JoinExponentSign(text, "e + ", "e+");
  JoinExponentSpaces(text);

  RestorePlaceholders(text);
  TrimSpaces(text);
  return text;
}

}  // namespace tortuval::expr
