// Writes the seed corpora of the fuzz targets from the built-in examples and small generated
// documents: `seed_writer DIR` fills DIR/document, DIR/expression, DIR/reader and DIR/logo.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp1252.h"
#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "testing/document_generator.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The example with one element per line and LF breaks, as a file saved by the editor reads.
std::string WithLineBreaks(std::string_view document, std::string_view lineBreak) {
  std::string out;
  for (char c : document) {
    if (c == '<' && !out.empty()) out += lineBreak;
    out += c;
  }
  return out;
}

std::string Utf16(std::string_view cp1252, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : cp1252) {
    const char32_t unit = tortuval::base::Cp1252ToCodePoint(static_cast<unsigned char>(c));
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}

// The text as a word processor saves it in Rich Text Format.
std::string Rtf(std::string_view cp1252) {
  std::string out =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}}\r\n"
      "{\\colortbl ;\\red0\\green0\\blue255;}{\\*\\generator Msftedit 5.41.21.2510;}"
      "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
  static constexpr char kHex[] = "0123456789abcdef";
  for (char c : cp1252) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\par\r\n";
    } else if (c == '\r') {
      continue;
    } else if (byte >= 0x80) {
      out += "\\'";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  out += "\\par\r\n}\r\n";
  return out;
}

// Every `code` value of a document, cut into its fields.
std::vector<std::string> CodeFields(std::string_view document) {
  std::vector<std::string> fields;
  constexpr std::string_view kMarker = "code=\"";
  for (std::size_t at = document.find(kMarker); at != std::string_view::npos;
       at = document.find(kMarker, at + 1)) {
    const std::size_t start = at + kMarker.size();
    const std::size_t end = document.find('"', start);
    if (end == std::string_view::npos) break;
    std::string_view value = document.substr(start, end - start);
    value.remove_prefix(std::min(value.size(), value.find('#') + 1));
    while (!value.empty()) {
      const std::size_t hash = value.find('#');
      fields.emplace_back(value.substr(0, hash));
      if (hash == std::string_view::npos) break;
      value.remove_prefix(hash + 1);
    }
  }
  return fields;
}

// The declarations of a document as expression-target variable lines ("1x", "2L", …).
std::string VariableLines(std::string_view document) {
  std::string lines;
  constexpr std::string_view kMarker = "code=\"1#";
  for (std::size_t at = document.find(kMarker); at != std::string_view::npos;
       at = document.find(kMarker, at + 1)) {
    const std::size_t start = at + kMarker.size();
    const std::size_t hash = document.find('#', start);
    const std::size_t end = document.find('"', start);
    if (hash == std::string_view::npos || end == std::string_view::npos || hash > end) continue;
    const std::string_view type = document.substr(start, hash - start);
    const char code = type == "NOMBRE" ? '1' : type == "LISTE" ? '2' : '3';
    lines += '\n';
    lines += code;
    lines += document.substr(hash + 1, end - hash - 1);
  }
  return lines;
}

