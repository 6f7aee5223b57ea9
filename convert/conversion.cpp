#include "convert/conversion.h"

#include <algorithm>
#include <array>

#include "convert/conversion_state.h"
#include "convert/declarations.h"
#include "convert/document.h"
#include "convert/document_faults.h"
#include "convert/drawing_axes.h"
#include "convert/listing.h"
#include "convert/translators.h"
#include "expr/repair_text.h"
#include "expr/replace_all.h"
#include "library/support_procedures.h"

namespace tortuval::convert {
namespace {

// The translator of each internal instruction number; 0 and gaps translate nothing.
constexpr std::array<Translator, 35> kTranslators = {
    nullptr,                     // 0
    TranslateDeclaration,        // 1  declaration
    TranslateInput,              // 2  LIRE
    TranslateValueOutput,        // 3  AFFICHER a value
    TranslateTextOutput,         // 4  AFFICHER a text
    TranslateAssignment,         // 5  PREND_LA_VALEUR
    TranslateIf,                 // 6  SI
    TranslateIfBegin,            // 7  DEBUT_SI
    TranslateIfEnd,              // 8  FIN_SI
    TranslateElse,               // 9  SINON
    TranslateElseBegin,          // 10 DEBUT_SINON
    TranslateElseEnd,            // 11 FIN_SINON
    TranslateFor,                // 12 POUR
    TranslateForBegin,           // 13 DEBUT_POUR
    TranslateForEnd,             // 14 FIN_POUR
    TranslateWhile,              // 15 TANT_QUE
    TranslateWhileBegin,         // 16 DEBUT_TANT_QUE
    TranslateWhileEnd,           // 17 FIN_TANT_QUE
    TranslatePause,              // 18 PAUSE
    TranslateComment,            // 19 comment
    TranslateSegment,            // 20 TRACER_SEGMENT
    TranslateGraphics,           // 21 the third graphics instruction
    TranslateVariablesSection,   // 22 VARIABLES
    TranslateAlgorithmStart,     // 23 DEBUT_ALGORITHME
    TranslateAlgorithmEnd,       // 24 FIN_ALGORITHME
    TranslateFunctionSection,    // 25 function section
    TranslateFunctionHeader,     // 26 function header
    TranslateFunctionVariables,  // 27 function variables
    TranslateFunctionBody,       // 28 function body
    TranslateFunctionEnd,        // 29 function end
    TranslateFunctionResult,     // 30 function result
    TranslateF1,                 // 31 the `fonction` element
    TranslateF2,                 // 32 the `F2` element
    TranslatePoint,              // 33 a point
    TranslateProcedureCall,      // 34 APPELER_FONCTION
};

// The last item numbered 3 or 4. The search is for the marker and the first digit only, so it
// also stops at items 30 to 34: function results and elements, points and procedure calls count
// as output too, as a called procedure may well write.
std::size_t LastOutputMarker(std::string_view document) {
  const std::size_t values = document.rfind("code=\"3");
  const std::size_t texts = document.rfind("code=\"4");
  if (values == std::string_view::npos) return texts;
  if (texts == std::string_view::npos) return values;
  return std::max(values, texts);
}

// The listing entry of the item that started each line of the program, as items are translated.
class LineSources {
 public:
  void Record(std::string_view program, int entry) {
    while (scanned_ < program.size()) {
      if (atLineStart_) entries_.push_back(entry);
      const std::size_t end = program.find('\n', scanned_);
      atLineStart_ = end != std::string_view::npos;
      scanned_ = atLineStart_ ? end + 1 : program.size();
    }
  }
  const std::vector<int>& Entries() const { return entries_; }

 private:
  std::vector<int> entries_;
  std::size_t scanned_ = 0;
  bool atLineStart_ = true;
};

}  // namespace

ConversionResult ConvertDocument(std::string_view sourceText) {
  std::string document = expr::RepairText(std::string(sourceText));
  std::string listingText = document;
  expr::ReplaceAll(listingText, "& quot;", "'");
  Renumber(document);

  InstructionCursor cursor(document);
  cursor.FindNextInstruction();
  DocumentFault fault = DocumentFault::kNone;
  if (cursor.Done()) {
    fault = DocumentFault::kNoInstruction;
  } else if (EndsBeforeItsClose(sourceText)) {
    fault = DocumentFault::kTruncated;
  }

  ConversionState state;
  // Both decisions see the document from the first instruction's number on.
  const std::string_view remaining = cursor.Remaining();
  state.graphicsUsed = expr::Contains(remaining, "code=\"33#") ||
                       expr::Contains(remaining, "code=\"20#") ||
                       expr::Contains(remaining, "code=\"21#");
  state.neededProcedures = library::DetectSupportProcedures(remaining);
  state.lastOutputMarker = LastOutputMarker(document);
  // A user function's body sees the algorithm's variables wherever they are declared.
  if (expr::Contains(remaining, "code=\"27#")) ReadDocumentGlobals(document, state.documentGlobals);

  ListingEntryCounter entries(document);
  LineSources sources;
  while (!cursor.Done()) {
    const int entry = entries.EntriesBefore(cursor.Position());
    const std::string_view item = cursor.CutItem();
    state.remainingStart = cursor.Position();
    if (const Translator translate = kTranslators[static_cast<std::size_t>(cursor.Number())]) {
      translate(state, item);
    }
    sources.Record(state.logoText, entry);
    cursor.FindNextInstruction();
  }

  ConversionResult result{std::move(state.logoText), {}, fault, {}, ReadDrawingAxes(sourceText)};
  std::vector<int> entryLines;
  result.listingText = ListSourceLines(listingText, &entryLines);
  for (const int entry : sources.Entries()) {
    result.listingLines.push_back(entry > 0 && entry <= static_cast<int>(entryLines.size())
                                      ? entryLines[static_cast<std::size_t>(entry - 1)]
                                      : 0);
  }
  return result;
}

}  // namespace tortuval::convert
