#include "convert/rtf.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "base/cp1252.h"

namespace tortuval::convert {
namespace {

// Groups whose content is formatting or data, never text the reader should see. A group that
// holds one of these control words, or an ignorable destination "\*", is dropped whole.
constexpr std::string_view kSkippedDestinations[] = {
    "fonttbl",           "colortbl", "stylesheet", "info",    "pict",   "nonshppict", "listtable",
    "listoverridetable", "revtbl",   "rsidtbl",    "header",  "footer", "headerl",    "headerr",
    "headerf",           "footerl",  "footerr",    "footerf", "pntext", "objdata",    "themedata",
};

// Control words that stand for one character.
struct SymbolWord {
  std::string_view word;
  char32_t codePoint;
};
constexpr SymbolWord kSymbolWords[] = {
    {"tab", U'\t'},     {"emdash", 0x2014},    {"endash", 0x2013},    {"lquote", 0x2018},
    {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x2022},
};

// Nesting deeper than this is not kept on the stack; such groups share their parent's state.
constexpr std::size_t kMaxDepth = 1024;

// Parameters are clamped to this magnitude, so that a long run of digits cannot overflow.
constexpr std::int64_t kMaxParameter = 1'000'000'000;

struct GroupState {
  bool skip = false;
  std::int64_t fallbackLength = 1;  // characters to drop after \uN, set by \ucN
};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }

bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Builds the plain text, pairing UTF-16 surrogates that arrive as two \uN words.
class TextSink {
 public:
  explicit TextSink(std::size_t capacity) { out_.reserve(capacity); }

  void Put(char32_t c) {
    if (pendingHigh_ != 0) {
      if (IsLowSurrogate(c)) {
        base::AppendUtf8(out_, 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (c - 0xDC00));
        pendingHigh_ = 0;
        return;
      }
      FlushLoneSurrogate();
    }
    if (IsHighSurrogate(c)) {
      pendingHigh_ = c;
    } else if (IsLowSurrogate(c)) {
      out_ += '?';
    } else {
      base::AppendUtf8(out_, c);
    }
  }

  // Raw text of the document, already UTF-8.
  void PutBytes(std::string_view bytes) {
    FlushLoneSurrogate();
    out_.append(bytes);
  }

  std::string Finish() {
    FlushLoneSurrogate();
    return std::move(out_);
  }

 private:
  void FlushLoneSurrogate() {
    if (pendingHigh_ != 0) out_ += '?';
    pendingHigh_ = 0;
  }

  std::string out_;
  char32_t pendingHigh_ = 0;
};

class RtfReader {
 public:
  explicit RtfReader(std::string_view rtf) : rtf_(rtf), sink_(rtf.size() / 2) {
    stack_.push_back(GroupState{});
  }

  std::string Run() {
    while (pos_ < rtf_.size()) {
      const char c = rtf_[pos_];
      if (c == '{') {
        ++pos_;
        fallbackLeft_ = 0;  // a fallback never reaches across a brace
        if (stack_.size() < kMaxDepth) {
          stack_.push_back(stack_.back());
        } else {
          ++overflowDepth_;
        }
      } else if (c == '}') {
        ++pos_;
        fallbackLeft_ = 0;
        if (overflowDepth_ > 0) {
          --overflowDepth_;
        } else if (stack_.size() > 1) {
          stack_.pop_back();
          if (stack_.size() == 1) break;  // the document's own group is closed
        }
      } else if (c == '\\') {
        ReadControl();
      } else if (c == '\r' || c == '\n') {
        ++pos_;  // line breaks of the RTF source carry no meaning
      } else {
        ReadText();
      }
    }
    return sink_.Finish();
  }

 private:
  GroupState& Group() { return stack_.back(); }

  // A run of plain characters, up to the next special one.
  void ReadText() {
    std::size_t end = pos_;
    while (end < rtf_.size() && rtf_[end] != '{' && rtf_[end] != '}' && rtf_[end] != '\\' &&
           rtf_[end] != '\r' && rtf_[end] != '\n') {
      ++end;
    }
    // Characters standing for a \uN already written are dropped one by one; a UTF-8
    // sequence counts as one character.
    while (fallbackLeft_ > 0 && pos_ < end) {
      ++pos_;
      while (pos_ < end && (static_cast<unsigned char>(rtf_[pos_]) & 0xC0) == 0x80) ++pos_;
      --fallbackLeft_;
    }
    if (!Group().skip && pos_ < end) sink_.PutBytes(rtf_.substr(pos_, end - pos_));
    pos_ = end;
  }

