// The nodes that hold a call of a user procedure or a wait for the user, run as tasks on stacks
// the machine keeps in memory: each call's frame, and the evaluation pending around it (the
// values an expression has computed so far, how far a block or a loop has come), are data here,
// so that a recursion goes as deep as that memory allows and no deeper than the limit on it, and
// a wait finds none of the expressions' C++ functions on the thread's stack. Each task mirrors
// what the straight-through functions (machine.cpp, machine_expressions.cpp) do with the same
// node: the same order of evaluation, the same steps counted, the same errors at the same nodes.

#include "run/machine.h"

namespace tortuval::run {

// What Need computes at once. A result (none for an instruction, two numbers for a point) lands
// on values_, at once or when its task ends; the task that needs it is then called again, at
// the stage it set before.
bool Machine::NeedNow(const Node& node, Want want) {
  switch (want) {
    case Want::kRun:
      Exec(node);
      break;
    case Want::kValue:
    case Want::kReturn:  // only ever a task's want
      values_.push_back(Eval(node));
      break;
    case Want::kNumber:
      values_.push_back(Value::Number(EvalNumber(node)));
      break;
    case Want::kTruth:
      values_.push_back(Value::Bool(EvalTruth(node)));
      break;
    case Want::kPoint:
      PushPoint(PointOf(node));
      break;
  }
  return true;
}

// Ends the task on top, whose node computed `value`, and hands it on as the task was wanted:
// converted as EvalNumber, EvalTruth or PointOf convert what Eval gives.
void Machine::Deliver(const Node& node, Want want, Value value) {
  tasks_.pop_back();
  switch (want) {
    case Want::kRun:
      return;
    case Want::kValue:
      values_.push_back(std::move(value));
      return;
    case Want::kReturn:
      returned_ = std::move(value);
      leaving_ = Leaving::kReturn;
      return;
    case Want::kNumber:
      values_.push_back(Value::Number(NumberOf(node, value)));
      return;
    case Want::kTruth:
      values_.push_back(Value::Bool(TruthOf(node, value)));
      return;
    case Want::kPoint:
      PushPoint(PointOfValue(node, value));
      return;
  }
}

void Machine::DeliverNumber(const Node& node, Want want, double number) {
  if (want == Want::kNumber) {
    tasks_.pop_back();
    values_.push_back(Value::Number(number));
    return;
  }
  Deliver(node, want, Value::Number(number));
}

void Machine::DeliverTruth(const Node& node, Want want, bool truth) {
  Deliver(node, want, Value::Bool(truth));
}

// Runs the tasks above `floor` to their end, or to a stop.
void Machine::RunTasks(std::size_t floor) {
  while (tasks_.size() > floor) {
    if (leaving_ != Leaving::kNo) [[unlikely]] {
      if (leaving_ == Leaving::kStop) return;  // everything stays as it was, for the report
      LeaveToCall();
    }
    const std::size_t at = tasks_.size() - 1;
    Task& task = tasks_[at];
    if (task.node->op == Op::kCall) {
      StepCall(task, at);
    } else if (task.want == Want::kRun) {
      StepInstruction(task, at);
    } else {
      StepExpression(task, at);
    }
  }
}

// An instruction: its inputs computed (as tasks when they hold calls), then what Exec and the
// instruction's own function do with them.
void Machine::StepInstruction(Task& task, std::size_t at) {
  const Node& node = *task.node;
  if (node.op == Op::kBlock) {
    const std::size_t kids = node.kids.size();
    while (task.count < kids) {
      const Node& kid = node.kids[task.count++];
      if (kid.callsOrWaits) {
        // The last instruction takes the block's place: the block has nothing left to do.
        if (task.count == kids) {
          task = {&kid, Want::kRun, 0, 0};
        } else {
          tasks_.push_back({&kid, Want::kRun, 0, 0});
        }
        return;
      }
      Exec(kid);
      if (leaving_ != Leaving::kNo) return;
    }
    tasks_.pop_back();
    return;
  }
  const std::uint8_t stage = task.stage;
  if (stage == 0 && !Begin(node)) return;
  // The task's next stage, and what it needs first; `task` may move with the tasks pushed.
  const auto then = [this, at](std::uint8_t next, const Node& kid, Want want) {
    tasks_[at].stage = next;
    Need(kid, want);
  };
  switch (node.op) {
    case Op::kAssign: {
      const Node& kid = node.kids[0];
      switch (stage) {
        case 0:
          if (Numeric(kid)) return then(1, kid, Want::kNumber);
          if (AppendsToItself(node)) {
            values_.push_back(Eval(kid.kids[0]));
            return then(2, kid.kids[1], Want::kValue);
          }
          return then(3, kid, Want::kValue);
        case 1:
          Variable(node).SetNumber(TakeValue().number());
          break;
        case 2: {
          Value more = TakeValue();
          Value list = TakeValue();
          tasks_.pop_back();
          return AppendWith(node, std::move(list), std::move(more));
        }
        default:
          Variable(node) = TakeValue();
          break;
      }
      tasks_.pop_back();
      return;
    }
    case Op::kTest:
      if (stage == 0) return then(1, node.kids[0], Want::kTruth);
      frame_.test = TakeValue().truth();
      tasks_.pop_back();
      return;
    case Op::kIfTrue:
    case Op::kIfFalse: {
      const bool tested = node.op == Op::kIfTrue;
      if (stage == 0 && frame_.test == tested) return then(1, node.kids[0], Want::kRun);
      if (stage == 1) frame_.test = tested;
      tasks_.pop_back();
      return;
    }
    case Op::kIf:
      if (stage == 0) return then(1, node.kids[0], Want::kTruth);
      if (stage == 1 && TakeValue().truth()) return then(2, node.kids[1], Want::kRun);
      tasks_.pop_back();
      return;
    case Op::kWhile:
      if (stage == 2) {  // after a turn
        Tick(node);
        if (Watched()) [[unlikely]]
          ObserveTurn(node);
        if (leaving_ != Leaving::kNo) return;
      }
      if (stage != 1) return then(1, node.kids[0], Want::kTruth);
      if (TakeValue().truth()) return then(2, node.kids[1], Want::kRun);
      tasks_.pop_back();
      return;
    case Op::kRepeat:
      return StepRepeat(task, at);
    case Op::kPrint: {
      const Node& kid = node.kids[0];
      if (stage == 0) {
        const bool number = kid.op != Op::kVariable && kid.op != Op::kMath && Numeric(kid);
        return then(number ? 1 : 2, kid, number ? Want::kNumber : Want::kValue);
      }
      const Value value = TakeValue();
      tasks_.pop_back();
      return PrintText(node, stage == 1 ? FormatNumber(value.number()) : Printed(value));
    }
    case Op::kPrompt:
      if (stage == 0) return then(1, node.kids[0], Want::kValue);
      prompt_ = Printed(TakeValue());
      tasks_.pop_back();
      return;
    case Op::kReplace:
      if (stage == 0) return then(1, node.kids[0], Want::kValue);
      if (stage == 1) return then(2, node.kids[1], Want::kNumber);
      {
        const double index = TakeValue().number();
        Value value = TakeValue();
        tasks_.pop_back();
        return ReplaceWith(node, std::move(value), index);
      }
    case Op::kSegment:
    case Op::kPlot:
      if (stage == 0) {
        if (!MayDraw(node)) return;
        return then(1, node.kids[0], Want::kPoint);
      }
      if (stage == 1 && node.op == Op::kSegment) return then(2, node.kids[1], Want::kPoint);
      {
        Point points[2];
        for (int i = stage - 1; i >= 0; --i) {
          points[i].y = TakeValue().number();
          points[i].x = TakeValue().number();
        }
        tasks_.pop_back();
        return AddDrawn(node, points[0], node.op == Op::kPlot ? points[0] : points[1]);
      }
    case Op::kStartDrawing:
      if (stage == 0) return then(1, node.kids[0], Want::kValue);
      TakeValue();
      tasks_.pop_back();
      return StartDrawing(node);
    case Op::kShowDrawing:
      if (stage == 0) return then(1, node.kids[0], Want::kValue);
      {
        const Value shown = TakeValue();
        tasks_.pop_back();
        return ShowDrawing(node, shown);
      }
    case Op::kReturn:
      if (calls_.empty()) return Fail(node, Message("« %s » hors d'une procédure.", "rends"));
      // The value takes the instruction's place: it returns once computed.
      task = {&node.kids[0], Want::kReturn, 0, 0};
      return;
    // Instructions whose inputs hold no call or wait, run straight through.
    case Op::kDefine:
    case Op::kStep:
    case Op::kPromptEnd:
    case Op::kClearText:
    case Op::kFailure:
    case Op::kBlock:
    case Op::kCall:
      tasks_.pop_back();
      return;
    // A value where an instruction is expected.
    case Op::kConstant:
    case Op::kNumber:
    case Op::kTruth:
    case Op::kVariable:
    case Op::kNegate:
    case Op::kAdd:
    case Op::kSubtract:
    case Op::kMultiply:
    case Op::kDivide:
    case Op::kRemainder:
    case Op::kQuotient:
    case Op::kPower:
    case Op::kEqual:
    case Op::kNotEqual:
    case Op::kLess:
    case Op::kGreater:
    case Op::kLessEqual:
    case Op::kGreaterEqual:
    case Op::kAnd:
    case Op::kOr:
    case Op::kMath:
    case Op::kPrimitive:
    case Op::kItem:
    case Op::kPointList:
    case Op::kRepCount:
      return Fail(node, Message("Que faire de cette valeur ?"));
  }
}

// REPETE as Machine::Repeat runs it, its pass and bounds kept in loops_.
void Machine::StepRepeat(Task& task, std::size_t at) {
  const Node& node = *task.node;
  switch (task.stage) {
    case 0:
      task.stage = 1;
      Need(node.kids[0], Want::kValue);
      return;
    case 1: {
      const std::int64_t count = CountOf(node.kids[0], TakeValue());
      const double first = node.countedLoop ? NumberOf(node, Read(node)) : 0;
      if (leaving_ != Leaving::kNo) return;
      repCounts_.push_back(0);
      loops_.push_back({count, 0, first, 0, 0});
      task.stage = 2;
      return;
    }
    case 3: {  // after a pass
      Tick(node);
      Loop& loop = loops_.back();
      if (node.countedLoop && loop.pass == 0) {
        loop.direction = frame_.test ? 1 : -1;
        loop.last = loop.first + loop.direction * static_cast<double>(loop.count - 1);
      }
      ++loop.pass;
      task.stage = 2;
      return;
    }
    default: {  // before a pass
      const Loop loop = loops_.back();
      bool ends = loop.pass >= loop.count;
      if (!ends && node.countedLoop && loop.pass > 0) {
        const double counter = NumberOf(node, Read(node));
        if (leaving_ != Leaving::kNo) return;
        ends = loop.direction * (counter - loop.last) > 0;
      }
      if (ends) {
        repCounts_.pop_back();
        loops_.pop_back();
        tasks_.pop_back();
        return;
      }
      if (loop.pass > 0 && Watched()) [[unlikely]] {
        ObserveTurn(node);
        if (leaving_ != Leaving::kNo) return;
      }
      repCounts_.back() = static_cast<double>(loop.pass + 1);
      tasks_[at].stage = 3;
      Need(node.kids[1], Want::kRun);
      return;
    }
  }
}

}  // namespace tortuval::run
