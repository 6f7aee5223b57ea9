#include "convert/listing.h"

#include <algorithm>

namespace tortuval::convert {
namespace {

constexpr std::string_view kDescriptionMarker = "description texte=\"";
constexpr std::string_view kItemMarker = "algoitem=\"";

// Where the value after the next marker starts, or npos; positions already searched are not
// searched again, which keeps the listing linear in the document's size.
class MarkerSearch {
 public:
  MarkerSearch(std::string_view text, std::string_view marker) : text_(text), marker_(marker) {}

  std::size_t ValueStartFrom(std::size_t from) {
    if (!searched_ || (hit_ != std::string_view::npos && hit_ < from)) {
      hit_ = text_.find(marker_, from);
      searched_ = true;
    }
    return hit_ == std::string_view::npos ? hit_ : hit_ + marker_.size();
  }

 private:
  std::string_view text_;
  std::string_view marker_;
  std::size_t hit_ = std::string_view::npos;
  bool searched_ = false;
};

}  // namespace

// The text repair has already spaced every "&", so no "&lt;" or "&quot;" is left to decode here.
std::string ListSourceLines(std::string_view listingText, std::vector<int>* entryLines) {
  std::string lines;
  int line = 1;
  MarkerSearch descriptions(listingText, kDescriptionMarker);
  MarkerSearch items(listingText, kItemMarker);
  std::size_t position = 0;
  while (position < listingText.size()) {
    const std::size_t start =
        std::min(descriptions.ValueStartFrom(position), items.ValueStartFrom(position));
    // A marker that ends the text opens no line.
    if (start >= listingText.size()) break;
    // A line whose closing quotation mark is missing (a cut document) runs to the end.
    std::size_t end = listingText.find('"', start);
    if (end == std::string::npos) end = listingText.size();
    if (entryLines != nullptr) {
      entryLines->push_back(line);
      line += 1 + static_cast<int>(
                      std::count(listingText.begin() + static_cast<std::ptrdiff_t>(start),
                                 listingText.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
    }
    lines.append(listingText, start, end - start).append("\r\n");
    position = end + 1;
  }
  return lines;
}

ListingEntryCounter::ListingEntryCounter(std::string_view document)
    : document_(document),
      nextDescription_(document.find(kDescriptionMarker)),
      nextItem_(document.find(kItemMarker)) {}

// An element ends where the next one starts: "<" never occurs inside an attribute's value,
// where ">" may ("TRACER_SEGMENT (xA,yA)->(xB,yB)").
int ListingEntryCounter::EntriesThroughElementAt(std::size_t position) {
  const std::size_t elementEnd = document_.find('<', position);
  while (true) {
    // Each marker's next place is searched once, and again only when the count passes it.
    if (nextDescription_ < searched_)
      nextDescription_ = document_.find(kDescriptionMarker, searched_);
    if (nextItem_ < searched_) nextItem_ = document_.find(kItemMarker, searched_);
    const std::size_t next = std::min(nextDescription_, nextItem_);
    if (next == std::string_view::npos || next >= elementEnd) return count_;
    ++count_;
    lastCounted_ = next;
    searched_ = next + 1;
  }
}

int ListingEntryCounter::EntryOfElementAt(std::size_t position) {
  const int count = EntriesThroughElementAt(position);
  const std::size_t elementStart = document_.rfind('<', position);
  const bool shown = lastCounted_ != std::string_view::npos &&
                     (elementStart == std::string_view::npos || lastCounted_ > elementStart);
  return shown ? count : 0;
}

}  // namespace tortuval::convert
