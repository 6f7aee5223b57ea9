#include "algorithm/document_tree.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <utility>

#include "base/cp1252.h"

namespace tortuval::algorithm {
namespace {

// One attribute of a tag, its value as written (entities not yet decoded).
struct Attribute {
  std::string_view name;
  std::string_view value;
};

// One tag of the document: <name …>, <name …/> or </name>.
struct Tag {
  std::string_view name;
  std::vector<Attribute> attributes;
  bool closing = false;      // </name>
  bool selfClosing = false;  // <name … />

  std::string_view Value(std::string_view attribute) const {
    for (const Attribute& each : attributes) {
      if (each.name == attribute) return each.value;
    }
    return {};
  }
};

bool IsNameByte(char c) {
  return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '=' && c != '>' && c != '/' &&
         c != '<' && c != '"' && c != '\'';
}

// Reads the tags of the document one after another; text between them, comments and the
// declaration are passed over. Attribute values are quoted with " or '; a ">" inside one does
// not end the tag (the editor writes "w>=0" as it stands).
class TagReader {
 public:
  explicit TagReader(std::string_view text) : text_(text) {}

  bool Next(Tag& tag) {
    while (true) {
      // Some stored documents lost the "<" of their items (one of the examples has): an item
      // right behind a tag's end is read all the same, as the listing reads it.
      if (text_.substr(at_, 5) == "item ") {
        tag = Tag{};
        tag.name = ReadName();
        ReadAttributes(tag);
        return true;
      }
      const std::size_t open = text_.find('<', at_);
      if (open == std::string_view::npos) return false;
      at_ = open + 1;
      if (text_.substr(at_, 3) == "!--") {
        const std::size_t end = text_.find("-->", at_);
        at_ = end == std::string_view::npos ? text_.size() : end + 3;
        continue;
      }
      if (at_ < text_.size() && (text_[at_] == '?' || text_[at_] == '!')) {
        const std::size_t end = text_.find('>', at_);
        at_ = end == std::string_view::npos ? text_.size() : end + 1;
        continue;
      }
      tag = Tag{};
      if (at_ < text_.size() && text_[at_] == '/') {
        tag.closing = true;
        ++at_;
      }
      tag.name = ReadName();
      if (tag.name.empty()) continue;
      ReadAttributes(tag);
      return true;
    }
  }

 private:
  std::string_view ReadName() {
    const std::size_t start = at_;
    while (at_ < text_.size() && IsNameByte(text_[at_])) ++at_;
    return text_.substr(start, at_ - start);
  }

  void SkipSpace() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n')) {
      ++at_;
    }
  }

  void ReadAttributes(Tag& tag) {
    while (true) {
      SkipSpace();
      if (at_ >= text_.size()) return;
      if (text_[at_] == '>') {
        ++at_;
        return;
      }
      if (text_[at_] == '/') {
        tag.selfClosing = true;
        ++at_;
        continue;
      }
      const std::string_view name = ReadName();
      if (name.empty()) {  // a stray byte: passed over
        ++at_;
        continue;
      }
      SkipSpace();
      std::string_view value;
      if (at_ < text_.size() && text_[at_] == '=') {
        ++at_;
        SkipSpace();
        if (at_ < text_.size() && (text_[at_] == '"' || text_[at_] == '\'')) {
          const char quote = text_[at_++];
          std::size_t end = text_.find(quote, at_);
          if (end == std::string_view::npos) end = text_.size();
          value = text_.substr(at_, end - at_);
          at_ = std::min(end + 1, text_.size());
        } else {
          value = ReadName();
        }
      }
      tag.attributes.push_back({name, value});
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

// An attribute's value with its entities decoded: the named five and character references,
// written in Windows-1252 (a character it has no byte for becomes "?").
std::string Decoded(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '&') {
      out += value[i];
      continue;
    }
    const std::size_t end = value.find(';', i);
    if (end == std::string_view::npos || end - i > 10) {
      out += '&';
      continue;
    }
    const std::string_view entity = value.substr(i + 1, end - i - 1);
    char32_t codePoint = 0;
    if (entity == "quot") {
      codePoint = '"';
    } else if (entity == "lt") {
      codePoint = '<';
    } else if (entity == "gt") {
      codePoint = '>';
    } else if (entity == "amp") {
      codePoint = '&';
    } else if (entity == "apos") {
      codePoint = '\'';
    } else if (entity.size() > 1 && entity[0] == '#') {
      const bool hex = entity[1] == 'x' || entity[1] == 'X';
      const std::string_view digits = entity.substr(hex ? 2 : 1);
      std::uint32_t number = 0;
      const auto [end_of_number, error] =
          std::from_chars(digits.data(), digits.data() + digits.size(), number, hex ? 16 : 10);
      if (error != std::errc() || end_of_number != digits.data() + digits.size()) {
        out += '&';
        continue;
      }
      codePoint = number;
    } else {
      out += '&';
      continue;
    }
    const int byte = base::CodePointToCp1252(codePoint);
    out += byte < 0 ? '?' : static_cast<char>(byte);
    i = end;
  }
  return out;
}

double NumberOr(std::string_view text, double otherwise) {
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  // A frame's numbers are finite: "inf" or "nan", which strtod reads, are none.
  return end != copy.c_str() && *end == '\0' && std::isfinite(value) ? value : otherwise;
}

// The item's instruction number and fields, from its code attribute ("5#R#A%B#pasliste").
void ReadCode(const std::string& code, Item& item) {
  std::vector<std::string> parts = Split(code, '#');
  const std::string& number = parts.front();
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(),
                                            item.code);
  if (error != std::errc() || end != number.data() + number.size()) item.code = 0;
  item.fields.assign(std::make_move_iterator(parts.begin() + 1),
                     std::make_move_iterator(parts.end()));
}

