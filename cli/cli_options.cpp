#include "cli/cli_options.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <utility>

#include "base/cp1252.h"
#include "examples/example_catalogue.h"

namespace tortuval::cli {
namespace {

enum class OptionId {
  kListing,
  kExample,
  kExampleSource,
  kExamples,
  kEncoding,
  kPython,
  kLf,
  kCheck,
  kOutputFile,
  kOutputDirectory,
  kHelp,
  kVersion,
  kRun,
  kInput,
  kInputFile,
  kDrawing,
  kMaxSteps,
  kSeed,
};

struct OptionRow {
  std::string_view name;
  OptionId id;
  bool takesValue;
};

constexpr OptionRow kOptionTable[] = {
    {"--listing", OptionId::kListing, false},
    {"--example", OptionId::kExample, true},
    {"--example-source", OptionId::kExampleSource, true},
    {"--examples", OptionId::kExamples, false},
    {"--encoding", OptionId::kEncoding, true},
    {"--lf", OptionId::kLf, false},
    {"--check", OptionId::kCheck, false},
    {"--python", OptionId::kPython, false},
    {"-o", OptionId::kOutputFile, true},
    {"-d", OptionId::kOutputDirectory, true},
    {"-h", OptionId::kHelp, false},
    {"--help", OptionId::kHelp, false},
    {"--version", OptionId::kVersion, false},
    {"--run", OptionId::kRun, false},
    {"--input", OptionId::kInput, true},
    {"--input-file", OptionId::kInputFile, true},
    {"--drawing", OptionId::kDrawing, true},
    {"--max-steps", OptionId::kMaxSteps, true},
    {"--seed", OptionId::kSeed, true},
};

struct EncodingRow {
  std::string_view name;  // lower case
  OutputEncoding encoding;
};

constexpr EncodingRow kEncodingTable[] = {
    {"utf-8", OutputEncoding::kUtf8},
    {"utf8", OutputEncoding::kUtf8},
    {"cp1252", OutputEncoding::kCp1252},
    {"windows-1252", OutputEncoding::kCp1252},
};

constexpr std::string_view kStandardInput = "-";

const OptionRow* FindOption(std::string_view name) {
  for (const OptionRow& row : kOptionTable) {
    if (row.name == name) return &row;
  }
  return nullptr;
}

// Built by appending: GCC 12 at -O3 warns wrongly about `"\"" + text` (a -Wrestrict false
// positive in its string concatenation).
std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  quoted.append(text).push_back('"');
  return quoted;
}

std::optional<OutputEncoding> ParseEncoding(std::string_view value) {
  std::string lower(value);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const EncodingRow& row : kEncodingTable) {
    if (row.name == lower) return row.encoding;
  }
  return std::nullopt;
}

// Only plain decimal digits: "+8", " 8" or "8x" are not example numbers.
std::optional<int> ParseExampleNumber(std::string_view value) {
  if (value.empty()) return std::nullopt;
  int number = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
    if (number > examples::kExampleCount) return std::nullopt;  // also stops overflow
  }
  if (number < 1) return std::nullopt;
  return number;
}

// Plain decimal digits that fit in 64 bits; `positive` refuses 0.
std::optional<std::uint64_t> ParseCount(std::string_view value, bool positive) {
  if (value.empty()) return std::nullopt;
  std::uint64_t number = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (number > (UINT64_MAX - digit) / 10) return std::nullopt;
    number = number * 10 + digit;
  }
  if (positive && number == 0) return std::nullopt;
  return number;
}

// Parsing state shared by the steps below; the first error found is raised.
class Parser {
 public:
  Options Parse(const std::vector<std::string>& args);

 private:
  void ApplyOption(const OptionRow& option, const std::string& value);
  void SetAction(Action action, std::string_view optionName);
  void CheckCombinations();
  void CheckRunCombinations();

  Options options_;
  std::string actionOption_;   // the option that chose a non-default action
  std::string runOnlyOption_;  // the first option given that only a run uses
};

Options Parser::Parse(const std::vector<std::string>& args) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      options_.inputs.push_back(arg);
      continue;
    }
    // Long options may carry their value after "=", short ones right after the letter.
    std::string name = arg;
    std::optional<std::string> value;
    const bool isLong = arg.starts_with("--");
    if (isLong) {
      if (const auto equals = arg.find('='); equals != std::string::npos) {
        name = arg.substr(0, equals);
        value = arg.substr(equals + 1);
      }
    } else if (arg.size() > 2) {
      name = arg.substr(0, 2);
      value = arg.substr(2);
    }
    const OptionRow* option = FindOption(name);
    if (option == nullptr) ThrowError("option inconnue " + Quoted(isLong ? name : arg) + ".");
    if (!option->takesValue && value) {
      ThrowError("l'option " + Quoted(name) + " n'accepte pas d'argument.");
    }
    if (option->takesValue && !value) {
      if (i + 1 < args.size()) value = args[++i];
    }
    if (option->takesValue && (!value || value->empty())) {
      ThrowError("l'option " + Quoted(name) + " attend un argument.");
    }
    ApplyOption(*option, value.value_or(""));
    // Help and version answer at once, whatever else the line holds.
    if (options_.action == Action::kHelp || options_.action == Action::kVersion) return options_;
  }
  CheckCombinations();
  return options_;
}

