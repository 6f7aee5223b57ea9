#include "python/python_expression.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>
#include <vector>

#include "base/cp1252.h"

namespace tortuval::python {
namespace {

using algorithm::Expression;
using Kind = Expression::Kind;

// Python's precedence levels, loosest first.
enum Precedence {
  kOr = 1,
  kAnd,
  kNot,
  kComparison,
  kSum,
  kProduct,
  kSign,
  kPower,
  kAtom,
};

constexpr std::array kKeywords = {
    "False", "None",   "True",  "and",    "as",     "assert", "async", "await",
    "break", "class",  "continue", "def", "del",    "elif",   "else",  "except",
    "finally", "for",  "from",  "global", "if",     "import", "in",    "is",
    "lambda", "nonlocal", "not", "or",    "pass",   "raise",  "return", "try",
    "while", "with",   "yield",
    // The program's modules, and the built-in functions it and its helpers call: a variable
    // of the algorithm named so would hide them.
    "math", "random", "re", "statistics", "sys", "plt", "abs", "bool", "bytes", "enumerate",
    "float", "input", "int", "isinstance", "len", "list", "max", "min", "print", "range",
    "sorted", "str", "sum",
};

// The editor's functions of one number and their Python forms.
struct NumberFunction {
  std::string_view name;
  std::string_view python;
  std::string_view module;
};
constexpr NumberFunction kNumberFunctions[] = {
    {"floor", "math.floor", "math"}, {"abs", "abs", ""},        {"sqrt", "math.sqrt", "math"},
    {"rac", "math.sqrt", "math"},    {"cos", "math.cos", "math"}, {"sin", "math.sin", "math"},
    {"tan", "math.tan", "math"},     {"acos", "math.acos", "math"},
    {"asin", "math.asin", "math"},   {"atan", "math.atan", "math"},
    {"exp", "math.exp", "math"},     {"log", "math.log", "math"},
};

// The editor's built-in functions written as the program's own helpers (python_helpers.cpp):
// the editor's name, the helper's, how many arguments, and what the helper's result is.
struct SupportFunction {
  std::string_view name;
  std::string_view helper;
  std::size_t arguments;
  std::string_view before = {};  // arguments the helper takes before the editor's
  std::string_view after = {};   // and after them
};
constexpr SupportFunction kSupportFunctions[] = {
    {"PSEUDAL_SOMME", "_somme", 3},
    {"PSEUDAL_MOYENNE", "_moyenne", 3},
    {"PSEUDAL_VARIANCE", "_variance", 3},
    {"PSEUDAL_ECART_TYPE", "_ecart_type", 3},
    {"PSEUDAL_MEDIANE", "_mediane", 3},
    {"PSEUDAL_QUARTILE1", "_quartile1", 3},
    {"PSEUDAL_QUARTILE3", "_quartile3", 3},
    {"PSEUDAL_QUARTILE1_BIS", "_quartile1_bis", 3},
    {"PSEUDAL_QUARTILE3_BIS", "_quartile3_bis", 3},
    {"PSEUDAL_MINIMUM", "_minimum", 3},
    {"PSEUDAL_MAXIMUM", "_maximum", 3},
    {"PSEUDAL_POS_MINIMUM", "_pos_minimum", 3},
    {"PSEUDAL_POS_MAXIMUM", "_pos_maximum", 3},
    {"PSEUDAL_FACTORIELLE", "_factorielle", 1},
    {"PSEUDAL_COEFF_BINOMIAL", "_coeff_binomial", 2},
    {"PSEUDAL_LOI_BINOMIALE", "_loi_binomiale", 3},
    {"PSEUDAL_LOI_NORMALE", "_loi_normale", 3},
    // The laws of mean 0 and deviation 1.
    {"PSEUDAL_LOI_NORMALE_CR", "_loi_normale", 1, "0, 1, "},
    {"PSEUDAL_INVERSE_LOI_NORMALE", "_inverse_loi_normale", 3},
    {"PSEUDAL_INVERSE_LOI_NORMALE_CR", "_inverse_loi_normale", 1, "0, 1, ",
     ", \"PSEUDAL_INVERSE_LOI_NORMALE_CR\""},
    {"PSEUDAL_CODE_CARACTERE", "_code_caractere", 2},
};

class Writer {
 public:
  explicit Writer(const WritingContext& context) : context_(context) {}