  // Writes one character unless it is part of a fallback or a skipped group.
  void Emit(char32_t c) {
    if (fallbackLeft_ > 0) {
      --fallbackLeft_;
      return;
    }
    if (!Group().skip) sink_.Put(c);
  }

  void EmitLineBreak() {
    if (fallbackLeft_ > 0) {
      --fallbackLeft_;
      return;
    }
    if (Group().skip) return;
    sink_.Put(U'\r');
    sink_.Put(U'\n');
  }

  // Consumes a control symbol or word starting at the backslash.
  void ReadControl() {
    ++pos_;
    if (pos_ >= rtf_.size()) return;
    const char symbol = rtf_[pos_];
    if (IsAsciiLetter(symbol)) {
      ReadControlWord();
      return;
    }
    ++pos_;
    switch (symbol) {
      case '\\':
      case '{':
      case '}':
        Emit(static_cast<unsigned char>(symbol));
        break;
      case '\'':
        ReadHexByte();
        break;
      case '~':
        Emit(0xA0);
        break;
      case '_':
        Emit(U'-');
        break;
      case '*':
        Group().skip = true;
        break;
      case '\r':
      case '\n':
        EmitLineBreak();  // a backslash ending a source line is a paragraph mark
        break;
      default:
        // Other symbols (\- optional hyphen, \| \: and the like) show nothing, but a fallback
        // still counts them.
        if (fallbackLeft_ > 0) --fallbackLeft_;
        break;
    }
  }

  void ReadHexByte() {
    const int high = pos_ < rtf_.size() ? HexValue(rtf_[pos_]) : -1;
    const int low = pos_ + 1 < rtf_.size() ? HexValue(rtf_[pos_ + 1]) : -1;
    if (high < 0 || low < 0) return;  // a truncated escape is dropped; what follows is text
    pos_ += 2;
    Emit(base::Cp1252ToCodePoint(static_cast<unsigned char>(high * 16 + low)));
  }

  void ReadControlWord() {
    const std::size_t start = pos_;
    while (pos_ < rtf_.size() && IsAsciiLetter(rtf_[pos_])) ++pos_;
    const std::string_view word = rtf_.substr(start, pos_ - start);

    bool hasParameter = false;
    std::int64_t parameter = 0;
    const bool negative = pos_ + 1 < rtf_.size() && rtf_[pos_] == '-' && IsDigit(rtf_[pos_ + 1]);
    if (negative) ++pos_;
    while (pos_ < rtf_.size() && IsDigit(rtf_[pos_])) {
      hasParameter = true;
      parameter = std::min(parameter * 10 + (rtf_[pos_] - '0'), kMaxParameter);
      ++pos_;
    }
    if (negative) parameter = -parameter;
    if (pos_ < rtf_.size() && rtf_[pos_] == ' ') ++pos_;

    if (word == "u" && hasParameter) {
      EmitUnicode(parameter);
      return;
    }
    if (word == "uc" && hasParameter) {
      Group().fallbackLength = std::max<std::int64_t>(parameter, 0);
      return;
    }
    if (word == "bin") {
      // Raw binary data follows; it is never text and may hold braces.
      const auto length = static_cast<std::size_t>(std::max<std::int64_t>(parameter, 0));
      pos_ += std::min(length, rtf_.size() - pos_);
      return;
    }
    if (word == "par" || word == "line") {
      EmitLineBreak();
      return;
    }
    for (const SymbolWord& row : kSymbolWords) {
      if (row.word == word) {
        Emit(row.codePoint);
        return;
      }
    }
    if (std::find(std::begin(kSkippedDestinations), std::end(kSkippedDestinations), word) !=
        std::end(kSkippedDestinations)) {
      Group().skip = true;
      return;
    }
    // Any other control word only formats; inside a fallback it still counts as one character.
    if (fallbackLeft_ > 0) --fallbackLeft_;
  }

  void EmitUnicode(std::int64_t parameter) {
    // The parameter is a signed 16-bit number; negative values stand for 32768 to 65535.
    if (parameter < 0) parameter += 65536;
    const char32_t c =
        parameter >= 0 && parameter <= 0xFFFF ? static_cast<char32_t>(parameter) : U'?';
    fallbackLeft_ = 0;
    Emit(c);
    fallbackLeft_ = Group().fallbackLength;
  }

  std::string_view rtf_;
  std::size_t pos_ = 0;
  TextSink sink_;
  std::vector<GroupState> stack_;
  std::size_t overflowDepth_ = 0;
  std::int64_t fallbackLeft_ = 0;
};

}  // namespace

bool IsRtf(std::string_view text) { return text.starts_with("{\\rtf"); }

std::string RtfToPlainUtf8(std::string_view rtf) { return RtfReader(rtf).Run(); }

}  // namespace tortuval::convert
