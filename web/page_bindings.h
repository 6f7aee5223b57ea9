#pragma once
// The shapes that cross between the page's C++ and page.js, declared once here and registered
// with embind (page_bindings.cpp) as plain JavaScript objects; page.js lists the same fields in
// one place, where it reads them. Texts are UTF-8.

#include <emscripten/val.h>

#include <string>

namespace tortuval::web {

/// What the run panel shows (runView).
struct RunView {
  std::string phase;  ///< "none", "running", "stepping", "asking", "pausing", "ended"
  bool panelShown = false;
  std::string state;
  bool error = false;
  int logoLine = 0;  ///< the lines the run stands at; 0 for none
  int algorithmLine = 0;
  std::string algorithmText;
  std::string logoText;
  std::string question;
  bool answerLive = false;
  bool continueLive = false;
  bool stepLive = false;
  bool stopLive = false;
  bool restartLive = false;
  int speed = 0;
  bool variablesShown = false;
  double variablesVersion = 0;  ///< changes with the variables (runVariables)
  bool drawingShown = false;
  double drawingVersion = 0;  ///< changes with the drawing (runDrawingSvg)
  bool transcriptWaiting = false;  ///< runTranscript has something new
};

/// A row of the variables' table.
struct ShownVariable {
  std::string name;  ///< a local's followed by " (locale)"
  std::string value;
  bool local = false;
  bool changed = false;
  std::string note;  ///< the name's tooltip
};

/// A piece of the transcript: the program's output, or an answer typed.
struct TranscriptPiece {
  std::string text;
  bool typed = false;
};

/// What the transcript gained since last taken.
struct TranscriptUpdate {
  bool clearFirst = false;
  emscripten::val pieces = emscripten::val::array();  ///< TranscriptPiece objects
};

/// What the page does after a user's action (runAction): resume the run that waits, start one.
struct ActionOutcome {
  bool resume = false;
  bool start = false;
  bool stepping = false;
};

/// A finding of the check, with the algorithm's line of its LOGO line.
struct PageFinding {
  int line = 0;
  int column = 0;
  int algorithmLine = 0;
  std::string message;
  std::string description;
};

/// How an opened file was taken.
struct OpenOutcome {
  bool refused = false;
  std::string message;  ///< to show the user; empty for none
};

/// A speed the run is offered at.
struct PageRunSpeed {
  std::string name;
  int delayMs = 0;
};

}  // namespace tortuval::web
