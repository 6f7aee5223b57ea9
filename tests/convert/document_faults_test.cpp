// Texts that are no documents at all, and documents cut short: what the conversion says of them.
// The sentences that tell the user are compared in the command line's and the window's tests.


#include <gtest/gtest.h>

#include <string>

#include "convert/conversion.h"

namespace tortuval::convert {
namespace {

struct FaultRow {
  const char* why;
  std::string text;
  DocumentFault fault;
};

// One item of output between the editor's opening and closing elements.
const std::string kItem = R"(<item algoitem="AFFICHER a" code="4#a#1"/>)";

TEST(DocumentFaultTest, FoundFromWhatTheReaderReadsAndHowTheTextEnds) {
  const FaultRow rows[] = {
      {"empty", "", DocumentFault::kNoInstruction},
      {"plain text", "Bonjour,\r\nvoici mes notes.\r\n", DocumentFault::kNoInstruction},
      {"the editor's frame without items", "<Algo>\r\n</Algo>\r\n", DocumentFault::kNoInstruction},
      {"markers without numbers", R"(code="code="x#")", DocumentFault::kNoInstruction},
      {"only numbers outside the table", "<Algo><item code=\"103#x\"/></Algo>",
       DocumentFault::kNoInstruction},
      {"whole", "<Algo>" + kItem + "</Algo>\r\n", DocumentFault::kNone},
      {"closing element in lower case, blanks before its >", "<Algo>" + kItem + "</algo \r\n>",
       DocumentFault::kNone},
      {"a comment after the end", "<Algo>" + kItem + "</Algo><!-- \" > -->", DocumentFault::kNone},
      {"the F1 element is an instruction", R"(<Algo><fonction fctetat="inactif" /></Algo>)",
       DocumentFault::kNone},
      {"no closing element", "<Algo>" + kItem, DocumentFault::kTruncated},
      {"closing element cut", "<Algo>" + kItem + "</Alg", DocumentFault::kTruncated},
      {"closing element without >", "<Algo>" + kItem + "</Algo", DocumentFault::kTruncated},
      {"another name", "<Algo>" + kItem + "</Algorithme>", DocumentFault::kTruncated},
      {"cut inside an item", "<Algo>" + kItem + R"(<item algoitem="SI x)",
       DocumentFault::kTruncated},
      // A second document pasted after the first and cut inside a condition holding ">".
      {"cut after the closing element", "<Algo>" + kItem + R"(</Algo><Algo><item code="6#x>1)",
       DocumentFault::kTruncated},
      {"unclosed comment after the end", "<Algo>" + kItem + "</Algo><!-- x >",
       DocumentFault::kTruncated},
  };
  for (const FaultRow& row : rows) {
    EXPECT_EQ(ConvertDocument(row.text).fault, row.fault) << row.why;
  }
}

}  // namespace
}  // namespace tortuval::convert
