#pragma once
// A check that stops a fuzz run: the input at hand is then kept as a finding.

#include <cstdio>
#include <cstdlib>

namespace tortuval::fuzz {

/// Aborts with `what` when `holds` is false; used for properties every input must keep.
inline void Check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}

}  // namespace tortuval::fuzz
