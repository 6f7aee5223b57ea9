#include "logo/tokens.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/cp1252.h"
#include "base/error.h"
#include "logo/lexer_bytes.h"
#include "logo/vocabulary.h"

namespace tortuval::logo {
namespace {

using namespace lexer_bytes;

// Reads a text once into lexemes. Converted programs are mostly indentation and short words, so the
// loop below is written for runs of spaces and words of a few bytes.
class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {
    const std::size_t size = text.size();
    stream_.text = text;
    // Converted programs hold about one token per 28 bytes, most of them indentation. A
    // buffer of one per 24 bytes stays under glibc's largest mapping threshold (32 MB) for
    // programs of up to 48 MB, so that checking again reuses heap memory instead of mapping and
    // faulting in fresh pages each time; denser texts grow the buffer once or twice.
    stream_.lexemes.resize(size / 24 + 16);
    first_ = stream_.lexemes.data();
    out_ = first_;
    limit_ = first_ + stream_.lexemes.size();
    stream_.lineStarts.reserve(size / 64 + 1);
    stream_.lineFirsts.reserve(size / 64 + 1);
    // Converted programs hold about one bracket per 120 bytes: the index is not grown (grown,
    // each larger copy would be mapped and faulted in afresh).
    stream_.brackets.reserve(size / 64 + 1);
    stream_.quoted.reserve(size / 128 + 1);
    stream_.lineStarts.push_back(0);
    stream_.lineFirsts.push_back(0);
  }

  LexemeStream Run() {
    // The place is a local, kept in a register; the helpers take and give places.
    const std::size_t size = text_.size();
    const char* const bytes = text_.data();
    std::size_t at = 0;
    while (at < size) {
      const char c = bytes[at];
      // Most bytes of a converted program are spaces: lone ones between words, and runs of
      // indentation that need the wide skip.
      if (c == ' ') {
        at = at + 1 < size && bytes[at + 1] == ' ' ? SkipSpaces(at + 2) : at + 1;
        continue;
      }
      switch (kStarts[static_cast<unsigned char>(c)]) {
        case Start::kSpace:  // passed above
        case Start::kBlank:
          // The CR of a CR LF line end is passed with its LF.
          at = at + 1 < size && bytes[at + 1] == '\n' ? LineEnd(at + 1) : at + 1;
          break;
        case Start::kLineEnd:
          at = LineEnd(at);
          break;
        case Start::kSlash:
          at = Peek(at + 1) == '/' && textDepth_ == 0 ? ReadComment(at)
                                                      : Add<TokenKind::kOperator>(at, 1);
          break;
        case Start::kOpenList: {
          const bool afterTextWord = OpensText();
          if (textDepth_ > 0 || afterTextWord) ++textDepth_;
          at = Add<TokenKind::kOpenList>(at, 1, afterTextWord);
          break;
        }
        case Start::kCloseList:
          if (textDepth_ > 0) --textDepth_;
          at = Add<TokenKind::kCloseList>(at, 1);
          break;
        case Start::kOpenGroup:
          at = Add<TokenKind::kOpenGroup>(at, 1);
          break;
        case Start::kCloseGroup:
          at = Add<TokenKind::kCloseGroup>(at, 1);
          break;
        case Start::kLess:
          at = Add<TokenKind::kOperator>(at, Peek(at + 1) == '=' || Peek(at + 1) == '>' ? 2 : 1);
          break;
        case Start::kGreater:
          at = Add<TokenKind::kOperator>(at, Peek(at + 1) == '=' ? 2 : 1);
          break;
        case Start::kSign:
          at = Add<TokenKind::kOperator>(at, 1);
          break;
        case Start::kColon: {
          std::size_t end = NextWordEnd(at + 1);
          if (end < size && bytes[end] == '-') end = WordEnd(at + 1);
          at = Add<TokenKind::kValue>(at, end - at);
          break;
        }
        case Start::kQuote: {
          std::size_t end = at + 1;
          while (end < size && !EndsQuoted(bytes[end])) ++end;
          at = Add<TokenKind::kQuoted>(at, end - at);
          break;
        }
        case Start::kDot:
          if (!IsDigit(Peek(at + 1))) {
            at = Add<TokenKind::kWord>(at, WordLength(at));
            break;
          }
          [[fallthrough]];
        case Start::kDigit:
          // Most numbers are one digit ("0", "1"): a digit followed by a byte that ends words.
          if (at + 1 == size || EndsWord(bytes[at + 1])) {
            at = Add<TokenKind::kNumber>(at, 1);
          } else if (const std::size_t length = NumberLength(at); length != 0) {
            at = Add<TokenKind::kNumber>(at, length);
          } else {
            at = Add<TokenKind::kWord>(at, WordLength(at));
          }
          break;
        case Start::kWord: {
          // The byte at `at` does not end words: the word runs on to the next that does,
          // unless a "-" or "TANT" asks for the whole rule.
          std::size_t end = NextWordEnd(at + 1);
          if ((end < size && bytes[end] == '-') || (end - at == 4 && MayBeTant(bytes + at))) {
            end = at + WordLength(at);
          }
          at = Add<TokenKind::kWord>(at, end - at);
          break;
        }
      }
    }
    stream_.lexemes.resize(Count());
    return std::move(stream_);
  }

