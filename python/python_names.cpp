#include "python/python_names.h"

#include <algorithm>
#include <cctype>

#include "algorithm/expression.h"
#include "base/cp1252.h"

namespace tortuval::python {

using algorithm::Instruction;
using algorithm::Item;

ValueType DeclaredType(std::string_view type) {
  if (type == "NOMBRE") return ValueType::kNumber;
  if (type == "LISTE") return ValueType::kList;
  return ValueType::kText;  // CHAINE
}

bool AtPosition(std::string_view position) { return !position.empty() && position != "pasliste"; }

bool IsName(std::string_view name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name.front()))) return false;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (!std::isalnum(byte) && byte != '_' && byte < 0xC0) return false;
  }
  return true;
}

bool AllNames(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (!IsName(name)) return false;
  }
  return true;
}

std::string NotAName(std::string_view name) {
  return "« " + base::Cp1252ToUtf8(name) + " » n'est pas un nom de variable";
}

void NamesRead(std::string_view field, std::set<std::string>& names) {
  const algorithm::ReadExpression read = algorithm::ParseExpression(field);
  if (!read.ok()) return;
  const auto walk = [&names](const auto& self, const algorithm::Expression& e) -> void {
    if (e.kind == algorithm::Expression::Kind::kName) names.insert(e.text);
    for (const algorithm::Expression& operand : e.operands) self(self, operand);
  };
  walk(walk, read.expression);
}

void NamesAssigned(const std::vector<Item>& items, std::set<std::string>& names) {
  for (const Item& item : items) {
    if (item.Is(Instruction::kAssign) || item.Is(Instruction::kRead) ||
        item.Is(Instruction::kFor)) {
      names.insert(std::string(item.Field(0)));
    }
    NamesAssigned(item.items, names);
  }
}

std::vector<std::string> FunctionParameters(const Item& header) {
  std::vector<std::string> parameters;
  std::string_view list = header.Field(1);
  while (!list.empty()) {
    const std::size_t end = std::min(list.find(','), list.size());
    if (end > 0) parameters.emplace_back(list.substr(0, end));
    list.remove_prefix(std::min(end + 1, list.size()));
  }
  return parameters;
}

void LaterReads::Index(const std::vector<Item>& items, int depth) {
  for (const Item& item : items) {
    std::set<std::string> names;
    for (const std::string_view field : algorithm::ExpressionFields(item)) {
      NamesRead(field, names);
    }
    positions_[&item] = order_.size();
    order_.push_back({&item, depth, std::move(names)});
    Index(item.items, depth + 1);
  }
}

bool LaterReads::ReadAfter(const Item& loop, const std::string& name) const {
  const Item* last = &loop;
  while (!last->items.empty()) last = &last->items.back();
  const auto loopAt = positions_.find(&loop);
  const auto lastAt = positions_.find(last);
  if (loopAt == positions_.end() || lastAt == positions_.end()) return true;  // as if read
  const int loopDepth = order_[loopAt->second].depth;
  for (std::size_t i = lastAt->second + 1; i < order_.size(); ++i) {
    const Reads& reads = order_[i];
    if (reads.names.count(name) != 0) return true;
    const bool setsAgain =
        reads.item->Field(0) == name &&
        (reads.item->Is(Instruction::kFor) ||
         (reads.item->Is(Instruction::kAssign) && !AtPosition(reads.item->Field(2))));
    if (setsAgain && reads.depth <= loopDepth) return false;
  }
  return false;
}

}  // namespace tortuval::python
