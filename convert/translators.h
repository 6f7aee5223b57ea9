#pragma once
// One translator per instruction (library/instructions.h); each reads its item and appends LOGO
// lines.

#include <string_view>

#include "convert/conversion_state.h"

namespace tortuval::convert {

using Translator = void (*)(ConversionState& state, std::string_view item);

// Document sections.
void TranslateVariablesSection(ConversionState& state, std::string_view item);
void TranslateAlgorithmStart(ConversionState& state, std::string_view item);
void TranslateAlgorithmEnd(ConversionState& state, std::string_view item);

// Simple statements.
void TranslateDeclaration(ConversionState& state, std::string_view item);
void TranslateInput(ConversionState& state, std::string_view item);
void TranslateValueOutput(ConversionState& state, std::string_view item);
void TranslateTextOutput(ConversionState& state, std::string_view item);
void TranslateAssignment(ConversionState& state, std::string_view item);
void TranslatePause(ConversionState& state, std::string_view item);
void TranslateComment(ConversionState& state, std::string_view item);
void TranslateProcedureCall(ConversionState& state, std::string_view item);

// Blocks.
void TranslateIf(ConversionState& state, std::string_view item);
void TranslateIfBegin(ConversionState& state, std::string_view item);
void TranslateIfEnd(ConversionState& state, std::string_view item);
void TranslateElse(ConversionState& state, std::string_view item);
void TranslateElseBegin(ConversionState& state, std::string_view item);
void TranslateElseEnd(ConversionState& state, std::string_view item);
void TranslateFor(ConversionState& state, std::string_view item);
void TranslateForBegin(ConversionState& state, std::string_view item);
void TranslateForEnd(ConversionState& state, std::string_view item);
void TranslateWhile(ConversionState& state, std::string_view item);
void TranslateWhileBegin(ConversionState& state, std::string_view item);
void TranslateWhileEnd(ConversionState& state, std::string_view item);

// Graphics.
void TranslateSegment(ConversionState& state, std::string_view item);
void TranslateGraphics(ConversionState& state, std::string_view item);
void TranslatePoint(ConversionState& state, std::string_view item);

// User functions and the two function elements.
void TranslateFunctionSection(ConversionState& state, std::string_view item);
void TranslateFunctionHeader(ConversionState& state, std::string_view item);
void TranslateFunctionVariables(ConversionState& state, std::string_view item);
void TranslateFunctionBody(ConversionState& state, std::string_view item);
void TranslateFunctionEnd(ConversionState& state, std::string_view item);
void TranslateFunctionResult(ConversionState& state, std::string_view item);
void TranslateF1(ConversionState& state, std::string_view item);
void TranslateF2(ConversionState& state, std::string_view item);

}  // namespace tortuval::convert
