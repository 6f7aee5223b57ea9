#pragma once
// The source document as the converter reads it: instruction numbers rewritten into the
// internal numbering 1 to 34, then instruction items found and cut one after the other.

#include <cstddef>
#include <string>
#include <string_view>

#include "library/instructions.h"

namespace tortuval::convert {

/// Rewrites the editor's instruction numbers into the internal numbering (in place).
void Renumber(std::string& document);

/// Walks a renumbered document instruction by instruction. The text never changes; the cursor
/// only moves forward, so a whole conversion is linear in the document's size.
class InstructionCursor {
 public:
  /// The cursor starts before the first instruction; call FindNextInstruction once.
  explicit InstructionCursor(std::string_view document) : document_(document) {}

  /// Moves to the next `code="N#` of a known instruction and returns true, or reaches the end
  /// (done) and returns false. Items with other numbers are passed over.
  bool FindNextInstruction();

  /// Cuts the current item: for a statement, section or procedure call the text up to and
  /// including its closing quotation mark; for the elements (a function's result, F1, F2, a
  /// point) up to the last quotation mark before the "/>".
  std::string_view CutItem();

  /// The current instruction (number 0 when done).
  library::Instruction Number() const { return static_cast<library::Instruction>(number_); }
  bool Done() const { return done_; }

  /// What is left of the document: everything after the current position.
  std::string_view Remaining() const { return document_.substr(position_); }
  std::size_t Position() const { return position_; }

 private:
  std::string_view document_;
  std::size_t position_ = 0;
  int number_ = 0;
  bool done_ = false;
};

/// The fields of one instruction item, taken in order after its leading number and "#".
class ItemFields {
 public:
  explicit ItemFields(std::string_view item);

  /// The text before the next "#". With no "#" left: the rest up to the closing quotation
  /// mark, and every later field is empty.
  std::string_view Next();

  /// The last field: the rest up to the item's closing quotation mark (or its end).
  std::string_view Last();

 private:
  std::string_view rest_;
};

}  // namespace tortuval::convert
