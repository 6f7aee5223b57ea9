#pragma once
// The converter's leftovers: source notation it leaves in a program. Some have one reading
// here, under which the program computes what its algorithm computes (the reader applies it,
// the check reports the place for a hand's fix); the others are not read at all.

#include <string>
#include <string_view>

#include "logo/messages.h"
#include "logo/tree.h"

namespace tortuval::logo {

/// Source notation that no reading takes ("modulo", "Math.floor", "x.charCodeAt" …): the
/// message that explains the word or value name, or null when it shows none.
const MessageId* FindUnreadNotation(std::string_view word);

/// ":mot.length": the variable name whose length is asked, or empty when `valueName` is not
/// one ending in ".length".
std::string_view LengthOfWord(std::string_view valueName);

/// The factorial as the source names it, which converted programs define as a procedure that
/// calls "fact"; without that procedure the name is read as "fact" itself.
inline constexpr std::string_view kFactorialKey = "PSEUDAL_FACTORIELLE";
inline constexpr std::string_view kFactorialReading = "FACT";

/// "1e - 8": the number that a word ending in "e" (the mantissa), a sign and a number give
/// when the sign's blanks are taken out; false when they are not that.
bool ReadSplitExponent(std::string_view mantissa, std::string_view sign, std::string_view exponent,
                       double& number);

/// A REPETE whose body ends as the converter ends each pass of a counted loop, "TESTE …
/// SIVRAI INC :i SIFAUX DEC :i", is a counted loop of that variable: it also ends when its
/// counter has moved past its last value. Marks it so (countedLoop, and its counter as the
/// node's variable); marks it a leftover, and returns true, when its body moves the counter
/// itself, the only loops that rely on this.
bool MarkCountedLoop(Node& repeat);

/// The check's sentence for a leftover read at a node whose text holds what the program
/// writes there (a variable's name for a loop left early).
std::string LeftoverMessage(Leftover leftover, std::string_view written);

}  // namespace tortuval::logo
