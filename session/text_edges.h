#pragma once
// Where text changes encoding: Windows-1252 inside the libraries, UTF-8 at the edges (a window's
// panes, a terminal, a page). Every front end crosses the edge through these two functions.

#include <string>
#include <string_view>

#include "base/cp1252.h"

namespace tortuval::session {

/// A text of the libraries (Windows-1252) as the edge shows it (UTF-8).
inline std::string ToUtf8(std::string_view cp1252) { return base::Cp1252ToUtf8(cp1252); }

/// A text from the edge, as the libraries read it: UTF-8 most of the time, but bytes that are not
/// UTF-8 (an answer file saved in Windows-1252) are taken as Windows-1252 rather than lost.
inline std::string FromUtf8(std::string_view bytes) {
  return base::IsWellFormedUtf8(bytes) ? base::Utf8ToCp1252(bytes) : std::string(bytes);
}

}  // namespace tortuval::session
