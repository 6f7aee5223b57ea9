#pragma once
// The documents the algorithm's tests read: the built-in examples, the run's case documents and
// generated documents of every statement kind, each decoded as the converter reads it.

#include <string>
#include <vector>

namespace tortuval::algorithm {

std::vector<std::string> TestDocuments();

}  // namespace tortuval::algorithm
