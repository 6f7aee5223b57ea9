#pragma once
// The page's one session, shared by its conversion side (page_session.cpp) and its runs.

#include "session/session.h"

namespace tortuval::web {

/// What the page shows now.
const session::Session& PageSession();

}  // namespace tortuval::web
