#include "cli/cli_run.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "convert/conversion.h"
#include "convert/source_file.h"
#include "examples/example_catalogue.h"
#include "expr/cp1252.h"
#include "expr/replace_all.h"

namespace tortuval::cli {
namespace {

namespace fs = std::filesystem;

void Report(std::ostream& err, std::string_view message) {
  err << kProgramName << ": " << message << '\n';
}

std::optional<std::string> ReadStandardInput(std::istream& in, std::string& error) {
  // Read whole and as bytes: the decoder, not the stream, decides what the bytes mean.
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) {
    error = "Impossible de lire l'entrée standard.";
    return std::nullopt;
  }
  return convert::DecodeSourceBytes(bytes);
}

std::string WriteErrorText(const fs::path& path, int code) {
  const std::error_code error(code != 0 ? code : EIO, std::generic_category());
  return "Impossible d'écrire le fichier \"" + convert::FullPathText(path) + "\". " +
         convert::FileErrorReason(error, convert::FileAccess::kWrite);
}

bool WriteFile(const fs::path& path, std::string_view bytes, std::string& error) {
  errno = 0;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file) {
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
  }
  if (file) return true;
  error = WriteErrorText(path, errno);
  return false;
}

// Where one run's texts go: standard output, the -o file or, per input, a file in the -d folder.
class Writer {
 public:
  Writer(const Options& options, std::ostream& out, std::ostream& err)
      : options_(options), out_(out), err_(err) {}

  /// Writes one Windows-1252 text to `target`, or to standard output when `target` is empty.
  bool Write(std::string_view cp1252Text, const std::optional<fs::path>& target) {
    const std::string bytes = EncodeOutput(cp1252Text, options_);
    if (!target) {
      out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      return true;
    }
    std::string error;
    if (WriteFile(*target, bytes, error)) return true;
    Report(err_, error);
    return false;
  }

  /// Flushes standard output and says whether everything written there arrived.
  bool FinishStandardOutput() {
    out_.flush();
    if (out_) return true;
    Report(err_, "Impossible d'écrire sur la sortie standard.");
    return false;
  }

 private:
  const Options& options_;
  std::ostream& out_;
  std::ostream& err_;
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

ExitStatus ConvertInputs(const Options& options, std::istream& in, std::ostream& err,
                         Writer& writer) {
  if (options.outputDirectory) {
    // Checked once, before any input is read, rather than failing once per input.
    std::error_code ignored;
    const fs::path& directory = *options.outputDirectory;
    if (!fs::is_directory(directory, ignored)) {
      const std::string quoted = "\"" + directory.string() + "\"";
      Report(err, fs::exists(directory, ignored) ? quoted + " n'est pas un dossier."
                                                 : "le dossier " + quoted + " n'existe pas.");
      return ExitStatus::kFailure;
    }
  }
  ExitStatus status = ExitStatus::kSuccess;
  for (const std::string& input : options.inputs) {
    std::string error;
    const std::optional<std::string> source =
        input == "-" ? ReadStandardInput(in, error) : convert::ReadSourceFile(input, error);
    if (!source) {
      Report(err, error);
      status = ExitStatus::kFailure;
      continue;
    }
    const convert::ConversionResult result = convert::ConvertDocument(*source);
    std::optional<fs::path> target = options.outputFile;
    if (options.outputDirectory) {
      target = OutputPathInDirectory(*options.outputDirectory, input, options.listing);
    }
    if (!writer.Write(options.listing ? result.listingText : result.logoText, target)) {
      status = ExitStatus::kFailure;
    }
  }
  return status;
}

ExitStatus Dispatch(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
                    Writer& writer) {
  const int exampleIndex = options.exampleNumber - 1;
  bool written = true;
  switch (options.action) {
    case Action::kHelp:
      out << HelpText();
      break;
    case Action::kVersion:
      out << kVersionText;
      break;
    case Action::kListExamples:
      written = writer.Write(ExamplesList(), options.outputFile);
      break;
    case Action::kExampleSource:
      written = writer.Write(examples::ExampleDocument(exampleIndex), options.outputFile);
      break;
    case Action::kConvertExample: {
      const convert::ConversionResult result =
          convert::ConvertDocument(examples::ExampleDocument(exampleIndex));
      written =
          writer.Write(options.listing ? result.listingText : result.logoText, options.outputFile);
      break;
    }
    case Action::kConvertInputs:
      return ConvertInputs(options, in, err, writer);
  }
  return written ? ExitStatus::kSuccess : ExitStatus::kFailure;
}

}  // namespace

std::string EncodeOutput(std::string_view cp1252Text, const Options& options) {
  std::string text(cp1252Text);
  // Only CR LF pairs change: a lone CR inside a line is text and stays.
  if (options.lfLineEnds) expr::ReplaceAll(text, "\r\n", "\n", expr::Case::kSensitive);
  if (options.encoding == OutputEncoding::kUtf8) return expr::Cp1252ToUtf8(text);
  return text;
}

ExitStatus Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err) {
  const ParseResult parsed = ParseOptions(args);
  if (!parsed.options) {
    Report(err, parsed.error);
    err << "Essayez \"" << kProgramName << " --help\" pour plus d'informations.\n";
    return ExitStatus::kUsageError;
  }
  Writer writer(*parsed.options, out, err);
  ExitStatus status = Dispatch(*parsed.options, in, out, err, writer);
  if (!writer.FinishStandardOutput()) status = ExitStatus::kFailure;
  return status;
}

}  // namespace tortuval::cli
