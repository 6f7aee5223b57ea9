#include "tests/test_support.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "base/cp1252.h"

namespace tortuval::testing {
namespace {

std::string Unescape(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    switch (value[++i]) {
      case 's':
        out += ' ';
        break;
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        out += '\\';
        out += value[i];
        break;
    }
  }
  return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    std::string shown;
    for (char c : line) shown += c == '\r' ? std::string("␍") : std::string(1, c);
    lines.push_back(shown);
    start = end + 1;
  }
  return lines;
}

// Gives the owner every right on `path` and, for a folder, on everything below it, so that
// removing the tree cannot stop at an entry a test locked.
void Unlock(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  if (!std::filesystem::is_directory(std::filesystem::symlink_status(path, ignored))) return;
  for (const auto& entry : std::filesystem::directory_iterator(path, ignored)) {
    Unlock(entry.path());
  }
}

}  // namespace

std::string Cp(std::string_view utf8) { return base::Utf8ToCp1252(utf8); }

std::string Utf8(std::string_view cp1252) { return base::Cp1252ToUtf8(cp1252); }

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::size_t CountOf(std::string_view text, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos;
       at = text.find(part, at + part.size())) {
    ++count;
  }
  return count;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read test data " + path);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string Cp1252Crlf(std::string_view utf8Lf) {
  std::string crlf;
  for (char c : utf8Lf) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return Cp(crlf);
}

std::string ReadDataFile(std::string_view relativePath) {
  return ReadFileBytes(std::string(TORTUVAL_TEST_DATA_DIR) + "/" + std::string(relativePath));
}

std::string ReadDataTextCrlf(std::string_view relativePath) {
  return Cp1252Crlf(ReadDataFile(relativePath));
}

std::string Case::Get(const std::string& key, const std::string& fallback) const {
  auto it = fields.find(key);
  return it == fields.end() ? fallback : it->second;
}

std::vector<Case> ReadCaseFile(std::string_view relativePath) {
  std::vector<Case> cases;
  std::istringstream in(ReadDataFile(relativePath));
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[' && line.back() == ']') {
      cases.push_back(Case{line.substr(1, line.size() - 2), std::string(relativePath), number, {}});
      continue;
    }
    // "key:<<<" opens a value of whole lines, closed by a line ">>>"; each line of it ends
    // with CR LF, as the panes' lines do.
    if (line.size() > 4 && line.compare(line.size() - 4, 4, ":<<<") == 0 && !cases.empty()) {
      std::string block;
      std::string blockLine;
      while (std::getline(in, blockLine)) {
        ++number;
        if (!blockLine.empty() && blockLine.back() == '\r') blockLine.pop_back();
        if (blockLine == ">>>") break;
        block += Unescape(blockLine) + "\r\n";
      }
      cases.back().fields[line.substr(0, line.size() - 4)] = Cp(block);
      continue;
    }
    const std::size_t colon = line.find(": ");
    const std::size_t bareColon = line.find(':');
    if (cases.empty() || bareColon == std::string::npos) {
      throw std::runtime_error(std::string(relativePath) + ":" + std::to_string(number) +
                               ": expected [name] or key: value");
    }
    // "key:" alone gives an empty value.
    const std::string key = line.substr(0, colon == std::string::npos ? bareColon : colon);
    const std::string value = colon == std::string::npos ? "" : line.substr(colon + 2);
    cases.back().fields[key] = Cp(Unescape(value));
  }
  return cases;
}

std::vector<Case> ReadCaseFolder(std::string_view relativeFolder) {
  const std::string folder(relativeFolder);
  std::vector<std::string> names;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(TORTUVAL_TEST_DATA_DIR) + "/" + folder)) {
    if (entry.is_regular_file() && entry.path().extension() == ".txt") {
      names.push_back(entry.path().filename().string());
    }
  }
  if (names.empty()) throw std::runtime_error("no case file in test data " + folder);
  std::sort(names.begin(), names.end());
  std::vector<Case> cases;
  for (const std::string& name : names) {
    std::vector<Case> fileCases = ReadCaseFile(folder + "/" + name);
    cases.insert(cases.end(), std::make_move_iterator(fileCases.begin()),
                 std::make_move_iterator(fileCases.end()));
  }
  return cases;
}

std::string LineDiff(std::string_view expected, std::string_view actual) {
  const auto want = SplitLines(Utf8(expected));
  const auto got = SplitLines(Utf8(actual));
  std::size_t first = 0;
  while (first < want.size() && first < got.size() && want[first] == got[first]) ++first;
  if (first == want.size() && first == got.size()) return "texts are equal";
  std::ostringstream out;
  out << "first difference at line " << first + 1 << "\n";
  const std::size_t from = first >= 2 ? first - 2 : 0;
  for (std::size_t i = from; i < std::max(want.size(), got.size()) && i < first + 3; ++i) {
    const std::string w = i < want.size() ? want[i] : "<none>";
    const std::string g = i < got.size() ? got[i] : "<none>";
    if (w == g) {
      out << "    " << i + 1 << " | " << w << "\n";
    } else {
      out << "  - " << i + 1 << " | " << w << "\n  + " << i + 1 << " | " << g << "\n";
    }
  }
  return out.str();
}

void ScratchDirTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  // The suite and test names of parameterised tests hold "/".
  std::string name = std::string("tortuval_") + std::to_string(::getpid()) + "_" +
                     info->test_suite_name() + "_" + info->name();
  std::replace(name.begin(), name.end(), '/', '_');
  dir_ = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
}

void ScratchDirTest::TearDown() {
  std::error_code ignored;
  Unlock(dir_);
  std::filesystem::remove_all(dir_, ignored);
}

std::filesystem::path ScratchDirTest::Write(const std::string& name, std::string_view bytes) const {
  const std::filesystem::path path = dir_ / name;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace tortuval::testing