void Parser::ApplyOption(const OptionRow& option, const std::string& value) {
  switch (option.id) {
    case OptionId::kListing:
      options_.listing = true;
      return;
    case OptionId::kExample:
    case OptionId::kExampleSource: {
      const std::optional<int> number = ParseExampleNumber(value);
      if (!number) {
        ThrowError("numéro d'exemple invalide " + Quoted(value) + " (attendu : 1 à " +
                   std::to_string(examples::kExampleCount) + ").");
      }
      options_.exampleNumber = *number;
      SetAction(option.id == OptionId::kExample ? Action::kConvertExample : Action::kExampleSource,
                option.name);
      return;
    }
    case OptionId::kExamples:
      SetAction(Action::kListExamples, option.name);
      return;
    case OptionId::kEncoding: {
      const std::optional<OutputEncoding> encoding = ParseEncoding(value);
      if (!encoding) {
        ThrowError("encodage inconnu " + Quoted(value) + " (attendu : utf-8 ou cp1252).");
      }
      options_.encoding = *encoding;
      return;
    }
    case OptionId::kLf:
      options_.lfLineEnds = true;
      return;
    case OptionId::kCheck:
      options_.check = true;
      return;
    case OptionId::kPython:
      options_.python = true;
      return;
    case OptionId::kOutputFile:
      options_.outputFile = std::filesystem::path(value);
      return;
    case OptionId::kOutputDirectory:
      options_.outputDirectory = std::filesystem::path(value);
      return;
    case OptionId::kHelp:
      options_.action = Action::kHelp;
      return;
    case OptionId::kVersion:
      options_.action = Action::kVersion;
      return;
    case OptionId::kRun:
      options_.run = true;
      return;
    case OptionId::kInput:
      options_.inputText = value;
      break;
    case OptionId::kInputFile:
      options_.inputFile = std::filesystem::path(value);
      break;
    case OptionId::kDrawing:
      options_.drawingFile = std::filesystem::path(value);
      // Only SVG is written: a picture format asked for by its name is refused, not mislabelled.
      if (!base::EqualIgnoringCase(options_.drawingFile->extension().string(), ".svg")) {
        ThrowError("le dessin s'écrit en SVG : donnez à --drawing un nom qui finit par .svg, pas " +
                   Quoted(value) + ".");
      }
      break;
    case OptionId::kMaxSteps:
      options_.maxSteps = ParseCount(value, true);
      if (!options_.maxSteps) {
        ThrowError("nombre de pas invalide " + Quoted(value) + " (attendu : un entier positif).");
      }
      break;
    case OptionId::kSeed:
      options_.seed = ParseCount(value, false);
      if (!options_.seed) {
        ThrowError("graine invalide " + Quoted(value) + " (attendu : un entier positif ou nul).");
      }
      break;
  }
  if (runOnlyOption_.empty()) runOnlyOption_ = std::string(option.name);
}

// Repeating the same action option keeps the last value; two different ones conflict.
void Parser::SetAction(Action action, std::string_view optionName) {
  if (options_.action != Action::kConvertInputs && options_.action != action) {
    ThrowError("les options " + Quoted(actionOption_) + " et " + Quoted(optionName) +
               " ne peuvent pas être utilisées ensemble.");
  }
  options_.action = action;
  actionOption_ = std::string(optionName);
}

