// The translators of the statements, one a kind: each writes its item's Python line or lines,
// or leaves the item to complete with its finding.

#include <charconv>
#include <set>
#include <string>

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
  context_.variables[name] = type;
  const char* initial = type == ValueType::kNumber ? "0" : type == ValueType::kList ? "[]" : "\"\"";
  Line(PythonName(name) + " = " + initial, item.line);
}

void ProgramWriter::Read(const Item& item) {
  const std::string name(item.Field(0));
  if (!IsName(name)) return Unwritten(item, NotAName(name));
  const auto found = context_.variables.find(name);
  const ValueType type = found == context_.variables.end() ? ValueType::kUnknown : found->second;
  if (AtPosition(item.Field(1))) {
    if (type != ValueType::kList) {
      return Unwritten(item, "une lecture à une position ne se fait que dans une liste");
    }
    const PythonExpression position = WriteField(item.Field(1), context_);
    if (!position.error.empty()) return Unwritten(item, position.error);
    helpers_.insert("_lire_liste");
    Line("_lire_liste(" + PythonName(name) + ", " + position.text + ")", item.line);
    return;
  }
  const char* reader = type == ValueType::kNumber ? "_lire_nombre" : "_lire_mot";
  if (type != ValueType::kNumber && type != ValueType::kText) {
    return Unwritten(item, "la lecture d'une liste n'est pas encore écrite en Python");
  }
  helpers_.insert(reader);
  Line(PythonName(name) + " = " + reader + "()", item.line);
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
  const PythonExpression value = WriteField(item.Field(1), context_);
  if (!value.error.empty()) return Unwritten(item, value.error);
  if (!IsName(item.Field(0))) return Unwritten(item, NotAName(item.Field(0)));
  const std::string name = PythonName(item.Field(0));
  if (AtPosition(item.Field(2))) {
    const PythonExpression position = WriteField(item.Field(2), context_);
    if (!position.error.empty()) return Unwritten(item, position.error);
    helpers_.insert("_ranger");
    Line("_ranger(" + name + ", " + position.text + ", " + value.text + ")", item.line);
    return;
  }
  Line(name + " = " + value.text, item.line);
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
    std::set<std::string> endNames;
    NamesRead(item.Field(2), endNames);
    for (const std::string& each : endNames) {
      if (assigned.count(each) != 0) {
        return Unwritten(item, "la fin de cette boucle change dans la boucle elle-même");
      }
    }
    Line(name + " = " + from.text, item.line);
    if (assigned.count(counter) == 0) {
      Line("while " + name + " <= " + to.text + ":", item.line);
      ++indent_;
      Block(item.items, item.line);
      Line(name + " = " + name + " + 1", item.line);
      --indent_;
      return;
    }
    // The body moves the counter too: the loop makes at most its passes, counted at its
    // start, and ends once the counter is past its end.
    Module("math");
    Line("for _passage in range(math.floor(" + to.text + " - " + name + " + 1)):", item.line);
    ++indent_;
    Block(item.items, item.line);
    Line(name + " = " + name + " + 1", item.line);
    Line("if " + name + " > " + to.text + ":", item.line);
    Line(std::string(kIndent) + "break", item.line);
    --indent_;
    return;
  }
  ++indent_;
  Block(item.items, item.line);
  --indent_;
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
  return "int(" + bound.text + ")" + (added != 0 ? " + " + std::to_string(added) : "");
}

void ProgramWriter::Returned(const std::string& field, const WritingContext& context, int line) {
  const PythonExpression value = WriteField(field, context);
  if (!value.error.empty()) {
    return Unwritten("RENVOYER " + base::Cp1252ToUtf8(field), value.error, line);
  }
  Line("return " + value.text, line);
}

}  // namespace tortuval::python
