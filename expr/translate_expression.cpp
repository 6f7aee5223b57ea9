#include "expr/translate_expression.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "expr/cp1252.h"
#include "expr/replace_all.h"
#include "expr/variable_stage.h"

namespace tortuval::expr {
namespace {

constexpr std::size_t kNone = std::string::npos;
constexpr Case kExact = Case::kSensitive;
constexpr Case kAnyCase = Case::kInsensitive;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool StartsWith(std::string_view text, std::size_t at, std::string_view word, Case match) {
  return text.size() - at >= word.size() && Find(text.substr(at, word.size()), word, 0, match) == 0;
}

std::size_t SkipSpaces(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] == ' ') ++at;
  return at;
}

// In every table, rows without letters match the same way in either case mode; they are compared
// exactly because that is the faster search.

// ---------------------------------------------------------------------------------------------
// Before stage 1: the logical operators of the source notation, also "&&" as the text repair
// leaves it, become LOGO words before their signs could be spaced apart.
constexpr ReplaceRule kLogicalOperators[] = {
    {"& amp; & amp;", " ET ", kAnyCase},
    {"&&", " ET ", kExact},
    {"||", " OU ", kExact},
};

// ---------------------------------------------------------------------------------------------
// Stage 1: operator spacing. "!=" comes after "<" and ">" so that the "<>" it writes stays whole.
constexpr ReplaceRule kOperatorSpacing[] = {
    {"+", " + ", kExact}, {"-", " - ", kExact}, {"*", " * ", kExact},
    {"/", " / ", kExact}, {"%", " % ", kExact}, {"==", " = ", kExact},
    {">", " > ", kExact}, {"<", " < ", kExact}, {"!=", " <> ", kExact},
};

// ---------------------------------------------------------------------------------------------
// Stage 2: one "condition@value#" line of F2, or its default "value :#".

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
// Stage 3: stage 1 split ">=" and "<=" (a lone "=" is not spaced); join them again.
constexpr ReplaceRule kComparisonRepair[] = {
    {" > =", " >= ", kExact},
    {" < =", " <= ", kExact},
    {"'", "\"", kExact},
};

// ---------------------------------------------------------------------------------------------
// Stage 4: built-ins that keep their parentheses, which the user must then remove by hand.
constexpr std::string_view kWarnedNames[] = {
    ".substr",
    "PSEUDAL_ALEA_ENT",
    "PSEUDAL_COEFF_BINOMIAL",
    "PSEUDAL_LOI_BINOMIALE",
    "PSEUDAL_INVERSE_LOI_NORMALE",
    "PSEUDAL_SOMME",
    "PSEUDAL_MOYENNE",
    "PSEUDAL_VARIANCE",
    "PSEUDAL_ECART_TYPE",
    "PSEUDAL_MEDIANE",
    "PSEUDAL_QUARTILE1",
    "PSEUDAL_QUARTILE3",
    "PSEUDAL_QUARTILE1_BIS",
    "PSEUDAL_QUARTILE3_BIS",
    "PSEUDAL_MINIMUM",
    "PSEUDAL_MAXIMUM",
    "PSEUDAL_POS_MINIMUM",
    "PSEUDAL_POS_MAXIMUM",
};

