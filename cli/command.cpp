#include "cli/command.h"

#include <iterator>
#include <optional>
#include <system_error>

#include "algorithm/document_tree.h"
#include "base/cp1252.h"
#include "base/error.h"
#include "base/output_file.h"
#include "cli/logo_run.h"
#include "examples/example_catalogue.h"
#include "expr/replace_all.h"
#include "python/python_program.h"
#include "session/reports.h"
#include "session/session.h"
#include "session/text_edges.h"
#include "tortuval/version.h"

namespace tortuval::cli {
namespace {

namespace fs = std::filesystem;

void Report(std::ostream& err, std::string_view message) {
  err << kProgramName << ": " << message << '\n';
}

// Where one run's texts go: standard output, the -o file or, per input, a file in the -d folder.
class Writer {
 public:
  Writer(const Options& options, std::ostream& out) : options_(options), out_(out) {}

  /// Writes one Windows-1252 text to `target`, or to standard output when `target` is empty.
  void Write(std::string_view cp1252Text, const std::optional<fs::path>& target) {
    WriteBytes(EncodeOutput(cp1252Text, options_), target);
  }

  /// Writes bytes as they are (a Python program, UTF-8).
  void WriteBytes(std::string_view bytes, const std::optional<fs::path>& target) {
    if (target) {
      base::WriteOutputFile(*target, bytes);
    } else {
      out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
  }

  /// Flushes standard output; raises an Error when something written there did not arrive.
  void FinishStandardOutput() {
    out_.flush();
    if (!out_) ThrowError("Impossible d'écrire sur la sortie standard.");
  }

 private:
  const Options& options_;
  std::ostream& out_;
};

std::string ExamplesList() {
  std::string text;
  for (int index = 0; index < examples::kExampleCount; ++index) {
    text += std::to_string(index + 1);
    text += '\t';
    text += examples::ExampleCaption(index);
    text += "\r\n";
  }
  return text;
}

void CheckOutputDirectory(const fs::path& directory) {
  std::error_code ignored;
  if (fs::is_directory(directory, ignored)) return;
  // Built by appending: GCC 12 at -O3 warns wrongly about `"\"" + text` (a -Wrestrict false
  // positive in its string concatenation).
  std::string quoted = "\"";
  quoted.append(directory.string()).push_back('"');
  ThrowError(fs::exists(directory, ignored) ? quoted + " n'est pas un dossier."
                                            : "le dossier " + quoted + " n'existe pas.");
}

// An input as every front end opens it: standard input by its bytes, a file by its path. A
// --check or --run takes a .lgo file as the program it is; a conversion takes every input as a
// document.
session::Session OpenInput(const std::string& input, std::istream& in,
                           session::Session::OpenAs openAs) {
  if (input != "-") return session::Session::OfFile(input, openAs);
  // Read whole and as bytes: the decoder, not the stream, decides what the bytes mean.
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) ThrowError("Impossible de lire l'entrée standard.");
  return session::Session::OfBytes("", bytes, openAs);
}

// A text that holds no instruction is a failed input, and nothing is written for it; a document
// cut short still gives its program, and the user is warned that it stops early.
void CheckConverted(const session::Session& session, std::ostream& err) {
  if (!session.IsDocument()) return;
  if (session.Fault() == convert::DocumentFault::kNoInstruction) {
    ThrowError(session.FaultMessage());
  }
  if (session.Fault() == convert::DocumentFault::kTruncated) Report(err, session.FaultMessage());
}

// A plain conversion still checks its program, and says on standard error how many lines need a
// person's hand; the program itself is written unchanged.
void NoteFindings(std::ostream& err, const session::Session& session) {
  const int lines = session.LinesToReview();
  if (lines == 0) return;
  Report(err, session::ToUtf8(session.ShownName() + " : " + session::LinesToReviewNote(lines)) +
                  " (" + std::string(kProgramName) + " --check).");
}

// The document's algorithm written in Python; each line it could not write is said on standard
// error, DOCUMENT:LINE: why, as the check says its findings.
void WritePythonProgram(const session::Session& session, const std::optional<fs::path>& target,
                        Writer& writer, std::ostream& err) {
  const python::PythonProgram program = python::WritePython(
      algorithm::ReadAlgorithmDocument(session.Source()), session.ShownName());
  writer.WriteBytes(program.text, target);
  for (const python::PythonFinding& finding : program.findings) {
    err << session::ToUtf8(session.ShownName()) << ':' << finding.line << ": " << finding.message
        << '\n';
  }
}

// An input that cannot be read or whose result cannot be written is reported, and the others
// are still converted.
ExitStatus ConvertInputs(const Options& options, std::istream& in, std::ostream& err,
                         Writer& writer) {
  // Checked once, before any input is read, rather than failing once per input.
  if (options.outputDirectory) CheckOutputDirectory(*options.outputDirectory);
  ExitStatus status = ExitStatus::kSuccess;
  session::CheckReport report;
  const auto openAs =
      options.check ? session::Session::OpenAs::kByName : session::Session::OpenAs::kDocument;
  for (const std::string& input : options.inputs) {
    try {
      const session::Session session = OpenInput(input, in, openAs);
      CheckConverted(session, err);
      if (options.check) {
        report.Add(session);
        continue;
      }
      std::optional<fs::path> target = options.outputFile;
      if (options.outputDirectory) {
        target = OutputPathInDirectory(*options.outputDirectory, input, options);
      }
      if (options.python) {
        WritePythonProgram(session, target, writer, err);
        continue;
      }
      writer.Write(options.listing ? session.Listing() : session.Program(), target);
      if (!options.listing) NoteFindings(err, session);
    } catch (const Error& error) {
      Report(err, error.what());
      status = ExitStatus::kFailure;
    }
  }
  if (options.check && !report.Text().empty()) {
    writer.Write(report.Text(), options.outputFile);
    if (!report.Clean()) status = ExitStatus::kFailure;
  }
  return status;
}

// --run: the example's program, a .lgo file as it is, or the program converted from a document.
ExitStatus RunDocument(const Options& options, std::istream& in, std::ostream& out,
                       std::ostream& err, bool inputIsTerminal) {
  const session::Session session =
      options.action == Action::kConvertExample
          ? session::Session::OfExample(options.exampleNumber - 1)
          : OpenInput(options.inputs.front(), in, session::Session::OpenAs::kByName);
  CheckConverted(session, err);
  return RunLogoProgram(session, options, in, out, err, inputIsTerminal);
}

ExitStatus Dispatch(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
                    Writer& writer, bool inputIsTerminal) {
  if (options.run) return RunDocument(options, in, out, err, inputIsTerminal);
  const int exampleIndex = options.exampleNumber - 1;
  switch (options.action) {
    case Action::kHelp:
      out << HelpText();
      break;
    case Action::kVersion:
      out << "pseudal2logo " << tortuval::kVersion << "\n";
      break;
    case Action::kListExamples:
      writer.Write(ExamplesList(), options.outputFile);
      break;
    case Action::kExampleSource:
      writer.Write(examples::ExampleDocument(exampleIndex), options.outputFile);
      break;
    case Action::kConvertExample: {
      const session::Session example = session::Session::OfExample(exampleIndex);
      if (options.check) {
        session::CheckReport report;
        report.Add(example);
        writer.Write(report.Text(), options.outputFile);
        return report.Clean() ? ExitStatus::kSuccess : ExitStatus::kFailure;
      }
      if (options.python) {
        WritePythonProgram(example, options.outputFile, writer, err);
        break;
      }
      writer.Write(options.listing ? example.Listing() : example.Program(), options.outputFile);
      break;
    }
    case Action::kConvertInputs:
      return ConvertInputs(options, in, err, writer);
  }
  return ExitStatus::kSuccess;
}

}  // namespace

std::string EncodeOutput(std::string_view cp1252Text, const Options& options) {
  std::string text(cp1252Text);
  // Only CR LF pairs change: a lone CR inside a line is text and stays.
  if (options.lfLineEnds) expr::ReplaceAll(text, "\r\n", "\n", expr::Case::kSensitive);
  if (options.encoding == OutputEncoding::kUtf8) return session::ToUtf8(text);
  return text;
}

ExitStatus Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err, bool inputIsTerminal) {
  Options options;
  try {
    options = ParseOptions(args);
    CheckOutputsSpareInputs(options);
  } catch (const Error& error) {
    Report(err, error.what());
    err << "Essayez \"" << kProgramName << " --help\" pour plus d'informations.\n";
    return ExitStatus::kUsageError;
  }
  Writer writer(options, out);
  try {
    const ExitStatus status = Dispatch(options, in, out, err, writer, inputIsTerminal);
    // Skipped when the action raised an Error: such an action has written nothing to standard
    // output.
    writer.FinishStandardOutput();
    return status;
  } catch (const Error& error) {
    Report(err, error.what());
    return ExitStatus::kFailure;
  }
}

}  // namespace tortuval::cli
