#pragma once
// A LOGO program parsed for running: instructions and expressions as a tree whose primitives
// and variables are resolved (variables to slots), so that running looks nothing up by name.

#include <string>
#include <vector>

#include "run/value.h"

namespace tortuval::run {

class Machine;
struct Builtin;

/// What a node does. Expressions come first, then instructions.
enum class Op : unsigned char {
  // Expressions.
  kConstant,  ///< value
  kNumber,    ///< number
  kVariable,  ///< the variable at slot (local or global)
  kNegate,
  kAdd,
  kSubtract,
  kMultiply,
  kDivide,
  kRemainder,  ///< "%"
  kQuotient,   ///< "div"
  kPower,      ///< "^"
  kEqual,
  kNotEqual,
  kLess,
  kGreater,
  kLessEqual,
  kGreaterEqual,
  kAnd,
  kOr,
  kMath,       ///< builtin->math on one number
  kPrimitive,  ///< builtin->function on the values of the kids
  kItem,       ///< item: kids list and position; flag: bracketed position, counted from 0
  kPointList,  ///< a bracketed list whose items are expressions, evaluated
  kRepCount,   ///< "boucle": the pass of the innermost répète
  kCall,       ///< the user procedure numbered slot, with the kids as inputs
  kFailure,    ///< a text that cannot be run: value holds the message, raised when reached
  // Instructions.
  kBlock,         ///< the kids in order
  kDefine,        ///< DEFINIS: the variable gets the empty value of type number
  kAssign,        ///< SOIT: the variable gets kids[0]
  kPrint,         ///< ECRIS, ECRISLIGNE (flag: ends the line)
  kPrompt,        ///< ECL: the prompt of the next read
  kPromptEnd,     ///< EFFL
  kClearText,     ///< EFFACETEXTE
  kReplace,       ///< remplace: kids value and position (flag as kItem) in the variable
  kWhile,         ///< TANT QUE kids[0] kids[1]
  kTest,          ///< TESTE
  kIfTrue,        ///< SIVRAI
  kIfFalse,       ///< SIFAUX
  kIf,            ///< si kids[0] kids[1]
  kRepeat,        ///< REPETE kids[0] kids[1]; flag: a counted loop of the variable at slot
  kStep,          ///< INC (number 1), DEC (number -1) on the variable
  kSegment,       ///< SEGMENT3D
  kPlot,          ///< PLOT
  kStartDrawing,  ///< initgraph
  kShowDrawing,   ///< grapheur
  kReturn,        ///< rends, REPONDRE
};

/// One node of the tree.
struct Node {
  Op op = Op::kConstant;
  bool flag = false;
  bool local = false;  ///< a variable's slot is in the procedure's frame, else a global
  int line = 0;
  int slot = 0;
  double number = 0;
  Value value;
  const Builtin* builtin = nullptr;
  std::vector<Node> kids;
};

/// A user procedure: its inputs are its first locals.
struct ProcedureCode {
  std::string name;
  int inputCount = 0;
  int localCount = 0;
  std::vector<std::string> localNames;
  Node body;
};

/// The whole program, ready to run.
struct Code {
  std::vector<ProcedureCode> procedures;
  std::vector<std::string> globalNames;
  Node main;
};

/// A primitive that computes a value from its inputs (count of them at `inputs`).
using PrimitiveFunction = Value (*)(Machine& machine, Value* inputs, int count);
/// A primitive of one number; it may stop the run through the machine.
using MathFunction = double (*)(Machine& machine, double x);

/// One primitive of the dialect and how its inputs are read. Shape letters: v a value; g a
/// value, or when written "( … )" that group alone; t a text list or a value; r an instruction
/// list or one instruction; i and b a bracketed expression or a value; p a point list; n a
/// quoted name; c and l a variable written ":name"; k a type word; s a sort order list.
struct Builtin {
  std::string_view name;
  std::string_view shapes;
  Op op;
  PrimitiveFunction function = nullptr;
  MathFunction math = nullptr;
  int maxInputs = -1;  ///< more inputs allowed in "( … )"; -1: as many as shapes
};

/// The primitive named by a word's key (capitals, Windows-1252), or null.
const Builtin* FindBuiltin(std::string_view key);

}  // namespace tortuval::run
