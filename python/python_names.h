#pragma once
// What the Python writer needs to know of the algorithm's names: whether Python takes them,
// which ones a field reads or a block sets, and whether a loop's counter is read after it.

#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "algorithm/document_tree.h"
#include "python/python_expression.h"

namespace tortuval::python {

/// The type a declaration gives (NOMBRE, LISTE, CHAINE).
ValueType DeclaredType(std::string_view type);

/// Whether a list position field names one ("pasliste" and "" do not).
bool AtPosition(std::string_view position);

/// Whether Python takes the algorithm's name as one: letters (accented ones too), digits and
/// "_", not starting with a digit.
bool IsName(std::string_view name);
bool AllNames(const std::vector<std::string>& names);

/// The finding for a name Python does not take (UTF-8).
std::string NotAName(std::string_view name);

/// The names an expression field reads (a field that does not read names none).
void NamesRead(std::string_view field, std::set<std::string>& names);

/// The variables a block sets (a value, a read, a loop's counter), inside and out.
void NamesAssigned(const std::vector<algorithm::Item>& items, std::set<std::string>& names);

/// A function header's parameters ("a,b").
std::vector<std::string> FunctionParameters(const algorithm::Item& header);

/// The names each item of a document reads, in document order, to tell whether a loop's
/// counter is read after the loop.
class LaterReads {
 public:
  explicit LaterReads(const std::vector<algorithm::Item>& items) { Index(items, 0); }

  /// Whether an item after the loop's block reads the name before a loop over it or a value
  /// given to it at the loop's depth or above sets it again.
  bool ReadAfter(const algorithm::Item& loop, const std::string& name) const;

 private:
  struct Reads {
    const algorithm::Item* item;
    int depth;
    std::set<std::string> names;
  };

  void Index(const std::vector<algorithm::Item>& items, int depth);

  std::vector<Reads> order_;
  std::unordered_map<const algorithm::Item*, std::size_t> positions_;
};

}  // namespace tortuval::python
