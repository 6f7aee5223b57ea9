#pragma once
// A document of the teaching editor read as the tree it is: its items nested as the document
// nests them (a block's items inside the item that opens it), each with its instruction number,
// its fields and its line in the listing; the functions F1 and F2 and the drawing's frame. The
// text is the decoded document (Windows-1252), its entities decoded. Writers of other languages
// than LOGO start from here; the LOGO conversion keeps its own reading.

#include <string>
#include <string_view>
#include <vector>

namespace tortuval::algorithm {

/// The editor's instruction numbers, as the documents write them.
enum class Instruction {
  kDeclare = 1,        // type, name
  kRead = 2,           // name, list position ("pasliste": none)
  kShowVariable = 3,   // name, line break ("1"), list position
  kShowText = 4,       // text, line break
  kAssign = 5,         // name, value, list position
  kIf = 6,             // condition
  kIfStart = 7,
  kIfEnd = 8,
  kElse = 9,
  kElseStart = 10,
  kElseEnd = 11,
  kFor = 12,           // counter, from, to
  kForStart = 13,
  kForEnd = 14,
  kWhile = 15,         // condition
  kWhileStart = 16,
  kWhileEnd = 17,
  kPause = 18,
  kComment = 19,       // text
  kShowValue = 20,     // as kShowVariable
  kPlotPoint = 50,     // x, y, colour
  kDrawSegment = 51,   // xA, yA, xB, yB, colour
  kClearDrawing = 52,
  kVariables = 100,
  kAlgorithmStart = 101,
  kAlgorithmEnd = 102,
  kFunctions = 200,
  kFunctionHeader = 201,  // name, parameters separated by ","
  kFunctionVariables = 202,
  kFunctionStart = 203,
  kFunctionEnd = 204,
  kFunctionResult = 205,  // value
  kCallFunction = 206,    // the call, as an expression ("ligne()")
};

/// One item of the algorithm: one line of its listing, and the items of its block.
struct Item {
  int code = 0;  ///< the instruction number as written; see Instruction
  std::vector<std::string> fields;  ///< after the number, cut at each "#"
  std::string text;                 ///< the readable line, as the listing shows it
  int line = 0;                     ///< its first line in the listing, from 1
  std::vector<Item> items;          ///< a block's items, in order

  bool Is(Instruction instruction) const { return code == static_cast<int>(instruction); }
  /// The field at `index`, or "" when the item has fewer.
  std::string_view Field(std::size_t index) const;
};

/// F2: a value by cases. Each case is a condition and the value it gives, in order; the default
/// when none holds.
struct CasesFunction {
  bool active = false;
  std::vector<std::string> parameters;
  struct Case {
    std::string condition;
    std::string value;
  };
  std::vector<Case> cases;
  std::string otherwise;
};

/// The drawing's frame: its limits and the steps of its graduations.
struct Frame {
  bool active = false;
  double xMin = -10, xMax = 10, yMin = -10, yMax = 10, xStep = 2, yStep = 2;
};

struct AlgorithmDocument {
  std::string description;
  int descriptionLine = 0;  ///< 0 when the listing shows none
  bool f1Active = false;
  std::string f1;  ///< F1's value, in the variable x
  CasesFunction f2;
  Frame frame;
  std::vector<Item> items;  ///< the top level: VARIABLES, the functions, DEBUT_ALGORITHME, …
};

/// The fields of an item that hold expressions of the editor's notation, in order (a list
/// position "pasliste" and empty fields left out): a value and its list position, a condition,
/// a loop's bounds, a point's or a segment's coordinates, a function's result.
std::vector<std::string_view> ExpressionFields(const Item& item);

/// The pieces of a field between its separators ("1:2:3" at ':'), empty ones kept.
std::vector<std::string> Split(std::string_view text, char separator);

/// Reads a decoded document. What is not an element of the editor is passed over; an element
/// left open (a cut document) is closed at the end.
AlgorithmDocument ReadAlgorithmDocument(std::string_view document);

}  // namespace tortuval::algorithm
