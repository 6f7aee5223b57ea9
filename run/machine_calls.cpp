// Procedure calls. While few calls are open, a call runs on the thread's stack (Call), the
// quicker way; past RunOptions::callsOnThreadStack, it runs as a task (StepCall), its frame on the
// locals' stack and its body on the machine's task stack, as deep as their memory allows. Both
// ways make the same frames (EnterCall, LeaveCall in machine.h) and count the same steps.

#include "run/machine.h"

namespace tortuval::run {

// The inputs go where the new frame starts: calls made while they are computed have returned, and
// taken their own frames away, before the next one is pushed.
Value Machine::Call(const Node& node, bool valueWanted) {
  if (leaving_ != Leaving::kNo) return {};  // an input computed before it failed
  if (static_cast<int>(calls_.size()) >= options_.callsOnThreadStack) {
    return CallAsTask(node, valueWanted);
  }
  const logo::Procedure& procedure = program_.procedures[static_cast<std::size_t>(node.procedure)];
  Tick(node);
  if (!CallFits(node)) return {};
  const std::size_t base = stack_.size();
  for (const Node& kid : node.kids) {
    stack_.push_back(Eval(kid));
    if (leaving_ != Leaving::kNo) return {};
  }
  EnterCall(node, base, tasks_.size());
  Exec(procedure.body);
  if (leaving_ == Leaving::kStop) return {};
  LeaveCall();
  if (leaving_ == Leaving::kReturn) {
    leaving_ = Leaving::kNo;
    return std::move(returned_);
  }
  if (valueWanted) Fail(node, Message("« %s » n'a pas rendu de valeur.", procedure.name));
  return {};
}

// A call past the depth that runs on the thread's stack: it, and everything it calls, run as
// tasks. An instruction's call has had its Begin already.
Value Machine::CallAsTask(const Node& node, bool valueWanted) {
  const std::size_t floor = tasks_.size();
  tasks_.push_back({&node, valueWanted ? Want::kValue : Want::kRun, kCallBegun, 0});
  RunTasks(floor);
  if (leaving_ != Leaving::kNo || !valueWanted) return {};
  return TakeValue();
}

// The memory check of CallFits, every 16 calls: a recursion goes past the bound by a few frames
// at most.
bool Machine::CallMemoryLeft(const Node& node) {
  if (CallBytes() <= options_.limits.maxCallBytes) return true;
  Fail(node, Message("Trop d'appels imbriqués de « %s » (", ProcedureName(node)) +
                 FormatNumber(static_cast<double>(calls_.size())) +
                 Message(") : la mémoire prévue pour l'exécution est pleine."));
  return false;
}

// The memory the run's own stacks take: what a deeper recursion asks for.
std::size_t Machine::CallBytes() const {
  return tasks_.size() * sizeof(Task) + values_.size() * sizeof(Value) +
         stack_.size() * sizeof(Value) + calls_.size() * sizeof(CallRecord) +
         loops_.size() * sizeof(Loop) + repCounts_.size() * sizeof(double);
}

// After a "rends": the tasks, values and loops of the procedure are dropped, down to its call,
// which then takes the value returned.
void Machine::LeaveToCall() {
  const CallRecord& record = calls_.back();
  tasks_.erase(tasks_.begin() + record.tasks, tasks_.end());
  values_.erase(values_.begin() + record.values, values_.end());
  repCounts_.erase(repCounts_.begin() + record.repCounts, repCounts_.end());
  loops_.erase(loops_.begin() + record.loops, loops_.end());
}

// A call, as Call makes it: its inputs computed in order onto the locals' stack, its frame made,
// its body run as a task, the frame taken away and the value returned handed on.
void Machine::StepCall(Task& task, std::size_t at) {
  const Node& node = *task.node;
  switch (task.stage) {
    case kCallStart:
      if (task.want == Want::kRun && !Begin(node)) return;
      [[fallthrough]];
    case kCallBegun:
      Tick(node);
      if (!CallFits(node)) return;
      task.stage = kCallInputs;
      break;
    case kCallInputComputed:
      stack_.push_back(TakeValue());
      ++task.count;
      break;
    case kCallBodyRun:
      return EndCall(task);
    default:
      break;
  }
  const std::size_t inputs = node.kids.size();
  while (task.count < inputs) {
    const Node& kid = node.kids[task.count];
    if (kid.callsOrWaits) {
      task.stage = kCallInputComputed;
      tasks_.push_back({&kid, Want::kValue, 0, 0});
      return;
    }
    stack_.push_back(Eval(kid));
    ++task.count;
    if (leaving_ != Leaving::kNo) return;
  }
  EnterCall(node, stack_.size() - inputs, at + 1);
  task.stage = kCallBodyRun;
  const logo::Procedure& procedure = program_.procedures[static_cast<std::size_t>(node.procedure)];
  if (Need(procedure.body, Want::kRun)) EndCall(tasks_[at]);
}

// The body of the call on top has ended, by its last instruction or by "rends".
void Machine::EndCall(Task& task) {
  if (leaving_ == Leaving::kStop) return;
  LeaveCall();
  const Node& node = *task.node;
  const Want want = task.want;
  if (leaving_ == Leaving::kReturn) {
    leaving_ = Leaving::kNo;
    return Deliver(node, want, std::move(returned_));
  }
  if (want != Want::kRun) {
    return Fail(node, Message("« %s » n'a pas rendu de valeur.", ProcedureName(node)));
  }
  tasks_.pop_back();
}

}  // namespace tortuval::run