bool HasWarnedName(std::string_view text) {
  if (!Contains(text, "PSEUDAL_") && !Contains(text, ".substr")) return false;
  for (std::string_view name : kWarnedNames) {
    if (Contains(text, name)) return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// The inverse trigonometric names and the words of member calls travel as single control bytes,
// which no XML document can hold, until just before the final trim. As placeholders they are safe
// from a variable of the same name in stage 9 and from the exponent joins of stage 13, which would
// glue "transforme" to the value behind it. The signs of member-call arguments are held the same
// way, so that a warned line (a ".substr" call is always warned) keeps "( :i + 1 )" instead of
// gluing it into "( :i +1 )".
constexpr char kHeldPlus = '\x07';
constexpr char kHeldMinus = '\x08';
constexpr char kLastPlaceholder = kHeldMinus;

constexpr ReplaceRule kPlaceholderWords[] = {
    {"\x01", "arccos", kExact},
    {"\x02", "arcsin", kExact},
    {"\x03", "arctan", kExact},
    {"\x04", "transforme", kExact},
    {"\x05", "caract\xE8re", kExact},
    {"\x06", "substr", kExact},
    {"\x07", "+", kExact},
    {"\x08", "-", kExact},
};

constexpr std::string_view kTransforme = " \x04 ";
constexpr std::string_view kCaractere = " \x05 ";
constexpr std::string_view kSubstr = " \x06 ";

void RestorePlaceholders(std::string& text) {
  for (char c : text) {
    if (c > 0 && c <= kLastPlaceholder) {
      ApplyRulesToShortText(text, kPlaceholderWords);
      return;
    }
  }
}

// The member-call rewrite below needs a receiver's type before the brackets are spaced.
constexpr char kNumberCode = '1';
constexpr char kListCode = '2';

// ---------------------------------------------------------------------------------------------
// Stage 5, first step: member calls. "x.toString()" on a number gives "transforme :x",
// "String.fromCharCode(x)" gives "caractère :x", "w.substr(a,b)" on a word gives "substr :w a b",
// an argument of more than one word going into brackets. They are rewritten before the brackets
// are spaced and the argument comma becomes a space, while the call's shape is still visible.
// Only ".substr(" written exactly so is rewritten: it is also what brings the substr procedure
// into the program.
constexpr std::string_view kToString = "toString";
constexpr std::string_view kFromCharCode = "String.fromCharCode";
constexpr std::string_view kSubstrCall = "substr(";

bool IsNameChar(char c) {
  constexpr std::string_view kBreaks = " +-*/%=<>!()[]{},.;:'\"&|^@#";
  return static_cast<unsigned char>(c) >= 0x20 && kBreaks.find(c) == kNone;
}

// One "(" of the text: where its ")" is and which commas stand directly inside it.
struct Parenthesis {
  std::size_t close = kNone;
  std::size_t firstComma = kNone;
  int commas = 0;
};

std::vector<Parenthesis> MatchParentheses(std::string_view text) {
  std::vector<Parenthesis> parentheses(text.size());
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case '(':
      case '[':
        open.push_back(i);
        break;
      case ')':
        if (!open.empty() && text[open.back()] == '(') {
          parentheses[open.back()].close = i;
          open.pop_back();
        }
        break;
      case ']':
        if (!open.empty() && text[open.back()] == '[') open.pop_back();
        break;
      case ',':
        if (!open.empty() && text[open.back()] == '(') {
          Parenthesis& inner = parentheses[open.back()];
          if (inner.commas++ == 0) inner.firstComma = i;
        }
        break;
      default:
        break;
    }
  }
  return parentheses;
}

// An argument of more than one word goes into brackets, so that LOGO reads it as one input.
bool NeedsBrackets(std::string_view argument) {
  const std::size_t first = argument.find_first_not_of(' ');
  if (first == kNone) return false;
  const std::size_t last = argument.find_last_not_of(' ');
  return argument.substr(first, last - first + 1).find_first_of(" ()[],") != kNone;
}

// Text written at a comma or closing bracket of a rewritten call, once the scan reaches it.
struct PendingText {
  std::size_t position;
  std::string_view text;
};

class MemberCallRewriter {
 public:
  MemberCallRewriter(std::string_view text, const VariableScope& variables)
      : text_(text), variables_(variables), parentheses_(MatchParentheses(text)) {
    out_.reserve(text.size() + 16);
  }

  /// Puts the rewritten text into `result`; false, leaving it alone, when no call was rewritten.
  bool Rewrite(std::string& result) {
    bool changed = false;
    std::size_t i = 0;
    while (i < text_.size()) {
      if (!pending_.empty() && pending_.back().position == i) {
        out_.append(pending_.back().text);
        pending_.pop_back();
        ++i;
      } else if (std::size_t next = RewriteCallAt(i); next != kNone) {
        changed = true;
        i = next;
      } else {
        out_.push_back(HoldSign(i));
        ++i;
      }
    }
    if (changed) result.swap(out_);
    return changed;
  }

 private:
  // Inside the arguments of a rewritten call, a spaced sign is held back from stage 14; the sign
  // of an exponent ("1e - 8") is left for stage 13 to join.
  char HoldSign(std::size_t i) const {
    const char c = text_[i];
    if (pending_.empty() || (c != '+' && c != '-')) return c;
    if (i >= 3 && text_[i - 1] == ' ' && text_[i - 2] == 'e' && IsDigit(text_[i - 3])) return c;
    return c == '+' ? kHeldPlus : kHeldMinus;
  }

  // Rewrites the call starting at `i`, if any; returns where the scan goes on, or kNone.
  std::size_t RewriteCallAt(std::size_t i) {
    if (text_[i] == '.') return RewriteMethodAt(i);
    if ((text_[i] != 'S' && text_[i] != 's') || (i > 0 && IsNameChar(text_[i - 1])) ||
        !StartsWith(text_, i, kFromCharCode, kAnyCase)) {
      return kNone;
    }
    const std::size_t open = SkipSpaces(text_, i + kFromCharCode.size());
    if (open == text_.size() || text_[open] != '(') return kNone;
    const Parenthesis& call = parentheses_[open];
    if (call.close == kNone || call.commas != 0) return kNone;
    const bool wrap = NeedsBrackets(text_.substr(open + 1, call.close - open - 1));
    out_.append(kCaractere);
    if (wrap) out_.append("( ");
    pending_.push_back({call.close, wrap ? " ) " : " "});
    return open + 1;
  }

