#pragma once
// Where a run stepped one step at a time stops. A program converted from a document steps by the
// algorithm's lines: before each line that executes (a read, an output, an assignment, a call,
// each test of a SI or a TANT_QUE, each turn of a POUR with its counter set), once each time it
// executes; what the converter adds around them (declarations, a counted loop's start and the end
// of its passes, the drawing's frame) runs without a stop. A program taken as it is steps by its
// own instructions. The same rule slows a run down, line by line.

#include <vector>

#include "session/session.h"

namespace tortuval::session {

class StepPoints {
 public:
  /// Every instruction is a stop.
  StepPoints() = default;
  /// The stops of `program`: by the session's algorithm lines when the session is a document.
  StepPoints(const ReadProgram& program, const Session& session);

  /// Whether a run stops before the instruction at `logoLine` (from 1) at call depth `depth`;
  /// `turn` for a loop's next turn or next test, at the loop's line. Told of every instruction
  /// while the run is watched, it remembers the last stop.
  bool StopsAt(int logoLine, bool turn, int depth);
  /// The run went on unwatched, and stands now after the instruction at `logoLine`, at call depth
  /// `depth`: the rest of that instruction's algorithm line is no new stop.
  void CameFrom(int logoLine, int depth);

 private:
  bool byAlgorithm_ = false;
  std::vector<int> stopLines_;  // by LOGO line from 1: the algorithm line stopped at, or 0
  std::vector<int> algorithmLines_;  // by LOGO line from 1: the algorithm line, stop or not
  int lastLine_ = 0;
  int lastDepth_ = -1;
};

}  // namespace tortuval::session
