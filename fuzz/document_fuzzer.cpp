// Fuzz target: arbitrary bytes as a whole source document through the conversion.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "convert/conversion.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  const tortuval::convert::ConversionResult result = tortuval::convert::ConvertDocument(source);
  // The listing is made of whole lines only, whatever the document holds.
  tortuval::fuzz::Check(result.listingText.empty() || result.listingText.ends_with("\r\n"),
                        "the listing ends with CR LF");
  return 0;
}
