#include "cli/logo_run.h"

#include <algorithm>
#include <deque>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "base/cp1252.h"
#include "base/error.h"
#include "base/file_errors.h"
#include "base/output_file.h"
#include "convert/source_file.h"
#include "drawing/svg.h"
#include "run/runtime.h"

namespace tortuval::cli {
namespace {

// An answer as the program reads it: typed or written in UTF-8 most of the time, but bytes that
// are not UTF-8 are taken as Windows-1252 rather than lost.
std::string AnswerText(std::string_view bytes) {
  return base::IsWellFormedUtf8(bytes) ? base::Utf8ToCp1252(bytes) : std::string(bytes);
}

std::vector<std::string> LinesOf(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

// The program's console on the command line: output written through as it comes, answers taken
// from a prepared list or read line by line from standard input.
class CliConsole : public run::Console {
 public:
  CliConsole(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
             bool inputIsTerminal)
      : options_(options), in_(in), out_(out), err_(err), inputIsTerminal_(inputIsTerminal) {}

  void UseAnswers(std::vector<std::string> answers) {
    answers_.assign(answers.begin(), answers.end());
    fromList_ = true;
  }

  void Write(std::string_view text) override {
    if (text.empty()) return;
    const std::string bytes =
        options_.encoding == OutputEncoding::kUtf8 ? base::Cp1252ToUtf8(text) : std::string(text);
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    endsLine_ = text.back() == '\n';
  }

  std::optional<std::string> ReadAnswer(std::string_view prompt) override {
    if (fromList_) {
      if (answers_.empty()) return std::nullopt;
      std::string answer = AnswerText(answers_.front());
      answers_.pop_front();
      return answer;
    }
    if (inputIsTerminal_) {
      // The output so far must be on the screen before the question.
      out_.flush();
      err_ << (prompt.empty() ? std::string("?") : base::Cp1252ToUtf8(prompt)) << ' ' << std::flush;
    }
    std::string line;
    if (!std::getline(in_, line)) return std::nullopt;
    if (line.ends_with('\r')) line.pop_back();
    return AnswerText(line);
  }

  // Prompts are shown only at a terminal, where the next one says why the answer was refused;
  // elsewhere the refusal is written on standard error, so that a list of answers shows it.
  void AnswerRefused(std::string_view message) override {
    if (fromList_ || !inputIsTerminal_) err_ << base::Cp1252ToUtf8(message) << '\n';
  }

  // The pause waits for Enter when a person types the answers at a terminal; otherwise it
  // passes, so that scripts and tests run through.
  bool KeyPressed() override {
    if (fromList_ || !inputIsTerminal_) return true;
    out_.flush();
    err_ << "(Entr\xC3\xA9"
            "e pour continuer) "
         << std::flush;
    std::string line;
    std::getline(in_, line);
    return true;
  }

  /// Ends the last line, so that what follows the run starts on a line of its own.
  void FinishLine() {
    if (!endsLine_) out_ << '\n';
    endsLine_ = true;
  }

 private:
  const Options& options_;
  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  bool inputIsTerminal_;
  bool fromList_ = false;
  std::deque<std::string> answers_;
  bool endsLine_ = true;
};

std::string ReadAnswerFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    ThrowError("Impossible d'ouvrir le fichier de réponses \"" + base::FullPathText(path) + "\".");
  }
  return std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The document's axes frame its drawing; a program without a document is fitted.
std::optional<drawing::Axes> AxesOf(const convert::ConversionResult* document) {
  if (document == nullptr) return std::nullopt;
  return document->axes;
}

// A program that drew nothing gets no file, and is told so.
void WriteDrawing(const std::filesystem::path& path, const run::RunResult& result,
                  const std::optional<drawing::Axes>& axes, std::ostream& err) {
  if (result.drawing.Empty()) {
    err << kProgramName << ": le programme n'a rien dessin\xC3\xA9 : \"" << base::FullPathText(path)
        << "\" n'est pas \xC3\xA9"
        << "crit.\n";
    return;
  }
  base::WriteOutputFile(path, drawing::DrawingToSvg(result.drawing, 800, 600, axes));
}

// "NAME:LINE: message", or "NAME: message" when the run names no line; for a program converted
// from a document, "NAME:LINE: message (programme LOGO, ligne N)" with the algorithm's line.
std::string ErrorLine(std::string_view name, int line, std::string_view message,
                      const std::vector<int>* listingLines) {
  std::string text;
  if (listingLines != nullptr && line > 0) {
    text = AlgorithmPlace(name, *listingLines, line);
    text.append(message)
        .append(" (programme LOGO, ligne ")
        .append(std::to_string(line))
        .append(")");
    return base::Cp1252ToUtf8(text);
  }
  text = name;
  if (line > 0) text.append(":").append(std::to_string(line));
  text.append(": ").append(message);
  return base::Cp1252ToUtf8(text);
}

}  // namespace

std::string AlgorithmPlace(std::string_view name, const std::vector<int>& listingLines,
                           int logoLine) {
  std::string place(name);
  const auto index = static_cast<std::size_t>(logoLine - 1);
  if (logoLine > 0 && index < listingLines.size() && listingLines[index] > 0) {
    place.append(":").append(std::to_string(listingLines[index]));
  }
  return place.append(": ");
}

std::vector<std::string> SplitAnswers(std::string_view text) {
  if (text.find('\n') != std::string_view::npos) return LinesOf(text);
  std::vector<std::string> words;
  std::size_t start = 0;
  while (true) {
    start = text.find_first_not_of(" \t\r\f\v", start);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(text.find_first_of(" \t\r\f\v", start), text.size());
    words.emplace_back(text.substr(start, end - start));
    start = end;
  }
  return words;
}

ExitStatus RunLogoProgram(std::string_view name, std::string_view program, const Options& options,
                          std::istream& in, std::ostream& out, std::ostream& err,
                          bool inputIsTerminal, const convert::ConversionResult* document) {
  const std::vector<int>* listingLines = document != nullptr ? &document->listingLines : nullptr;
  CliConsole console(options, in, out, err, inputIsTerminal);
  if (options.inputText) console.UseAnswers(SplitAnswers(*options.inputText));
  if (options.inputFile) console.UseAnswers(LinesOf(ReadAnswerFile(*options.inputFile)));

  run::RunOptions runOptions;
  if (options.maxSteps) runOptions.limits.maxSteps = *options.maxSteps;
  runOptions.seed = options.seed;
  const run::RunResult result = run::RunProgram(program, console, runOptions);
  console.FinishLine();
  out.flush();

  ExitStatus status = ExitStatus::kSuccess;
  switch (result.outcome) {
    case run::Outcome::kCompleted:
      break;
    case run::Outcome::kInputExhausted:
      err << ErrorLine(name, result.line,
                       result.message.empty() ? "il n'y a plus de r\xE9ponse \xE0 lire : l'entr\xE9"
                                                "e est \xE9puis\xE9"
                                                "e."
                                              : result.message,
                       listingLines)
          << '\n';
      status = ExitStatus::kFailure;
      break;
    case run::Outcome::kError:
    case run::Outcome::kStopped:
      err << ErrorLine(name, result.line, result.message, listingLines) << '\n';
      status = ExitStatus::kFailure;
      break;
  }
  // Written whatever the end of the run: what was drawn before an error shows where it went.
  if (options.drawingFile) WriteDrawing(*options.drawingFile, result, AxesOf(document), err);
  return status;
}

}  // namespace tortuval::cli
