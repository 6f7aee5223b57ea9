#pragma once
// The one error type of Tortuval: a failure to show the user, carrying its French message in
// UTF-8. It belongs to the whole project, not to one library, hence the top namespace.

#include <stdexcept>
#include <string>

namespace tortuval {

/// A failure the user is told about (a file that cannot be read, a wrong command line); what()
/// is the French message in UTF-8, without a closing line end.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

/// Raises an Error with `message`: the way the libraries and programs report a failure.
[[noreturn]] inline void ThrowError(const std::string& message) { throw Error(message); }

}  // namespace tortuval
