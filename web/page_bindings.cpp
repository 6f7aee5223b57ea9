#include "web/page_bindings.h"

#include <emscripten/bind.h>

namespace tortuval::web {

EMSCRIPTEN_BINDINGS(tortuval_page_shapes) {
  using emscripten::value_object;
  value_object<RunView>("RunView")
      .field("phase", &RunView::phase)
      .field("panelShown", &RunView::panelShown)
      .field("state", &RunView::state)
      .field("error", &RunView::error)
      .field("logoLine", &RunView::logoLine)
      .field("algorithmLine", &RunView::algorithmLine)
      .field("algorithmText", &RunView::algorithmText)
      .field("logoText", &RunView::logoText)
      .field("question", &RunView::question)
      .field("answerLive", &RunView::answerLive)
      .field("continueLive", &RunView::continueLive)
      .field("stepLive", &RunView::stepLive)
      .field("stopLive", &RunView::stopLive)
      .field("restartLive", &RunView::restartLive)
      .field("speed", &RunView::speed)
      .field("variablesShown", &RunView::variablesShown)
      .field("variablesVersion", &RunView::variablesVersion)
      .field("drawingShown", &RunView::drawingShown)
      .field("drawingVersion", &RunView::drawingVersion)
      .field("transcriptWaiting", &RunView::transcriptWaiting);
  value_object<ShownVariable>("ShownVariable")
      .field("name", &ShownVariable::name)
      .field("value", &ShownVariable::value)
      .field("local", &ShownVariable::local)
      .field("changed", &ShownVariable::changed)
      .field("note", &ShownVariable::note);
  value_object<TranscriptPiece>("TranscriptPiece")
      .field("text", &TranscriptPiece::text)
      .field("typed", &TranscriptPiece::typed);
  value_object<TranscriptUpdate>("TranscriptUpdate")
      .field("clearFirst", &TranscriptUpdate::clearFirst)
      .field("pieces", &TranscriptUpdate::pieces);
  value_object<ActionOutcome>("ActionOutcome")
      .field("resume", &ActionOutcome::resume)
      .field("start", &ActionOutcome::start)
      .field("stepping", &ActionOutcome::stepping);
  value_object<PageFinding>("PageFinding")
      .field("line", &PageFinding::line)
      .field("column", &PageFinding::column)
      .field("algorithmLine", &PageFinding::algorithmLine)
      .field("message", &PageFinding::message)
      .field("description", &PageFinding::description);
  value_object<OpenOutcome>("OpenOutcome")
      .field("refused", &OpenOutcome::refused)
      .field("message", &OpenOutcome::message);
  value_object<PageRunSpeed>("PageRunSpeed")
      .field("name", &PageRunSpeed::name)
      .field("delayMs", &PageRunSpeed::delayMs);
}

}  // namespace tortuval::web
