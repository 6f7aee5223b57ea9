#pragma once
// How each pass of a counted loop ends in a converted program: the converter writes a POUR loop
// as a REPETE whose body ends with
//     TESTE <span still to run> >= 0
//     SIVRAI INC :i SIFAUX DEC :i
// so that the counter moves one step towards the end value. The reader recognises a loop of the
// converter's by that ending. Both go through CountedLoopPassEnd, which spells the form once.

#include <string_view>

namespace tortuval::library {

/// The statements of a pass's end: the test, then its two branches.
inline constexpr int kCountedLoopPassEndStatements = 3;

/// Spells a pass's end to `form`, piece after piece, and says whether `form` followed all of it:
/// - form.Test(comparison): the test of the span still to run, `comparison` after it (">= 0");
/// - form.Branch(keyword, stepWord, step), twice: the branch that moves the counter by `step`
///   with `stepWord` ("SIVRAI", "INC", 1 while the span is not negative; "SIFAUX", "DEC", -1).
/// Each returns false to stop: a writer writes and always goes on, a recogniser compares.
template <typename Form>
bool CountedLoopPassEnd(Form& form) {
  return form.Test(">= 0") && form.Branch("SIVRAI", "INC", 1) && form.Branch("SIFAUX", "DEC", -1);
}

}  // namespace tortuval::library
