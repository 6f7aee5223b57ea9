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
#include "drawing/svg.h"
#include "run/runtime.h"
#include "session/reports.h"
#include "session/text_edges.h"

namespace tortuval::cli {
namespace {

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
        options_.encoding == OutputEncoding::kUtf8 ? session::ToUtf8(text) : std::string(text);
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    endsLine_ = text.back() == '\n';
  }

  std::optional<std::string> ReadAnswer(std::string_view prompt) override {
    if (fromList_) {
      if (answers_.empty()) return std::nullopt;
      std::string answer = session::FromUtf8(answers_.front());
      answers_.pop_front();
      return answer;
    }
    if (inputIsTerminal_) {
      // The output so far must be on the screen before the question.
      out_.flush();
      err_ << (prompt.empty() ? std::string("?") : session::ToUtf8(prompt)) << ' ' << std::flush;
    }
    std::string line;
    if (!std::getline(in_, line)) return std::nullopt;
    if (line.ends_with('\r')) line.pop_back();
    return session::FromUtf8(line);
  }

  // Prompts are shown only at a terminal, where the next one says why the answer was refused;
  // elsewhere the refusal is written on standard error, so that a list of answers shows it.
  void AnswerRefused(std::string_view message) override {
    if (fromList_ || !inputIsTerminal_) err_ << session::ToUtf8(message) << '\n';
  }

  // The pause waits for Enter when a person types the answers at a terminal; otherwise it
  // passes, so that scripts and tests run through.
  bool KeyPressed() override {
    if (fromList_ || !inputIsTerminal_) return true;
    out_.flush();
    err_ << "(Entrée pour continuer) " << std::flush;
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

// A program that drew nothing gets no file, and is told so.
void WriteDrawing(const std::filesystem::path& path, const run::RunResult& result,
                  const std::optional<drawing::Axes>& axes, std::ostream& err) {
  if (result.drawing.Empty()) {
    err << kProgramName << ": le programme n'a rien dessiné : \"" << base::FullPathText(path)
        << "\" n'est pas écrit.\n";
    return;
  }
  base::WriteOutputFile(path, drawing::DrawingToSvg(result.drawing, 800, 600, axes));
}

}  // namespace

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

ExitStatus RunLogoProgram(const session::Session& session, const Options& options,
                          std::istream& in, std::ostream& out, std::ostream& err,
                          bool inputIsTerminal) {
  CliConsole console(options, in, out, err, inputIsTerminal);
  if (options.inputText) console.UseAnswers(SplitAnswers(*options.inputText));
  if (options.inputFile) console.UseAnswers(LinesOf(ReadAnswerFile(*options.inputFile)));

  run::RunOptions runOptions;
  if (options.maxSteps) runOptions.limits.maxSteps = *options.maxSteps;
  runOptions.seed = options.seed;
  const run::RunResult result = session.Run(console, runOptions);
  console.FinishLine();
  out.flush();

  const bool completed = result.outcome == run::Outcome::kCompleted;
  if (!completed) err << session::ToUtf8(session::RunEndLine(session, result)) << '\n';
  // Written whatever the end of the run: what was drawn before an error shows where it went.
  if (options.drawingFile) WriteDrawing(*options.drawingFile, result, session.Axes(), err);
  return completed ? ExitStatus::kSuccess : ExitStatus::kFailure;
}

}  // namespace tortuval::cli
