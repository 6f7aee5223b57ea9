#include "session/program_file_name.h"

namespace tortuval::session {

std::string ProgramFileName(std::string_view documentFileName, std::string_view exampleCaption) {
  constexpr std::string_view kExtension = ".lgo";
  if (!documentFileName.empty()) {
    const std::size_t dot = documentFileName.rfind('.');
    return std::string(documentFileName.substr(0, dot)).append(kExtension);
  }
  constexpr std::string_view kBlanks = " \t\r\n";
  std::string_view name = exampleCaption;
  const std::size_t first = name.find_first_not_of(kBlanks);
  name = first == std::string_view::npos ? std::string_view()
                                         : name.substr(first, name.find_last_not_of(kBlanks) - first + 1);
  // Most captions end with a period, which would double the one before the extension.
  while (!name.empty() && name.back() == '.') name.remove_suffix(1);
  return std::string(name.empty() ? "programme" : name).append(kExtension);
}

}  // namespace tortuval::session
