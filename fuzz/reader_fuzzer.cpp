// Fuzz target: arbitrary file bytes through encoding detection, RTF and line-break repair.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/source_file.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = tortuval::convert::DecodeSourceBytes(bytes);
  // Every line break of the result is CR LF, whichever breaks the file used.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      tortuval::fuzz::Check(i + 1 < text.size() && text[i + 1] == '\n', "CR followed by LF");
    } else if (text[i] == '\n') {
      tortuval::fuzz::Check(i > 0 && text[i - 1] == '\r', "LF preceded by CR");
    }
  }
  return 0;
}
