#pragma once
// The converter's internal instruction numbers, 1 to 34: the renumbered document marks each item
// `code="N#`, and everything that reads the document names the items by these.

#include <cstddef>
#include <string_view>

namespace tortuval::library {

enum class Instruction : int {
  kDeclaration = 1,
  kInput = 2,        ///< LIRE
  kValueOutput = 3,  ///< AFFICHER a value
  kTextOutput = 4,   ///< AFFICHER a text
  kAssignment = 5,   ///< PREND_LA_VALEUR
  kIf = 6,           ///< SI
  kIfBegin = 7,      ///< DEBUT_SI
  kIfEnd = 8,        ///< FIN_SI
  kElse = 9,         ///< SINON
  kElseBegin = 10,   ///< DEBUT_SINON
  kElseEnd = 11,     ///< FIN_SINON
  kFor = 12,         ///< POUR
  kForBegin = 13,    ///< DEBUT_POUR
  kForEnd = 14,      ///< FIN_POUR
  kWhile = 15,       ///< TANT_QUE
  kWhileBegin = 16,  ///< DEBUT_TANT_QUE
  kWhileEnd = 17,    ///< FIN_TANT_QUE
  kPause = 18,       ///< PAUSE
  kComment = 19,
  kSegment = 20,           ///< TRACER_SEGMENT
  kGraphics = 21,          ///< the third graphics instruction
  kVariablesSection = 22,  ///< VARIABLES
  kAlgorithmStart = 23,    ///< DEBUT_ALGORITHME
  kAlgorithmEnd = 24,      ///< FIN_ALGORITHME
  kFunctionSection = 25,
  kFunctionHeader = 26,
  kFunctionVariables = 27,
  kFunctionBody = 28,
  kFunctionEnd = 29,
  kFunctionResult = 30,
  kF1 = 31,  ///< the `fonction` element
  kF2 = 32,  ///< the `F2` element
  kPoint = 33,
  kProcedureCall = 34,  ///< APPELER_FONCTION, an item like the statements
};

inline constexpr int kHighestInstruction = static_cast<int>(Instruction::kProcedureCall);

constexpr int NumberOf(Instruction instruction) { return static_cast<int>(instruction); }

/// The elements, a function's result, F1, F2 and a point, whose text runs to their "/>"; every
/// other instruction is an item whose text ends at its closing quotation mark.
constexpr bool IsElement(Instruction instruction) {
  return instruction == Instruction::kFunctionResult || instruction == Instruction::kF1 ||
         instruction == Instruction::kF2 || instruction == Instruction::kPoint;
}

/// A short text spelled at compile time, kept by value so that a constant can hold it.
struct SpelledText {
  char chars[24] = {};
  std::size_t size = 0;

  constexpr SpelledText& operator+=(std::string_view text) {
    for (const char c : text) chars[size++] = c;
    return *this;
  }
  constexpr std::string_view View() const { return {chars, size}; }
};

/// `before`, the instruction's number in decimal, then `after`.
constexpr SpelledText Spell(std::string_view before, Instruction instruction,
                            std::string_view after) {
  SpelledText text;
  text += before;
  const int number = NumberOf(instruction);
  const char digits[] = {static_cast<char>('0' + number / 10),
                         static_cast<char>('0' + number % 10)};
  text += number >= 10 ? std::string_view(digits, 2) : std::string_view(digits + 1, 1);
  text += after;
  return text;
}

/// `code="N#`, the marker of an item of the renumbered document.
template <Instruction instruction>
inline constexpr SpelledText kMarker = Spell("code=\"", instruction, "#");

/// `N#`, how an item's text starts once its marker's `code="` is behind.
template <Instruction instruction>
inline constexpr SpelledText kItemStart = Spell("", instruction, "#");

}  // namespace tortuval::library
