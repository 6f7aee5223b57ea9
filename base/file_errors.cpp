#include "base/file_errors.h"

#include <string>

namespace tortuval::base {
namespace {

// The French description of a failure to open, read or write a file.
struct ErrorReason {
  std::errc condition;
  std::string_view text;  // UTF-8
};
constexpr ErrorReason kErrorReasons[] = {
    {std::errc::not_a_directory, "Le chemin d'accès spécifié est introuvable."},
    {std::errc::permission_denied, "Accès refusé."},
    {std::errc::operation_not_permitted, "Accès refusé."},
    {std::errc::is_a_directory, "Le chemin désigne un dossier, pas un fichier."},
    {std::errc::read_only_file_system, "Le support est protégé en écriture."},
    {std::errc::no_space_on_device, "Espace insuffisant sur le disque."},
    {std::errc::filename_too_long, "Le nom de fichier est trop long."},
};

}  // namespace

std::string FileErrorReason(std::error_code code, FileAccess access) {
  // A missing file to read is the file's fault; a missing place to write, the folder's.
  if (code == std::errc::no_such_file_or_directory) {
    return access == FileAccess::kRead ? "Le fichier spécifié est introuvable."
                                       : "Le chemin d'accès spécifié est introuvable.";
  }
  for (const ErrorReason& reason : kErrorReasons) {
    if (code == reason.condition) return std::string(reason.text);
  }
  return "Erreur d'entrée/sortie (code " + std::to_string(code.value()) + ").";
}

std::string FullPathText(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::path full = std::filesystem::absolute(path, ignored);
  if (full.empty()) full = path;
  const std::u8string shown = full.lexically_normal().u8string();
  return std::string(shown.begin(), shown.end());
}

}  // namespace tortuval::base