  PythonExpression Write(const Expression& e) {
    switch (e.kind) {
      case Kind::kNumber:
        return {NumberLiteral(e.text), ValueType::kNumber, kAtom, {}};
      case Kind::kText:
        return {PythonString(e.text), ValueType::kText, kAtom, {}};
      case Kind::kName:
        return Name(e.text);
      case Kind::kUnary:
        return Unary(e);
      case Kind::kBinary:
        return Binary(e);
      case Kind::kCall:
        return Call(e);
      case Kind::kIndex:
        return Element(e);
      case Kind::kMember:
      case Kind::kMemberCall:
        return Member(e);
    }
    return Fail("expression inconnue");
  }

 private:
  static std::string NumberLiteral(const std::string& text) {
    std::string out = text;
    if (!out.empty() && out.front() == '.') out.insert(out.begin(), '0');
    // Python reads no leading zero in a whole number ("007").
    const std::size_t digits = out.find_first_not_of("0123456789");
    const std::size_t wholeEnd = digits == std::string::npos ? out.size() : digits;
    std::size_t zeros = 0;
    while (zeros + 1 < wholeEnd && out[zeros] == '0') ++zeros;
    return out.substr(zeros);
  }

  // A bound written as a whole number stays as it is; any other is rounded in by `rounding`.
  std::string RandintBound(const Expression& source, const PythonExpression& bound,
                           std::string_view rounding) {
    const bool whole = source.kind == Kind::kNumber &&
                       source.text.find_first_not_of("0123456789") == std::string::npos;
    if (whole) return bound.text;
    Module("math");
    return std::string(rounding) + "(" + bound.text + ")";
  }

  PythonExpression Name(const std::string& name) {
    if (name == "true" || name == "vrai") return {"True", ValueType::kTruth, kAtom, {}};
    if (name == "false" || name == "faux") return {"False", ValueType::kTruth, kAtom, {}};
    const auto found = context_.variables.find(name);
    const ValueType type = found == context_.variables.end() ? ValueType::kUnknown : found->second;
    return {PythonName(name), type, kAtom, {}};
  }

  PythonExpression Unary(const Expression& e) {
    PythonExpression operand = Write(e.operands[0]);
    if (!operand.error.empty()) return operand;
    if (e.text == "!") {
      return {"not " + Bracketed(operand, kNot), ValueType::kTruth, kNot, {}};
    }
    return {e.text + Bracketed(operand, kSign), ValueType::kNumber, kSign, {}};
  }

  PythonExpression Binary(const Expression& e) {
    PythonExpression left = Write(e.operands[0]);
    if (!left.error.empty()) return left;
    PythonExpression right = Write(e.operands[1]);
    if (!right.error.empty()) return right;
    const std::string& op = e.text;
    const bool numbers = left.type == ValueType::kNumber && right.type == ValueType::kNumber;
    if (op == "ET" || op == "&&" || op == "OU" || op == "||") {
      const bool both = op == "ET" || op == "&&";
      const int level = both ? kAnd : kOr;
      return {Bracketed(left, level) + (both ? " and " : " or ") + Bracketed(right, level + 1),
              ValueType::kTruth, level, {}};
    }
    if (op == "==" || op == "===" || op == "=" || op == "!=" || op == "!==" || op == "<>") {
      const bool equal = op == "==" || op == "===" || op == "=";
      if (numbers || (left.type == right.type && (left.type == ValueType::kText ||
                                                   left.type == ValueType::kTruth))) {
        // Comparisons are bracketed inside others: Python would chain them.
        return {Bracketed(left, kComparison + 1) + (equal ? " == " : " != ") +
                    Bracketed(right, kComparison + 1),
                ValueType::kTruth, kComparison, {}};
      }
      // A word that reads as a number equals that number, as in the run.
      const std::string call = Helper("_egal") + "(" + left.text + ", " + right.text + ")";
      return equal ? PythonExpression{call, ValueType::kTruth, kAtom, {}}
                   : PythonExpression{"not " + call, ValueType::kTruth, kNot, {}};
    }
    if (op == "<" || op == ">" || op == "<=" || op == ">=") {
      return {Bracketed(left, kComparison + 1) + " " + op + " " + Bracketed(right, kComparison + 1),
              ValueType::kTruth, kComparison, {}};
    }
    if (op == "+" && !numbers) {
      // Numbers add, and a word that is no number joins, as the run's "+" does.
      return {Helper("_plus") + "(" + left.text + ", " + right.text + ")", ValueType::kUnknown,
              kAtom, {}};
    }
    if (op == "%") {
      // The remainder with the sign of the dividend, as the source notation's.
      Module("math");
      return {"math.fmod(" + left.text + ", " + right.text + ")", ValueType::kNumber, kAtom, {}};
    }
    if (op == "+" || op == "-") {
      return {Bracketed(left, kSum) + " " + op + " " + Bracketed(right, kSum + 1),
              ValueType::kNumber, kSum, {}};
    }
    if (op == "*" || op == "/") {
      return {Bracketed(left, kProduct) + " " + op + " " + Bracketed(right, kProduct + 1),
              ValueType::kNumber, kProduct, {}};
    }
    return Fail("l'opérateur « " + Utf8(op) + " » n'a pas d'équivalent ici");
  }

