// The expressions that hold a call or a wait, run as tasks (machine_tasks.cpp): each computes its
// inputs in the order Eval, EvalNumber and EvalTruth do, as tasks when they hold a call or a
// wait, then what those functions compute from them.

#include "run/machine.h"

namespace tortuval::run {

// An expression: its inputs computed in order (as tasks when they hold calls), then what Eval,
// EvalNumber or EvalTruth compute from them.
void Machine::StepExpression(Task& task, std::size_t at) {
  const Node& node = *task.node;
  const Want want = task.want;
  const std::uint8_t stage = task.stage;
  const auto then = [this, at](std::uint8_t next, const Node& kid, Want kidWant) {
    tasks_[at].stage = next;
    Need(kid, kidWant);
  };
  switch (node.op) {
    case Op::kPrimitive: {
      const std::size_t inputs = std::min<std::size_t>(node.kids.size(), 4);
      if (task.count < inputs) {
        Need(node.kids[task.count++], Want::kValue);
        return;
      }
      Value values[4];
      const std::size_t first = values_.size() - inputs;
      for (std::size_t i = 0; i < inputs; ++i) values[i] = std::move(values_[first + i]);
      values_.resize(first);
      Value result = FunctionOf(node.operation)(*this, node, values, static_cast<int>(inputs));
      return Deliver(node, want, std::move(result));
    }
    case Op::kPointList:
      if (task.count < node.kids.size()) {
        Need(node.kids[task.count++], want == Want::kPoint ? Want::kNumber : Want::kValue);
        return;
      }
      if (want == Want::kPoint) {  // the coordinates of a point, as PointOf reads them
        const std::size_t count = node.kids.size();
        double coordinates[3] = {0, 0, 0};
        const std::size_t first = values_.size() - count;
        for (std::size_t i = 0; i < count && i < 3; ++i)
          coordinates[i] = values_[first + i].number();
        values_.resize(first);
        const Point point = PointOfList(node, coordinates, static_cast<int>(count));
        tasks_.pop_back();
        return PushPoint(point);
      } else {
        const std::size_t first = values_.size() - node.kids.size();
        List items(std::make_move_iterator(values_.begin() + static_cast<std::ptrdiff_t>(first)),
                   std::make_move_iterator(values_.end()));
        values_.resize(first);
        return Deliver(node, want, Value::MakeList(std::move(items)));
      }
    case Op::kItem:
      if (stage == 0) return then(1, node.kids[1], Want::kNumber);
      if (stage == 1) {
        const Node& source = node.kids[0];
        if (source.op != Op::kVariable) return then(2, source, Want::kValue);
        const double index = TakeValue().number();
        return Deliver(node, want, ItemAt(node, index, Read(source)));
      }
      {
        const Value list = TakeValue();
        const double index = TakeValue().number();
        return Deliver(node, want, ItemAt(node, index, list));
      }
    case Op::kAnd:
    case Op::kOr:
      if (stage == 0) return then(1, node.kids[0], Want::kTruth);
      if (stage == 1) {
        const bool first = TakeValue().truth();
        if (first == (node.op == Op::kOr)) return DeliverTruth(node, want, first);
        return then(2, node.kids[1], Want::kTruth);
      }
      return DeliverTruth(node, want, TakeValue().truth());
    case Op::kEqual:
    case Op::kNotEqual:
    case Op::kLess:
    case Op::kGreater:
    case Op::kLessEqual:
    case Op::kGreaterEqual:
      if (stage == 0) return then(1, node.kids[0], Want::kValue);
      if (stage == 1) return then(2, node.kids[1], Want::kValue);
      {
        const Value b = TakeValue();
        const Value a = TakeValue();
        return DeliverTruth(node, want, CompareValues(node, a, b));
      }
    case Op::kAdd:
      // As Eval: numbers added when both sides give numbers, else SumOf; as EvalNumber: numbers.
      if (stage == 0) {
        const bool numbers = want == Want::kNumber || Numeric(node);
        return then(numbers ? 1 : 3, node.kids[0], numbers ? Want::kNumber : Want::kValue);
      }
      if (stage == 1) return then(2, node.kids[1], Want::kNumber);
      if (stage == 3) return then(4, node.kids[1], Want::kValue);
      {
        const Value b = TakeValue();
        const Value a = TakeValue();
        if (stage == 2) return DeliverNumber(node, want, a.number() + b.number());
        return Deliver(node, want, SumOf(node, a, b));
      }
    case Op::kNegate:
      if (stage == 0) return then(1, node.kids[0], Want::kNumber);
      return DeliverNumber(node, want, -TakeValue().number());
    case Op::kMath:
      if (stage == 0) return then(1, node.kids[0], Want::kNumber);
      {
        const double x = TakeValue().number();
        return DeliverNumber(node, want, MathOf(node.operation)(*this, node, x));
      }
    case Op::kSubtract:
    case Op::kMultiply:
    case Op::kDivide:
    case Op::kRemainder:
    case Op::kQuotient:
    case Op::kPower:
      if (stage == 0) return then(1, node.kids[0], Want::kNumber);
      if (stage == 1) return then(2, node.kids[1], Want::kNumber);
      {
        const double b = TakeValue().number();
        const double a = TakeValue().number();
        return DeliverNumber(node, want, Arithmetic(node, a, b));
      }
    // Nodes that hold no call or wait: never tasks.
    case Op::kConstant:
    case Op::kNumber:
    case Op::kTruth:
    case Op::kVariable:
    case Op::kRepCount:
    case Op::kFailure:
    case Op::kCall:
      return Deliver(node, want, Eval(node));
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
      return Fail(node, Message("Cette instruction ne rend pas de valeur."));
  }
}

}  // namespace tortuval::run