// An input of the expression target: control byte, expression, variable lines.
std::string ExpressionInput(char control, std::string_view expression, std::string_view variables) {
  std::string input(1, control);
  input.append(expression).append(variables);
  return input;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_DIRECTORY\n", argv[0]);
    return 2;
  }
  const fs::path root(argv[1]);
  for (const char* target : {"document", "expression", "reader", "logo", "run", "algorithm"}) {
    fs::create_directories(root / target);
  }
  using tortuval::examples::ExampleDocument;
  using tortuval::examples::kExampleCount;

  // Documents: the examples, small generated documents and a few damaged ones.
  for (int i = 0; i < kExampleCount; ++i) {
    WriteFile(root / "document" / ("example_" + std::to_string(i + 1) + ".alg"),
              ExampleDocument(i));
  }
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    tortuval::generator::GeneratorOptions options;
    options.targetBytes = 1500 + 500 * seed;
    options.maxDepth = 1 + static_cast<int>(seed % 6);
    options.variableCount = 3 + static_cast<int>(seed);
    options.withFunctions = seed % 3 != 0;
    options.seed = seed;
    WriteFile(root / "document" / ("generated_" + std::to_string(seed) + ".alg"),
              tortuval::generator::GenerateDocument(options));
  }
  const std::string& euclid = ExampleDocument(7);
  WriteFile(root / "document" / "cut_half.alg", euclid.substr(0, euclid.size() / 2));
  WriteFile(root / "document" / "no_quotes.alg",
            std::string(euclid.substr(0, 400)) + "code=\"12#i");
  WriteFile(root / "document" / "element_unclosed.alg",
            "<fonction fctcode=\"x\" fctetat=\"actif\"");

  // Expressions: every field of every example, with the example's own variables.
  std::set<std::string> seen;
  int expressionIndex = 0;
  for (int i = 0; i < kExampleCount; ++i) {
    const std::string variables = VariableLines(ExampleDocument(i));
    for (const std::string& field : CodeFields(ExampleDocument(i))) {
      if (field.empty() || !seen.insert(field).second || expressionIndex >= 150) continue;
      // Mostly ordinary mode; every fourth as an F2 line in function mode.
      const char control =
          expressionIndex % 4 == 3 ? static_cast<char>(32 << 2 | 1) : static_cast<char>(5 << 2);
      WriteFile(root / "expression" / ("field_" + std::to_string(expressionIndex++)),
                ExpressionInput(control, field, variables));
    }
  }
  for (std::string_view line :
       {"p==0@q#", "q &lt;= p@F2(p-q,q)#", "F2(p,q-p) :#", "w>=0@floor(g*w)/g#"}) {
    WriteFile(root / "expression" / ("f2_line_" + std::to_string(expressionIndex++)),
              ExpressionInput(static_cast<char>(32 << 2 | 1), line, "\n1p\n1q\n1w\n1g"));
  }

  // The algorithm as a tree: documents (first byte even) and expressions (odd), the examples'.
  for (int i = 0; i < kExampleCount; ++i) {
    WriteFile(root / "algorithm" / ("example_" + std::to_string(i + 1)),
              std::string(1, '\0') + ExampleDocument(i));
  }
  int algorithmIndex = 0;
  for (const std::string& field : seen) {
    if (algorithmIndex >= 60) break;
    WriteFile(root / "algorithm" / ("expression_" + std::to_string(algorithmIndex++)),
              "\x01" + field);
  }

  // Files: a few examples in every encoding and line-break form the reader knows.
  for (int i : {0, 7, 13, 14, 16}) {
    const std::string& document = ExampleDocument(i);
    const std::string name = "example_" + std::to_string(i + 1);
    const std::string lines = WithLineBreaks(document, "\r\n");
    const std::string utf8 = tortuval::base::Cp1252ToUtf8(lines);
    WriteFile(root / "reader" / (name + ".cp1252"), lines);
    WriteFile(root / "reader" / (name + ".utf8"), utf8);
    WriteFile(root / "reader" / (name + ".utf8bom"), "\xEF\xBB\xBF" + utf8);
    WriteFile(root / "reader" / (name + ".utf16le"), Utf16(lines, false));
    WriteFile(root / "reader" / (name + ".utf16be"), Utf16(lines, true));
    WriteFile(root / "reader" / (name + ".lf"), WithLineBreaks(document, "\n"));
    WriteFile(root / "reader" / (name + ".cr"), WithLineBreaks(document, "\r"));
    WriteFile(root / "reader" / (name + ".rtf"), Rtf(WithLineBreaks(document, "\n")));
  }
  WriteFile(root / "reader" / "rtf_groups.rtf",
            "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\*\\x{a{b}}c}{\\pict\\bin4 {}\\}}"
            "a\\tab b\\u233?\\'e9\\line c{\\b gras}\\emdash}");
  WriteFile(root / "reader" / "utf16_lone_surrogate", std::string("\xFF\xFE\x00\xD8\x41\x00", 6));
  WriteFile(root / "reader" / "utf8_broken", "caf\xC3\xA9 \xE2\x82 fin");

  // LOGO programs: a few converted examples, one with the parentheses warning and support
  // procedures, and a program with one fault of each kind.
  for (const int i : {1, 6, 14, 15}) {
    WriteFile(root / "logo" / ("example_" + std::to_string(i + 1) + ".lgo"),
              tortuval::convert::ConvertDocument(ExampleDocument(i)).logoText);
  }
  WriteFile(root / "logo" / "faults.lgo",
            "DEFINIS \"ier NOMBRE\r\nECRIS ent :ier :mot.length\r\nECRIS [ a // b\r\n"
            "POUR F1 :x\r\nSIVRAI [\r\nrends ( item :x )  // Des parenth\xE8ses doivent \xEAtre "
            "supprim\xE9"
            "es sur cette ligne.\r\nFIN\r\nTANT QUE 1e - 8 ] )\r\n");
  // Runs: every example's program as it is, and a few documents after the byte that asks the
  // run target to convert them first.
  for (int i = 0; i < kExampleCount; ++i) {
    WriteFile(root / "run" / ("example_" + std::to_string(i + 1) + ".lgo"),
              tortuval::convert::ConvertDocument(ExampleDocument(i)).logoText);
  }
  for (const int i : {4, 7, 13}) {
    WriteFile(root / "run" / ("document_" + std::to_string(i + 1)), "\x01" + ExampleDocument(i));
  }
  for (std::uint32_t seed = 1; seed <= 3; ++seed) {
    tortuval::generator::GeneratorOptions options;
    options.targetBytes = 3000;
    options.seed = seed;
    WriteFile(root / "run" / ("generated_" + std::to_string(seed)),
              "\x01" + tortuval::generator::GenerateDocument(options));
  }
  std::printf("seeds written under %s\n", root.c_str());
  return 0;
}
