// The machine's expressions: values, numbers and truth values, evaluated from the tree.

#include <cmath>

#include "run/machine.h"

namespace tortuval::run {

// ---- Expressions.

Value Machine::Eval(const Node& node) {
  switch (node.op) {
    case Op::kConstant:
      return constants_[static_cast<std::size_t>(node.constant)];
    case Op::kTruth:
      return Value::Bool(node.truth);
    case Op::kNumber:
      return Value::Number(node.number);
    case Op::kVariable:
      return Read(node);
    case Op::kAdd:
      if (!Numeric(node)) {
        const Value a = Eval(node.kids[0]);
        return SumOf(node, a, Eval(node.kids[1]));
      }
      [[fallthrough]];
    case Op::kNegate:
    case Op::kSubtract:
    case Op::kMultiply:
    case Op::kDivide:
    case Op::kRemainder:
    case Op::kQuotient:
    case Op::kPower:
    case Op::kMath:
      return Value::Number(EvalNumber(node));
    case Op::kEqual:
    case Op::kNotEqual:
    case Op::kLess:
    case Op::kGreater:
    case Op::kLessEqual:
    case Op::kGreaterEqual:
    case Op::kAnd:
    case Op::kOr:
      return Value::Bool(EvalTruth(node));
    case Op::kPrimitive:
      return Primitive(node);
    case Op::kItem:
      return Item(node);
    case Op::kPointList: {
      List items;
      for (const Node& kid : node.kids) items.push_back(Eval(kid));
      return Value::MakeList(std::move(items));
    }
    case Op::kRepCount:
      return Value::Number(RepCount(node));
    case Op::kCall:
      return Call(node, true);
    case Op::kFailure:
      Fail(node, node.text);
      return {};
    // An instruction where a value is expected.
    case Op::kBlock:
    case Op::kDefine:
    case Op::kAssign:
    case Op::kPrint:
    case Op::kPrompt:
    case Op::kPromptEnd:
    case Op::kClearText:
    case Op::kReplace:
    case Op::kWhile:
    case Op::kTest:
    case Op::kIfTrue:
    case Op::kIfFalse:
    case Op::kIf:
    case Op::kRepeat:
    case Op::kStep:
    case Op::kSegment:
    case Op::kPlot:
    case Op::kStartDrawing:
    case Op::kShowDrawing:
    case Op::kReturn:
      Fail(node, Message("Cette instruction ne rend pas de valeur."));
      return {};
  }
  // Every op is named above; a call of Fail here would cost the switch its speed.
  __builtin_unreachable();
}

// The inputs of a primitive are evaluated first, in order: at most the four any primitive takes.
Value Machine::Primitive(const Node& node) {
  Value inputs[4];
  int count = 0;
  for (const Node& kid : node.kids) {
    if (count == 4) break;
    inputs[count++] = Eval(kid);
  }
  if (leaving_ != Leaving::kNo) return {};  // a primitive sees only inputs computed whole
  return FunctionOf(node.operation)(*this, node, inputs, count);
}

// "boucle": the pass of the innermost répète, from 1.
double Machine::RepCount(const Node& node) {
  if (repCounts_.empty()) {
    Fail(node, Message("« boucle » hors d'une répétition."));
    return 0;
  }
  return repCounts_.back();
}

// Whether an expression gives a number without being evaluated as a value: "+" looks at what
// its variables hold, so that adding numbers keeps its fast way.
bool Machine::Numeric(const Node& node) {
  switch (node.op) {
    case Op::kNumber:
    case Op::kMath:
      return true;
    case Op::kVariable:
      return Variable(node).IsNumber();
    case Op::kAdd:
      return Numeric(node.kids[0]) && Numeric(node.kids[1]);
    default:
      return logo::IsArithmetic(node.op);
  }
}

// "+" adds numbers; with a word that is no number on either side it joins the two printed
// values, as the source notation does with its strings ("x = " + x, lettre + envers).
Value Machine::SumOf(const Node& node, const Value& a, const Value& b) {
  if (a.IsNumber() && b.IsNumber()) return Value::Number(a.number() + b.number());
  if (leaving_ != Leaving::kNo) return {};  // no words joined, no steps counted, after a failure
  double ignored = 0;
  const auto isText = [&](const Value& value) {
    return value.IsWord() && !ParseNumber(value.word(), ignored);
  };
  if (isText(a) || isText(b)) {
    std::string joined = Printed(a);
    std::string second = Printed(b);
    if (!AllowSize(node, joined.size() + second.size())) return {};
    joined += second;
    return Value::Word(std::move(joined));
  }
  const double x = NumberOf(node, a);
  return Value::Number(x + NumberOf(node, b));
}

// The binary arithmetic on two numbers computed.
double Machine::Arithmetic(const Node& node, double a, double b) {
  switch (node.op) {
    case Op::kAdd:
      return a + b;
    case Op::kSubtract:
      return a - b;
    case Op::kMultiply:
      return a * b;
    case Op::kPower:
      return std::pow(a, b);
    default:
      if (b == 0) {
        Fail(node, Message("Division par zéro."));
        return 0;
      }
      if (node.op == Op::kDivide) return a / b;
      return node.op == Op::kRemainder ? std::fmod(a, b) : std::trunc(a / b);
  }
}

double Machine::EvalNumber(const Node& node) {
  switch (node.op) {
    case Op::kNumber:
      return node.number;
    case Op::kVariable: {
      const Value& value = Variable(node);
      if (value.IsNumber()) return value.number();
      return NumberOf(node, Read(node));
    }
    case Op::kNegate:
      return -EvalNumber(node.kids[0]);
    case Op::kAdd:
      return EvalNumber(node.kids[0]) + EvalNumber(node.kids[1]);
    case Op::kSubtract:
      return EvalNumber(node.kids[0]) - EvalNumber(node.kids[1]);
    case Op::kMultiply:
      return EvalNumber(node.kids[0]) * EvalNumber(node.kids[1]);
    case Op::kPower:
      return std::pow(EvalNumber(node.kids[0]), EvalNumber(node.kids[1]));
    case Op::kDivide:
    case Op::kRemainder:
    case Op::kQuotient: {
      const double a = EvalNumber(node.kids[0]);
      return Arithmetic(node, a, EvalNumber(node.kids[1]));
    }
    case Op::kMath: {
      const double x = EvalNumber(node.kids[0]);
      if (leaving_ != Leaving::kNo) return 0;
      return MathOf(node.operation)(*this, node, x);
    }
    default:
      return NumberOf(node, Eval(node));
  }
}

bool Machine::EvalTruth(const Node& node) {
  switch (node.op) {
    case Op::kAnd:
      return EvalTruth(node.kids[0]) && EvalTruth(node.kids[1]);
    case Op::kOr:
      return EvalTruth(node.kids[0]) || EvalTruth(node.kids[1]);
    case Op::kEqual:
    case Op::kNotEqual:
    case Op::kLess:
    case Op::kGreater:
    case Op::kLessEqual:
    case Op::kGreaterEqual: {
      const Value a = Eval(node.kids[0]);
      return CompareValues(node, a, Eval(node.kids[1]));
    }
    default:
      return TruthOf(node, Eval(node));
  }
}

bool Machine::CompareValues(const Node& node, const Value& a, const Value& b) {
  if (node.op == Op::kEqual) return Equal(a, b);
  if (node.op == Op::kNotEqual) return !Equal(a, b);
  double x = 0;
  double y = 0;
  int order = 0;
  const bool numbers = (a.IsNumber() || (a.IsWord() && ParseNumber(a.word(), x))) &&
                       (b.IsNumber() || (b.IsWord() && ParseNumber(b.word(), y)));
  if (numbers) {
    if (a.IsNumber()) x = a.number();
    if (b.IsNumber()) y = b.number();
    order = x < y ? -1 : x > y ? 1 : 0;
  } else if (a.IsWord() && b.IsWord()) {
    order = a.word().compare(b.word());
  } else {
    x = NumberOf(node, a);
    y = NumberOf(node, b);
    order = x < y ? -1 : x > y ? 1 : 0;
  }
  switch (node.op) {
    case Op::kLess:
      return order < 0;
    case Op::kGreater:
      return order > 0;
    case Op::kLessEqual:
      return order <= 0 && !(numbers && (std::isnan(x) || std::isnan(y)));
    default:
      return order >= 0 && !(numbers && (std::isnan(x) || std::isnan(y)));
  }
}

}  // namespace tortuval::run
