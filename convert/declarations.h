#pragma once
// Declaration items ("1#NOMBRE#x") and function headers ("26#f#a,b"): what they declare, and
// the document's global declarations and function names read ahead of the conversion for the
// user functions' bodies.

#include <string>
#include <string_view>
#include <vector>

#include "convert/conversion_state.h"

namespace tortuval::convert {

/// The type and name of a declaration item; "CHAINE" is read as "MOT".
struct Declaration {
  std::string_view type;
  std::string_view name;
};

Declaration ReadDeclaration(std::string_view item);

/// The kind of variable a declared type makes: NOMBRE a number, MOT a word, LISTE and any other
/// type a list.
expr::VariableKind KindOfType(std::string_view typeName);

/// The name of the function a header item declares, without the blanks around it.
std::string_view FunctionHeaderName(std::string_view item);

/// Appends `name` to `names` unless it is empty or already there.
void AddFunctionName(std::vector<std::string>& names, std::string_view name);

/// Adds, in document order, to `globals` every named declaration of the renumbered document that
/// stands outside the variables of a user function, and to `functionNames` the name of every
/// function header.
void ReadDocumentGlobals(std::string_view document, VariableList& globals,
                         std::vector<std::string>& functionNames);

}  // namespace tortuval::convert
