#include "library/support_procedures.h"

#include <array>
#include <cstddef>
#include <stdexcept>
#include <unordered_set>
#include <vector>

#include "library/instructions.h"
#include "library/procedure_texts.h"

namespace tortuval::library {
namespace {

// Sets a procedure and what it brings along.
void Need(const SupportProcedure& procedure, SupportProcedureSet& needed) {
  needed.set(static_cast<std::size_t>(procedure.position - 1));
  if (procedure.bringsAlong.empty()) return;
  if (const SupportProcedure* other = FindSupportProcedure(procedure.bringsAlong)) {
    Need(*other, needed);
  }
}

// The rows of each use, gathered once: the walks below test only the rows of theirs.
const std::vector<const SupportProcedure*>& RowsOfUse(Use use) {
  constexpr std::size_t kUses = static_cast<std::size_t>(Use::kListRead) + 1;
  static const std::array<std::vector<const SupportProcedure*>, kUses> byUse = [] {
    std::array<std::vector<const SupportProcedure*>, kUses> rows;
    for (const SupportProcedure& procedure : SupportProcedureTable()) {
      rows[static_cast<std::size_t>(procedure.use)].push_back(&procedure);
    }
    return rows;
  }();
  return byUse[static_cast<std::size_t>(use)];
}

void NeedAllOfUse(Use use, SupportProcedureSet& needed) {
  for (const SupportProcedure* procedure : RowsOfUse(use)) Need(*procedure, needed);
}

// Procedures up to this one are followed by an empty line of their own; substr and those after
// it, written the way substr is, are not.
constexpr int kLastWithEmptyLine = 20;

// Calls fn with the text of every instruction, up to its closing quotation mark
// ("2#n#pasliste" of an input item code="2#n#pasliste"). The first instruction has lost its
// marker by the time the document is searched, so the text's very start is read as one too. The
// markers are found from their "=", a rare byte.
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
// CHAINE or MOT (an input item "m#pasliste", "m" or "m#"), and an answer goes into a list with
// PSEUDAL_LIRE_LISTE when the read names a position of a variable declared LISTE, or of any
// other type that is neither a number nor a text ("L#i").
void DetectReads(std::string_view text, SupportProcedureSet& needed) {
  std::unordered_set<std::string_view> texts;
  std::unordered_set<std::string_view> lists;
  std::vector<std::string_view> wordReads;
  std::vector<std::string_view> listReads;
  ForEachInstruction(text, [&](std::string_view fields) {
    constexpr std::string_view kDeclaration = kItemStart<Instruction::kDeclaration>.View();
    constexpr std::string_view kInput = kItemStart<Instruction::kInput>.View();
    if (fields.starts_with(kDeclaration)) {
      fields.remove_prefix(kDeclaration.size());
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
    } else if (fields.starts_with(kInput)) {
      fields.remove_prefix(kInput.size());
      const std::size_t hash = fields.find('#');
      const std::string_view name = fields.substr(0, hash);
      const std::string_view position =
          hash == std::string_view::npos ? std::string_view() : fields.substr(hash + 1);
      (position.empty() || position == "pasliste" ? wordReads : listReads).push_back(name);
    }
  });
  for (const std::string_view name : wordReads) {
    if (texts.contains(name)) NeedAllOfUse(Use::kWordRead, needed);
  }
  for (const std::string_view name : listReads) {
    if (lists.contains(name)) NeedAllOfUse(Use::kListRead, needed);
  }
}

}  // namespace

SupportProcedureSet DetectSupportProcedures(std::string_view text) {
  SupportProcedureSet needed;
  // Every built-in word starts with the prefix: a word occurs exactly where one of the prefix's
  // occurrences continues with it, so one walk over those occurrences tests them all. A word
  // that contains another word (PSEUDAL_LOI_NORMALE_CR, PSEUDAL_QUARTILE1_BIS, ...) sets both
  // procedures simply because both searches hit; the inverse laws never set
  // PSEUDAL_LOI_NORMALE, which is not a substring of PSEUDAL_INVERSE_LOI_NORMALE.
  const std::vector<const SupportProcedure*>& builtIns = RowsOfUse(Use::kBuiltInWord);
  for (std::size_t at = text.find(kBuiltInPrefix); at != std::string_view::npos;
       at = text.find(kBuiltInPrefix, at + 1)) {
    const std::string_view rest = text.substr(at);
    for (const SupportProcedure* procedure : builtIns) {
      if (rest.starts_with(procedure->sourceName)) Need(*procedure, needed);
    }
  }
  // A call is its source name right before a parenthesis: one walk over the parentheses tests
  // them all (".substr (" is not a use).
  const std::vector<const SupportProcedure*>& calls = RowsOfUse(Use::kCall);
  for (std::size_t open = text.find('('); open != std::string_view::npos;
       open = text.find('(', open + 1)) {
    const std::string_view before = text.substr(0, open);
    for (const SupportProcedure* procedure : calls) {
      if (before.ends_with(procedure->sourceName)) Need(*procedure, needed);
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