 private:
  // The lexemes are written through a cursor into a buffer sized ahead, which doubles when full.
  std::uint32_t Count() const { return static_cast<std::uint32_t>(out_ - first_); }

  [[gnu::noinline]] void Grow() {
    const std::uint32_t count = Count();
    stream_.lexemes.resize(stream_.lexemes.size() * 2);
    first_ = stream_.lexemes.data();
    out_ = first_ + count;
    limit_ = first_ + stream_.lexemes.size();
  }

  // Runs of spaces are passed thirty-two bytes at a time where SSE2 is there, else eight; the
  // place after the run.
  [[gnu::noinline]] std::size_t SkipSpaces(std::size_t at) const {
#if defined(__SSE2__)
    const __m128i spaces = _mm_set1_epi8(' ');
    while (at + 64 <= text_.size()) {
      const auto* bytes = reinterpret_cast<const __m128i*>(text_.data() + at);
      const __m128i first = _mm_cmpeq_epi8(_mm_loadu_si128(bytes), spaces);
      const __m128i second = _mm_cmpeq_epi8(_mm_loadu_si128(bytes + 1), spaces);
      const __m128i third = _mm_cmpeq_epi8(_mm_loadu_si128(bytes + 2), spaces);
      const __m128i fourth = _mm_cmpeq_epi8(_mm_loadu_si128(bytes + 3), spaces);
      const __m128i all = _mm_and_si128(_mm_and_si128(first, second), _mm_and_si128(third, fourth));
      if (_mm_movemask_epi8(all) != 0xFFFF) {
        const std::uint64_t others =
            ~(std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(first))} |
              std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(second))} << 16 |
              std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(third))} << 32 |
              std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(fourth))} << 48);
        return at + static_cast<std::size_t>(std::countr_zero(others));
      }
      at += 64;
    }
