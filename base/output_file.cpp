#include "base/output_file.h"

#include <cerrno>
#include <fstream>
#include <string>
#include <system_error>

#include "base/error.h"
#include "base/file_errors.h"

namespace tortuval::base {

void WriteOutputFile(const std::filesystem::path& path, std::string_view bytes) {
  errno = 0;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file) {
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
  }
  if (file) return;
  const std::error_code error(errno != 0 ? errno : EIO, std::generic_category());
  ThrowError("Impossible d'écrire le fichier \"" + FullPathText(path) + "\". " +
             FileErrorReason(error, FileAccess::kWrite));
}

}  // namespace tortuval::base
