#include "logo/vocabulary.h"

#include <string>
#include <vector>

#include "base/cp1252.h"
#include "logo/word_table.h"

namespace tortuval::logo {
namespace {

// Every word the converter writes, read from its texts, then those the support procedures use.
// A word written in both places appears once, under the first. Names are in UTF-8 here and in
// Windows-1252 in the lookup.
constexpr Primitive kPrimitives[] = {
    // Declarations, input and output (statements.cpp). ECL and ECRIS print a list as text.
    {"DEFINIS", "nk"},
    {"SOIT", "nv"},
    {"ECL", "t"},
    {"EFFL", ""},
    {"LISNOMBRE", ""},
    {"LISLISTE", ""},
    {"PH", "vv"},
    {"LISTEVARS", "vvv"},
    {"ECRIS", "t"},
    {"ECRISLIGNE", "t"},
    {"remplace", "vvv"},
    // The pause (statements.cpp).
    {"TANT QUE", "vr"},
    {"non", "v"},
    {"touche?", ""},
    // Blocks and counted loops (blocks.cpp).
    {"TESTE", "v"},
    {"SIVRAI", "r"},
    {"SIFAUX", "r"},
    {"REPETE", "vr"},
    {"ABS", "v"},
    {"INC", "v"},
    {"DEC", "v"},
    // Drawing (graphics.cpp, sections.cpp).
    {"SEGMENT3D", "vv"},
    {"PLOT", "v"},
    {"initgraph", "v"},
    {"grapheur", "v"},
    {"EFFACETEXTE", ""},
    // Results of user functions, F1 and F2 (user_functions.cpp, the F2 line stage).
    {"REPONDRE", "v"},
    {"rends", "v"},
    // Functions and constants of the expression translator; "random" takes a second input in
    // parentheses, "( random 1 6 )".
    {"randdec", "vv"},
    {"random", "v"},
    {"puissance", "vv"},
    {"PI", ""},
    {"entier", "v"},
    {"arccos", "v"},
    {"arcsin", "v"},
    {"arctan", "v"},
    {"cos", "v"},
    {"sin", "v"},
    {"tan", "v"},
    {"exp", "v"},
    {"log", "v"},
    {"arrondir", "v"},
    {"vrai", ""},
    {"faux", ""},
    {"rac2", "v"},
    {"item", "vv"},
    {"card", "v"},
    {"transforme", "v"},
    {"caractère", "v"},
    // The support procedures' own (library/support_procedures.cpp).
    {"produit", "v"},
    {"scinde", "vv"},
    {"premier", "v"},
    {"saufpremier", "v"},
    {"dernier", "v"},
    {"trieitems", "vt"},
    {"somme", "v"},
    {"variance", "v"},
    {"écart-type", "v"},
    {"si", "vr"},
    {"répète", "vr"},
    {"mot", "vv"},
    {"boucle", ""},
};

// ET and OU come from the logical operators of the translator, "div" and "^" from the support
// procedures; the signs from the translator's operator spacing.
constexpr InfixOperator kInfixOperators[] = {
    {"OU", 1}, {"ET", 2}, {"=", 3}, {"<>", 3}, {"<", 3}, {">", 3},   {"<=", 3}, {">=", 3},
    {"+", 4},  {"-", 4},  {"*", 5}, {"/", 5},  {"%", 5}, {"div", 5}, {"^", 6},
};

// The rows by name, compared as WordKey compares words; a table's value is a row's position.
template <typename Row>
class RowIndex {
 public:
  explicit RowIndex(std::span<const Row> rows) : rows_(rows) {
    // The names are converted once and kept in place: the table holds views of them.
    names_.reserve(rows.size());
    for (const Row& row : rows) names_.push_back(base::Utf8ToCp1252(row.name));
    for (std::size_t i = 0; i < names_.size(); ++i) table_.Insert(names_[i], static_cast<int>(i));
  }

  const Row* Find(std::string_view word, std::uint64_t hash) const {
    const int* position = table_.Find(word, hash);
    return position == nullptr ? nullptr : &rows_[static_cast<std::size_t>(*position)];
  }

 private:
  std::span<const Row> rows_;
  std::vector<std::string> names_;
  WordTable table_;
};

}  // namespace

std::span<const Primitive> Primitives() { return kPrimitives; }

std::span<const InfixOperator> InfixOperators() { return kInfixOperators; }

void WordKey(std::string_view word, std::string& key) {
  key.clear();
  bool blank = false;
  for (const char c : word) {
    if (c == ' ' || c == '\t') {
      blank = true;
      continue;
    }
    if (blank && !key.empty()) key.push_back(' ');
    blank = false;
    key.push_back(static_cast<char>(base::UpperCp1252(static_cast<unsigned char>(c))));
  }
}

const Primitive* FindPrimitive(std::string_view word, std::uint64_t hash) {
  static const RowIndex<Primitive> index(Primitives());
  return index.Find(word, hash);
}

const Primitive* FindPrimitive(std::string_view word) {
  return FindPrimitive(word, WordHash(word));
}

const InfixOperator* FindInfix(std::string_view word) {
  static const RowIndex<InfixOperator> index(InfixOperators());
  return index.Find(word, WordHash(word));
}

}  // namespace tortuval::logo