#endif
    constexpr std::uint64_t kEightSpaces = 0x2020202020202020;
    while (at + 8 <= text_.size()) {
      std::uint64_t eight;
      std::memcpy(&eight, text_.data() + at, 8);
      if (eight != kEightSpaces) break;
      at += 8;
    }
    while (at < text_.size() && text_[at] == ' ') ++at;
    return at;
  }

  char Peek(std::size_t at) const { return at < text_.size() ? text_[at] : '\0'; }

  // One function per kind, so that each call site does only its kind's work; the place after
  // the lexeme.
  template <TokenKind kKind>
  [[gnu::always_inline]] std::size_t Add(std::size_t at, std::size_t length,
                                         bool afterTextWord = false) {
    std::uint32_t name = kNoName;
    // Names are numbered while their bytes are at hand: the checks compare numbers.
    if constexpr (kKind == TokenKind::kWord || kKind == TokenKind::kOperator) {
      name = stream_.names.InternIn(text_, at, length);
    } else if constexpr (kKind == TokenKind::kValue || kKind == TokenKind::kQuoted) {
      name = stream_.names.InternIn(text_, at + 1, length - 1);
    }
    const std::uint32_t index = Count();
    if constexpr (kKind == TokenKind::kWord) {
      if ((length == 3 || length == 4) && index == lineFirst_ && IsPourOrFin(at, length)) {
        stream_.procedureLines.push_back(static_cast<std::uint32_t>(stream_.lineStarts.size() - 1));
      }
    }
    if constexpr (kKind == TokenKind::kQuoted) {
      const bool afterWord = index > 0 && out_[-1].kind == TokenKind::kWord;
      stream_.quoted.push_back(QuotedAt{index, name, afterWord ? out_[-1].name : kNoName});
    }
    if constexpr (kKind == TokenKind::kOpenList || kKind == TokenKind::kCloseList ||
                  kKind == TokenKind::kOpenGroup || kKind == TokenKind::kCloseGroup) {
      stream_.brackets.push_back(BracketAt{
          index, static_cast<std::uint32_t>(stream_.lineStarts.size()), kKind, afterTextWord});
    }
    if (out_ == limit_) [[unlikely]]
      Grow();
    *out_++ =
        Lexeme(static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(length), name, kKind);
    at += length;
    if constexpr (kKind != TokenKind::kLineEnd) {
      // Most tokens are followed by one space: it is passed here, saving a turn of the loop.
      if (at < text_.size() && text_[at] == ' ') ++at;
    }
    return at;
  }

  // Adds the line end at `at` and starts the next line, past its indentation; the place after.
  [[gnu::always_inline]] std::size_t LineEnd(std::size_t at) {
    // A "[" that ends its line opens a block: the balance is told here.
    if (out_ != first_ && out_[-1].kind == TokenKind::kOpenList) {
      stream_.brackets.back().beforeLineEnd = true;
    }
    at = Add<TokenKind::kLineEnd>(at, 1);
    lineStart_ = at;
    stream_.lineStarts.push_back(static_cast<std::uint32_t>(at));
    lineFirst_ = Count();
    stream_.lineFirsts.push_back(lineFirst_);
    textDepth_ = 0;
    return at < text_.size() && text_[at] == ' ' ? SkipSpaces(at + 1) : at;
  }

  // A list given to a primitive that prints it is text up to its "]" or its line end: a "//"
  // in it is part of the text, not a comment. Whether a word opens text is asked once per name.
  [[gnu::noinline]] bool OpensText() {
    if (out_ == first_ || out_[-1].kind != TokenKind::kWord) return false;
    const std::uint32_t name = out_[-1].name;
    if (name >= opensText_.size()) opensText_.resize(stream_.names.Size(), kNotAsked);
    if (opensText_[name] == kNotAsked) {
      const Primitive* primitive = FindPrimitive(stream_.names.Key(name));
      opensText_[name] = primitive != nullptr && primitive->ReadsTextFirst();
    }
    return opensText_[name] != 0;
  }

  // Keeps the comment that starts at `at`; the place of its line end.
  [[gnu::noinline]] std::size_t ReadComment(std::size_t at) {
    std::size_t end = text_.find('\n', at);
    if (end == std::string_view::npos) end = text_.size();
    std::size_t textEnd = end;
    if (textEnd > at && text_[textEnd - 1] == '\r') --textEnd;
    const std::string_view comment = text_.substr(at, textEnd - at);
    const auto line = static_cast<std::uint32_t>(stream_.lineStarts.size());
    // Most comments are the converter's short block marks, too short to hold the warning.
    if (comment.size() >= kParenthesesWarningSentence.size() &&
        comment.find(kParenthesesWarningSentence) != std::string_view::npos) {
      const std::size_t lineEnd = end < text_.size() ? end + 1 : end;
      stream_.warnedLines.push_back(WarnedLine{
          line, static_cast<std::uint32_t>(lineStart_), static_cast<std::uint32_t>(lineEnd),
          lineFirst_, static_cast<std::uint32_t>(stream_.comments.size())});
    }
    stream_.comments.push_back(
        Comment{comment, static_cast<int>(line), static_cast<int>(at - lineStart_) + 1});
    return end;
  }

  // The first byte at or after `at` that ends a word, or the end of the text. Every byte of
  // every word passes here: where SSE2 is there, sixteen bytes are sifted at once for bytes that
  // may end a word (those below "0", ":" to ">" and "[" to "^", which hold every byte that
  // does), and only those are looked up in the byte-class table.
  [[gnu::always_inline]] std::size_t NextWordEnd(std::size_t at) const {
    const char* const bytes = text_.data();
#if defined(__SSE2__)
    while (at + 16 <= text_.size()) {
      const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
      // x <= limit, unsigned, is min(x, limit) == x; a span [low, high] is x - low <= high - low.
      const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(sixteen, _mm_set1_epi8(0x2F)), sixteen);
      const __m128i fromColon = _mm_sub_epi8(sixteen, _mm_set1_epi8(0x3A));
      const __m128i signs =
          _mm_cmpeq_epi8(_mm_min_epu8(fromColon, _mm_set1_epi8(0x3E - 0x3A)), fromColon);
      const __m128i fromBracket = _mm_sub_epi8(sixteen, _mm_set1_epi8(0x5B));
      const __m128i brackets =
          _mm_cmpeq_epi8(_mm_min_epu8(fromBracket, _mm_set1_epi8(0x5E - 0x5B)), fromBracket);
      for (auto marks = static_cast<std::uint32_t>(
               _mm_movemask_epi8(_mm_or_si128(low, _mm_or_si128(signs, brackets))));
           marks != 0; marks &= marks - 1) {
        const std::size_t end = at + static_cast<std::size_t>(std::countr_zero(marks));
        if (EndsWord(bytes[end])) return end;
      }
      at += 16;
    }