// Lines a listing entry takes: its own and one more for each line break written in it.
int ListingLines(std::string_view rawValue) {
  return 1 + static_cast<int>(std::count(rawValue.begin(), rawValue.end(), '\n'));
}

void ReadCases(const Tag& tag, CasesFunction& f2) {
  f2.active = tag.Value("F2etat") == "actif";
  const std::string parameters = Decoded(tag.Value("F2para"));
  if (!parameters.empty()) f2.parameters = Split(parameters, ',');
  const std::string lines = Decoded(tag.Value("F2lignes"));
  // Each case is "condition@value#"; the editor ends every one with "#".
  std::size_t start = 0;
  while (start < lines.size()) {
    std::size_t end = lines.find('#', start);
    if (end == std::string::npos) end = lines.size();
    const std::string_view line = std::string_view(lines).substr(start, end - start);
    const std::size_t at = line.find('@');
    if (at == std::string_view::npos) {
      f2.cases.push_back({std::string(), std::string(line)});
    } else {
      f2.cases.push_back({std::string(line.substr(0, at)), std::string(line.substr(at + 1))});
    }
    start = end + 1;
  }
  f2.otherwise = Decoded(tag.Value("F2defaut"));
}

void ReadFrame(const Tag& tag, Frame& frame) {
  frame.active = tag.Value("repetat") == "actif";
  const std::vector<std::string> numbers = Split(Decoded(tag.Value("repcode")), '#');
  double* const fields[] = {&frame.xMin, &frame.xMax, &frame.yMin, &frame.yMax, &frame.xStep,
                            &frame.yStep};
  for (std::size_t i = 0; i < std::size(fields) && i < numbers.size(); ++i) {
    *fields[i] = NumberOr(numbers[i], *fields[i]);
  }
}

// A block's marks: the item that opens it, then its start and end marks.
struct BlockMarks {
  Instruction opener, start, end;
};
constexpr BlockMarks kBlockMarks[] = {
    {Instruction::kIf, Instruction::kIfStart, Instruction::kIfEnd},
    {Instruction::kElse, Instruction::kElseStart, Instruction::kElseEnd},
    {Instruction::kFor, Instruction::kForStart, Instruction::kForEnd},
    {Instruction::kWhile, Instruction::kWhileStart, Instruction::kWhileEnd},
};

