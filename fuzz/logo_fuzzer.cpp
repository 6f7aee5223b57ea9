// Fuzz target: arbitrary bytes as a LOGO program through the reader and the checker; every part
// the reader could not read, where a run would stop, lies on a line the check reports.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "logo/checker.h"

namespace {

void CheckFailuresReported(const tortuval::logo::Node& node,
                           const std::vector<tortuval::logo::Finding>& findings) {
  if (node.op == tortuval::logo::Op::kFailure) {
    bool reported = false;
    for (const tortuval::logo::Finding& finding : findings) reported |= finding.line == node.line;
    tortuval::fuzz::Check(reported,
                          "a line where a run would stop for a reading reason is reported");
  }
  for (const tortuval::logo::Node& kid : node.kids) CheckFailuresReported(kid, findings);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view program(reinterpret_cast<const char*>(data), size);
  const tortuval::logo::Reading reading = tortuval::logo::ReadProgram(program);
  const std::vector<tortuval::logo::Finding> findings = tortuval::logo::CheckReading(reading);
  CheckFailuresReported(reading.program.main, findings);
  for (const tortuval::logo::Procedure& procedure : reading.program.procedures) {
    CheckFailuresReported(procedure.body, findings);
  }
  // Every finding points into the text, in line then column order.
  int lines = 1;
  for (const char c : program) lines += c == '\n' ? 1 : 0;
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const tortuval::logo::Finding& finding = findings[i];
    tortuval::fuzz::Check(finding.line >= 1 && finding.line <= lines && finding.column >= 1,
                          "a finding lies inside the program");
    tortuval::fuzz::Check(!finding.message.empty(), "a finding has a message");
    if (i > 0) {
      const tortuval::logo::Finding& previous = findings[i - 1];
      tortuval::fuzz::Check(previous.line < finding.line || (previous.line == finding.line &&
                                                             previous.column <= finding.column),
                            "findings come in line then column order");
    }
  }
  return 0;
}
