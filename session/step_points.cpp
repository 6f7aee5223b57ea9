#include "session/step_points.h"

#include <cstddef>

#include "library/counted_loop.h"

namespace tortuval::session {
namespace {

using logo::Node;
using logo::Op;

// Instructions the converter adds around an algorithm line's own: they run with no stop.
bool RunsWithoutStop(Op op) {
  switch (op) {
    case Op::kDefine:        // a declaration
    case Op::kClearText:     // the program's start
    case Op::kStartDrawing:  // the drawing's frame, at the start and at the end
    case Op::kShowDrawing:
    case Op::kPromptEnd:  // the end of a read's prompt, after the read itself
    case Op::kIfTrue:     // the block chosen by a test: the test was the stop
    case Op::kIfFalse:
    case Op::kStep:  // a counted loop's counter, stepped at the end of a pass
      return true;
    default:
      return false;
  }
}

class Marker {
 public:
  Marker(std::vector<int>& stopLines, const Session& session)
      : stopLines_(stopLines), session_(session) {}

  // An instruction, or a block of them, and those nested in them.
  void Visit(const Node& node) { Instruction(node, true); }

 private:
  void Block(const Node& block) {
    const std::vector<Node>& kids = block.kids;
    for (std::size_t i = 0; i < kids.size(); ++i) {
      const Node& kid = kids[i];
      // A counted loop's start assigns its counter for the loop's algorithm line: the loop's own
      // stop, its counter set, comes right after.
      const bool loopStart = kid.op == Op::kAssign && i + 1 < kids.size() &&
                             kids[i + 1].op == Op::kRepeat && kids[i + 1].countedLoop &&
                             logo::SameVariable(kid, kids[i + 1]) &&
                             session_.AlgorithmLine(kid.line) ==
                                 session_.AlgorithmLine(kids[i + 1].line);
      Instruction(kid, !loopStart);
    }
  }

  void Instruction(const Node& node, bool mayStop) {
    if (node.op == Op::kBlock) {
      Block(node);
      return;
    }
    if (mayStop && !RunsWithoutStop(node.op)) Mark(node.line);
    switch (node.op) {
      case Op::kIfTrue:
      case Op::kIfFalse:
        Instruction(node.kids[0], true);
        return;
      case Op::kIf:
      case Op::kWhile:
        Instruction(node.kids[1], true);
        return;
      case Op::kRepeat:
        if (node.countedLoop) {
          CountedLoopBody(node.kids[1]);
        } else {
          Instruction(node.kids[1], true);
        }
        return;
      default:
        return;
    }
  }

  // The pass end (test and step of the counter, on the end of the loop's line) has no stop.
  void CountedLoopBody(const Node& body) {
    constexpr auto kPassEnd = static_cast<std::size_t>(library::kCountedLoopPassEndStatements);
    for (std::size_t i = 0; i + kPassEnd < body.kids.size(); ++i) Instruction(body.kids[i], true);
  }

  void Mark(int line) {
    if (line < 1 || static_cast<std::size_t>(line) >= stopLines_.size()) return;
    stopLines_[static_cast<std::size_t>(line)] = session_.AlgorithmLine(line);
  }

  std::vector<int>& stopLines_;
  const Session& session_;
};

}  // namespace

StepPoints::StepPoints(const ReadProgram& program, const Session& session)
    : byAlgorithm_(session.IsDocument()) {
  if (!byAlgorithm_) return;
  const logo::Program& tree = program.Reading().program;
  int lines = 1;
  for (const char c : program.Text()) lines += c == '\n' ? 1 : 0;
  stopLines_.assign(static_cast<std::size_t>(lines) + 1, 0);
  algorithmLines_.assign(stopLines_.size(), 0);
  for (std::size_t line = 1; line < algorithmLines_.size(); ++line) {
    algorithmLines_[line] = session.AlgorithmLine(static_cast<int>(line));
  }
  Marker marker(stopLines_, session);
  marker.Visit(tree.main);
  for (const logo::Procedure& procedure : tree.procedures) {
    if (!procedure.support) marker.Visit(procedure.body);
  }
}

void StepPoints::CameFrom(int logoLine, int depth) {
  const bool known = logoLine >= 1 && static_cast<std::size_t>(logoLine) < algorithmLines_.size();
  lastLine_ = known ? algorithmLines_[static_cast<std::size_t>(logoLine)] : 0;
  lastDepth_ = depth;
}

bool StepPoints::StopsAt(int logoLine, bool turn, int depth) {
  if (!byAlgorithm_) return !turn;
  const int line = logoLine >= 1 && static_cast<std::size_t>(logoLine) < stopLines_.size()
                       ? stopLines_[static_cast<std::size_t>(logoLine)]
                       : 0;
  if (line == 0) return false;
  // The instructions of one line, one after the other, are one execution of it.
  if (!turn && line == lastLine_ && depth == lastDepth_) return false;
  lastLine_ = line;
  lastDepth_ = depth;
  return true;
}

}  // namespace tortuval::session
