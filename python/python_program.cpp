#include "python/python_program.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>

#include "base/cp1252.h"
#include "python/python_expression.h"
#include "python/python_helpers.h"

namespace tortuval::python {
namespace {

using algorithm::AlgorithmDocument;
using algorithm::Instruction;
using algorithm::Item;

constexpr std::string_view kIndent = "    ";

ValueType DeclaredType(std::string_view type) {
  if (type == "NOMBRE") return ValueType::kNumber;
  if (type == "LISTE") return ValueType::kList;
  return ValueType::kText;  // CHAINE
}

bool AtPosition(std::string_view position) { return !position.empty() && position != "pasliste"; }

// A name the algorithm gives that Python takes as one: letters (accented ones too), digits and
// "_", not starting with a digit.
bool IsName(std::string_view name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name.front()))) return false;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (!std::isalnum(byte) && byte != '_' && byte < 0xC0) return false;
  }
  return true;
}

bool AllNames(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (!IsName(name)) return false;
  }
  return true;
}

std::string NotAName(std::string_view name) {
  return "« " + base::Cp1252ToUtf8(name) + " » n'est pas un nom de variable";
}

// The names an expression field reads (a field that does not read names none).
void NamesRead(std::string_view field, std::set<std::string>& names) {
  const algorithm::ReadExpression read = algorithm::ParseExpression(field);
  if (!read.ok()) return;
  const auto walk = [&names](const auto& self, const algorithm::Expression& e) -> void {
    if (e.kind == algorithm::Expression::Kind::kName) names.insert(e.text);
    for (const algorithm::Expression& operand : e.operands) self(self, operand);
  };
  walk(walk, read.expression);
}

// The variables an item's block assigns (a value, a read, a loop's counter), inside and out.
void NamesAssigned(const std::vector<Item>& items, std::set<std::string>& names) {
  for (const Item& item : items) {
    if (item.Is(Instruction::kAssign) || item.Is(Instruction::kRead) ||
        item.Is(Instruction::kFor)) {
      names.insert(std::string(item.Field(0)));
    }
    NamesAssigned(item.items, names);
  }
}

class ProgramWriter {
 public:
  ProgramWriter(const AlgorithmDocument& document, std::string_view name)
      : document_(document), name_(name) {
    context_.helpers = &helpers_;
    context_.modules = &modules_;
    if (document.f1Active && !document.f1.empty()) context_.functions.insert("F1");
    // F2 and the functions whose names Python cannot take are not written: their calls say so.
    if (document.f2.active && !document.f2.cases.empty() && AllNames(document.f2.parameters)) {
      context_.functions.insert("F2");
    }
    CollectFunctions(document.items);
    draws_ = Draws(document.items);
    IndexReadsInOrder(document.items);
  }

  PythonProgram Write() {
    WriteF1AndF2();
    WalkTop(document_.items);
    // The head goes before what was written: its imports and helpers are known only now.
    std::string head = "# " + base::Cp1252ToUtf8(name_) +
                       " : l'algorithme écrit en Python par Tortuval.\n";
    if (!document_.description.empty()) {
      head += "# " + base::Cp1252ToUtf8(OneLine(document_.description)) + "\n";
    }
    head += "\n";
    std::string helpers = HelperDefinitions(helpers_, modules_);
    if (draws_) {
      modules_.insert("matplotlib.pyplot as plt");
      helpers += FrameFunction();
    }
    if (!modules_.empty()) {
      for (const std::string& module : modules_) head += "import " + module + "\n";
      head += "\n\n";
    }
    head += helpers;
    PythonProgram program;
    for (const char c : head) {
      if (c == '\n') program.algorithmLines.push_back(0);
    }
    program.text = std::move(head);
    for (const auto& [text, line] : lines_) {
      program.text += text;
      program.text += '\n';
      program.algorithmLines.push_back(line);
    }
    program.findings = std::move(findings_);
    return program;
  }

 private:
  // ---- The parts of the document.

