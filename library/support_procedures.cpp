#include "library/support_procedures.h"

#include <cstddef>
#include <stdexcept>
#include <unordered_set>
#include <vector>

#include "library/procedure_texts.h"

namespace tortuval::library {
namespace {

/// One detection test: the presence of `word` anywhere in the text sets flag `position`.
struct DetectionRow {
  int position;
  std::string_view word;
};

// The words of the editor's built-in functions, all starting with "PSEUDAL_"; tested in this
// order, case-sensitively. A position can have several rows; a word that contains
// another word (PSEUDAL_LOI_NORMALE_CR, PSEUDAL_QUARTILE1_BIS, ...) sets both positions simply
// because both searches hit. The inverse laws never set position 5: PSEUDAL_LOI_NORMALE is not a
// substring of PSEUDAL_INVERSE_LOI_NORMALE.
constexpr DetectionRow kDetectionRows[] = {
    // fact serves the factorial itself and the two procedures that call it.
    {1, "PSEUDAL_FACTORIELLE"},
    {1, "PSEUDAL_COEFF_BINOMIAL"},
    {1, "PSEUDAL_LOI_BINOMIALE"},
    {2, "PSEUDAL_COEFF_BINOMIAL"},
    {3, "PSEUDAL_LOI_BINOMIALE"},
    {4, "PSEUDAL_LOI_NORMALE_CR"},
    {5, "PSEUDAL_LOI_NORMALE"},
    {6, "PSEUDAL_INVERSE_LOI_NORMALE"},
    // The centred inverse law is always written with the general one, from the same word.
    {7, "PSEUDAL_INVERSE_LOI_NORMALE"},
    {8, "PSEUDAL_SOMME"},
    {9, "PSEUDAL_MOYENNE"},
    {10, "PSEUDAL_VARIANCE"},
    {11, "PSEUDAL_ECART_TYPE"},
    {12, "PSEUDAL_MEDIANE"},
    {13, "PSEUDAL_QUARTILE1"},
    {14, "PSEUDAL_QUARTILE3"},
    {15, "PSEUDAL_QUARTILE1_BIS"},
    {16, "PSEUDAL_QUARTILE3_BIS"},
    // The position of the minimum (maximum) brings the minimum (maximum) along, like the pairs
    // of contained words above, although "POS_" breaks the plain substring.
    {17, "PSEUDAL_MINIMUM"},
    {17, "PSEUDAL_POS_MINIMUM"},
    {18, "PSEUDAL_MAXIMUM"},
    {18, "PSEUDAL_POS_MAXIMUM"},
    {19, "PSEUDAL_POS_MINIMUM"},
    {20, "PSEUDAL_POS_MAXIMUM"},
    // The factorial under its own name, beside fact which it calls.
    {24, "PSEUDAL_FACTORIELLE"},
};

// Calls and methods of the source notation, searched for as they stand, with their parenthesis:
// ".substr (" is not a use.
constexpr DetectionRow kCallRows[] = {
    {21, ".substr("},
    {22, "max("},
    {23, "min("},
    {27, ".charCodeAt("},
};

constexpr bool EveryCallEndsWithItsParenthesis() {
  for (const DetectionRow& row : kCallRows) {
    if (!row.word.ends_with('(')) return false;
  }
  return true;
}
static_assert(EveryCallEndsWithItsParenthesis(), "the call walk relies on the parenthesis");

// The reading procedures are needed by what the document reads into what it declares.
constexpr int kReadWordPosition = 25;
constexpr int kReadListPosition = 26;

// Procedures up to this one are followed by an empty line of their own; substr and those after
// it, written the way substr is, are not.
constexpr int kLastWithEmptyLine = 20;

// Every word of the first table starts with this prefix: a word occurs exactly where one of the
// prefix's occurrences continues with it, so one walk over those occurrences tests them all.
constexpr std::string_view kBuiltInPrefix = "PSEUDAL_";

constexpr bool EveryBuiltInWordHasThePrefix() {
  for (const DetectionRow& row : kDetectionRows) {
    if (!row.word.starts_with(kBuiltInPrefix)) return false;
  }
  return true;
}
static_assert(EveryBuiltInWordHasThePrefix(), "the detection walk relies on the prefix");

// Calls fn with the text of every instruction, up to its closing quotation mark
// ("2#n#pasliste" of code="2#n#pasliste"). The first instruction has lost its marker by the time
// the document is searched, so the text's very start is read as one too. The markers are found
// from their "=", a rare byte.
template <typename Fn>
void ForEachInstruction(std::string_view text, Fn fn) {
  constexpr std::string_view kMarker = "code=\"";
  const auto visit = [&](std::size_t from) {
    const std::size_t close = text.find('"', from);
    if (close != std::string_view::npos) fn(text.substr(from, close - from));
  };
  visit(0);
  for (std::size_t equals = text.find('='); equals != std::string_view::npos;
       equals = text.find('=', equals + 1)) {
    if (equals + 2 >= kMarker.size() && text[equals + 1] == '"' &&
        text.substr(equals + 2 - kMarker.size(), kMarker.size()) == kMarker) {
      visit(equals + 2);
    }
  }
}

// Sets the reading procedures: a word is read with PSEUDAL_LIRE_MOT into a variable declared
// CHAINE or MOT ("2#m#pasliste", "2#m" or "2#m#"), and an answer goes into a list with
// PSEUDAL_LIRE_LISTE when the read names a position of a variable declared LISTE, or of any
// other type that is neither a number nor a text ("2#L#i").
void DetectReads(std::string_view text, SupportProcedureSet& needed) {
  std::unordered_set<std::string_view> texts;
  std::unordered_set<std::string_view> lists;
  std::vector<std::string_view> wordReads;
  std::vector<std::string_view> listReads;
  ForEachInstruction(text, [&](std::string_view fields) {
    if (fields.starts_with("1#")) {
      fields.remove_prefix(2);
      const std::size_t hash = fields.find('#');
      if (hash == std::string_view::npos || hash + 1 == fields.size()) return;
      const std::string_view type = fields.substr(0, hash);
      const std::string_view name = fields.substr(hash + 1);
      // Every type but the number and the text is kept as a list, and read as one.
      if (type == "CHAINE" || type == "MOT") {
        texts.insert(name);
      } else if (type != "NOMBRE") {
        lists.insert(name);
      }
    } else if (fields.starts_with("2#")) {
      fields.remove_prefix(2);
      const std::size_t hash = fields.find('#');
      const std::string_view name = fields.substr(0, hash);
      const std::string_view position =
          hash == std::string_view::npos ? std::string_view() : fields.substr(hash + 1);
      (position.empty() || position == "pasliste" ? wordReads : listReads).push_back(name);
    }
  });
  for (const std::string_view name : wordReads) {
    if (texts.contains(name)) needed.set(kReadWordPosition - 1);
  }
  for (const std::string_view name : listReads) {
    if (lists.contains(name)) needed.set(kReadListPosition - 1);
  }
}

}  // namespace

SupportProcedureSet DetectSupportProcedures(std::string_view text) {
  SupportProcedureSet needed;
  const auto set = [&needed](const DetectionRow& row) {
    needed.set(static_cast<std::size_t>(row.position - 1));
  };
  for (std::size_t at = text.find(kBuiltInPrefix); at != std::string_view::npos;
       at = text.find(kBuiltInPrefix, at + 1)) {
    const std::string_view rest = text.substr(at);
    for (const DetectionRow& row : kDetectionRows) {
      if (rest.starts_with(row.word)) set(row);
    }
  }
  // Every call row ends with its parenthesis: one walk over the parentheses tests them all.
  for (std::size_t open = text.find('('); open != std::string_view::npos;
       open = text.find('(', open + 1)) {
    const std::string_view before = text.substr(0, open + 1);
    for (const DetectionRow& row : kCallRows) {
      if (before.ends_with(row.word)) set(row);
    }
  }
  DetectReads(text, needed);
  return needed;
}

void AppendSupportProcedure(int position, std::string_view indentation, std::string& logoText) {
  if (position < 1 || position > kSupportProcedureCount) {
    throw std::out_of_range("support procedure position out of range: " + std::to_string(position));
  }
  std::string_view rest = SupportProcedureTexts()[static_cast<std::size_t>(position - 1)];
  while (true) {
    const std::size_t end = rest.find('\n');
    logoText += indentation;
    logoText += rest.substr(0, end);
    logoText += "\r\n";
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  if (position <= kLastWithEmptyLine) logoText += "\r\n";
}

}  // namespace tortuval::library
