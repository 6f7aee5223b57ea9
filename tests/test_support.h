#pragma once
// Helpers shared by the test suites: case files, accents written in UTF-8, readable diffs.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"

namespace tortuval::testing {

/// Windows-1252 bytes of a UTF-8 literal, so tests can write "é" as they read.
std::string Cp(std::string_view utf8);

/// The UTF-8 form of a Windows-1252 text, for messages.
std::string Utf8(std::string_view cp1252);

/// How many times `part` occurs in `text`, without overlaps.
std::size_t CountOf(std::string_view text, std::string_view part);

/// The lines of a text, without their LF or CR LF ends.
std::vector<std::string> LinesOf(const std::string& text);

/// A file's raw bytes; throws std::runtime_error when it cannot be read.
std::string ReadFileBytes(const std::string& path);

/// A UTF-8 text with LF line ends as Windows-1252 with CR LF line ends, as the panes hold it.
std::string Cp1252Crlf(std::string_view utf8Lf);

/// A file under tests/data, as raw bytes.
std::string ReadDataFile(std::string_view relativePath);

/// A UTF-8 text file under tests/data as Windows-1252 with CR LF line ends.
std::string ReadDataTextCrlf(std::string_view relativePath);

/// One case of a case file: its name and its "key: value" fields.
struct Case {
  std::string name;
  /// The case file, relative to tests/data, and the line of "[name]" in it.
  std::string file;
  int line = 0;
  std::map<std::string, std::string> fields;
  /// The field's value (Windows-1252), or `fallback` when the case has none.
  std::string Get(const std::string& key, const std::string& fallback = "") const;
  bool Has(const std::string& key) const { return fields.count(key) != 0; }
};

/// Reads a case file (UTF-8) under tests/data. Format: "[name]" opens a case, "key: value"
/// lines give its fields, lines starting with "#" and blank lines are ignored. In values,
/// \s is a space, \r and \n are CR and LF, \t a tab and \\ a backslash; the rest is verbatim.
/// "key:<<<" starts a value of whole lines, each ending with CR LF, closed by a line ">>>".
std::vector<Case> ReadCaseFile(std::string_view relativePath);

/// The cases of every "*.txt" case file in a folder under tests/data, file after file in name
/// order; throws std::runtime_error when the folder holds none.
std::vector<Case> ReadCaseFolder(std::string_view relativeFolder);

/// A line-by-line comparison for failure messages: both texts split at line ends, the first
/// differing line shown with its neighbours, CR shown as "␍".
std::string LineDiff(std::string_view expected, std::string_view actual);

/// The message of the Error that `action` raises, or "(no error)" when it raises none.
template <typename Action>
std::string ErrorMessage(Action&& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "(no error)";
}

/// A fixture giving each test an empty folder of its own, removed with whatever the test left
/// in it, files it made unreadable included.
class ScratchDirTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// Writes `bytes` to `name` under the folder, making the folders on the way; returns the path.
  std::filesystem::path Write(const std::string& name, std::string_view bytes) const;

  std::filesystem::path dir_;
};

}  // namespace tortuval::testing
