#include "logo/lexer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "base/cp1252.h"
#include "base/error.h"
#include "logo/lexer_bytes.h"
#include "logo/vocabulary.h"

namespace tortuval::logo {
namespace {

using namespace lexer_bytes;

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {
    out_.text = text;
    // Converted programs hold about one token per 28 bytes, most of them indentation.
    out_.tokens.reserve(text.size() / 16 + 16);
    out_.lineStarts.reserve(text.size() / 64 + 1);
    out_.lineStarts.push_back(0);
  }

  Tokens Run() {
    // Converted programs are mostly indentation: runs of spaces are passed here, at once.
    const std::size_t size = text_.size();
    const char* const bytes = text_.data();
    std::size_t at = 0;
    while (at < size) {
      if (bytes[at] == ' ') {
        at = SkipSpaces(at + 1);
        continue;
      }
      at = Next(at);
    }
    return std::move(out_);
  }

 private:
  // Reads what starts at `at`; the place after it.
  std::size_t Next(std::size_t at) {
    const char c = text_[at];
    switch (c) {
      case '\n':
        return LineEnd(at);
      case '/':
        if (Peek(at + 1) == '/' && textDepth_ == 0) return ReadComment(at);
        return Add(TokenKind::kOperator, at, 1);
      case '[': {
        if (textDepth_ > 0 || OpensText()) ++textDepth_;
        return Add(TokenKind::kOpenList, at, 1);
      }
      case ']':
        if (textDepth_ > 0) --textDepth_;
        return Add(TokenKind::kCloseList, at, 1);
      case '(':
        return Add(TokenKind::kOpenGroup, at, 1);
      case ')':
        return Add(TokenKind::kCloseGroup, at, 1);
      case '<':
        return Add(TokenKind::kOperator, at, Peek(at + 1) == '=' || Peek(at + 1) == '>' ? 2 : 1);
      case '>':
        return Add(TokenKind::kOperator, at, Peek(at + 1) == '=' ? 2 : 1);
      case '+':
      case '-':
      case '*':
      case '%':
      case '^':
      case '=':
        return Add(TokenKind::kOperator, at, 1);
      case ':':
        return Add(TokenKind::kValue, at, WordEnd(at + 1) - at);
      case '"': {
        std::size_t end = at + 1;
        while (end < text_.size() && !EndsQuoted(text_[end])) ++end;
        return Add(TokenKind::kQuoted, at, end - at);
      }
      default:
        break;
    }
    if (IsBlankByte(c)) return at + 1;  // a CR before its LF too
    if (IsDigit(c) || (c == '.' && IsDigit(Peek(at + 1)))) {
      if (const std::size_t length = NumberLength(at); length != 0) {
        return Add(TokenKind::kNumber, at, length);
      }
    }
    return Add(TokenKind::kWord, at, WordLength(at));
  }

  // Eight bytes at a time while they are all spaces; the place after the run.
  std::size_t SkipSpaces(std::size_t at) const {
    constexpr std::uint64_t kEightSpaces = 0x2020202020202020;
    for (std::uint64_t eight = 0; at + 8 <= text_.size(); at += 8) {
      std::memcpy(&eight, text_.data() + at, 8);
      if (eight != kEightSpaces) break;
    }
    while (at < text_.size() && text_[at] == ' ') ++at;
    return at;
  }

  char Peek(std::size_t at) const { return at < text_.size() ? text_[at] : '\0'; }

  std::size_t Add(TokenKind kind, std::size_t at, std::size_t length) {
    std::uint32_t name = kNoName;
    const std::string_view text = text_.substr(at, length);
    if (kind == TokenKind::kWord || kind == TokenKind::kOperator) {
      name = out_.names.InternWord(text);
    } else if (kind == TokenKind::kValue || kind == TokenKind::kQuoted) {
      name = out_.names.Intern(text.substr(1));
    }
    out_.tokens.push_back(Token{kind, name, static_cast<std::uint32_t>(at),
                                static_cast<std::uint32_t>(length),
                                static_cast<std::uint32_t>(out_.lineStarts.size())});
    return at + length;
  }

