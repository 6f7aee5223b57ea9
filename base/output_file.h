#pragma once
// Writing a converted text to a file, the same way for the command line and the window.

#include <filesystem>
#include <string_view>

#include "base/error.h"

namespace tortuval::base {

/// Writes `bytes` to `path`, replacing its content. On failure raises an Error with the French
/// message "Impossible d'écrire le fichier "<full path>". <reason>" (UTF-8).
void WriteOutputFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tortuval::base
