#include "cli/cli_run.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "convert/conversion.h"
#include "convert/error.h"
#include "convert/source_file.h"
#include "examples/example_catalogue.h"
#include "expr/cp1252.h"
#include "expr/replace_all.h"
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

std::string WriteErrorText(const fs::path& path, int code) {
  const std::error_code error(code != 0 ? code : EIO, std::generic_category());
  return "Impossible d'écrire le fichier \"" + convert::FullPathText(path) + "\". " +
         convert::FileErrorReason(error, convert::FileAccess::kWrite);
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  errno = 0;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file) {
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
  }
  if (!file) ThrowError(WriteErrorText(path, errno));
}

// Where one run's texts go: standard output, the -o file or, per input, a file in the -d folder.
class Writer {
 public:
  Writer(const Options& options, std::ostream& out) : options_(options), out_(out) {}

  /// Writes one Windows-1252 text to `target`, or to standard output when `target` is empty.
  void Write(std::string_view cp1252Text, const std::optional<fs::path>& target) {
    const std::string bytes = EncodeOutput(cp1252Text, options_);
    if (target) {
      WriteFile(*target, bytes);
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

// An input that cannot be read or whose result cannot be written is reported, and the others
// are still converted.
ExitStatus ConvertInputs(const Options& options, std::istream& in, std::ostream& err,
                         Writer& writer) {
  // Checked once, before any input is read, rather than failing once per input.
  if (options.outputDirectory) CheckOutputDirectory(*options.outputDirectory);
  ExitStatus status = ExitStatus::kSuccess;
  for (const std::string& input : options.inputs) {
    try {
      const std::string source =
          input == "-" ? ReadStandardInput(in) : convert::ReadSourceFile(input);
      const convert::ConversionResult result = convert::ConvertDocument(source);
      std::optional<fs::path> target = options.outputFile;
      if (options.outputDirectory) {
        target = OutputPathInDirectory(*options.outputDirectory, input, options.listing);
      }
      writer.Write(options.listing ? result.listingText : result.logoText, target);
    } catch (const Error& error) {
      Report(err, error.what());
      status = ExitStatus::kFailure;
    }
  }
  return status;
}

ExitStatus Dispatch(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
                    Writer& writer) {
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
  if (options.encoding == OutputEncoding::kUtf8) return expr::Cp1252ToUtf8(text);
  return text;
}

ExitStatus Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err) {
  Options options;
  try {
    options = ParseOptions(args);
  } catch (const Error& error) {
    Report(err, error.what());
    err << "Essayez \"" << kProgramName << " --help\" pour plus d'informations.\n";
    return ExitStatus::kUsageError;
  }
  Writer writer(options, out);
  try {
    const ExitStatus status = Dispatch(options, in, out, err, writer);
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
