#pragma once
// The speeds a run is offered at, from full speed down to two instructions a second: each front
// end lists them under these names, in this order.

#include <array>

namespace tortuval::session {

struct RunSpeed {
  const char* name;  ///< UTF-8
  int delayMs;       ///< the pause before each instruction; zero runs at full speed
};

inline constexpr std::array<RunSpeed, 4> kRunSpeeds{{{"instantanée", 0},
                                                     {"50 instructions par seconde", 20},
                                                     {"10 instructions par seconde", 100},
                                                     {"2 instructions par seconde", 500}}};

}  // namespace tortuval::session
