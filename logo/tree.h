#pragma once
// A LOGO program read into a tree: its instructions and expressions with their places, its
// procedures, its variables resolved to slots. The check walks this tree; the runtime runs it.

#include <cstdint>
#include <string>
#include <vector>

namespace tortuval::logo {

/// What a node does. Expressions come first, then instructions.
enum class Op : std::uint8_t {
  // Expressions.
  kConstant,  ///< a word (text), or with flag a list written in the program (its kids)
  kNumber,    ///< number
  kTruth,     ///< vrai (number 1) or faux (number 0)
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
  kMath,       ///< `operation` on one number
  kPrimitive,  ///< `operation` on the values of the kids
  kItem,       ///< item: kids list and position; flag: bracketed position, counted from 0
  kPointList,  ///< a bracketed list whose items are expressions, evaluated
  kRepCount,   ///< "boucle": the pass of the innermost répète
  kCall,       ///< the user procedure numbered slot, with the kids as inputs
  kFailure,    ///< a text that cannot be run: text holds the message, raised when reached
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

/// What the runtime computes for an Op::kPrimitive or Op::kMath node.
enum class Operation : std::uint8_t {
  kNone,
  // Values from values (Op::kPrimitive).
  kReadNumber,
  kReadList,
  kSentence,
  kSpacedNumbers,
  kNot,
  kKeyPressed,
  kCount,
  kFirst,
  kLast,
  kButFirst,
  kSplit,
  kJoin,
  kToWord,
  kCharacter,
  kSum,
  kProduct,
  kVariance,
  kDeviation,
  kSortItems,
  kRaise,
  kRandomReal,
  kRandomWhole,
  // Numbers from one number (Op::kMath).
  kFloor,
  kRound,
  kAbs,
  kSqrt,
  kExp,
  kLog,
  kCos,
  kSin,
  kTan,
  kArccos,
  kArcsin,
  kArctan,
};

/// The converter's leftovers that run here under a reading of their own (leftovers.h); the
/// check reports each for a hand's fix.
enum class Leftover : std::uint8_t {
  kNone,
  kWordLength,     ///< ":mot.length", read as "card :mot"
  kFactorial,      ///< PSEUDAL_FACTORIELLE without its procedure, read as "fact"
  kSplitExponent,  ///< "1e - 8", read as 1e-8
  kSpacedSign,     ///< "[ 3 - 4  0 ]", read as the point (3, -4, 0)
  kSpacedString,   ///< "\"deux mots \"", read as one word
  kLoopLeftEarly,  ///< a counted loop whose body moves its counter past its end
};

/// One node of the tree.
struct Node {
  Op op = Op::kConstant;
  Operation operation = Operation::kNone;
  Leftover leftover = Leftover::kNone;
  bool flag = false;
  bool local = false;  ///< a variable's slot is in the procedure's frame, else a global
  int line = 0;        ///< from 1
  int column = 0;      ///< from 1, in bytes
  int slot = 0;        ///< a variable's slot, a procedure's number, a constant's (runtime)
  double number = 0;
  std::string text;  ///< a constant word; a failure's message (Windows-1252)
  std::vector<Node> kids;
};

/// A user procedure: its inputs are its first locals.
struct Procedure {
  std::string name;
  int line = 0;  ///< of its POUR
  int inputCount = 0;
  int localCount = 0;
  std::vector<std::string> localNames;
  Node body;
  std::uint32_t firstToken = 0;  ///< its POUR
  std::uint32_t endToken = 0;    ///< its FIN, or the token count
  bool closed = false;           ///< a FIN line ends it
};

/// The whole program.
struct Program {
  std::vector<Procedure> procedures;
  std::vector<std::string> globalNames;
  Node main;
};

}  // namespace tortuval::logo
