#include "logo/reader.h"

#include "logo/parser.h"

namespace tortuval::logo {
namespace {

bool Waits(const Node& node) {
  return node.op == Op::kPrimitive &&
         (node.operation == Operation::kReadNumber || node.operation == Operation::kReadList ||
          node.operation == Operation::kKeyPressed);
}

bool MarkCallsAndWaits(Node& node) {
  bool marked = node.op == Op::kCall || Waits(node);
  for (Node& kid : node.kids) marked = MarkCallsAndWaits(kid) || marked;
  node.callsOrWaits = marked;
  return marked;
}

}  // namespace

Reading ReadProgram(std::string_view text) {
  Reading reading;
  reading.tokens = ReadTokens(text);
  Parser(reading).Run();
  for (Procedure& procedure : reading.program.procedures) {
    procedure.support = IsSupportProcedure(reading.tokens, procedure);
    MarkCallsAndWaits(procedure.body);
  }
  MarkCallsAndWaits(reading.program.main);
  return reading;
}

}  // namespace tortuval::logo