  PythonExpression Call(const Expression& e) {
    std::vector<PythonExpression> arguments;
    for (const Expression& argument : e.operands) {
      arguments.push_back(Write(argument));
      if (!arguments.back().error.empty()) return arguments.back();
    }
    const std::string& name = e.text;
    if (context_.functions.count(name) != 0) {
      return {PythonName(name) + "(" + Joined(arguments) + ")", ValueType::kUnknown, kAtom, {}};
    }
    for (const NumberFunction& function : kNumberFunctions) {
      if (name == function.name && arguments.size() == 1) {
        if (!function.module.empty()) Module(function.module);
        return {std::string(function.python) + "(" + arguments[0].text + ")", ValueType::kNumber,
                kAtom, {}};
      }
    }
    if (name == "round" && arguments.size() == 1) {
      // Halves upwards, as the source's round: Python's round() goes to the even one.
      Module("math");
      return {"math.floor(" + Bracketed(arguments[0], kSum) + " + 0.5)", ValueType::kNumber,
              kAtom, {}};
    }
    if (name == "pow" && arguments.size() == 2) {
      Module("math");
      return {"math.pow(" + Joined(arguments) + ")", ValueType::kNumber, kAtom, {}};
    }
    if (name == "random" && arguments.empty()) {
      Module("random");
      return {"random.random()", ValueType::kNumber, kAtom, {}};
    }
    for (const SupportFunction& support : kSupportFunctions) {
      if (name != support.name || arguments.size() != support.arguments) continue;
      return {Helper(std::string(support.helper)) + "(" + std::string(support.before) +
                  Joined(arguments) + std::string(support.after) + ")",
              ValueType::kNumber, kAtom, {}};
    }
    if ((name == "max" || name == "min") && arguments.size() == 2) {
      // Python's max and min compare as ">" and "<" do.
      const bool numbers = arguments[0].type == ValueType::kNumber &&
                           arguments[1].type == ValueType::kNumber;
      return {name + "(" + Joined(arguments) + ")",
              numbers ? ValueType::kNumber : ValueType::kUnknown, kAtom, {}};
    }
    if (name == "PSEUDAL_ALEA_ENT" && arguments.size() == 2) {
      Module("random");
      // The run draws between the whole numbers within the bounds; randint takes whole
      // numbers only (a float, even 6.0, is refused since Python 3.12).
      return {"random.randint(" + RandintBound(e.operands[0], arguments[0], "math.ceil") + ", " +
                  RandintBound(e.operands[1], arguments[1], "math.floor") + ")",
              ValueType::kNumber, kAtom, {}};
    }
    return Fail("la fonction « " + Utf8(name) + " » n'est pas encore écrite en Python");
  }

  PythonExpression Element(const Expression& e) {
    PythonExpression list = Write(e.operands[0]);
    if (!list.error.empty()) return list;
    PythonExpression position = Write(e.operands[1]);
    if (!position.error.empty()) return position;
    // The run's message past the end, not Python's.
    return {Helper("_element") + "(" + list.text + ", " + position.text + ")",
            ValueType::kUnknown, kAtom, {}};
  }

