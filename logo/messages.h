#pragma once
// The French texts of the checker's findings, as data: one row per message, with numbered
// places ({1}, {2}, {3}) for the offending text and the like.

#include <initializer_list>
#include <string>
#include <string_view>

namespace tortuval::logo {

enum class MessageId {
  kUndeclaredValue,
  kEmptyValue,
  kUnknownWord,
  kSplitWord,
  kWordLength,
  kCharCodeAt,
  kFromCharCode,
  kToString,
  kSubstrCall,
  kModulo,
  kSquareRoot,
  kFactorial,
  kInactiveFunction,
  kMathMember,
  kMissingInputs,
  kNoInput,
  kMissingOperand,
  kUnclosedGroup,
  kUnclosedList,
  kUnopenedGroup,
  kUnopenedList,
  kOpenBlockAtEnd,
  kOpenBlockAtFin,
  kOpenProcedure,
  kStrayEnd,
  kWarnedCall,
  kWarnedLine,
  kWarnedWithoutParentheses,
  kIdleCondition,
  kDoubledBrackets,
  kOneInput,
  kInputs,
  kEndOfLine,
  // What else cannot be read.
  kUnusedValue,
  kNoValue,
  kUnexpected,
  kMissingValue,
  kMissingSignOperand,
  kTooManyValues,
  kNameExpected,
  kVariableExpected,
  kTypeExpected,
  kSortOrderExpected,
  kUnnamedProcedure,
  kBadNumber,
  kTooDeep,
  kTooLong,
  // The leftovers that run here (leftovers.h).
  kLeftoverLength,
  kLeftoverFactorial,
  kLeftoverExponent,
  kLeftoverSign,
  kLeftoverString,
  kLeftoverLoop,
};

/// The message `id` (Windows-1252) with its places filled by `arguments`, in order.
std::string FormatMessage(MessageId id, std::initializer_list<std::string_view> arguments);

/// The text between French quotation marks: "« text »".
std::string Quoted(std::string_view text);

}  // namespace tortuval::logo
