#pragma once
// Declaration items ("1#NOMBRE#x"): what they declare, and the document's global declarations
// read ahead of the conversion for the user functions' bodies.

#include <string_view>

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

/// Adds to `globals`, in document order, every named declaration of the renumbered document that
/// stands outside the variables of a user function.
void ReadDocumentGlobals(std::string_view document, VariableList& globals);

}  // namespace tortuval::convert
