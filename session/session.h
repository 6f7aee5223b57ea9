#pragma once
// One text opened by a front end: a document converted into its LOGO program and listing, or a
// LOGO program taken as it is; that program read once into its tree, its check and its runs.
// Texts are Windows-1252 inside; names are as the user gave them (UTF-8).

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/conversion.h"
#include "logo/finding.h"
#include "logo/reader.h"
#include "run/runtime.h"

namespace tortuval::session {

/// A LOGO program read into its tree, which points into the text it shares. Shared in turn: a
/// run keeps the program it started with while the session takes hand edits.
class ReadProgram {
 public:
  explicit ReadProgram(std::shared_ptr<const std::string> text);

  const std::string& Text() const { return *text_; }
  const logo::Reading& Reading() const { return reading_; }

 private:
  std::shared_ptr<const std::string> text_;
  logo::Reading reading_;
};

/// The algorithm's line to name for a run that stopped at `logoLine` with the calls of
/// `callLines` open (RunResult::callLines, outermost first): that of `logoLine`, else, when no
/// item wrote it (F1, F2), that of the innermost open call that has one; 0 when none has.
/// `algorithmLineOf` gives a LOGO line's algorithm line.
template <typename AlgorithmLineOf>
int AlgorithmLineOfStop(int logoLine, const std::vector<int>& callLines,
                        const AlgorithmLineOf& algorithmLineOf) {
  if (const int line = algorithmLineOf(logoLine); line > 0) return line;
  for (auto call = callLines.rbegin(); call != callLines.rend(); ++call) {
    if (const int line = algorithmLineOf(*call); line > 0) return line;
  }
  return 0;
}

/// How long the typing pauses before a front end checks a hand-edited program again.
inline constexpr int kCheckDelayMs = 500;

class Session {
 public:
  /// Nothing opened: an empty program, nothing to check.
  Session();

  /// Converts a document (Windows-1252). A text that is no document still gives a session: its
  /// Fault says so, and the front end decides what to show.
  static Session OfDocument(std::string name, std::string document);
  /// A LOGO program (Windows-1252) as it is.
  static Session OfProgram(std::string name, std::string program);
  /// The built-in example at `index` (0 to 16), named "exemple-N" with N from 1.
  static Session OfExample(int index);
  /// What an opened file is taken for.
  enum class OpenAs {
    kByName,    ///< a name ending in ".lgo" is a LOGO program, any other a document
    kDocument,  ///< a document whatever its name
    /// A document first; a text refused as one (it holds no instruction item) whose name ends
    /// in ".lgo" is then the LOGO program that was saved under that name.
    kDocumentElseSavedProgram,
  };
  /// A file's bytes, decoded as every front end decodes them (byte-order marks, UTF-8 or
  /// Windows-1252, RTF).
  static Session OfBytes(std::string name, std::string_view bytes,
                         OpenAs openAs = OpenAs::kByName);
  /// Reads the file at `path` as OfBytes does; raises an Error with the French message when it
  /// cannot be read.
  static Session OfFile(const std::filesystem::path& path, OpenAs openAs = OpenAs::kByName);

  /// The name the user knows the text by (a path, "exemple-N"); empty for standard input.
  const std::string& Name() const { return name_; }
  /// The name as messages give it, Windows-1252: standard input is "<entrée standard>".
  std::string ShownName() const;
  bool IsDocument() const { return isDocument_; }
  /// The document as read, before its conversion; empty for a program.
  const std::string& Source() const { return source_; }
  const std::string& Listing() const { return listing_; }
  convert::DocumentFault Fault() const { return fault_; }
  /// The French sentence about Fault (UTF-8), empty when the document has none.
  std::string FaultMessage() const;
  /// The document's frame for drawings, when it has an active one.
  const std::optional<drawing::Axes>& Axes() const { return axes_; }

  /// The LOGO program: the conversion's, or the one opened, with the hand edits made since.
  const std::string& Program() const { return *program_; }
  /// The program read into its tree, once, when first needed; shared with the runs that use it.
  std::shared_ptr<const ReadProgram> SharedProgram() const;
  /// The algorithm's line (from 1, in the listing) of the item that wrote line `logoLine` (from
  /// 1) of the converted program, or 0 when no item wrote it.
  int AlgorithmLine(int logoLine) const;
  /// The algorithm's line to name for a run that stopped at `logoLine` with the calls of
  /// `callLines` open (the free function of that name).
  int AlgorithmLineOfStop(int logoLine, const std::vector<int>& callLines) const {
    return session::AlgorithmLineOfStop(logoLine, callLines,
                                        [this](int line) { return AlgorithmLine(line); });
  }

  /// The program as the user edited it, to be read and checked again. Lines keep their
  /// algorithm's lines by number, as the panes show them side by side.
  void EditProgram(std::string program);

  /// The check's findings, in line then column order, made when first asked for; none for a
  /// blank program.
  const std::vector<logo::Finding>& Findings() const;
  /// How many lines hold at least one finding.
  int LinesToReview() const;
  /// "Programme vérifié : …" (Windows-1252); empty for a blank program, which nothing checked.
  std::string Summary() const;

  /// Runs the program read, on the same tree as the check.
  run::RunResult Run(run::Console& console, const run::RunOptions& options = {}) const;

 private:
  static Session OfText(std::string name, std::string text, OpenAs openAs);
  bool NothingToCheck() const;

  std::string name_;
  bool isDocument_ = false;
  std::string source_;
  std::string listing_;
  convert::DocumentFault fault_ = convert::DocumentFault::kNone;
  std::optional<drawing::Axes> axes_;
  std::vector<int> listingLines_;
  bool checked_ = true;  // false for a text that is no document, until the user edits it
  std::shared_ptr<const std::string> program_;
  // Made from program_ on first use: a plain conversion needs neither.
  mutable std::shared_ptr<const ReadProgram> read_;
  mutable std::optional<std::vector<logo::Finding>> findings_;
};

}  // namespace tortuval::session
