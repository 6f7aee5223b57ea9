#include "examples/example_catalogue.h"

#include <array>
#include <cstddef>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/cp1252.h"
#include "examples/embedded_documents.h"

namespace tortuval::examples {
namespace {

// Radio-group captions, in UTF-8 as a reader checks them, converted to Windows-1252 once. Two
// entries share the caption "prof_dichotomie." but not the document, and "prof_somme_entiers."
// carries the very document of "prof_Euler.".
constexpr std::string_view kCaptions[] = {
    "prof_dichotomie.",
    "prof_tribulle.",
    "prof_montecarlo.",
    "prof_suite_Syracuse.",
    "prof_intégrale_trapèze.",
    "prof_décomp._facteurs_premiers.",
    "prof_courbe_fonction.",
    "prof_pgdc_Euclide.",
    "prof_Babylone.",
    "prof_dichotomie.",
    "prof_Euler.",
    "prof_somme_entiers.",
    "prof_ductoscane.",
    "prof_pgdc_récursif.",
    "fonction pos_minimum",
    "loi_normale_centrée.",
    "nombres_aléatoires.",
};
static_assert(std::size(kCaptions) == kExampleCount);

std::size_t CheckedIndex(int index) {
  if (index < 0 || index >= kExampleCount) {
    throw std::out_of_range("example index out of range: " + std::to_string(index));
  }
  return static_cast<std::size_t>(index);
}

const std::array<std::string, kExampleCount>& Captions() {
  static const std::array<std::string, kExampleCount> captions = [] {
    std::array<std::string, kExampleCount> result;
    for (std::size_t i = 0; i < result.size(); ++i) result[i] = base::Utf8ToCp1252(kCaptions[i]);
    return result;
  }();
  return captions;
}

// Copies of the embedded bytes, so that callers keep the std::string they have always had.
const std::array<std::string, kExampleCount>& Documents() {
  static const std::array<std::string, kExampleCount> documents = [] {
    std::array<std::string, kExampleCount> result;
    for (std::size_t i = 0; i < result.size(); ++i) result[i] = EmbeddedDocument(i);
    return result;
  }();
  return documents;
}

}  // namespace

std::string_view ExampleCaption(int index) { return Captions()[CheckedIndex(index)]; }

const std::string& ExampleDocument(int index) { return Documents()[CheckedIndex(index)]; }

}  // namespace tortuval::examples
