#pragma once
// The small functions of the run's meaning that a Python program defines at its top: only those
// it uses, and those they use.

#include <set>
#include <string>

namespace tortuval::python {

/// The definitions of the helpers named in `used` (with those they use, added to it), each
/// followed by an empty line, in a fixed order; the modules they need are added to `modules`.
std::string HelperDefinitions(std::set<std::string>& used, std::set<std::string>& modules);

}  // namespace tortuval::python
