#pragma once
// The one table of the fixed LOGO support procedures (factorial, probability laws, statistics,
// substring, the larger and smaller of two values, reading a word or a list, character codes):
// the converter writes them, the expression translator writes their calls, the detection tells
// which ones a document needs and the check recognises them, all from these rows.

#include <span>
#include <string_view>

namespace tortuval::library {

inline constexpr int kSupportProcedureCount = 27;

/// The start of every built-in word of the source notation ("PSEUDAL_SOMME").
inline constexpr std::string_view kBuiltInPrefix = "PSEUDAL_";

/// How the converter tells that a document uses a procedure.
enum class Use {
  kNeededOnly,   ///< only brought along by the procedures that need it
  kBuiltInWord,  ///< its source name anywhere in the document, case-sensitively
  kCall,         ///< its source name right before an opening parenthesis
  kWordRead,     ///< a LIRE into a variable declared CHAINE or MOT
  kListRead,     ///< a LIRE at a position of a variable kept as a list
};

struct SupportProcedure {
  int position;                 ///< 1 to 27: the order in which a program defines them
  std::string_view sourceName;  ///< how a document writes it ("PSEUDAL_SOMME", "max", ".substr")
  std::string_view logoName;    ///< the procedure's name in the program
  Use use;
  std::string_view bringsAlong;  ///< the LOGO name of a procedure defined with it, or empty
  std::string_view text;         ///< UTF-8, lines ended by LF; shared fragments as "{name}" lines
};

/// The rows, position 1 first.
std::span<const SupportProcedure> SupportProcedureTable();

/// The row of the procedure the program calls `logoName`, or null.
const SupportProcedure* FindSupportProcedure(std::string_view logoName);

}  // namespace tortuval::library
