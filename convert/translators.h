#pragma once
// One translator per instruction kind; each reads its item and appends LOGO lines.

#include <string_view>

#include "convert/conversion_state.h"

namespace tortuval::convert {

using Translator = void (*)(ConversionState& state, std::string_view item);

// Document sections.
void TranslateVariablesSection(ConversionState& state, std::string_view item);  // 22
void TranslateAlgorithmStart(ConversionState& state, std::string_view item);    // 23
void TranslateAlgorithmEnd(ConversionState& state, std::string_view item);      // 24

// Simple statements.
void TranslateDeclaration(ConversionState& state, std::string_view item);    // 1
void TranslateInput(ConversionState& state, std::string_view item);          // 2
void TranslateValueOutput(ConversionState& state, std::string_view item);    // 3
void TranslateTextOutput(ConversionState& state, std::string_view item);     // 4
void TranslateAssignment(ConversionState& state, std::string_view item);     // 5
void TranslatePause(ConversionState& state, std::string_view item);          // 18
void TranslateComment(ConversionState& state, std::string_view item);        // 19
void TranslateProcedureCall(ConversionState& state, std::string_view item);  // 34

// Blocks.
void TranslateIf(ConversionState& state, std::string_view item);          // 6
void TranslateIfBegin(ConversionState& state, std::string_view item);     // 7
void TranslateIfEnd(ConversionState& state, std::string_view item);       // 8
void TranslateElse(ConversionState& state, std::string_view item);        // 9
void TranslateElseBegin(ConversionState& state, std::string_view item);   // 10
void TranslateElseEnd(ConversionState& state, std::string_view item);     // 11
void TranslateFor(ConversionState& state, std::string_view item);         // 12
void TranslateForBegin(ConversionState& state, std::string_view item);    // 13
void TranslateForEnd(ConversionState& state, std::string_view item);      // 14
void TranslateWhile(ConversionState& state, std::string_view item);       // 15
void TranslateWhileBegin(ConversionState& state, std::string_view item);  // 16
void TranslateWhileEnd(ConversionState& state, std::string_view item);    // 17

// Graphics.
void TranslateSegment(ConversionState& state, std::string_view item);   // 20
void TranslateGraphics(ConversionState& state, std::string_view item);  // 21
void TranslatePoint(ConversionState& state, std::string_view item);     // 33

// User functions and the two function elements.
void TranslateFunctionSection(ConversionState& state, std::string_view item);    // 25
void TranslateFunctionHeader(ConversionState& state, std::string_view item);     // 26
void TranslateFunctionVariables(ConversionState& state, std::string_view item);  // 27
void TranslateFunctionBody(ConversionState& state, std::string_view item);       // 28
void TranslateFunctionEnd(ConversionState& state, std::string_view item);        // 29
void TranslateFunctionResult(ConversionState& state, std::string_view item);     // 30
void TranslateF1(ConversionState& state, std::string_view item);                 // 31
void TranslateF2(ConversionState& state, std::string_view item);                 // 32

}  // namespace tortuval::convert