  PythonExpression Member(const Expression& e) {
    const Expression& object = e.operands[0];
    if (object.kind == Kind::kName && object.text == "Math") {
      if (e.kind == Kind::kMember && e.text == "PI") {
        Module("math");
        return {"math.pi", ValueType::kNumber, kAtom, {}};
      }
      if (e.kind == Kind::kMemberCall) {
        Expression call{Kind::kCall, e.text, {e.operands.begin() + 1, e.operands.end()}};
        return Call(call);
      }
    }
    if (e.kind == Kind::kMember && e.text == "length") {
      PythonExpression measured = Write(object);
      if (!measured.error.empty()) return measured;
      return {"len(" + measured.text + ")", ValueType::kNumber, kAtom, {}};
    }
    if (object.kind == Kind::kName && object.text == "String" && e.kind == Kind::kMemberCall &&
        e.text == "fromCharCode" && e.operands.size() == 2) {
      PythonExpression code = Write(e.operands[1]);
      if (!code.error.empty()) return code;
      return {Helper("_caractere") + "(" + code.text + ")", ValueType::kText, kAtom, {}};
    }
    if (e.kind == Kind::kMemberCall && e.text == "substr" && e.operands.size() == 3) {
      PythonExpression word = Write(object);
      if (!word.error.empty()) return word;
      PythonExpression from = Write(e.operands[1]);
      if (!from.error.empty()) return from;
      PythonExpression count = Write(e.operands[2]);
      if (!count.error.empty()) return count;
      return {Helper("_sous_mot") + "(" + word.text + ", " + from.text + ", " + count.text + ")",
              ValueType::kText, kAtom, {}};
    }
    if (e.kind == Kind::kMemberCall && e.text == "charCodeAt" && e.operands.size() == 2) {
      PythonExpression word = Write(object);
      if (!word.error.empty()) return word;
      PythonExpression position = Write(e.operands[1]);
      if (!position.error.empty()) return position;
      return {Helper("_code_caractere") + "(" + word.text + ", " + position.text + ")",
              ValueType::kNumber, kAtom, {}};
    }
    if (e.kind == Kind::kMemberCall && e.text == "toString" && e.operands.size() == 1) {
      PythonExpression value = Write(object);
      if (!value.error.empty()) return value;
      return {Helper("_texte") + "(" + value.text + ")", ValueType::kText, kAtom, {}};
    }
    return Fail("« ." + Utf8(e.text) + " » n'est pas encore écrit en Python");
  }

  // ---- Pieces.

  static std::string Bracketed(const PythonExpression& operand, int needed) {
    return operand.precedence < needed ? "(" + operand.text + ")" : operand.text;
  }

  static std::string Joined(const std::vector<PythonExpression>& arguments) {
    std::string out;
    for (const PythonExpression& argument : arguments) {
      if (!out.empty()) out += ", ";
      out += argument.text;
    }
    return out;
  }

  std::string Helper(const std::string& name) {
    if (context_.helpers != nullptr) context_.helpers->insert(name);
    return name;
  }

  void Module(std::string_view name) {
    if (context_.modules != nullptr) context_.modules->insert(std::string(name));
  }

  static std::string Utf8(std::string_view cp1252) { return base::Cp1252ToUtf8(cp1252); }

  static PythonExpression Fail(std::string why) { return {{}, ValueType::kUnknown, 0, std::move(why)}; }

  const WritingContext& context_;
};

}  // namespace

PythonExpression WriteExpression(const Expression& expression, const WritingContext& context) {
  return Writer(context).Write(expression);
}

PythonExpression WriteField(std::string_view field, const WritingContext& context) {
  const algorithm::ReadExpression read = algorithm::ParseExpression(field);
  if (!read.ok()) return {{}, ValueType::kUnknown, 0, base::Cp1252ToUtf8(read.error)};
  return WriteExpression(read.expression, context);
}

std::string PythonName(std::string_view name) {
  std::string out = base::Cp1252ToUtf8(name);
  if (std::find(kKeywords.begin(), kKeywords.end(), out) != kKeywords.end()) out += '_';
  return out;
}

std::string PythonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : base::Cp1252ToUtf8(text)) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace tortuval::python
