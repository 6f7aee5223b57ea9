// The translators of the statements, one a kind: each writes its item's Python line or lines,
// or leaves the item to complete with its finding.

#include <algorithm>
#include <charconv>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "python/program_writer.h"

namespace tortuval::python {

// ---- The drawing.

void ProgramWriter::Segment(const Item& item) {
  std::string ends[4];
  for (std::size_t i = 0; i < 4; ++i) {
    const PythonExpression end = WriteField(item.Field(i), context_);
    if (!end.error.empty()) return Unwritten(item, end.error);
    ends[i] = end.text;
  }
  // The run works the ends out in the algorithm's order, xA yA xB yB; plt.plot's lists take xB
  // before yA. Where both may draw random numbers or call functions, they are worked out first.
  if (MayDraw(ends[1]) && MayDraw(ends[2])) {
    Line("_xA, _yA, _xB, _yB = " + ends[0] + ", " + ends[1] + ", " + ends[2] + ", " + ends[3],
         item.line);
    ends[0] = "_xA", ends[1] = "_yA", ends[2] = "_xB", ends[3] = "_yB";
  }
  Line("plt.plot([" + ends[0] + ", " + ends[2] + "], [" + ends[1] + ", " + ends[3] +
           "], color=" + MatplotlibColour(item.Field(4)) + ")",
       item.line);
}

void ProgramWriter::Point(const Item& item) {
  const PythonExpression x = WriteField(item.Field(0), context_);
  if (!x.error.empty()) return Unwritten(item, x.error);
  const PythonExpression y = WriteField(item.Field(1), context_);
  if (!y.error.empty()) return Unwritten(item, y.error);
  Line("plt.plot(" + x.text + ", " + y.text + ", \"o\", markersize=3, color=" +
           MatplotlibColour(item.Field(2)) + ")",
       item.line);
}

void ProgramWriter::Declare(const Item& item) {
  const std::string name(item.Field(1));
  if (!IsName(name)) return Unwritten(item, NotAName(name));
  const ValueType type = DeclaredType(item.Field(0));
  // A variable declared again with another type may hold either: its values are then written
  // with the helpers that take any value.
  const auto [declared, first] = context_.variables.try_emplace(name, type);
  if (!first && declared->second != type) declared->second = ValueType::kUnknown;
  context_.firstDeclared.try_emplace(name, type);
  const char* initial = type == ValueType::kNumber ? "0" : type == ValueType::kList ? "[]" : "\"\"";
  Line(PythonName(name) + " = " + initial, item.line);
}

void ProgramWriter::Read(const Item& item) {
  const std::string name(item.Field(0));
  if (!IsName(name)) return Unwritten(item, NotAName(name));
  const ValueType type = FirstDeclared(name);
  const std::string variable = PythonName(name);
  if (AtPosition(item.Field(1)) && type != ValueType::kNumber) {
    const PythonExpression position = WriteField(item.Field(1), context_);
    if (!position.error.empty()) return Unwritten(item, position.error);
    if (type == ValueType::kList) {
      helpers_.insert("_lire_liste");
      Line("_lire_liste(" + variable + ", " + position.text + ")", item.line);
      return;
    }
    // Into a variable that is no list, the run puts the answer's words after as many zeros as
    // positions before this one.
    helpers_.insert("_lire_mots");
    const std::string zeros = WholeBound(position, -1);
    Line(variable + " = " + (zeros == "0" ? "" : "[0] * " + zeros + " + ") + "_lire_mots()",
         item.line);
    return;
  }
  // A number is read whole, a position or not; a text as one word; anything else as a list of
  // the answer's words.
  const char* reader = type == ValueType::kNumber ? "_lire_nombre"
                       : type == ValueType::kText ? "_lire_mot"
                                                  : "_lire_mots";
  helpers_.insert(reader);
  Line(variable + " = " + reader + "()", item.line);
}

// A variable, a list's element, or (AFFICHERCALCUL) any value.
void ProgramWriter::ShowVariable(const Item& item) {
  const PythonExpression shown = WriteField(item.Field(0), context_);
  if (!shown.error.empty()) return Unwritten(item, shown.error);
  std::string value = shown.text;
  if (AtPosition(item.Field(2))) {
    const PythonExpression position = WriteField(item.Field(2), context_);
    if (!position.error.empty()) return Unwritten(item, position.error);
    helpers_.insert("_element");
    value = "_element(" + value + ", " + position.text + ")";
  }
  helpers_.insert("_texte");
  Print("_texte(" + value + ")", item.Field(1) == "1", item.line);
}

void ProgramWriter::Print(const std::string& value, bool lineBreak, int line) {
  Line("print(" + value + (lineBreak ? ")" : ", end=\"\")"), line);
}

void ProgramWriter::Assign(const Item& item) {
  if (!IsName(item.Field(0))) return Unwritten(item, NotAName(item.Field(0)));
  const std::string name = PythonName(item.Field(0));
  // Only a variable first declared a list takes a value at a position; any other takes the
  // value whole, the position aside, as the run does.
  if (!AtPosition(item.Field(2)) || FirstDeclared(item.Field(0)) != ValueType::kList) {
    const PythonExpression value = WriteField(item.Field(1), context_);
    if (!value.error.empty()) return Unwritten(item, value.error);
    Line(name + " = " + value.text, item.line);
    return;
  }
  const PythonExpression position = WriteField(item.Field(2), context_);
  if (!position.error.empty()) return Unwritten(item, position.error);
  // "1:2:3" puts its values at the position and the ones after it.
  const std::string_view field = item.Field(1);
  std::vector<std::string> pieces{std::string(field)};
  if (field.find(':') != std::string_view::npos && field.find('?') == std::string_view::npos) {
    pieces = algorithm::Split(field, ':');
  }
  std::vector<PythonExpression> values;
  for (const std::string& piece : pieces) {
    values.push_back(WriteField(piece, context_));
    if (!values.back().error.empty()) return Unwritten(item, values.back().error);
  }
  helpers_.insert("_ranger");
  for (std::size_t offset = 0; offset < values.size(); ++offset) {
    const PythonExpression& value = values[offset];
    std::string at = position.text;
    if (offset != 0) {
      at = WholeBound(position, static_cast<int>(offset));
      if (at.starts_with("int(")) at = position.text + " + " + std::to_string(offset);
    }
    // The run works the value out before the position.
    std::string stored = value.text;
    if (MayDraw(value.text) && MayDraw(at)) {
      Line("_valeur = " + value.text, item.line);
      stored = "_valeur";
    }
    Line("_ranger(" + name + ", " + at + ", " + stored + ")", item.line);
  }
}

void ProgramWriter::Conditional(const Item& item, std::string_view keyword) {
  const PythonExpression condition = WriteField(item.Field(0), context_);
  if (!condition.error.empty()) return Unwritten(item, condition.error);
  Line(std::string(keyword) + condition.text + ":", item.line);
  // The editor writes a SINON inside its SI's block, right after the FIN_SI that ends it (a
  // SINON right after a SI in the same block is that SI's, written by Block).
  const Item* otherwise = nullptr;
  for (std::size_t i = 1; i < item.items.size(); ++i) {
    if (item.Is(Instruction::kIf) && item.items[i].Is(Instruction::kElse) &&
        item.items[i - 1].Is(Instruction::kIfEnd)) {
      otherwise = &item.items[i];
      break;
    }
  }
  ++indent_;
  Block(item.items, item.line, otherwise);
  --indent_;
  if (otherwise != nullptr) {
    Line("else:", otherwise->line);
    ++indent_;
    Block(otherwise->items, otherwise->line);
    --indent_;
  }
}

// POUR: a "for" over a range when the body leaves the counter alone and nothing reads it
// after the loop; otherwise a loop that leaves it as the algorithm's loop does (one past the
// end).
void ProgramWriter::Counted(const Item& item) {
  const std::string counter(item.Field(0));
  if (!IsName(counter)) return Unwritten(item, NotAName(counter));
  const PythonExpression from = WriteField(item.Field(1), context_);
  if (!from.error.empty()) return Unwritten(item, from.error);
  const PythonExpression to = WriteField(item.Field(2), context_);
  if (!to.error.empty()) return Unwritten(item, to.error);
  std::set<std::string> assigned;
  NamesAssigned(item.items, assigned);
  const std::string name = PythonName(counter);
  if (assigned.count(counter) == 0 && !laterReads_.ReadAfter(item, counter)) {
    Line("for " + name + " in range(" + WholeBound(from, 0) + ", " + WholeBound(to, 1) + "):",
         item.line);
  } else {
    Line(name + " = " + from.text, item.line);
    // The loop's end is worked out once, at its start: kept apart when the body changes it.
    std::string end = to.text;
    std::set<std::string> endNames;
    NamesRead(item.Field(2), endNames);
    const bool endChanges = std::any_of(endNames.begin(), endNames.end(), [&](const auto& each) {
      return assigned.count(each) != 0;
    });
    if (endChanges) {
      end = "_fin_" + name;
      Line(end + " = " + to.text, item.line);
    }
    if (assigned.count(counter) == 0) {
      Line("while " + name + " <= " + end + ":", item.line);
      ++indent_;
      Block(item.items, item.line);
      Line(name + " = " + name + " + 1", item.line);
      --indent_;
      return;
    }
    // The body moves the counter too: the loop makes at most its passes, counted at its
    // start, and ends once the counter is past its end.
    Module("math");
    Line("for _passage in range(math.floor(" + end + " - " + name + " + 1)):", item.line);
    ++indent_;
    Block(item.items, item.line);
    Line(name + " = " + name + " + 1", item.line);
    Line("if " + name + " > " + end + ":", item.line);
    Line(std::string(kIndent) + "break", item.line);
    --indent_;
    return;
  }
  ++indent_;
  Block(item.items, item.line);
  --indent_;
}

// Whether working a value out may draw a random number or call one of the document's
// functions (which may draw, write or change the algorithm's variables): then the order in which
// two such values are worked out shows.
bool ProgramWriter::MayDraw(const std::string& text) const {
  if (text.find("random.") != std::string::npos) return true;
  return std::any_of(context_.functions.begin(), context_.functions.end(),
                     [&](const std::string& name) {
                       return text.find(PythonName(name) + "(") != std::string::npos;
                     });
}

// A bound of range(): a whole number as written, or the value made whole.
std::string ProgramWriter::WholeBound(const PythonExpression& bound, int added) {
  long long value = 0;
  const char* end = bound.text.data() + bound.text.size();
  const auto [stop, error] = std::from_chars(bound.text.data(), end, value);
  // A whole number as written, when it is not too long for the sum to be worked out here.
  if (error == std::errc() && stop == end && !bound.text.empty() && bound.text[0] != '-' &&
      value < (1LL << 62)) {
    return std::to_string(value + added);
  }
  const std::string sum = added > 0 ? " + " + std::to_string(added)
                          : added < 0 ? " - " + std::to_string(-added)
                                      : "";
  return "int(" + bound.text + ")" + sum;
}

void ProgramWriter::Returned(const std::string& field, const WritingContext& context, int line) {
  const PythonExpression value = WriteField(field, context);
  if (!value.error.empty()) {
    return Unwritten("RENVOYER " + base::Cp1252ToUtf8(field), value.error, line);
  }
  Line("return " + value.text, line);
}

}  // namespace tortuval::python
