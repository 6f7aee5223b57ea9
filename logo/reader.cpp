#include "logo/reader.h"

#include "logo/parser.h"

namespace tortuval::logo {
namespace {

bool MarkCalls(Node& node) {
  bool holds = node.op == Op::kCall;
  for (Node& kid : node.kids) holds = MarkCalls(kid) || holds;
  node.holdsCall = holds;
  return holds;
}

}  // namespace

Reading ReadProgram(std::string_view text) {
  Reading reading;
  reading.tokens = ReadTokens(text);
  Parser(reading).Run();
  for (Procedure& procedure : reading.program.procedures) {
    procedure.support = IsSupportProcedure(reading.tokens, procedure);
    MarkCalls(procedure.body);
  }
  MarkCalls(reading.program.main);
  return reading;
}

}  // namespace tortuval::logo