#endif
    while (at < text_.size() && !EndsWord(bytes[at])) ++at;
    return at;
  }

  std::size_t WordEnd(std::size_t from) const {
    std::size_t end = NextWordEnd(from);
    // A "-" between two letters belongs to the word.
    while (end + 1 < text_.size() && text_[end] == '-' && end > from && IsLetter(text_[end - 1]) &&
           IsLetter(text_[end + 1])) {
      end = NextWordEnd(end + 1);
    }
    return end;
  }

  // Digits, a decimal point or comma with digits, an exponent with its sign; the length, or 0
  // when the bytes that follow make it a word ("2x").
  [[gnu::noinline]] std::size_t NumberLength(std::size_t at) const {
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
  [[gnu::noinline]] std::size_t WordLength(std::size_t at) const {
    // A byte that ends words but starts no token of its own is a word by itself.
    std::size_t end = std::max(WordEnd(at), at + 1);
    // "TANT QUE" is one construct: the second word joins the first when it follows on the line.
    if (end - at == 4 && MayBeTant(text_.data() + at) &&
        base::EqualIgnoringCase(text_.substr(at, 4), "TANT")) {
      std::size_t next = end;
      while (next < text_.size() && (text_[next] == ' ' || text_[next] == '\t')) ++next;
      const std::size_t nextEnd = WordEnd(next);
      if (next > end && base::EqualIgnoringCase(text_.substr(next, nextEnd - next), "QUE"))
        end = nextEnd;
    }
    return end - at;
  }

  // Whether four bytes may spell "TANT" in any case: clearing bit 5 of a byte leaves "T", "A"
  // or "N" only for that capital and its small letter. Passes most four-byte words at once.
  static bool MayBeTant(const char* bytes) {
    std::uint32_t four;
    std::memcpy(&four, bytes, 4);
    std::uint32_t tant;
    std::memcpy(&tant, "TANT", 4);
    return (four & 0xDFDFDFDFu) == tant;
  }

  // Whether the word of `length` (3 or 4) bytes at `at` is FIN or POUR in any case: clearing
  // bit 5 of a byte leaves an ASCII capital only for that capital and its small letter.
  [[gnu::noinline]] bool IsPourOrFin(std::size_t at, std::size_t length) const {
    const std::string_view wanted = length == 4 ? "POUR" : "FIN";
    for (std::size_t i = 0; i < length; ++i) {
      if ((static_cast<unsigned char>(text_[at + i]) & 0xDF) != wanted[i]) return false;
    }
    return true;
  }

  static constexpr std::int8_t kNotAsked = -1;

  std::string_view text_;
  Lexeme* first_ = nullptr;             // stream_.lexemes' buffer
  Lexeme* out_ = nullptr;               // where the next lexeme goes
  Lexeme* limit_ = nullptr;             // the end of the buffer
  std::size_t lineStart_ = 0;           // where the current line starts
  std::uint32_t lineFirst_ = 0;         // the index of the current line's first lexeme
  int textDepth_ = 0;                   // brackets open in a text list on this line
  std::vector<std::int8_t> opensText_;  // by name: whether the word's first input is text
  LexemeStream stream_;
};

}  // namespace

Place LexemeStream::PlaceOf(std::uint32_t offset) const {
  const auto next = std::upper_bound(lineStarts.begin(), lineStarts.end(), offset);
  const auto line = static_cast<int>(next - lineStarts.begin());
  return Place{line, static_cast<int>(offset - lineStarts[static_cast<std::size_t>(line - 1)]) + 1};
}

LexemeStream ReadLexemes(std::string_view program) {
  if (program.size() > std::numeric_limits<std::uint32_t>::max()) {
    ThrowError("Le programme dépasse 4 Go : il est trop long pour être lu.");
  }
  LexemeStream stream = Lexer(program).Run();
  stream.text = program;
  return stream;
}

TokenStream ReadTokens(std::string_view program) { return TokensOf(ReadLexemes(program)); }

TokenStream TokensOf(LexemeStream lexemes) {
  TokenStream stream;
  stream.tokens.reserve(lexemes.lexemes.size());
  int line = 1;
  std::uint32_t lineStart = 0;
  for (const Lexeme& lexeme : lexemes.lexemes) {
    stream.tokens.push_back(Token{lexeme.kind, lexeme.name, lexemes.TextOf(lexeme), line,
                                  static_cast<int>(lexeme.begin - lineStart) + 1});
    if (lexeme.kind == TokenKind::kLineEnd) {
      ++line;
      lineStart = lexeme.begin + 1;
    }
  }
  stream.comments = std::move(lexemes.comments);
  stream.names = std::move(lexemes.names);
  stream.lineCount = static_cast<int>(lexemes.lineStarts.size());
  return stream;
}

}  // namespace tortuval::logo
