#include "convert/document_faults.h"

namespace tortuval::convert {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsAlgoName(std::string_view text, std::size_t at) {
  constexpr std::string_view kName = "algo";
  if (text.size() - at < kName.size()) return false;
  for (std::size_t i = 0; i < kName.size(); ++i) {
    if ((text[at + i] | 0x20) != kName[i]) return false;
  }
  return true;
}

// Where the text after the last complete closing tag `</Algo>` starts, or npos when there is none.
// The search for "</" runs at the speed of a byte search, which matters on huge files.
std::size_t EndOfLastClosingTag(std::string_view text) {
  std::size_t end = std::string_view::npos;
  for (std::size_t at = text.find("</"); at != std::string_view::npos;
       at = text.find("</", at + 2)) {
    if (!IsAlgoName(text, at + 2)) continue;
    std::size_t i = at + 6;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i < text.size() && text[i] == '>') end = i + 1;
  }
  return end;
}

// True when `text` ends inside a comment or a tag. A ">" inside a quoted attribute value (the
// editor writes conditions such as x>1 as they are) does not close the tag.
bool EndsInsideMarkup(std::string_view text) {
  std::size_t i = 0;
  while ((i = text.find('<', i)) != std::string_view::npos) {
    if (text.substr(i).starts_with("<!--")) {
      const std::size_t close = text.find("-->", i + 4);
      if (close == std::string_view::npos) return true;
      i = close + 3;
      continue;
    }
    char quote = 0;
    ++i;
    while (i < text.size() && (quote != 0 || text[i] != '>')) {
      if (quote != 0 && text[i] == quote) {
        quote = 0;
      } else if (quote == 0 && (text[i] == '"' || text[i] == '\'')) {
        quote = text[i];
      }
      ++i;
    }
    if (i == text.size()) return true;
    ++i;
  }
  return false;
}

// The subject of a sentence: the file's name in quotation marks, or standard input.
std::string Subject(std::string_view fileName) {
  if (fileName.empty()) return "l'entrée standard";
  std::string quoted = "\"";
  quoted.append(fileName).push_back('"');
  return quoted;
}

}  // namespace

bool EndsBeforeItsClose(std::string_view sourceText) {
  const std::size_t end = EndOfLastClosingTag(sourceText);
  return end == std::string_view::npos || EndsInsideMarkup(sourceText.substr(end));
}

std::string DocumentFaultMessage(DocumentFault fault, std::string_view fileName) {
  const bool standardInput = fileName.empty();
  switch (fault) {
    case DocumentFault::kNone:
      break;
    case DocumentFault::kNoInstruction:
      return Subject(fileName) +
             " ne contient aucune instruction Pseudal : ce n'est pas un document de l'éditeur.";
    case DocumentFault::kTruncated:
      return "attention : " + Subject(fileName) +
             (standardInput ? " semble incomplète" : " semble incomplet") +
             " (le document s'arrête avant sa fin) ; le programme s'arrête à sa dernière "
             "instruction lue.";
  }
  return {};
}

}  // namespace tortuval::convert
