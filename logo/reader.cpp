#include "logo/reader.h"

#include "logo/parser.h"

namespace tortuval::logo {

Reading ReadProgram(std::string_view text) {
  Reading reading;
  reading.tokens = ReadTokens(text);
  Parser(reading).Run();
  for (Procedure& procedure : reading.program.procedures) {
    procedure.support = IsSupportProcedure(reading.tokens, procedure);
  }
  return reading;
}

}  // namespace tortuval::logo