  std::size_t LineEnd(std::size_t at) {
    at = Add(TokenKind::kLineEnd, at, 1);
    lineStart_ = at;
    out_.lineStarts.push_back(static_cast<std::uint32_t>(at));
    textDepth_ = 0;
    return at;
  }

  // A list given to a primitive that prints it is text up to its "]" or its line end: a "//"
  // in it is part of the text, not a comment.
  bool OpensText() const {
    if (out_.tokens.empty() || out_.tokens.back().kind != TokenKind::kWord) return false;
    const Word* word = FindWord(out_.names.Text(out_.tokens.back().name));
    return word != nullptr && !word->shapes.empty() && word->shapes[0] == 't';
  }

  // Keeps the comment that starts at `at`; the place of its line end.
  std::size_t ReadComment(std::size_t at) {
    std::size_t end = text_.find('\n', at);
    if (end == std::string_view::npos) end = text_.size();
    std::size_t textEnd = end;
    if (textEnd > at && text_[textEnd - 1] == '\r') --textEnd;
    const std::string_view comment = text_.substr(at, textEnd - at);
    // Most comments are the converter's short block marks, too short to hold the warning.
    const bool warns = comment.size() >= kParenthesesWarningSentence.size() &&
                       comment.find(kParenthesesWarningSentence) != comment.npos;
    out_.comments.push_back(Comment{comment, static_cast<int>(out_.lineStarts.size()),
                                    static_cast<int>(at - lineStart_) + 1, warns});
    return end;
  }

  // The first byte at or after `from` that ends a word; a "-" between two letters belongs to
  // the word (the support procedures call "écart-type").
  std::size_t WordEnd(std::size_t from) const {
    std::size_t end = from;
    while (end < text_.size()) {
      if (!EndsWord(text_[end])) {
        ++end;
      } else if (text_[end] == '-' && end > from && IsLetter(text_[end - 1]) &&
                 end + 1 < text_.size() && IsLetter(text_[end + 1])) {
        ++end;
      } else {
        break;
      }
    }
    return end;
  }

  // Digits, a decimal point or comma with digits, an exponent with its sign; the length, or 0
  // when the bytes that follow make it a word ("2x").
  std::size_t NumberLength(std::size_t at) const {
    std::size_t end = at;
    const auto digits = [&] {
      const std::size_t start = end;
      while (end < text_.size() && IsDigit(text_[end])) ++end;
      return end > start;
    };
    const bool whole = digits();
    if (end + 1 < text_.size() && (text_[end] == '.' || text_[end] == ',') &&
        IsDigit(text_[end + 1])) {
      ++end;
      digits();
    } else if (!whole) {
      return 0;
    }
    if (end < text_.size() && (text_[end] == 'e' || text_[end] == 'E')) {
      std::size_t sign = end + 1;
      if (sign < text_.size() && (text_[sign] == '-' || text_[sign] == '+')) ++sign;
      if (sign < text_.size() && IsDigit(text_[sign])) {
        end = sign;
        digits();
      }
    }
    if (end < text_.size() && !EndsWord(text_[end])) return 0;
    return end - at;
  }

  // The length of the bare word at `at`.
  std::size_t WordLength(std::size_t at) const {
    // A byte that ends words but starts no token of its own is a word by itself.
    std::size_t end = std::max(WordEnd(at), at + 1);
    // "TANT QUE" is one construct: the second word joins the first when it follows on the line.
    if (base::EqualIgnoringCase(text_.substr(at, end - at), "TANT")) {
      std::size_t next = end;
      while (next < text_.size() && (text_[next] == ' ' || text_[next] == '\t')) ++next;
      const std::size_t nextEnd = WordEnd(next);
      if (next > end && base::EqualIgnoringCase(text_.substr(next, nextEnd - next), "QUE")) {
        end = nextEnd;
      }
    }
    return end - at;
  }

  std::string_view text_;
  std::size_t lineStart_ = 0;
  int textDepth_ = 0;  // brackets open in a text list on this line
  Tokens out_;
};

}  // namespace

Tokens ReadTokens(std::string_view program) {
  if (program.size() > std::numeric_limits<std::uint32_t>::max()) {
    ThrowError("Le programme dépasse 4 Go : il est trop long pour être lu.");
  }
  return Lexer(program).Run();
}

}  // namespace tortuval::logo
