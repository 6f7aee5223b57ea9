// Fuzz target: the algorithm read as a tree, and written in Python. Byte 0 even: the rest is a
// document, read, each of its expressions parsed, and written in Python; odd: the rest is one
// expression. Every expression that reads, written back in the editor's notation, must read
// again as the same tree; each line of the Python program has its line of the algorithm.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "algorithm/document_tree.h"
#include "algorithm/expression.h"
#include "fuzz/fuzz_check.h"
#include "python/python_program.h"

namespace {

void CheckExpression(std::string_view text) {
  const tortuval::algorithm::ReadExpression first = tortuval::algorithm::ParseExpression(text);
  if (!first.ok()) return;
  const tortuval::algorithm::ReadExpression again =
      tortuval::algorithm::ParseExpression(tortuval::algorithm::WriteNotation(first.expression));
  tortuval::fuzz::Check(again.ok(), "an expression written back reads again");
  tortuval::fuzz::Check(again.expression == first.expression,
                        "an expression written back reads as the same tree");
}

void CheckItems(const std::vector<tortuval::algorithm::Item>& items) {
  for (const tortuval::algorithm::Item& item : items) {
    for (const std::string_view field : tortuval::algorithm::ExpressionFields(item)) {
      CheckExpression(field);
    }
    CheckItems(item.items);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] % 2 == 1) {
    CheckExpression(rest);
    return 0;
  }
  const tortuval::algorithm::AlgorithmDocument document =
      tortuval::algorithm::ReadAlgorithmDocument(rest);
  CheckExpression(document.f1);
  for (const auto& each : document.f2.cases) {
    CheckExpression(each.condition);
    CheckExpression(each.value);
  }
  CheckItems(document.items);
  const tortuval::python::PythonProgram program = tortuval::python::WritePython(document, "essai");
  tortuval::fuzz::Check(
      program.algorithmLines.size() ==
          static_cast<std::size_t>(std::count(program.text.begin(), program.text.end(), '\n')),
      "each line of the Python program has its line of the algorithm");
  return 0;
}
