// The page's one session, as page.js sees it: what is opened, its panes, its check and the bytes
// it saves. Texts cross to the page in UTF-8 (JavaScript strings); files come in and go out as
// bytes.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>

#include "base/error.h"
#include "examples/example_catalogue.h"
#include "algorithm/document_tree.h"
#include "logo/vocabulary.h"
#include "python/python_program.h"
#include "session/program_file_name.h"
#include "session/run_speeds.h"
#include "session/session.h"
#include "session/text_edges.h"
#include "web/page_bindings.h"
#include "web/page_session.h"

namespace tortuval::web {
namespace {

using emscripten::val;

session::Session& Current() {
  static session::Session current;
  return current;
}
// The example the panes show, or -1: the page checks its radio, and it names the saved program.
int shownExample = -1;

std::string CaptionAt(int index) {
  return session::ToUtf8(examples::ExampleCaption(index));
}

val ExampleCaptions() {
  val captions = val::array();
  for (int index = 0; index < examples::kExampleCount; ++index) {
    captions.call<void>("push", CaptionAt(index));
  }
  return captions;
}

val RunSpeeds() {
  val speeds = val::array();
  for (const session::RunSpeed& speed : session::kRunSpeeds) {
    speeds.call<void>("push", val(PageRunSpeed{speed.name, speed.delayMs}));
  }
  return speeds;
}

void OpenExample(int index) {
  Current() = session::Session::OfExample(index);
  shownExample = index;
}

// Bytes from the page (a file opened, the program pane's text in UTF-8): the page sizes this
// buffer, then writes them straight into it, one native copy; passed as an argument, they would
// be copied a byte at a time.
std::string& Incoming() {
  static std::string bytes;
  return bytes;
}

val IncomingBuffer(std::size_t size) {
  Incoming().assign(size, '\0');
  return val(emscripten::typed_memory_view(
      size, reinterpret_cast<unsigned char*>(Incoming().data())));
}

// Opens a file's bytes (in the incoming buffer) as the desktop does. A text refused as a document, or a file that cannot
// be read, leaves the session as it was; the message is the French sentence to show, if any.
OpenOutcome OpenFile(std::string name) {
  const std::string bytes = std::move(Incoming());
  Incoming().clear();
  try {
    session::Session opened = session::Session::OfBytes(
        std::move(name), bytes, session::Session::OpenAs::kDocumentElseSavedProgram);
    const bool refused = opened.Fault() == convert::DocumentFault::kNoInstruction;
    OpenOutcome outcome{refused, opened.FaultMessage()};
    if (!refused) {
      Current() = std::move(opened);
      shownExample = -1;
    }
    return outcome;
  } catch (const Error& error) {
    return {true, error.what()};
  }
}

std::string Listing() { return session::ToUtf8(Current().Listing()); }
std::string Program() { return session::ToUtf8(Current().Program()); }
std::string Summary() { return session::ToUtf8(Current().Summary()); }
int LinesToReview() { return Current().LinesToReview(); }

// The program as the pane holds it (in the incoming buffer, UTF-8): "\n" line breaks become
// CR LF, as the desktop keeps them.
void EditProgram() {
  const std::string paneText = std::move(Incoming());
  Incoming().clear();
  // Through a pointer into a string sized beforehand: a call per byte would cost a second.
  const auto lineBreaks = static_cast<std::size_t>(std::count(paneText.begin(), paneText.end(), '\n'));
  std::string program(paneText.size() + lineBreaks, '\0');
  char* next = program.data();
  for (const char c : paneText) {
    if (c == '\r') continue;
    if (c == '\n') *next++ = '\r';
    *next++ = c;
  }
  program.resize(static_cast<std::size_t>(next - program.data()));
  Current().EditProgram(session::FromUtf8(program));
}

val Findings() {
  val findings = val::array();
  for (const logo::Finding& finding : Current().Findings()) {
    findings.call<void>("push",
                        val(PageFinding{finding.line, finding.column,
                                        Current().AlgorithmLine(finding.line),
                                        session::ToUtf8(finding.message),
                                        session::ToUtf8(logo::DescribeFinding(finding))}));
  }
  return findings;
}

// The program's bytes as saved: Windows-1252 with CR LF, as `pseudal2logo --encoding cp1252`
// writes them.
val ProgramBytes() {
  const std::string& bytes = Current().Program();
  return val::global("Uint8Array")
      .new_(emscripten::typed_memory_view(bytes.size(),
                                          reinterpret_cast<const unsigned char*>(bytes.data())));
}

// The name a save proposes: the opened file's, or the example's shown.
std::string SaveName() {
  if (shownExample >= 0) return session::ProgramFileName({}, CaptionAt(shownExample));
  const std::string& name = Current().Name();
  return session::ProgramFileName(name.substr(name.find_last_of("/\\") + 1), {});
}

// The opened document's algorithm in Python: {text (UTF-8, "" for a program opened without its
// document), findings: [{line, pythonLine, message}]}, `line` the algorithm's and `pythonLine`
// the program's line that keeps it as a comment (both from 1).
val PythonProgram() {
  val out = val::object();
  val findings = val::array();
  std::string text;
  if (Current().IsDocument()) {
    const python::PythonProgram program = python::WritePython(
        algorithm::ReadAlgorithmDocument(Current().Source()), Current().ShownName());
    text = program.text;
    for (const python::PythonFinding& finding : program.findings) {
      int pythonLine = 0;
      for (std::size_t i = 0; i < program.algorithmLines.size(); ++i) {
        if (program.algorithmLines[i] == finding.line) {
          pythonLine = static_cast<int>(i) + 1;
          break;
        }
      }
      val each = val::object();
      each.set("line", finding.line);
      each.set("pythonLine", pythonLine);
      each.set("message", finding.message);
      findings.call<void>("push", each);
    }
  }
  out.set("text", text);
  out.set("findings", findings);
  return out;
}

// The dialect's words, as the code panes colour them: {words: the primitives, then the infix
// operators written as words ("ET", "div") — the signs are coloured as signs; textWords: those
// whose list is text up to its "]" (ECRIS [ … ]), as the reader takes it}.
val Vocabulary() {
  val words = val::array();
  val textWords = val::array();
  for (const logo::Word& word : logo::Words()) {
    words.call<void>("push", std::string(word.name));
    if (word.shapes.starts_with('t')) textWords.call<void>("push", std::string(word.name));
  }
  for (const logo::Infix& infix : logo::Infixes()) {
    if (std::isalpha(static_cast<unsigned char>(infix.name.front()))) {
      words.call<void>("push", std::string(infix.name));
    }
  }
  val vocabulary = val::object();
  vocabulary.set("words", words);
  vocabulary.set("textWords", textWords);
  return vocabulary;
}

}  // namespace

const session::Session& PageSession() { return Current(); }

EMSCRIPTEN_BINDINGS(tortuval_page_session) {
  emscripten::function("exampleCaptions", &ExampleCaptions);
  emscripten::function("runSpeeds", &RunSpeeds);
  emscripten::function("openExample", &OpenExample);
  emscripten::function("incomingBuffer", &IncomingBuffer);
  emscripten::function("openFile", &OpenFile);
  emscripten::function("listing", &Listing);
  emscripten::function("program", &Program);
  emscripten::function("summary", &Summary);
  emscripten::function("linesToReview", &LinesToReview);
  emscripten::function("editProgram", &EditProgram);
  emscripten::function("findings", &Findings);
  emscripten::function("vocabulary", &Vocabulary);
  emscripten::function("pythonProgram", &PythonProgram);
  emscripten::function("programBytes", &ProgramBytes);
  emscripten::function("saveName", &SaveName);
  emscripten::function("shownExample", +[] { return shownExample; });
  emscripten::function("checkDelayMs", +[] { return session::kCheckDelayMs; });
}

}  // namespace tortuval::web
