#pragma once
// Large, realistic algorithm documents for the benchmarks and the hostile-input tests: every
// statement kind of the built-in examples, nested blocks, many variables, F1 and F2, support
// procedures.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tortuval::generator {

/// What a generated document holds.
struct GeneratorOptions {
  std::size_t targetBytes = 1 << 20;  ///< the document stops growing once it reaches this size
  int maxDepth = 6;                   ///< deepest nesting of SI, POUR and TANT_QUE blocks
  int variableCount = 40;             ///< declared variables (numbers, lists and words)
  bool withFunctions = true;          ///< active F1 and F2 elements
  /// POUR loops; each one adds its counter to the function's variables for the rest of the
  /// conversion, so without them the time per instruction no longer grows along the document.
  bool withCountedLoops = true;
  std::uint32_t seed = 20240601;  ///< the same seed gives the same document
};

/// A whole document as the converter reads it (Windows-1252, one element per line, CR LF).
std::string GenerateDocument(const GeneratorOptions& options);

/// Appends one self-closing `item` element with its readable line and code value; both are
/// written as stored in a document (entities already in place).
void AppendItem(std::string& document, std::string_view readable, std::string_view code);

/// Appends the opening tag of an `item` element that holds a block's children.
void AppendBlockOpen(std::string& document, std::string_view readable, std::string_view code);

/// Appends the closing tag of a block opened by AppendBlockOpen.
void AppendBlockClose(std::string& document);

/// The XML declaration, the opening `Algo` tag and a description, F1, F2 and frame elements;
/// F1 and F2 are active when `withFunctions` is set.
std::string DocumentHeader(bool withFunctions);

/// The closing `Algo` tag.
std::string_view DocumentFooter();

}  // namespace tortuval::generator
