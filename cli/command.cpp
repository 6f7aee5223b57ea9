#include "cli/command.h"

#include <iterator>
#include <optional>
#include <system_error>

#include "base/cp1252.h"
#include "base/error.h"
#include "base/output_file.h"
#include "cli/logo_run.h"
#include "convert/conversion.h"
#include "convert/document_faults.h"
#include "convert/source_file.h"
#include "examples/example_catalogue.h"
#include "expr/replace_all.h"
#include "logo/check_summary.h"
#include "logo/checker.h"
#include "tortuval/version.h"

namespace tortuval::cli {
namespace {

namespace fs = std::filesystem;

void Report(std::ostream& err, std::string_view message) {
  err << kProgramName << ": " << message << '\n';
}

std::string ReadStandardInput(std::istream& in) {
  // Read whole and as bytes: the decoder, not the stream, decides what the bytes mean.
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) ThrowError("Impossible de lire l'entrée standard.");
  return convert::DecodeSourceBytes(bytes);
}

// Where one run's texts go: standard output, the -o file or, per input, a file in the -d folder.
class Writer {
 public:
  Writer(const Options& options, std::ostream& out) : options_(options), out_(out) {}

  /// Writes one Windows-1252 text to `target`, or to standard output when `target` is empty.
  void Write(std::string_view cp1252Text, const std::optional<fs::path>& target) {
    const std::string bytes = EncodeOutput(cp1252Text, options_);
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

// The name an input goes by in messages (Windows-1252, like the rest of the report).
std::string InputName(const std::string& input) {
  return input == "-" ? "<entr\xE9"
                        "e standard>"
                      : base::Utf8ToCp1252(input);
}

// The findings of one program as "NAME:LINE:COLUMN: message" lines; for a program converted
// from a document, "NAME:LINE: message (programme LOGO, ligne L, colonne C)" with the line of
// the algorithm's listing first. The lines to review are counted.
class CheckReport {
 public:
  void Add(std::string_view name, std::string_view program,
           const std::vector<int>* listingLines = nullptr) {
    const std::vector<logo::Finding> findings = logo::CheckProgram(program);
    for (const logo::Finding& finding : findings) {
      if (listingLines == nullptr) {
        text_.append(name).append(":").append(std::to_string(finding.line)).append(":");
        text_.append(std::to_string(finding.column)).append(": ").append(finding.message);
      } else {
        text_.append(AlgorithmPlace(name, *listingLines, finding.line)).append(finding.message);
        text_.append(" (programme LOGO, ligne ").append(std::to_string(finding.line));
        text_.append(", colonne ").append(std::to_string(finding.column)).append(")");
      }
      text_.append("\r\n");
    }
    linesToReview_ += logo::LinesToReview(findings);
    ++programs_;
  }

  /// The findings, then the summary line; nothing when no program was read, so that a file that
  /// could not be read is never summed up as checked.
  std::string Text() const {
    return programs_ == 0 ? text_ : text_ + logo::CheckSummary(linesToReview_) + "\r\n";
  }
  bool Clean() const { return linesToReview_ == 0; }

 private:
  std::string text_;
  int linesToReview_ = 0;
  int programs_ = 0;
};

// A plain conversion still checks its program, and says on standard error how many lines need a
// person's hand; the program itself is written unchanged.
void NoteFindings(std::ostream& err, const std::string& input, std::string_view program) {
  const int lines = logo::LinesToReview(logo::CheckProgram(program));
  if (lines == 0) return;
  err << kProgramName << ": " << base::Cp1252ToUtf8(InputName(input)) << " : " << lines
      << (lines == 1 ? " ligne du programme est \xC3\xA0 revoir"
                     : " lignes du programme sont \xC3\xA0 revoir")
      << " (" << kProgramName << " --check).\n";
}

// The name a document fault's sentence gives an input: as the user wrote it, or empty for
// standard input.
std::string_view FaultName(const std::string& input) {
  return input == "-" ? std::string_view() : std::string_view(input);
}

// Converts one input; a text that holds no instruction is a failed input, and nothing is written
// for it.
convert::ConversionResult ConvertInput(const std::string& input, std::string_view source) {
  convert::ConversionResult result = convert::ConvertDocument(source);
  if (result.fault == convert::DocumentFault::kNoInstruction) {
    ThrowError(convert::DocumentFaultMessage(result.fault, FaultName(input)));
  }
  return result;
}

// A document cut short still gives its program; the user is warned that it stops early.
void WarnIfTruncated(std::ostream& err, const std::string& input,
                     const convert::ConversionResult& result) {
  if (result.fault == convert::DocumentFault::kTruncated) {
    Report(err, convert::DocumentFaultMessage(result.fault, FaultName(input)));
  }
}

// A file whose name ends in .lgo is a program already: --check reads it as it is.
bool IsProgramFile(const std::string& input) { return fs::path(input).extension() == ".lgo"; }

// An input that cannot be read or whose result cannot be written is reported, and the others
// are still converted.
ExitStatus ConvertInputs(const Options& options, std::istream& in, std::ostream& err,
                         Writer& writer) {
  // Checked once, before any input is read, rather than failing once per input.
  if (options.outputDirectory) CheckOutputDirectory(*options.outputDirectory);
  ExitStatus status = ExitStatus::kSuccess;
  CheckReport report;
  for (const std::string& input : options.inputs) {
    try {
      const std::string source =
          input == "-" ? ReadStandardInput(in) : convert::ReadSourceFile(input);
      if (options.check && IsProgramFile(input)) {
        report.Add(InputName(input), source);
        continue;
      }
      const convert::ConversionResult result = ConvertInput(input, source);
      if (options.check) {
        report.Add(InputName(input), result.logoText, &result.listingLines);
        WarnIfTruncated(err, input, result);
        continue;
      }
      std::optional<fs::path> target = options.outputFile;
      if (options.outputDirectory) {
        target = OutputPathInDirectory(*options.outputDirectory, input, options.listing);
      }
      writer.Write(options.listing ? result.listingText : result.logoText, target);
      WarnIfTruncated(err, input, result);
      if (!options.listing) NoteFindings(err, input, result.logoText);
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
  std::string name;
  std::string program;
  std::optional<convert::ConversionResult> document;
  if (options.action == Action::kConvertExample) {
    name = "exemple-" + std::to_string(options.exampleNumber);
    document = convert::ConvertDocument(examples::ExampleDocument(options.exampleNumber - 1));
    program = document->logoText;
  } else {
    const std::string& input = options.inputs.front();
    name = InputName(input);
    const std::string source =
        input == "-" ? ReadStandardInput(in) : convert::ReadSourceFile(input);
    if (IsProgramFile(input)) {
      program = source;
    } else {
      document = ConvertInput(input, source);
      WarnIfTruncated(err, input, *document);
      program = document->logoText;
    }
  }
  return RunLogoProgram(name, program, options, in, out, err, inputIsTerminal,
                        document ? &*document : nullptr);
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
      const convert::ConversionResult result =
          convert::ConvertDocument(examples::ExampleDocument(exampleIndex));
      if (options.check) {
        CheckReport report;
        report.Add("exemple-" + std::to_string(options.exampleNumber), result.logoText,
                   &result.listingLines);
        writer.Write(report.Text(), options.outputFile);
        return report.Clean() ? ExitStatus::kSuccess : ExitStatus::kFailure;
      }
      writer.Write(options.listing ? result.listingText : result.logoText, options.outputFile);
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
  if (options.encoding == OutputEncoding::kUtf8) return base::Cp1252ToUtf8(text);
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
