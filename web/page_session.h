#pragma once
// The page's one session, shared by its conversion side (page_session.cpp) and its runs.

#include <string>

#include "session/session.h"

namespace tortuval::web {

/// What the page shows now.
const session::Session& PageSession();

/// The name proposed for the saved program: the document's file name with ".lgo", else the
/// example's caption without its closing period, else "programme.lgo".
std::string ProgramFileName(const std::string& documentName, int example);

}  // namespace tortuval::web
