# Writes a C++ source holding the bytes of the example documents, run at build time:
#   cmake -DOUTPUT=<file.cpp> -DDOCUMENTS=<a.alg|b.alg|...> -P embed_documents.cmake
# The documents are given in catalogue order, separated by "|". Every byte is written as a \x
# escape, so the Windows-1252 text reaches the program unchanged whatever the compiler's source
# character set.
if(NOT OUTPUT OR NOT DOCUMENTS)
  message(FATAL_ERROR "embed_documents.cmake needs OUTPUT and DOCUMENTS")
endif()
string(REPLACE "|" ";" documents "${DOCUMENTS}")

# 32 bytes of escapes per source line.
string(REPEAT "[0-9a-f][0-9a-f]" 32 chunk)

set(definitions "")
set(entries "")
set(index 0)
foreach(document IN LISTS documents)
  get_filename_component(name "${document}" NAME)
  file(READ "${document}" hex HEX)
  string(REGEX REPLACE "(${chunk})" "\\1;" lines "${hex}")
  set(literal "")
  foreach(line IN LISTS lines)
    if(NOT line STREQUAL "")
      string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" line "${line}")
      string(APPEND literal "\n    \"${line}\"")
    endif()
  endforeach()
  string(APPEND definitions "\n// ${name}\nconstexpr char kDocument${index}[] =${literal};\n")
  string(APPEND entries "    std::string_view(kDocument${index}, sizeof kDocument${index} - 1),\n")
  math(EXPR index "${index} + 1")
endforeach()

file(WRITE "${OUTPUT}" "// Generated from the examples/*.alg files by embed_documents.cmake; do not edit.
#include <iterator>
#include <string_view>

#include \"examples/embedded_documents.h\"

namespace tortuval::examples {
namespace {
${definitions}
constexpr std::string_view kDocuments[] = {
${entries}};
static_assert(std::size(kDocuments) == kExampleCount, \"one document file per example\");

}  // namespace

std::string_view EmbeddedDocument(std::size_t index) { return kDocuments[index]; }

}  // namespace tortuval::examples
")