void Parser::CheckCombinations() {
  CheckRunCombinations();
  if (options_.outputFile && options_.outputDirectory) {
    ThrowError("les options \"-o\" et \"-d\" ne peuvent pas être utilisées ensemble.");
  }
  if (options_.python) {
    // Python is written from a document's algorithm, in UTF-8.
    for (const auto& [given, name] : {std::pair<bool, std::string_view>{options_.check, "--check"},
                                      {options_.listing, "--listing"}}) {
      if (given) {
        ThrowError("les options \"--python\" et " + Quoted(name) +
                   " ne peuvent pas être utilisées ensemble.");
      }
    }
    if (options_.encoding != OutputEncoding::kUtf8) {
      ThrowError("le programme Python s'écrit en UTF-8 : l'option \"--encoding\" ne s'y "
                 "applique pas.");
    }
    if (options_.action != Action::kConvertInputs && options_.action != Action::kConvertExample) {
      ThrowError("l'option \"--python\" ne s'applique qu'à des documents ou à --example.");
    }
  }
  if (options_.check) {
    // The check reads programs: it has one report, and no listing or example text to check.
    if (options_.listing) {
      ThrowError(
          "les options \"--check\" et \"--listing\" ne peuvent pas être utilisées ensemble.");
    }
    if (options_.outputDirectory) {
      ThrowError("les options \"--check\" et \"-d\" ne peuvent pas être utilisées ensemble.");
    }
    if (options_.action != Action::kConvertInputs && options_.action != Action::kConvertExample) {
      ThrowError("l'option \"--check\" ne s'applique qu'à des fichiers ou à --example.");
    }
  }
  if (options_.action != Action::kConvertInputs) {
    if (!options_.inputs.empty()) {
      ThrowError("l'option " + Quoted(actionOption_) + " ne prend pas de fichier d'entrée (" +
                 Quoted(options_.inputs.front()) + ").");
    }
    if (options_.outputDirectory) {
      ThrowError("l'option \"-d\" ne s'applique qu'à des fichiers d'entrée.");
    }
    return;
  }
  if (options_.inputs.empty()) options_.inputs.emplace_back(kStandardInput);
  const auto stdinCount =
      std::count(options_.inputs.begin(), options_.inputs.end(), kStandardInput);
  if (stdinCount > 1) {
    ThrowError("l'entrée standard \"-\" ne peut être lue qu'une fois.");
  }
  if (options_.outputFile && options_.inputs.size() > 1) {
    ThrowError("l'option \"-o\" n'accepte qu'un seul fichier d'entrée.");
  }
  if (options_.outputDirectory) {
    if (stdinCount > 0) {
      ThrowError("l'entrée standard ne peut pas être utilisée avec l'option \"-d\".");
    }
    // Two inputs with the same stem would silently overwrite each other's output.
    std::map<std::filesystem::path, std::string> writers;
    for (const std::string& input : options_.inputs) {
      const std::filesystem::path target =
          OutputPathInDirectory(*options_.outputDirectory, input, options_);
      const auto [it, inserted] = writers.emplace(target, input);
      if (!inserted) {
        ThrowError("les fichiers " + Quoted(it->second) + " et " + Quoted(input) +
                   " donneraient le même fichier de sortie " + Quoted(target.string()) + ".");
      }
    }
  }
}

// A run takes one program and writes what it prints on standard output: the options that write
// files or reports of their own do not go with it.
void Parser::CheckRunCombinations() {
  if (!options_.run) {
    if (!runOnlyOption_.empty()) {
      ThrowError("l'option " + Quoted(runOnlyOption_) + " ne s'applique qu'avec \"--run\".");
    }
    return;
  }
  if (options_.inputText && options_.inputFile) {
    ThrowError(
        "les options \"--input\" et \"--input-file\" ne peuvent pas être utilisées ensemble.");
  }
  const std::pair<bool, std::string_view> conflicts[] = {
      {options_.check, "--check"},
      {options_.python, "--python"},
      {options_.listing, "--listing"},
      {options_.outputFile.has_value(), "-o"},
      {options_.outputDirectory.has_value(), "-d"},
  };
  for (const auto& [given, name] : conflicts) {
    if (given) {
      ThrowError("les options \"--run\" et " + Quoted(name) +
                 " ne peuvent pas être utilisées ensemble.");
    }
  }
  if (options_.action != Action::kConvertInputs && options_.action != Action::kConvertExample) {
    ThrowError("l'option \"--run\" ne s'applique qu'à un document ou à --example.");
  }
  if (options_.inputs.size() > 1) {
    ThrowError("l'option \"--run\" n'exécute qu'un seul document.");
  }
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& args) { return Parser().Parse(args); }

std::filesystem::path OutputPathInDirectory(const std::filesystem::path& directory,
                                            const std::string& input, const Options& options) {
  std::filesystem::path name = std::filesystem::path(input).filename().stem();
  name += options.python ? ".py" : options.listing ? ".txt" : ".lgo";
  return directory / name;
}

void CheckOutputsSpareInputs(const Options& options) {
  if (options.action != Action::kConvertInputs) return;
  std::vector<std::filesystem::path> outputs;
  if (options.outputFile) outputs.push_back(*options.outputFile);
  if (options.outputDirectory) {
    for (const std::string& input : options.inputs) {
      outputs.push_back(OutputPathInDirectory(*options.outputDirectory, input, options));
    }
  }
  for (const std::filesystem::path& output : outputs) {
    // An output that does not exist yet is no input: an input that does not exist is not read.
    std::error_code error;
    if (!std::filesystem::exists(output, error)) continue;
    for (const std::string& input : options.inputs) {
      if (input == kStandardInput) continue;
      // Links count: writing through a link, or to another name of the file, replaces it too.
      if (std::filesystem::equivalent(output, input, error)) {
        ThrowError("le fichier de sortie " + Quoted(output.string()) + " est le fichier d'entrée " +
                   Quoted(input) + " : il serait écrasé.");
      }
    }
  }
}

}  // namespace tortuval::cli
