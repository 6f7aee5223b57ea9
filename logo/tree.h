#pragma once
// A LOGO program read into a tree: its instructions and expressions with their places, its
// procedures, its variables resolved to slots. The check walks this tree; the runtime runs it.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tortuval::logo {

/// What a node does. Expressions come first, then instructions.
enum class Op : std::uint8_t {
  // Expressions.
  kConstant,  ///< a word (text), or a list written in the program (isList, its kids)
  kNumber,    ///< number
  kTruth,     ///< vrai or faux (truth)
  kVariable,  ///< the variable (local or global)
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
  kItem,       ///< item: kids list and position (counted as `position` says)
  kPointList,  ///< a bracketed list whose items are expressions, evaluated
  kRepCount,   ///< "boucle": the pass of the innermost répète
  kCall,       ///< the user procedure `procedure`, with the kids as inputs
  kFailure,    ///< a text that cannot be run: text holds the message, raised when reached
  // Instructions.
  kBlock,         ///< the kids in order
  kDefine,        ///< DEFINIS: the variable gets the empty value of its declaredType
  kAssign,        ///< SOIT: the variable gets kids[0]
  kPrint,         ///< ECRIS, ECRISLIGNE (endsLine)
  kPrompt,        ///< ECL: the prompt of the next read
  kPromptEnd,     ///< EFFL
  kClearText,     ///< EFFACETEXTE
  kReplace,       ///< remplace: kids value and position (as kItem) in the variable
  kWhile,         ///< TANT QUE kids[0] kids[1]
  kTest,          ///< TESTE
  kIfTrue,        ///< SIVRAI
  kIfFalse,       ///< SIFAUX
  kIf,            ///< si kids[0] kids[1]
  kRepeat,        ///< REPETE kids[0] kids[1]; maybe a counted loop (countedLoop)
  kStep,          ///< INC, DEC on the variable (step)
  kSegment,       ///< SEGMENT3D
  kPlot,          ///< PLOT
  kStartDrawing,  ///< initgraph
  kShowDrawing,   ///< grapheur
  kReturn,        ///< rends, REPONDRE
};

// The reader, the check and the runtime rely on these ranges of Op: expressions before
// instructions, and the arithmetic that always gives a number in one run of values.
inline constexpr Op kFirstInstruction = Op::kBlock;
inline constexpr Op kLastOp = Op::kReturn;
static_assert(Op::kFailure < kFirstInstruction && kFirstInstruction <= kLastOp,
              "the expressions come first, then the instructions");
static_assert(Op::kNegate < Op::kAdd && Op::kAdd < Op::kSubtract &&
                  Op::kSubtract < Op::kMultiply && Op::kMultiply < Op::kDivide &&
                  Op::kDivide < Op::kRemainder && Op::kRemainder < Op::kQuotient &&
                  Op::kQuotient < Op::kPower,
              "the arithmetic ops stand together, from kNegate to kPower");

/// An instruction, which runs; else an expression, which gives a value.
constexpr bool IsInstruction(Op op) { return op >= kFirstInstruction; }
/// Negation and the binary arithmetic: a number from numbers ("+" may also join words).
constexpr bool IsArithmetic(Op op) { return op >= Op::kNegate && op <= Op::kPower; }

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

/// DEFINIS's type word: the empty value its variable gets.
enum class DeclaredType : std::uint8_t {
  kNumber,  ///< NOMBRE: 0
  kWord,    ///< MOT: the empty word
  kList,    ///< LISTE: the empty list
  kOther,   ///< any other word: the variable keeps what it holds
};

/// How the position of an item or remplace counts.
enum class Position : std::uint8_t {
  kFromOne,            ///< written as a value: the first item is 1
  kBracketedFromZero,  ///< written "[ … ]": the first item is 0
};

/// INC or DEC: what the step adds to its variable.
enum class StepDirection : std::int8_t {
  kDown = -1,  ///< DEC
  kUp = 1,     ///< INC
};

/// One node of the tree. Besides its place and kids, a node holds only the fields its op reads;
/// the others keep their defaults.
struct Node {
  Op op = Op::kConstant;
  Operation operation = Operation::kNone;  ///< kPrimitive, kMath: what is computed
  Leftover leftover = Leftover::kNone;     ///< the converter's notation read here, if any
  DeclaredType declaredType = DeclaredType::kNumber;  ///< kDefine
  Position position = Position::kFromOne;             ///< kItem, kReplace
  StepDirection step = StepDirection::kUp;            ///< kStep
  bool isList = false;       ///< kConstant: a list written in the program (its kids), not a word
  bool endsLine = false;     ///< kPrint: ECRISLIGNE, which ends its line
  bool countedLoop = false;  ///< kRepeat: a counted loop of the counter `variable` (leftovers.h)
  bool truth = false;        ///< kTruth: vrai or faux
  bool local = false;        ///< `variable` is a slot of the procedure's frame, else a global
  /// This node, or one inside it, calls a user procedure or waits for the user (a read, a pause);
  /// set as the reader builds the tree (Adopt). The runtime may run such nodes on stacks of its
  /// own, where a run can go deeper than the thread's stack and wait without the C++ functions
  /// of its expressions.
  bool callsOrWaits = false;
  int line = 0;              ///< from 1
  int column = 0;            ///< from 1, in bytes
  // No op holds more than one of these three numbers: they share their place, which keeps a node
  // as small as it was with one field for all (8 bytes more cost the reader a tenth of its
  // speed on large programs). The op tells which one a node holds.
  union {
    /// kVariable, kAssign, kDefine, kStep, kReplace, a counted kRepeat: the variable's slot.
    int variable = 0;
    int procedure;  ///< kCall: the procedure's number in Program::procedures
    int constant;   ///< kConstant outside a list: its number, below Program::constantCount
  };
  double number = 0;  ///< kNumber: its value
  /// kConstant: the word; kFailure: the message; a leftover, or a counted loop left early: what
  /// the program writes there (Windows-1252).
  std::string text;
  std::vector<Node> kids;
};

static_assert(sizeof(Node) <= 88, "a node's size weighs on the reader's speed: see the union");

/// A read or a pause: a primitive that waits for the user.
inline bool WaitsForUser(const Node& node) {
  return node.op == Op::kPrimitive &&
         (node.operation == Operation::kReadNumber || node.operation == Operation::kReadList ||
          node.operation == Operation::kKeyPressed);
}

/// Adds `kid` to the kids of `parent`, which then holds the calls and waits its kid holds.
inline void Adopt(Node& parent, Node kid) {
  parent.callsOrWaits = parent.callsOrWaits || kid.callsOrWaits;
  parent.kids.push_back(std::move(kid));
}

/// Whether two nodes name the same variable.
inline bool SameVariable(const Node& a, const Node& b) {
  return a.variable == b.variable && a.local == b.local;
}

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
  bool support = false;          ///< one of the converter's support procedures (reader.h)
};

/// The whole program.
struct Program {
  std::vector<Procedure> procedures;
  std::vector<std::string> globalNames;
  Node main;
  int constantCount = 0;  ///< the constants numbered by the reader (Node::constant)
};

}  // namespace tortuval::logo