// Some documents write every item self-closing, a block's items following its opening item
// between its start and end marks (DEBUT_POUR … FIN_POUR): they are moved into it, as the
// editor nests them.
void NestFlatBlocks(std::vector<Item>& items) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    Item& item = items[i];
    for (const BlockMarks& marks : kBlockMarks) {
      if (!item.Is(marks.opener) || !item.items.empty() || i + 1 >= items.size() ||
          !items[i + 1].Is(marks.start)) {
        continue;
      }
      // Up to the end mark that closes this start mark.
      std::size_t end = i + 1;
      for (int depth = 0; end < items.size(); ++end) {
        if (items[end].Is(marks.start)) ++depth;
        if (items[end].Is(marks.end) && --depth == 0) break;
      }
      const std::size_t last = std::min(end, items.size() - 1);
      std::move(items.begin() + static_cast<std::ptrdiff_t>(i + 1),
                items.begin() + static_cast<std::ptrdiff_t>(last + 1),
                std::back_inserter(item.items));
      items.erase(items.begin() + static_cast<std::ptrdiff_t>(i + 1),
                  items.begin() + static_cast<std::ptrdiff_t>(last + 1));
      break;
    }
    NestFlatBlocks(items[i].items);
  }
}

}  // namespace

std::string_view Item::Field(std::size_t index) const {
  return index < fields.size() ? std::string_view(fields[index]) : std::string_view();
}

namespace {

// The fields each instruction holds expressions in, by index.
std::span<const std::size_t> ExpressionIndexes(int code) {
  static constexpr std::size_t kValueAndPosition[] = {1, 2};
  static constexpr std::size_t kFirst[] = {0};
  static constexpr std::size_t kShown[] = {0, 2};
  static constexpr std::size_t kSecond[] = {1};
  static constexpr std::size_t kPoint[] = {0, 1};
  static constexpr std::size_t kSegment[] = {0, 1, 2, 3};
  switch (static_cast<Instruction>(code)) {
    case Instruction::kAssign:  // value, list position
    case Instruction::kFor:     // from, to
      return kValueAndPosition;
    case Instruction::kIf:
    case Instruction::kWhile:
    case Instruction::kFunctionResult:
    case Instruction::kCallFunction:
      return kFirst;
    case Instruction::kShowVariable:  // a variable or any value, a list position
    case Instruction::kShowValue:
      return kShown;
    case Instruction::kRead:  // list position
      return kSecond;
    case Instruction::kPlotPoint:
      return kPoint;
    case Instruction::kDrawSegment:
      return kSegment;
    default:
      return {};
  }
}

}  // namespace

std::vector<std::string_view> ExpressionFields(const Item& item) {
  std::vector<std::string_view> fields;
  for (const std::size_t index : ExpressionIndexes(item.code)) {
    const std::string_view field = item.Field(index);
    if (!field.empty() && field != "pasliste") fields.push_back(field);
  }
  return fields;
}

AlgorithmDocument ReadAlgorithmDocument(std::string_view document) {
  AlgorithmDocument read;
  // The items whose blocks are open, innermost last; the top level is `read.items`.
  std::vector<std::vector<Item>*> open{&read.items};
  int line = 1;
  TagReader tags(document);
  Tag tag;
  while (tags.Next(tag)) {
    if (tag.name == "item") {
      if (tag.closing) {
        if (open.size() > 1) open.pop_back();
        continue;
      }
      Item item;
      ReadCode(Decoded(tag.Value("code")), item);
      const std::string_view text = tag.Value("algoitem");
      item.text = Decoded(text);
      item.line = line;
      line += ListingLines(text);
      open.back()->push_back(std::move(item));
      if (!tag.selfClosing) open.push_back(&open.back()->back().items);
    } else if (tag.closing) {
      continue;
    } else if (tag.name == "description") {
      const std::string_view text = tag.Value("texte");
      read.description = Decoded(text);
      // The listing shows the description only where its text is its first attribute.
      if (!tag.attributes.empty() && tag.attributes.front().name == "texte") {
        read.descriptionLine = line;
        line += ListingLines(text);
      }
    } else if (tag.name == "fonction") {
      read.f1Active = tag.Value("fctetat") == "actif";
      read.f1 = Decoded(tag.Value("fctcode"));
    } else if (tag.name == "F2") {
      ReadCases(tag, read.f2);
    } else if (tag.name == "repere") {
      ReadFrame(tag, read.frame);
    }
  }
  NestFlatBlocks(read.items);
  return read;
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

}  // namespace tortuval::algorithm
