// The three document sections: declarations, the algorithm's start and its end.

#include "convert/translators.h"
#include "library/support_procedures.h"

namespace tortuval::convert {

void TranslateVariablesSection(ConversionState& state, std::string_view /*item*/) {
  state.inFunction = false;
  state.AppendLine("// VARIABLES");
}

void TranslateAlgorithmStart(ConversionState& state, std::string_view /*item*/) {
  state.Append("\r\n");
  for (int position = 1; position <= library::kSupportProcedureCount; ++position) {
    if (!state.neededProcedures.test(static_cast<std::size_t>(position - 1))) continue;
    library::AppendSupportProcedure(position, state.Indentation(), state.logoText);
    state.Append("\r\n");
  }
  state.AppendLine("// DEBUT_ALGORITHME");
  // Clearing the text screen is only worth it when something is written to it afterwards.
  if (state.OutputFollows()) state.Append("EFFACETEXTE\r\n");
  if (state.graphicsUsed) state.AppendLine("initgraph faux");
}

void TranslateAlgorithmEnd(ConversionState& state, std::string_view /*item*/) {
  if (state.graphicsUsed) state.AppendLine("grapheur vrai");
  state.AppendLine("// FIN_ALGORITHME");
}

}  // namespace tortuval::convert