  // ".toString()" and ".substr(" behind a declared variable of the right type.
  std::size_t RewriteMethodAt(std::size_t dot) {
    std::size_t end = dot;
    while (end > 0 && text_[end - 1] == ' ') --end;
    std::size_t start = end;
    while (start > 0 && IsNameChar(text_[start - 1])) --start;
    const std::string_view receiver = text_.substr(start, end - start);
    const std::size_t copied = dot - start;
    // The receiver and the spaces behind it have just been copied unchanged; they are taken back.
    if (receiver.empty() || out_.size() < copied ||
        out_.compare(out_.size() - copied, copied, text_, start, copied) != 0) {
      return kNone;
    }
    const Variable* variable = FindVariable(receiver, variables_);
    if (variable == nullptr) return kNone;
    const char code = variable->code;
    if (code == kNumberCode && StartsWith(text_, dot + 1, kToString, kAnyCase)) {
      const std::size_t open = SkipSpaces(text_, dot + 1 + kToString.size());
      if (open == text_.size() || text_[open] != '(') return kNone;
      const std::size_t close = SkipSpaces(text_, open + 1);
      if (close == text_.size() || text_[close] != ')') return kNone;
      out_.resize(out_.size() - copied);
      out_.append(kTransforme).append(receiver).push_back(' ');
      return close + 1;
    }
    if (code != kNumberCode && code != kListCode &&
        StartsWith(text_, dot + 1, kSubstrCall, kExact)) {
      const std::size_t open = dot + kSubstrCall.size();
      const Parenthesis& call = parentheses_[open];
      if (call.close == kNone || call.commas != 1) return kNone;
      const std::size_t comma = call.firstComma;
      const bool wrapStart = NeedsBrackets(text_.substr(open + 1, comma - open - 1));
      const bool wrapCount = NeedsBrackets(text_.substr(comma + 1, call.close - comma - 1));
      static constexpr std::string_view kBetween[2][2] = {{" ", " ( "}, {" ) ", " ) ( "}};
      out_.resize(out_.size() - copied);
      out_.append(kSubstr).append(receiver).push_back(' ');
      if (wrapStart) out_.append("( ");
      // The comma is met before the closing bracket, so it goes on top.
      pending_.push_back({call.close, wrapCount ? " ) " : " "});
      pending_.push_back({comma, kBetween[wrapStart][wrapCount]});
      return open + 1;
    }
    return kNone;
  }

  std::string_view text_;
  const VariableScope& variables_;
  std::vector<Parenthesis> parentheses_;
  std::vector<PendingText> pending_;
  std::string out_;
};

void RewriteMemberCalls(std::string& text, const VariableScope& variables) {
  if (!Contains(text, kToString, kAnyCase) && !Contains(text, kSubstrCall) &&
      !Contains(text, "fromCharCode", kAnyCase)) {
    return;
  }
  MemberCallRewriter(text, variables).Rewrite(text);
}

// ---------------------------------------------------------------------------------------------
// Stage 5: functions, constants and brackets. The named rows match whole words only, so that a
// variable "distance" keeps its "tan"; the names the document gives its own functions follow
// them. The inverse trigonometric names get words of their own.
constexpr ReplaceRule kNamedRows[] = {
    {"random()", " ( randdec 0 1 ) ", kAnyCase},
    {"PSEUDAL_ALEA_ENT(", " ( random ", kAnyCase},
    {"pow(", " ( puissance ", kAnyCase},
    {"Math.PI", " PI ", kAnyCase},
    {"floor", " entier ", kAnyCase},
    {"acos", " \x01 ", kAnyCase},
    {"asin", " \x02 ", kAnyCase},
    {"atan", " \x03 ", kAnyCase},
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
  ApplyRulesToShortText(text, kBrackets);
}

// ---------------------------------------------------------------------------------------------
// Stage 6: a fraction that opens the text gets its zero and a decimal comma.
void MarkLeadingFraction(std::string& text) {
  if (text.size() >= 2 && text[0] == '.' && IsDigit(text[1])) text.replace(0, 1, "0,");
}

// Stage 7: a fraction written without its zero, behind a delimiter or a sign. A point inside a
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
// Stage 11: two spaces become one until none are left, that is every run of spaces becomes one.
void CollapseSpaces(std::string& text) {
  const auto run = std::unique(text.begin(), text.end(),
                               [](char left, char right) { return left == ' ' && right == ' '; });
  text.erase(run, text.end());
}