  void WalkTop(const std::vector<Item>& items) {
    for (const Item& item : items) {
      switch (static_cast<Instruction>(item.code)) {
        case Instruction::kVariables:
          for (const Item& declaration : item.items) Declare(declaration);
          Blank();
          break;
        case Instruction::kFunctions:
          for (const Item& function : item.items) {
            if (function.Is(Instruction::kFunctionHeader)) Function(function);
          }
          break;
        case Instruction::kAlgorithmStart:
          // A drawing starts in the document's frame, and is shown once the algorithm ends.
          if (draws_) Line("_repere()", item.line);
          Block(item.items, item.line);
          if (draws_) Line("plt.show()", 0);
          break;
        case Instruction::kAlgorithmEnd:
          break;
        default:
          Statement(item);
      }
    }
  }

  void WriteF1AndF2() {
    if (context_.functions.count("F1") != 0) {
      WritingContext inner = ContextWithNumbers({"x"});
      Line("def F1(x):", 0);
      ++indent_;
      Returned(document_.f1, inner, 0);
      --indent_;
      Blank();
    }
    if (context_.functions.count("F2") != 0) {
      const algorithm::CasesFunction& f2 = document_.f2;
      std::string parameters;
      for (const std::string& parameter : f2.parameters) {
        parameters += (parameters.empty() ? "" : ", ") + PythonName(parameter);
      }
      Line("def F2(" + parameters + "):", 0);
      ++indent_;
      const WritingContext inner = ContextWithNumbers(f2.parameters);
      for (const algorithm::CasesFunction::Case& each : f2.cases) {
        const PythonExpression condition = WriteField(each.condition, inner);
        if (!condition.error.empty()) {
          Unwritten("F2 : " + base::Cp1252ToUtf8(each.condition + "@" + each.value),
                    condition.error, 0);
          continue;
        }
        Line("if " + condition.text + ":", 0);
        ++indent_;
        Returned(each.value, inner, 0);
        --indent_;
      }
      if (!f2.otherwise.empty()) Returned(f2.otherwise, inner, 0);
      --indent_;
      Blank();
    }
  }

  static std::vector<std::string> Parameters(const Item& header) {
    std::vector<std::string> parameters;
    std::string_view list = header.Field(1);
    while (!list.empty()) {
      const std::size_t end = std::min(list.find(','), list.size());
      if (end > 0) parameters.emplace_back(list.substr(0, end));
      list.remove_prefix(std::min(end + 1, list.size()));
    }
    return parameters;
  }

  void Function(const Item& header) {
    const std::string name(header.Field(0));
    const std::vector<std::string> parameters = Parameters(header);
    for (const std::string& each : parameters) {
      if (!IsName(each)) return Unwritten(header, NotAName(each));
    }
    if (!IsName(name)) return Unwritten(header, NotAName(name));
    // Its parameters and declared variables are its own; every other name is the algorithm's.
    WritingContext outer = context_;
    context_ = ContextWithNumbers(parameters);
    std::vector<const Item*> declarations;
    for (const Item& part : header.items) {
      if (part.Is(Instruction::kFunctionVariables)) {
        for (const Item& declaration : part.items) {
          declarations.push_back(&declaration);
          context_.variables[std::string(declaration.Field(1))] = DeclaredType(declaration.Field(0));
        }
      }
    }
    std::string signature;
    for (const std::string& parameter : parameters) {
      signature += (signature.empty() ? "" : ", ") + PythonName(parameter);
    }
    Line("def " + PythonName(name) + "(" + signature + "):", header.line);
    ++indent_;
    std::set<std::string> assigned;
    NamesAssigned(header.items, assigned);
    std::string globals;
    for (const std::string& each : assigned) {
      if (context_.variables.count(each) == 0 && outer.variables.count(each) != 0) {
        globals += (globals.empty() ? "" : ", ") + PythonName(each);
      }
    }
    if (!globals.empty()) Line("global " + globals, header.line);
    for (const std::string& each : assigned) {
      if (context_.variables.count(each) == 0) {
        const auto found = outer.variables.find(each);
        if (found != outer.variables.end()) context_.variables.insert(*found);
      }
    }
    for (const auto& [each, type] : outer.variables) context_.variables.insert({each, type});
    for (const Item* declaration : declarations) Declare(*declaration);
    const std::size_t before = lines_.size();
    for (const Item& part : header.items) {
      if (part.Is(Instruction::kFunctionVariables) || part.Is(Instruction::kFunctionStart) ||
          part.Is(Instruction::kFunctionEnd)) {
        continue;
      }
      Statement(part);
    }
    if (!StatementSince(before) && declarations.empty() && globals.empty()) {
      Line("pass", header.line);
    }
    --indent_;
    Blank();
    context_ = std::move(outer);
  }

