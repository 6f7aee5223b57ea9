#pragma once
// The name a LOGO program is proposed to be saved under, in every front end.

#include <string>
#include <string_view>

namespace tortuval::session {

/// The opened document's file name (UTF-8, without its folder) with its last extension replaced
/// by ".lgo"; when no file was opened, the example's caption (UTF-8) without the blanks around it
/// and its closing periods, with ".lgo"; with neither, "programme.lgo".
std::string ProgramFileName(std::string_view documentFileName, std::string_view exampleCaption);

}  // namespace tortuval::session
