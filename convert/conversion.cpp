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
#include "library/instructions.h"
#include "library/support_procedures.h"

namespace tortuval::convert {
namespace {

using library::Instruction;
using library::kMarker;

struct TranslatorRow {
  Instruction instruction;
  Translator translate;
};

// The translator of each instruction; the renumbering writes no other.
constexpr TranslatorRow kTranslatorRows[] = {
    {Instruction::kDeclaration, TranslateDeclaration},
    {Instruction::kInput, TranslateInput},
    {Instruction::kValueOutput, TranslateValueOutput},
    {Instruction::kTextOutput, TranslateTextOutput},
    {Instruction::kAssignment, TranslateAssignment},
    {Instruction::kIf, TranslateIf},
    {Instruction::kIfBegin, TranslateIfBegin},
    {Instruction::kIfEnd, TranslateIfEnd},
    {Instruction::kElse, TranslateElse},
    {Instruction::kElseBegin, TranslateElseBegin},
    {Instruction::kElseEnd, TranslateElseEnd},
    {Instruction::kFor, TranslateFor},
    {Instruction::kForBegin, TranslateForBegin},
    {Instruction::kForEnd, TranslateForEnd},
    {Instruction::kWhile, TranslateWhile},
    {Instruction::kWhileBegin, TranslateWhileBegin},
    {Instruction::kWhileEnd, TranslateWhileEnd},
    {Instruction::kPause, TranslatePause},
    {Instruction::kComment, TranslateComment},
    {Instruction::kSegment, TranslateSegment},
    {Instruction::kGraphics, TranslateGraphics},
    {Instruction::kVariablesSection, TranslateVariablesSection},
    {Instruction::kAlgorithmStart, TranslateAlgorithmStart},
    {Instruction::kAlgorithmEnd, TranslateAlgorithmEnd},
    {Instruction::kFunctionSection, TranslateFunctionSection},
    {Instruction::kFunctionHeader, TranslateFunctionHeader},
    {Instruction::kFunctionVariables, TranslateFunctionVariables},
    {Instruction::kFunctionBody, TranslateFunctionBody},
    {Instruction::kFunctionEnd, TranslateFunctionEnd},
    {Instruction::kFunctionResult, TranslateFunctionResult},
    {Instruction::kF1, TranslateF1},
    {Instruction::kF2, TranslateF2},
    {Instruction::kPoint, TranslatePoint},
    {Instruction::kProcedureCall, TranslateProcedureCall},
};

// The rows indexed by instruction number; 0 (the cursor done) translates nothing.
constexpr std::array<Translator, library::kHighestInstruction + 1> kTranslators = [] {
  std::array<Translator, library::kHighestInstruction + 1> byNumber{};
  for (const TranslatorRow& row : kTranslatorRows) {
    byNumber[static_cast<std::size_t>(library::NumberOf(row.instruction))] = row.translate;
  }
  return byNumber;
}();

// A marker without its "#": it also stops at the instructions whose number starts with the
// same digit.
constexpr std::string_view MarkerStart(std::string_view marker) {
  return marker.substr(0, marker.size() - 1);
}

// The last output item, of a value or of a text. The search is for the marker and the first digit
// only, so it also stops at the instructions whose numbers start with the same digit (function
// results and elements, points and procedure calls): they count as output too, as a called
// procedure may well write.
std::size_t LastOutputMarker(std::string_view document) {
  const std::size_t values = document.rfind(MarkerStart(kMarker<Instruction::kValueOutput>.View()));
  const std::size_t texts = document.rfind(MarkerStart(kMarker<Instruction::kTextOutput>.View()));
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
  state.graphicsUsed = expr::Contains(remaining, kMarker<Instruction::kPoint>.View()) ||
                       expr::Contains(remaining, kMarker<Instruction::kSegment>.View()) ||
                       expr::Contains(remaining, kMarker<Instruction::kGraphics>.View());
  state.neededProcedures = library::DetectSupportProcedures(remaining);
  state.lastOutputMarker = LastOutputMarker(document);
  // A user function's body sees the algorithm's variables wherever they are declared, and calls
  // the document's functions wherever they are defined.
  if (expr::Contains(remaining, kMarker<Instruction::kFunctionVariables>.View())) {
    ReadDocumentGlobals(document, state.documentGlobals, state.documentFunctionNames);
  }

  ListingEntryCounter entries(document);
  LineSources sources;
  while (!cursor.Done()) {
    // F1 and F2 come after the description but are not part of it: their lines go with a line
    // of the listing only if their element shows one, else with none, and a run stopped inside
    // them names the line that called them.
    const bool functionElement =
        cursor.Number() == Instruction::kF1 || cursor.Number() == Instruction::kF2;
    const int entry = functionElement ? entries.EntryOfElementAt(cursor.Position())
                                      : entries.EntriesThroughElementAt(cursor.Position());
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