  // ---- Statements.

  // A block's items (but `skipped`, a SINON written by its SI), at one more indentation.
  void Block(const std::vector<Item>& items, int line, const Item* skipped = nullptr) {
    const std::size_t before = lines_.size();
    for (std::size_t i = 0; i < items.size(); ++i) {
      const Item& item = items[i];
      if (&item == skipped) continue;
      Statement(item);
      // A SINON block follows its SI.
      if (item.Is(Instruction::kIf) && i + 1 < items.size() &&
          items[i + 1].Is(Instruction::kElse)) {
        ++i;
        Line("else:", items[i].line);
        ++indent_;
        Block(items[i].items, items[i].line);
        --indent_;
      }
    }
    if (indent_ > 0 && !StatementSince(before)) Line("pass", line);
  }

  // Whether a line written since `before` is a statement: comments alone make no block.
  bool StatementSince(std::size_t before) const {
    for (std::size_t i = before; i < lines_.size(); ++i) {
      const std::string& text = lines_[i].first;
      const std::size_t start = text.find_first_not_of(' ');
      if (start != std::string::npos && text[start] != '#') return true;
    }
    return false;
  }

  void Statement(const Item& item) {
    switch (static_cast<Instruction>(item.code)) {
      case Instruction::kDeclare:
        Declare(item);
        return;
      case Instruction::kRead:
        Read(item);
        return;
      case Instruction::kShowVariable:
      case Instruction::kShowValue:
        ShowVariable(item);
        return;
      case Instruction::kShowText:
        Print(PythonString(item.Field(0)), item.Field(1) == "1", item.line);
        return;
      case Instruction::kAssign:
        Assign(item);
        return;
      case Instruction::kIf:
        Conditional(item, "if ");
        return;
      case Instruction::kWhile:
        Conditional(item, "while ");
        return;
      case Instruction::kFor:
        Counted(item);
        return;
      case Instruction::kPause:
        Line("input(\"Appuyez sur Entrée pour continuer.\")", item.line);
        return;
      case Instruction::kComment:
        Line("# " + base::Cp1252ToUtf8(OneLine(std::string(item.Field(0)))), item.line);
        return;
      case Instruction::kCallFunction: {
        const PythonExpression call = WriteField(item.Field(0), context_);
        if (!call.error.empty()) return Unwritten(item, call.error);
        Line(call.text, item.line);
        return;
      }
      case Instruction::kFunctionResult:
        Returned(std::string(item.Field(0)), context_, item.line);
        return;
      case Instruction::kIfStart:
      case Instruction::kIfEnd:
      case Instruction::kElseStart:
      case Instruction::kElseEnd:
      case Instruction::kForStart:
      case Instruction::kForEnd:
      case Instruction::kWhileStart:
      case Instruction::kWhileEnd:
      case Instruction::kFunctionStart:
      case Instruction::kFunctionEnd:
        return;  // the block's own marks: Python's indentation says as much
      case Instruction::kDrawSegment:
        return Segment(item);
      case Instruction::kPlotPoint:
        return Point(item);
      case Instruction::kClearDrawing:
        Line("_repere()", item.line);  // a drawing started again, empty
        return;
      case Instruction::kElse:
        // A SINON with no SI before it.
        return Unwritten(item, "« SINON » sans « SI » juste avant");
      default:
        return Unwritten(item, "cette instruction n'est pas encore écrite en Python");
    }
  }

  // ---- The drawing.

  void Segment(const Item& item) {
    std::string ends[4];
    for (std::size_t i = 0; i < 4; ++i) {
      const PythonExpression end = WriteField(item.Field(i), context_);
      if (!end.error.empty()) return Unwritten(item, end.error);
      ends[i] = end.text;
    }
    Line("plt.plot([" + ends[0] + ", " + ends[2] + "], [" + ends[1] + ", " + ends[3] +
             "], color=" + Colour(item.Field(4)) + ")",
         item.line);
  }

