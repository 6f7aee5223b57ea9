#pragma once
// The writer of a document's algorithm in Python, within python/: what it writes, line by line
// with the algorithm's lines, the helpers and modules it needs, its findings. The document's
// parts are written here; each statement kind by its translator in python_statements.cpp.

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "algorithm/document_tree.h"
#include "base/cp1252.h"
#include "python/python_drawing.h"
#include "python/python_expression.h"
#include "python/python_helpers.h"
#include "python/python_names.h"
#include "python/python_program.h"

namespace tortuval::python {

inline constexpr std::string_view kIndent = "    ";

class ProgramWriter {
 public:
  using AlgorithmDocument = algorithm::AlgorithmDocument;
  using Instruction = algorithm::Instruction;
  using Item = algorithm::Item;


  ProgramWriter(const AlgorithmDocument& document, std::string_view name)
      : document_(document), name_(name), laterReads_(document.items) {
    context_.helpers = &helpers_;
    context_.modules = &modules_;
    if (document.f1Active && !document.f1.empty()) context_.functions.insert("F1");
    // F2 and the functions whose names Python cannot take are not written: their calls say so.
    if (document.f2.active && !document.f2.cases.empty() && AllNames(document.f2.parameters)) {
      context_.functions.insert("F2");
    }
    CollectFunctions(document.items);
    draws_ = Draws(document.items);
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
      helpers += FrameFunction(document_.frame);
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

  void Function(const Item& header) {
    const std::string name(header.Field(0));
    const std::vector<std::string> parameters = FunctionParameters(header);
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
          context_.firstDeclared.try_emplace(std::string(declaration.Field(1)),
                                             DeclaredType(declaration.Field(0)));
        }
      }
    }
    context_.firstDeclared.insert(outer.firstDeclared.begin(), outer.firstDeclared.end());
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

  void Module(const char* name) { modules_.insert(name); }

  // ---- Statements, one translator a kind (python_statements.cpp).

  void Segment(const Item& item);
  void Point(const Item& item);
  void Declare(const Item& item);
  void Read(const Item& item);
  void ShowVariable(const Item& item);
  void Print(const std::string& value, bool lineBreak, int line);
  void Assign(const Item& item);
  void Conditional(const Item& item, std::string_view keyword);
  void Counted(const Item& item);
  static std::string WholeBound(const PythonExpression& bound, int added);
  bool MayDraw(const std::string& text) const;
  ValueType FirstDeclared(std::string_view name) const {
    const auto found = context_.firstDeclared.find(std::string(name));
    return found == context_.firstDeclared.end() ? ValueType::kUnknown : found->second;
  }
  void Returned(const std::string& field, const WritingContext& context, int line);

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

  void CollectFunctions(const std::vector<Item>& items) {
    for (const Item& item : items) {
      if (item.Is(Instruction::kFunctionHeader) && IsName(item.Field(0)) &&
          AllNames(FunctionParameters(item))) {
        context_.functions.insert(std::string(item.Field(0)));
      }
      CollectFunctions(item.items);
    }
  }

  const AlgorithmDocument& document_;
  std::string name_;
  WritingContext context_;
  std::set<std::string> helpers_;
  std::set<std::string> modules_;
  std::vector<std::pair<std::string, int>> lines_;
  std::vector<PythonFinding> findings_;
  LaterReads laterReads_;
  int indent_ = 0;
  bool draws_ = false;
};

}  // namespace tortuval::python
