#include "logo/vocabulary.h"

#include <string>
#include <unordered_map>

#include "base/cp1252.h"
#include "logo/names.h"

namespace tortuval::logo {
namespace {

using enum Op;
using enum Operation;

// Every word the converter writes, then those its support procedures use.
constexpr Word kWords[] = {
    // Declarations, input and output. ECL and ECRIS print a list given to them as text.
    {"DEFINIS", "nk", kDefine},
    {"SOIT", "nv", kAssign},
    {"ECL", "t", kPrompt},
    {"EFFL", "", kPromptEnd},
    {"ECRIS", "t", kPrint},
    {"ECRISLIGNE", "t", kPrint},
    {"EFFACETEXTE", "", kClearText},
    {"LISNOMBRE", "", kPrimitive, kReadNumber},
    {"LISLISTE", "", kPrimitive, kReadList},
    {"PH", "vv", kPrimitive, kSentence},
    {"LISTEVARS", "vvv", kPrimitive, kSpacedNumbers},
    {"remplace", "lbi", kReplace},
    // The pause.
    {"TANT QUE", "vr", kWhile},
    {"non", "g", kPrimitive, kNot},
    {"touche?", "", kPrimitive, kKeyPressed},
    // Blocks and counted loops.
    {"TESTE", "v", kTest},
    {"SIVRAI", "r", kIfTrue},
    {"SIFAUX", "r", kIfFalse},
    {"REPETE", "vr", kRepeat},
    {"INC", "c", kStep},
    {"DEC", "c", kStep},
    // Drawing.
    {"SEGMENT3D", "pp", kSegment},
    {"PLOT", "p", kPlot},
    {"initgraph", "v", kStartDrawing},
    {"grapheur", "v", kShowDrawing},
    // Results of the document's functions.
    {"REPONDRE", "v", kReturn},
    {"rends", "v", kReturn},
    // Functions and constants of expressions; "random" takes a second input in parentheses,
    // "( random 1 6 )".
    {"randdec", "vv", kPrimitive, kRandomReal},
    {"random", "v", kPrimitive, kRandomWhole, 2},
    {"puissance", "vv", kPrimitive, kRaise},
    {"PI", "", kNumber},
    {"vrai", "", kTruth},
    {"faux", "", kTruth},
    {"item", "vi", kItem},
    {"card", "g", kPrimitive, kCount},
    {"transforme", "g", kPrimitive, kToWord},
    {"caractère", "g", kPrimitive, kCharacter},
    {"entier", "g", kMath, kFloor},
    {"arrondir", "g", kMath, kRound},
    {"ABS", "g", kMath, kAbs},
    {"rac2", "g", kMath, kSqrt},
    {"exp", "g", kMath, kExp},
    {"log", "g", kMath, kLog},
    {"cos", "g", kMath, kCos},
    {"sin", "g", kMath, kSin},
    {"tan", "g", kMath, kTan},
    {"arccos", "g", kMath, kArccos},
    {"arcsin", "g", kMath, kArcsin},
    {"arctan", "g", kMath, kArctan},
    // The support procedures' own.
    {"si", "vr", kIf},
    {"répète", "vr", kRepeat},
    {"boucle", "", kRepCount},
    {"premier", "g", kPrimitive, kFirst},
    {"dernier", "g", kPrimitive, kLast},
    {"saufpremier", "g", kPrimitive, kButFirst},
    {"scinde", "vv", kPrimitive, kSplit},
    {"mot", "vv", kPrimitive, kJoin},
    {"somme", "g", kPrimitive, kSum},
    {"produit", "g", kPrimitive, kProduct},
    {"variance", "g", kPrimitive, kVariance},
    {"écart-type", "g", kPrimitive, kDeviation},
    {"trieitems", "vs", kPrimitive, kSortItems},
};

// ET and OU come from the source's logical operators, "div" and "^" from the support
// procedures, the signs from the translator's operator spacing.
constexpr Infix kInfixes[] = {
    {"OU", 1, kOr},       {"ET", 2, kAnd},       {"=", 3, kEqual},      {"<>", 3, kNotEqual},
    {"<", 3, kLess},      {">", 3, kGreater},    {"<=", 3, kLessEqual}, {">=", 3, kGreaterEqual},
    {"+", 4, kAdd},       {"-", 4, kSubtract},   {"*", 5, kMultiply},   {"/", 5, kDivide},
    {"%", 5, kRemainder}, {"div", 5, kQuotient}, {"^", 6, kPower},
};

struct KeyHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>()(key); }
};

// The rows of a table by the key of their name.
template <typename Row, std::size_t kCount>
const Row* FindRow(const Row (&rows)[kCount], std::string_view key) {
  using Index = std::unordered_map<std::string, const Row*, KeyHash, std::equal_to<>>;
  static const Index* const byKey = [&rows] {
    auto* index = new Index();
    std::string rowKey;
    for (const Row& row : rows) {
      WordKey(base::Utf8ToCp1252(row.name), rowKey);
      index->emplace(rowKey, &row);
    }
    return index;
  }();
  const auto found = byKey->find(key);
  return found == byKey->end() ? nullptr : found->second;
}

}  // namespace

const Word* FindWord(std::string_view key) { return FindRow(kWords, key); }

const Infix* FindInfix(std::string_view key) { return FindRow(kInfixes, key); }

std::span<const Word> Words() { return kWords; }

std::span<const Infix> Infixes() { return kInfixes; }

}  // namespace tortuval::logo
