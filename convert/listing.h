#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tortuval::convert {

/// The readable lines of a repaired document: its description first, then every `algoitem`
/// in document order, each followed by CR LF. When `entryLines` is given, it receives the line
/// (from 1) where each entry starts: a description may span several lines.
std::string ListSourceLines(std::string_view listingText, std::vector<int>* entryLines = nullptr);

/// Counts the description and `algoitem` markers of a document as a cursor moves forward through
/// it: the number of the listing entry an item belongs to.
class ListingEntryCounter {
 public:
  explicit ListingEntryCounter(std::string_view document);

  /// How many entries start before the end of the element that holds `position`: the entry of
  /// an item whose attribute is there, whatever the order of the item's attributes. Positions
  /// must not decrease between calls.
  int EntriesThroughElementAt(std::size_t position);

  /// The entry that the element holding `position` shows itself, 0 when the listing has no line
  /// for it (the function elements, which carry no readable line). Positions as above.
  int EntryOfElementAt(std::size_t position);

 private:
  std::string_view document_;
  std::size_t searched_ = 0;  // markers before this place are counted
  std::size_t nextDescription_ = 0;
  std::size_t nextItem_ = 0;
  std::size_t lastCounted_ = std::string_view::npos;  // where the last entry counted starts
  int count_ = 0;
};

}  // namespace tortuval::convert
