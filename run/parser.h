#pragma once
// Reads a LOGO program's tokens into the tree that the machine runs.

#include <string_view>

#include "run/tree.h"

namespace tortuval::run {

/// Parses a whole program (any bytes). A part that cannot be read becomes a failure node at
/// its place, so that the run stops there with the message and the line, after what precedes.
Code ParseProgram(std::string_view text);

}  // namespace tortuval::run
