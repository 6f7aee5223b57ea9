#include "convert/source_file.h"

#include <cerrno>
#include <fstream>
#include <system_error>

#include "base/cp1252.h"
#include "base/file_errors.h"
#include "convert/rtf.h"

namespace tortuval::convert {
namespace {

enum class Encoding { kUtf16Le, kUtf16Be, kUtf8WithMark, kUtf8, kCp1252 };

struct ByteOrderMark {
  std::string_view bytes;
  Encoding encoding;
};

// Tested in this order; the mark itself is not part of the text.
constexpr ByteOrderMark kByteOrderMarks[] = {
    {"\xFF\xFE", Encoding::kUtf16Le},
    {"\xFE\xFF", Encoding::kUtf16Be},
    {"\xEF\xBB\xBF", Encoding::kUtf8WithMark},
};

// Unmarked UTF-8 is recognised only when it is well formed and not plain ASCII, which reads
// the same in both encodings.
bool IsNonAsciiUtf8(std::string_view text) {
  bool nonAscii = false;
  std::size_t i = 0;
  while (i < text.size()) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = base::Utf8SequenceLength(text, i);
    if (length == 0) return false;
    nonAscii = true;
    i += length;
  }
  return nonAscii;
}

Encoding DetectEncoding(std::string_view bytes) {
  for (const ByteOrderMark& mark : kByteOrderMarks) {
    if (bytes.starts_with(mark.bytes)) return mark.encoding;
  }
  return IsNonAsciiUtf8(bytes) ? Encoding::kUtf8 : Encoding::kCp1252;
}

std::size_t MarkLength(Encoding encoding) {
  for (const ByteOrderMark& mark : kByteOrderMarks) {
    if (mark.encoding == encoding) return mark.bytes.size();
  }
  return 0;
}

// UTF-16 as UTF-8; a surrogate without its partner becomes "?", an odd last byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  const std::size_t units = bytes.size() / 2;
  auto unitAt = [&](std::size_t index) {
    const auto first = static_cast<unsigned char>(bytes[2 * index]);
    const auto second = static_cast<unsigned char>(bytes[2 * index + 1]);
    return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  };
  for (std::size_t i = 0; i < units; ++i) {
    const char32_t unit = unitAt(i);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
      const char32_t next = unitAt(i + 1);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        base::AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
        ++i;
        continue;
      }
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) {
      out += '?';
    } else {
      base::AppendUtf8(out, unit);
    }
  }
  return out;
}

// The payload as UTF-8, ill-formed sequences left as they are for the code page conversion.
std::string ToUtf8(std::string_view payload, Encoding encoding) {
  switch (encoding) {
    case Encoding::kUtf16Le:
      return Utf16ToUtf8(payload, false);
    case Encoding::kUtf16Be:
      return Utf16ToUtf8(payload, true);
    case Encoding::kUtf8WithMark:
    case Encoding::kUtf8:
      return std::string(payload);
    case Encoding::kCp1252:
      break;
  }
  return base::Cp1252ToUtf8(payload);
}

// CR LF, a lone CR and a lone LF all become CR LF.
std::string NormaliseLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t brk = text.find_first_of("\r\n", start);
    if (brk == std::string_view::npos) {
      out.append(text.substr(start));
      break;
    }
    out.append(text.substr(start, brk - start));
    out += "\r\n";
    start = brk + 1;
    if (text[brk] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return out;
}

std::string OpenErrorMessage(const std::filesystem::path& path, std::error_code code) {
  return "Impossible d'ouvrir le fichier \"" + base::FullPathText(path) + "\". " +
         base::FileErrorReason(code, base::FileAccess::kRead);
}

}  // namespace

namespace {

// The error the last failed stream operation left, or a generic input/output error.
std::error_code LastError() {
  return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

}  // namespace

std::string DecodeSourceBytes(std::string_view bytes) {
  const Encoding encoding = DetectEncoding(bytes);
  const std::string_view payload = bytes.substr(MarkLength(encoding));
  // Windows-1252 bytes are the text already; only their line breaks need work.
  if (encoding == Encoding::kCp1252 && !IsRtf(payload)) return NormaliseLineBreaks(payload);

  std::string text = ToUtf8(payload, encoding);
  if (IsRtf(text)) text = RtfToPlainUtf8(text);
  return NormaliseLineBreaks(base::Utf8ToCp1252(text));
}

std::string ReadSourceFile(const std::filesystem::path& path) {
  // A directory may open as a stream on some systems, so it is refused before opening.
  std::error_code statusError;
  const auto status = std::filesystem::status(path, statusError);
  if (statusError) ThrowError(OpenErrorMessage(path, statusError));
  if (std::filesystem::is_directory(status))
    ThrowError(OpenErrorMessage(path, std::make_error_code(std::errc::is_a_directory)));

  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) ThrowError(OpenErrorMessage(path, LastError()));

  // The buffer is sized once from the file's size; devices and pipes that report no size are
  // read in blocks until their end.
  std::string bytes;
  std::error_code sizeError;
  const std::uintmax_t size =
      std::filesystem::is_regular_file(status) ? std::filesystem::file_size(path, sizeError) : 0;
  if (!sizeError && size > 0) {
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
  }
  constexpr std::size_t kBlock = 1 << 16;
  while (in) {
    const std::size_t used = bytes.size();
    bytes.resize(used + kBlock);
    in.read(bytes.data() + used, kBlock);
    bytes.resize(used + static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) ThrowError(OpenErrorMessage(path, LastError()));
  return DecodeSourceBytes(bytes);
}

}  // namespace tortuval::convert
