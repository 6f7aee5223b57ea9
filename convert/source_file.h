#pragma once
// Turns a file's bytes into the 8-bit source text: byte-order marks, UTF-8 without mark,
// Windows-1252, RTF, and CR LF line breaks.

#include <filesystem>
#include <string>
#include <string_view>

#include "base/error.h"

namespace tortuval::convert {

/// Decodes the bytes of a document file into Windows-1252 text with CR LF line breaks.
std::string DecodeSourceBytes(std::string_view bytes);

/// Reads and decodes a file. On failure raises an Error with the French message
/// "Impossible d'ouvrir le fichier "<full path>". <reason>" (UTF-8, as the path may need).
std::string ReadSourceFile(const std::filesystem::path& path);

}  // namespace tortuval::convert