// Stage 12: stage 3 turned every apostrophe into a quotation mark; inside French words after
// these letters it was an elision. The new text is written in small letters whatever was matched.
constexpr ReplaceRule kElisions[] = {
    {"c\"", "c'", kAnyCase},   {"d\"", "d'", kAnyCase}, {"j\"", "j'", kAnyCase},
    {"l\"", "l'", kAnyCase},   {"m\"", "m'", kAnyCase}, {"n\"", "n'", kAnyCase},
    {"qu\"", "qu'", kAnyCase}, {"s\"", "s'", kAnyCase}, {"t\"", "t'", kAnyCase},
};

// ---------------------------------------------------------------------------------------------
// Stage 13: exponents, which stage 1 split ("1e-8" arrives as "1e - 8").

// An occurrence of `length` characters at `at` stands behind a digit and, unless it ends the text,
// before a digit or a value marker.
bool QualifiesAsExponent(std::string_view text, std::size_t at, std::size_t length) {
  if (at == 0 || !IsDigit(text[at - 1])) return false;
  const std::size_t after = at + length;
  return after == text.size() || IsDigit(text[after]) || text[after] == ':';
}

// Sub-stages 1 and 2: from the first occurrence on, each qualifying one is joined; the first that
// does not qualify ends the sub-stage. A joined sign never makes a new occurrence before the next
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

// Sub-stage 3: "e " loses its space when the first occurrence qualifies; the following ones pass
// a looser test (a digit before, or a number, value or sign after), until one fails it. Stage 11
// left no run of spaces, so a deleted space never puts the same "e" before another one.
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

// ---------------------------------------------------------------------------------------------
// Stage 14: in a warned line the user removes brackets by hand, so a signed number or value must
// read as one word: " - 3" becomes " -3", " + 3" becomes " +3", " - :x" becomes " -:x".
void GlueSigns(std::string& text) {
  for (char digit = '0'; digit <= '9'; ++digit) {
    const char minusFrom[] = {' ', '-', ' ', digit};
    const char minusTo[] = {' ', '-', digit};
    const char plusFrom[] = {' ', '+', ' ', digit};
    const char plusTo[] = {' ', '+', digit};
    ReplaceAll(text, std::string_view(minusFrom, 4), std::string_view(minusTo, 3), kExact);
    ReplaceAll(text, std::string_view(plusFrom, 4), std::string_view(plusTo, 3), kExact);
  }
  ReplaceAll(text, " - :", " -:", kExact);
}

// Stage 15: spaces only; the CR LF of an F2 line stays.
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

Translation TranslateExpression(std::string_view source, ExpressionKind kind,
                                const ExpressionContext& context, bool parenthesesWarning) {
  std::string text(source);

  ApplyRulesToShortText(text, kLogicalOperators);
  ApplyRulesToShortText(text, kOperatorSpacing);
  if (kind == ExpressionKind::kF2Line) TranslateF2Line(text);
  ApplyRulesToShortText(text, kComparisonRepair);
  if (HasWarnedName(text)) parenthesesWarning = true;

  // The function's own variables come first; its list may hold runs of spaces. A converter
  // keeps indexes of both lists; without them the lists are read here, the same way.
  std::optional<VariableIndex> readFunctions;
  std::optional<VariableIndex> readGlobals;
  const VariableIndex* functionIndex = context.functionIndex;
  const VariableIndex* globalIndex = context.globalIndex;
  if (functionIndex == nullptr) {
    readFunctions.emplace(kExact, true).Extend(context.functionVariables);
    functionIndex = &*readFunctions;
  }
  if (globalIndex == nullptr) {
    readGlobals.emplace(kAnyCase, false).Extend(context.globalVariables);
    globalIndex = &*readGlobals;
  }
  const VariableScope variables{*functionIndex, *globalIndex};

  RewriteMemberCalls(text, variables);
  MarkFunctionsAndBrackets(text, context.functionNames);
  MarkLeadingFraction(text);
  MarkFractions(text);

  text.insert(text.begin(), ' ');
  text.push_back(' ');

  // Values, list items and list lengths: nothing is left for a later stage to read of the lists.
  MarkVariables(text, variables);
  CollapseSpaces(text);
  if (text.find('"') != kNone) ApplyRulesToShortText(text, kElisions);

  JoinExponentSign(text, "e - ", "e-");
  JoinExponentSign(text, "e + ", "e+");
  JoinExponentSpaces(text);

  if (parenthesesWarning) GlueSigns(text);
  RestorePlaceholders(text);
  TrimSpaces(text);
  return Translation{std::move(text), parenthesesWarning};
}

}  // namespace tortuval::expr
