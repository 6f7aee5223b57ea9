#pragma once
// The reader's grammar, for reader.cpp: parser.cpp reads the program's parts and instructions,
// parse_expressions.cpp the inputs and expressions.

#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "logo/messages.h"
#include "logo/reader.h"
#include "logo/vocabulary.h"

namespace tortuval::logo {

/// Raised where an instruction cannot be read; the instruction becomes a failure node.
struct ReadFailure {
  Finding finding;
};

class Parser {
 public:
  explicit Parser(Reading& reading);
  void Run();

 private:
  // What encloses the instructions being read.
  enum class Enclosure { kRange, kBlock };

  struct Nesting {
    explicit Nesting(Parser& parser);
    ~Nesting() { --parser_.nesting_; }
    Parser& parser_;
  };

  // ---- The program's parts and its instructions (parser.cpp).
  void FindParts();
  void ReadProcedure(std::size_t index);
  Node ReadRange(std::size_t begin, std::size_t end, bool endsAtFin);
  Node ReadInstructions(Enclosure enclosure, std::size_t opening);
  void SkipRestOfInstruction(std::size_t start);
  Node ReadInstruction();
  Node ReadCommand(const Word& word);
  void TakeName(Node& node, const Token& word);
  void TakeVariable(Node& node, const Token& word, int expected);
  Node FailureNode(const Finding& finding) const;

  // ---- Inputs and expressions (parse_expressions.cpp).
  Node ReadInput(char shape, const Token& word, int received, int expected,
                 Position* position = nullptr);
  Node ReadRunList();
  Node ReadTextList();
  Node ReadBracketed();
  Node ReadPointList();
  Node ReadPointItems(bool minusStartsItem);
  Node ReadSortOrder(const Token& word);
  Node ReadExpression(int minPrecedence);
  Node ReadInfix(Node left, int minPrecedence);
  Node ReadUnary();
  Node ReadPrimary();
  Node ReadNumber(const Token& token);
  Node ReadValue(const Token& token);
  Node ReadQuotedWord();
  Node ReadGroup();
  Node ReadLiteralList();
  Node ReadCall(bool inGroup);
  bool ReadSplitExponent(Node& node);
  Node ReadUnknownWord(bool inGroup);
  Finding SplitWordFinding(const Token& word, int& inputs);
  [[noreturn]] void FailMissingInput(const Token& word, int expected, int received) const;
  void CloseList(std::size_t opening);

  // ---- Helpers (parser.cpp).
  const std::vector<Token>& Tokens() const { return reading_.tokens.tokens; }
  bool AtEnd() const { return at_ >= end_; }
  const Token& Current() const { return Tokens()[at_]; }
  bool Is(TokenKind kind) const { return !AtEnd() && Current().kind == kind; }
  /// At the end of the range, a line end, a ")" or a "]": where inputs stop.
  bool AtStop() const;
  /// Passes the line ends that follow, inside parentheses.
  void SkipLineEndsInGroup() {
    if (parenDepth_ > 0) {
      while (Is(TokenKind::kLineEnd)) ++at_;
    }
  }
  std::string_view TextOf(const Token& token) const { return reading_.tokens.TextOf(token); }
  std::string_view Key(const Token& token) const { return reading_.tokens.names.Text(token.name); }
  const Word* WordOf(const Token& token) const;
  const Infix* InfixOf(const Token& token) const;
  int ProcedureOf(const Token& token) const;
  Node Leaf(Op op, const Token& token) const;
  /// A constant that the run makes once: it takes the program's next constant number.
  Node Numbered(Node constant);
  Node VariableNode(std::uint32_t name, const Token& token);
  std::uint32_t QuotedName(const Token& token);
  /// Where the range's last token is, for what is missing at its end.
  const Token& LastToken() const;
  Finding FindingAt(const Token& at, FindingKind kind, std::string message) const;
  [[noreturn]] void Fail(const Token& at, FindingKind kind, MessageId message,
                         std::initializer_list<std::string_view> arguments = {}) const;

  Reading& reading_;
  Program& program_;
  std::vector<const Word*> words_;         // by name: the primitive a word names
  std::vector<const Infix*> infix_;        // by name: the infix operator a word or sign names
  std::vector<int> procedureByName_;       // by name: the procedure it names, or -1
  std::vector<int> globalSlots_;           // by name: its global's slot, or -1
  std::vector<int> localSlots_;            // by name: its local's slot in the procedure read, or -1
  std::vector<std::uint32_t> localNames_;  // the names whose local slots are set
  // Where a procedure's inputs and body are, by its number.
  struct Header {
    std::size_t inputsBegin = 0;
    std::size_t inputsEnd = 0;
    std::size_t bodyBegin = 0;
  };
  std::vector<Header> headers_;
  std::vector<std::pair<std::size_t, std::size_t>> mainParts_;
  std::vector<std::size_t> strayEnds_;
  Procedure* procedure_ = nullptr;  // the procedure being read, null in the main parts
  bool endsAtFin_ = false;
  std::size_t at_ = 0;
  std::size_t end_ = 0;
  int nesting_ = 0;
  int groupDepth_ = 0;   // parentheses and bracketed expressions open
  int parenDepth_ = 0;   // parentheses open
  int pointDepth_ = -1;  // the depth of the point list whose items a "-" starts
  // The last unknown word's finding: what else cannot be read on its line follows from it.
  Finding unknownWord_{0, 0, FindingKind::kUnknownWord, {}};
};

}  // namespace tortuval::logo
