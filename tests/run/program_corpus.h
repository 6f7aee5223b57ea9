#pragma once
// The programs the runtime's agreement tests run: the examples, the tests' programs and
// documents, the fuzz corpora and generated documents.

#include <string>
#include <vector>

namespace tortuval::run {

struct Program {
  std::string name;
  std::string text;  ///< LOGO, Windows-1252
};

std::vector<Program> Corpus();

}  // namespace tortuval::run
