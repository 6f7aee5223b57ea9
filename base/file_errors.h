#pragma once
// The French words for what went wrong with a file, and the path as messages show it.

#include <filesystem>
#include <string>
#include <system_error>

namespace tortuval::base {

enum class FileAccess { kRead, kWrite };

/// Why a file could not be opened, read or written, in French (UTF-8).
std::string FileErrorReason(std::error_code code, FileAccess access);

/// The absolute, tidied form of a path as UTF-8, as error messages show it.
std::string FullPathText(const std::filesystem::path& path);

}  // namespace tortuval::base
