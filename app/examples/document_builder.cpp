#include "app/examples/document_builder.h"

#include <cstddef>
#include <iterator>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tortuval::examples {
namespace {

// One row of the readable-line table: a code value pattern and the line it gives. In a pattern,
// "{name}" stands for any one field and binds it; other fields must match exactly. The first
// matching row wins, so the "pasliste" rows stand before the general ones.
struct ReadableLineRule {
  std::string_view pattern;
  std::string_view readable;
};

constexpr ReadableLineRule kReadableLineRules[] = {
    {"100#declarationsvariables", "VARIABLES"},
    {"101#debutalgo", "DEBUT_ALGORITHME"},
    {"102#finalgo", "FIN_ALGORITHME"},
    {"1#{T}#{v}", "{v} EST_DU_TYPE {T}"},
    {"2#{v}#pasliste", "LIRE {v}"},
    {"2#{v}#{k}", "LIRE {v}[{k}]"},
    {"3#{v}#{n}#pasliste", "AFFICHER {v}"},
    {"3#{v}#{n}#{k}", "AFFICHER {v}[{k}]"},
    {"4#{t}#{n}", "AFFICHER &quot;{t}&quot;"},
    {"5#{v}#{e}#pasliste", "{v} PREND_LA_VALEUR {e}"},
    {"5#{v}#{e}#{k}", "{v}[{k}] PREND_LA_VALEUR {e}"},
    {"6#{c}", "SI ({c}) ALORS"},
    {"7#debutsi", "DEBUT_SI"},
    {"8#finsi", "FIN_SI"},
    {"9#sinon", "SINON"},
    {"10#debutsinon", "DEBUT_SINON"},
    {"11#finsinon", "FIN_SINON"},
    {"12#{v}#{a}#{b}", "POUR {v} ALLANT_DE {a} A {b}"},
    {"13#debutpour", "DEBUT_POUR"},
    {"14#finpour", "FIN_POUR"},
    {"15#{c}", "TANT_QUE ({c}) FAIRE"},
    {"16#debuttantque", "DEBUT_TANT_QUE"},
    {"17#fintantque", "FIN_TANT_QUE"},
    {"18#pause", "PAUSE"},
    {"51#{x1}#{y1}#{x2}#{y2}#{colour}", "TRACER_SEGMENT ({x1},{y1})->({x2},{y2})"},
};

// The spelling of the item elements, one row per form in form order.
struct ItemFormat {
  std::string_view elementStart;  // what precedes the first attribute
  bool codeFirst;                 // `code` before `algoitem`
  std::string_view beforeEnd;     // what precedes ">" and "/>"
};

constexpr ItemFormat kItemFormats[] = {
    {"<item ", false, " "},
    {"<item ", false, ""},
    {"<item ", true, ""},
    {"item ", false, ""},
};

constexpr std::string_view kDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";

using Binding = std::pair<std::string_view, std::string_view>;

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    if (end == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

bool IsPlaceholder(std::string_view field) {
  return field.size() >= 2 && field.front() == '{' && field.back() == '}';
}

// Binds the pattern's placeholders to the code value's fields, or returns false on a mismatch.
bool Match(std::string_view pattern, std::string_view code, std::vector<Binding>& bindings) {
  const std::vector<std::string_view> patternFields = SplitAt(pattern, '#');
  const std::vector<std::string_view> codeFields = SplitAt(code, '#');
  if (patternFields.size() != codeFields.size()) return false;
  bindings.clear();
  for (std::size_t i = 0; i < patternFields.size(); ++i) {
    if (IsPlaceholder(patternFields[i])) {
      bindings.emplace_back(patternFields[i].substr(1, patternFields[i].size() - 2), codeFields[i]);
    } else if (patternFields[i] != codeFields[i]) {
      return false;
    }
  }
  return true;
}

// Fills the template in one pass, so a field that itself holds braces is copied unchanged.
std::string Fill(std::string_view readable, const std::vector<Binding>& bindings) {
  std::string line;
  std::size_t pos = 0;
  while (pos < readable.size()) {
    const std::size_t close =
        readable[pos] == '{' ? readable.find('}', pos) : std::string_view::npos;
    if (close == std::string_view::npos) {
      line += readable[pos++];
      continue;
    }
    const std::string_view name = readable.substr(pos + 1, close - pos - 1);
    for (const Binding& binding : bindings) {
      if (binding.first == name) line += binding.second;
    }
    pos = close + 1;
  }
  return line;
}

struct TreeItem {
  std::size_t depth;
  std::string_view code;
};

std::vector<TreeItem> ParseTree(std::string_view tree) {
  std::vector<TreeItem> items;
  for (std::string_view line : SplitAt(tree, '\n')) {
    const std::size_t indent = line.find_first_not_of(' ');
    if (indent == std::string_view::npos) continue;
    if (indent % 2 != 0) {
      throw std::invalid_argument("odd indentation in item tree: " + std::string(line));
    }
    const std::size_t depth = indent / 2;
    const std::size_t allowed = items.empty() ? 0 : items.back().depth + 1;
    if (depth > allowed) {
      throw std::invalid_argument("item indented more than one level: " + std::string(line));
    }
    items.push_back({depth, line.substr(indent)});
  }
  return items;
}

void AppendItemStart(std::string& out, const ItemFormat& format, std::string_view code,
                     std::string_view readable) {
  out += format.elementStart;
  if (format.codeFirst) {
    out.append("code=\"").append(code).append("\" algoitem=\"").append(readable).append("\"");
  } else {
    out.append("algoitem=\"").append(readable).append("\" code=\"").append(code).append("\"");
  }
  out += format.beforeEnd;
}

}  // namespace

std::string ReadableLine(std::string_view code) {
  std::vector<Binding> bindings;
  for (const ReadableLineRule& rule : kReadableLineRules) {
    if (Match(rule.pattern, code, bindings)) return Fill(rule.readable, bindings);
  }
  throw std::invalid_argument("no readable line for code value: " + std::string(code));
}

std::string BuildDocument(const DocumentSource& source) {
  const auto formIndex = static_cast<std::size_t>(source.form) - 1;
  if (formIndex >= std::size(kItemFormats)) throw std::invalid_argument("unknown item form");
  const ItemFormat& format = kItemFormats[formIndex];

  std::string out;
  out += kDeclaration;
  out += "<Algo>";
  for (std::string_view line : SplitAt(source.headerElements, '\n')) {
    if (line.find_first_not_of(' ') != std::string_view::npos) out += line;
  }

  const std::vector<TreeItem> items = ParseTree(source.itemTree);
  std::size_t openItems = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const TreeItem& item = items[i];
    // Leaving a subtree closes every item opened deeper than this one.
    for (; openItems > item.depth; --openItems) out += "</item>";

    std::string readable;
    bool overridden = false;
    for (const ReadableLineOverride& entry : source.overrides) {
      if (entry.code == item.code) {
        readable = entry.readable;
        overridden = true;
        break;
      }
    }
    if (!overridden) readable = ReadableLine(item.code);

    AppendItemStart(out, format, item.code, readable);
    const bool hasChildren = i + 1 < items.size() && items[i + 1].depth > item.depth;
    if (hasChildren) {
      out += ">";
      ++openItems;
    } else {
      out += "/>";
    }
  }
  for (; openItems > 0; --openItems) out += "</item>";
  out += "</Algo>";
  return out;
}

}  // namespace tortuval::examples
