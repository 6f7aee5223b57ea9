#include "convert/declarations.h"

#include <algorithm>

#include "convert/document.h"

namespace tortuval::convert {

using library::Instruction;

Declaration ReadDeclaration(std::string_view item) {
  ItemFields fields(item);
  Declaration declaration;
  declaration.type = fields.Next();
  declaration.name = fields.Last();
  if (declaration.type == "CHAINE") declaration.type = "MOT";
  return declaration;
}

expr::VariableKind KindOfType(std::string_view typeName) {
  if (typeName == "NOMBRE") return expr::VariableKind::kNumber;
  if (typeName == "MOT") return expr::VariableKind::kWord;
  return expr::VariableKind::kList;
}

std::string_view FunctionHeaderName(std::string_view item) {
  ItemFields fields(item);
  std::string_view name = fields.Next();
  const std::size_t first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  name.remove_prefix(first);
  return name.substr(0, name.find_last_not_of(' ') + 1);
}

void AddFunctionName(std::vector<std::string>& names, std::string_view name) {
  if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
    names.emplace_back(name);
  }
}

void ReadDocumentGlobals(std::string_view document, VariableList& globals,
                         std::vector<std::string>& functionNames) {
  // The walk follows the conversion's own: a function's declarations start with its variables
  // element and end with the function, or with the algorithm's VARIABLES section.
  InstructionCursor cursor(document);
  bool inFunction = false;
  while (cursor.FindNextInstruction()) {
    const Instruction instruction = cursor.Number();
    const std::string_view item = cursor.CutItem();
    if (instruction == Instruction::kFunctionVariables) {
      inFunction = true;
    } else if (instruction == Instruction::kFunctionEnd ||
               instruction == Instruction::kVariablesSection) {
      inFunction = false;
    } else if (instruction == Instruction::kFunctionHeader) {
      AddFunctionName(functionNames, FunctionHeaderName(item));
    } else if (instruction == Instruction::kDeclaration && !inFunction) {
      const Declaration declaration = ReadDeclaration(item);
      if (!declaration.name.empty()) globals.Add(declaration.name, KindOfType(declaration.type));
    }
  }
}

}  // namespace tortuval::convert