  void Point(const Item& item) {
    const PythonExpression x = WriteField(item.Field(0), context_);
    if (!x.error.empty()) return Unwritten(item, x.error);
    const PythonExpression y = WriteField(item.Field(1), context_);
    if (!y.error.empty()) return Unwritten(item, y.error);
    Line("plt.plot(" + x.text + ", " + y.text + ", \"o\", markersize=3, color=" +
             Colour(item.Field(2)) + ")",
         item.line);
  }

  // The editor's colour names in matplotlib's; a colour it does not know draws in black.
  static std::string Colour(std::string_view name) {
    static constexpr std::pair<std::string_view, std::string_view> kColours[] = {
        {"rouge", "red"},       {"bleu", "blue"},      {"vert", "green"},   {"noir", "black"},
        {"blanc", "white"},     {"jaune", "gold"},     {"orange", "orange"}, {"gris", "gray"},
        {"rose", "pink"},       {"violet", "purple"},  {"marron", "brown"}, {"cyan", "cyan"},
        {"magenta", "magenta"},
    };
    std::string key(name);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const auto& [editor, python] : kColours) {
      if (key == editor) return "\"" + std::string(python) + "\"";
    }
    return "\"black\"";
  }

  // The frame the drawing starts in (written with the program's helpers): the document's when
  // it is active — its limits, its graduations, a light grid —, else one fitted to the drawing.
  std::string FrameFunction() const {
    const algorithm::Frame& frame = document_.frame;
    std::string text =
        "def _repere():\n"
        "    \"\"\"Un dessin vide dans le repère du document.\"\"\"\n"
        "    plt.clf()\n"
        "    axes = plt.gca()\n"
        "    axes.grid(True, color=\"#e6e6e6\")\n";
    if (frame.active) {
      // The shortest digits that read back as the value (the page's C++ library has no
      // std::to_chars for doubles).
      const auto number = [](double value) {
        char buffer[40];
        if (value == std::floor(value) && std::fabs(value) < 1e15) {
          std::snprintf(buffer, sizeof buffer, "%.0f", value);
          return std::string(buffer);
        }
        for (int precision = 1; precision <= 17; ++precision) {
          std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
          if (std::strtod(buffer, nullptr) == value) break;
        }
        return std::string(buffer);
      };
      text += "    axes.set_xlim(" + number(frame.xMin) + ", " + number(frame.xMax) + ")\n";
      text += "    axes.set_ylim(" + number(frame.yMin) + ", " + number(frame.yMax) + ")\n";
      const auto ticks = [&number](const char* axis, double from, double to, double step) {
        // Graduations only for a frame that has some, and not too many to write.
        const double steps = (to - from) / step;
        if (!(step > 0) || !(steps >= 0 && steps <= 200)) return std::string();
        return std::string("    axes.set_") + axis + "ticks([" + number(from) + " + k * " +
               number(step) + " for k in range(" +
               std::to_string(static_cast<int>(std::floor(steps + 1e-9)) + 1) + ")])\n";
      };
      text += ticks("x", frame.xMin, frame.xMax, frame.xStep);
      text += ticks("y", frame.yMin, frame.yMax, frame.yStep);
    }
    return text + "\n\n";
  }

  void Module(const char* name) { modules_.insert(name); }

  void Declare(const Item& item) {
    const std::string name(item.Field(1));
    if (!IsName(name)) return Unwritten(item, NotAName(name));
    const ValueType type = DeclaredType(item.Field(0));
    context_.variables[name] = type;
    const char* initial = type == ValueType::kNumber ? "0" : type == ValueType::kList ? "[]" : "\"\"";
    Line(PythonName(name) + " = " + initial, item.line);
  }

  void Read(const Item& item) {
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
  void ShowVariable(const Item& item) {
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

  void Print(const std::string& value, bool lineBreak, int line) {
    Line("print(" + value + (lineBreak ? ")" : ", end=\"\")"), line);
  }

  void Assign(const Item& item) {
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

  void Conditional(const Item& item, std::string_view keyword) {
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
  void Counted(const Item& item) {
    const std::string counter(item.Field(0));
    if (!IsName(counter)) return Unwritten(item, NotAName(counter));
    const PythonExpression from = WriteField(item.Field(1), context_);
    if (!from.error.empty()) return Unwritten(item, from.error);
    const PythonExpression to = WriteField(item.Field(2), context_);
    if (!to.error.empty()) return Unwritten(item, to.error);
    std::set<std::string> assigned;
    NamesAssigned(item.items, assigned);
    const std::string name = PythonName(counter);
    if (assigned.count(counter) == 0 && !ReadAfter(item, counter)) {
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
  static std::string WholeBound(const PythonExpression& bound, int added) {
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

  void Returned(const std::string& field, const WritingContext& context, int line) {
    const PythonExpression value = WriteField(field, context);
    if (!value.error.empty()) {
      return Unwritten("RENVOYER " + base::Cp1252ToUtf8(field), value.error, line);
    }
    Line("return " + value.text, line);
  }

  // ---- Lines and findings.

  void Unwritten(const Item& item, const std::string& why) {
    Unwritten(base::Cp1252ToUtf8(OneLine(item.text)), why, item.line);
  }

  // An item that could not be written: its line kept as a comment, and a finding.
  void Unwritten(const std::string& text, const std::string& why, int line) {
    Line("# À compléter : " + OneLine(text), line);
    findings_.push_back({line, why});
  }

  void Line(const std::string& text, int line) {
    std::string indented;
    for (int i = 0; i < indent_; ++i) indented += kIndent;
    lines_.emplace_back(indented + text, line);
  }

  void Blank() {
    if (!lines_.empty() && !lines_.back().first.empty()) lines_.emplace_back("", 0);
  }

  static std::string OneLine(std::string text) {
    for (char& c : text) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
  }

  WritingContext ContextWithNumbers(const std::vector<std::string>& names) const {
    WritingContext inner;
    inner.functions = context_.functions;
    inner.helpers = context_.helpers;
    inner.modules = context_.modules;
    for (const std::string& name : names) inner.variables[name] = ValueType::kNumber;
    return inner;
  }

  static bool Draws(const std::vector<Item>& items) {
    for (const Item& item : items) {
      if (item.Is(Instruction::kDrawSegment) || item.Is(Instruction::kPlotPoint) ||
          item.Is(Instruction::kClearDrawing) || Draws(item.items)) {
        return true;
      }
    }
    return false;
  }

  void CollectFunctions(const std::vector<Item>& items) {
    for (const Item& item : items) {
      if (item.Is(Instruction::kFunctionHeader) && IsName(item.Field(0)) &&
          AllNames(Parameters(item))) {
        context_.functions.insert(std::string(item.Field(0)));
      }
      CollectFunctions(item.items);
    }
  }

  // Every item in document order, with its depth and the names its fields read.
  struct Reads {
    const Item* item;
    int depth;
    std::set<std::string> names;
  };

  void IndexReadsInOrder(const std::vector<Item>& items, int depth = 0) {
    for (const Item& item : items) {
      std::set<std::string> names;
      for (const std::string_view field : algorithm::ExpressionFields(item)) {
        NamesRead(field, names);
      }
      order_.push_back({&item, depth, std::move(names)});
      IndexReadsInOrder(item.items, depth + 1);
    }
  }

  // Whether an item after the loop's block reads the name before a loop over it or a value
  // given to it at the loop's depth or above sets it again.
  bool ReadAfter(const Item& loop, const std::string& name) const {
    const Item* last = &loop;
    while (!last->items.empty()) last = &last->items.back();
    int loopDepth = -1;
    bool after = false;
    for (const Reads& reads : order_) {
      if (reads.item == &loop) loopDepth = reads.depth;
      if (!after) {
        after = reads.item == last;
        continue;
      }
      if (reads.names.count(name) != 0) return true;
      const bool setsAgain =
          reads.item->Field(0) == name &&
          (reads.item->Is(Instruction::kFor) ||
           (reads.item->Is(Instruction::kAssign) && !AtPosition(reads.item->Field(2))));
      if (setsAgain && reads.depth <= loopDepth) return false;
    }
    return false;
  }

  const AlgorithmDocument& document_;
  std::string name_;
  WritingContext context_;
  std::set<std::string> helpers_;
  std::set<std::string> modules_;
  std::vector<std::pair<std::string, int>> lines_;
  std::vector<PythonFinding> findings_;
  std::vector<Reads> order_;
  int indent_ = 0;
  bool draws_ = false;
};

}  // namespace

PythonProgram WritePython(const AlgorithmDocument& document, std::string_view name) {
  return ProgramWriter(document, name).Write();
}

}  // namespace tortuval::python
