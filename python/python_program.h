#pragma once
// The algorithm of a document written as a Python program that a class runs as it is (Python 3.9
// and later, the standard library, matplotlib when it draws): the algorithm's names and order,
// one Python line or a few an algorithm line, the small functions of the run's meaning it needs
// defined at its top. An item that cannot be written becomes a "# À compléter : …" comment and a
// finding; nothing is dropped silently.

#include <string>
#include <vector>

#include "algorithm/document_tree.h"

namespace tortuval::python {

/// A line of the algorithm the program could not write, and why (French, UTF-8).
struct PythonFinding {
  int line = 0;  ///< the algorithm's line, from 1
  std::string message;
};

struct PythonProgram {
  std::string text;  ///< UTF-8, "\n" line ends
  /// By line of the program (from 0): the line of the algorithm that wrote it, 0 for none.
  std::vector<int> algorithmLines;
  std::vector<PythonFinding> findings;
};

/// Writes the document's algorithm in Python. `name` names the program in its first comment.
PythonProgram WritePython(const algorithm::AlgorithmDocument& document, std::string_view name);

}  // namespace tortuval::python
