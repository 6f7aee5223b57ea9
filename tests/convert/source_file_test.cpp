#include "convert/source_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/test_support.h"

namespace tortuval::convert {
namespace {

namespace fs = std::filesystem;
using testing::Cp;
using testing::LineDiff;

// The bytes of a UTF-16 file, mark included.
std::string Utf16File(std::u16string_view text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}

struct DecodeRow {
  const char* name;
  std::string bytes;
  std::string expected;  // Windows-1252
};

TEST(DecodeSourceBytesTest, ChoosesTheEncodingAndConvertsToWindows1252) {
  const DecodeRow rows[] = {
      {"utf16le", Utf16File(u"où maître É", false), "o\xF9 ma\xEEtre \xC9"},
      {"utf16be", Utf16File(u"À œ €", true), "\xC0 \x9C \x80"},
      {"utf16 greek letter", Utf16File(u"x=\u03B1;", false), "x=?;"},
      {"utf16 lone high surrogate",
       Utf16File(u"a\xD800"
                 "b",
                 false),
       "a?b"},
      {"utf16 lone low surrogate",
       Utf16File(u"a\xDC00"
                 "b",
                 true),
       "a?b"},
      {"utf16 high surrogate at end", Utf16File(u"a\xD83D", false), "a?"},
      {"utf16 pair is one character", Utf16File(u"a\U0001F600b", false), "a?b"},
      {"utf16 odd trailing byte", Utf16File(u"ab", false) + "c", "ab"},
      {"utf16 mark only", "\xFF\xFE", ""},
      {"utf8 with mark",
       "\xEF\xBB\xBF"
       "o\xC3\xB9 ma\xC3\xAEtre \xC3\x89 \xC3\x80 \xC5\x93",
       "o\xF9 ma\xEEtre \xC9 \xC0 \x9C"},
      {"utf8 without mark", "o\xC3\xB9 ma\xC3\xAEtre \xC3\x89 \xC3\x80 \xC5\x93",
       "o\xF9 ma\xEEtre \xC9 \xC0 \x9C"},
      {"utf8 character missing from the code page", "\xCE\xB1\xE2\x82\xAC", "?\x80"},
      {"utf8 with mark, bad bytes",
       "\xEF\xBB\xBF"
       "a\xE9"
       "b\xC3",
       "a?b?"},
      {"utf8 with mark, truncated sequence",
       "\xEF\xBB\xBF\xE2\x82"
       "x",
       "??x"},
      // Pairs that read as UTF-8 are taken as UTF-8, even when meant as Windows-1252.
      {"windows-1252 pair that is valid utf8", "\xC3\xA9", "\xE9"},
      {"invalid utf8 stays windows-1252", "caf\xE9 \xC3\xA9\xE9", "caf\xE9 \xC3\xA9\xE9"},
      {"overlong utf8 stays windows-1252", "\xC0\xAF\xE0\x80\x80", "\xC0\xAF\xE0\x80\x80"},
      {"encoded surrogate stays windows-1252", "\xED\xA0\x80", "\xED\xA0\x80"},
      {"truncated utf8 at end stays windows-1252", "\xC3\xA9\xE2\x82", "\xC3\xA9\xE2\x82"},
      {"ascii", "POUR i ALLANT_DE 1 A 10 <>&\"#", "POUR i ALLANT_DE 1 A 10 <>&\"#"},
      {"empty", "", ""},
  };
  for (const DecodeRow& row : rows) {
    EXPECT_EQ(DecodeSourceBytes(row.bytes), row.expected) << row.name;
  }
}

TEST(DecodeSourceBytesTest, UnmarkedBytesRoundTripThroughWindows1252) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) {
    if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
  }
  EXPECT_EQ(DecodeSourceBytes(bytes), bytes);
}

TEST(DecodeSourceBytesTest, Utf16GivesTheSameTextAsWindows1252) {
  const std::string cp1252 = Cp("<item algoitem=\"AFFICHER \"Réponse : \"\" code=\"4#x#1\"/>\r\n");
  EXPECT_EQ(DecodeSourceBytes(Utf16File(u"<item algoitem=\"AFFICHER \"Réponse : \"\" "
                                        u"code=\"4#x#1\"/>\n",
                                        true)),
            cp1252);
}

TEST(DecodeSourceBytesTest, EveryLineBreakBecomesCrLf) {
  const DecodeRow rows[] = {
      {"crlf kept", "a\r\nb", "a\r\nb"},
      {"lone lf", "a\nb\n", "a\r\nb\r\n"},
      {"lone cr", "a\rb\r", "a\r\nb\r\n"},
      {"cr before crlf", "a\r\r\nb", "a\r\n\r\nb"},
      {"lf cr is two breaks", "a\n\rb", "a\r\n\r\nb"},
      {"blank lines", "\n\n", "\r\n\r\n"},
      {"utf8", "\xC3\xA9\n\xC3\xA8\r", "\xE9\r\n\xE8\r\n"},
      {"utf16", Utf16File(u"a\nb\rc\r\n", false), "a\r\nb\r\nc\r\n"},
  };
  for (const DecodeRow& row : rows) {
    EXPECT_EQ(DecodeSourceBytes(row.bytes), row.expected) << row.name;
  }
}

TEST(DecodeSourceBytesTest, RtfDocumentGivesItsPlainText) {
  const std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1036"
      "{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}{\\f1\\fswiss\\fcharset0 Tahoma;}}\r\n"
      "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
      "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
      "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang12 <?xml version=\"1.0\"?>\\par\r\n"
      "<item algoitem=\"AFFICHER \\'e9l\\'e8ve\" code=\"4#x#1\"/>\\par\r\n"
      "\\cf1\\u233?t\\u233? \\{accolades\\} \\\\ fin\\tab x\\line y\\cf0\\par\r\n"
      "}\r\n";
  const std::string expected =
      Cp("<?xml version=\"1.0\"?>\r\n"
         "<item algoitem=\"AFFICHER élève\" code=\"4#x#1\"/>\r\n"
         "été {accolades} \\ fin\tx\r\ny\r\n");
  const std::string actual = DecodeSourceBytes(rtf);
  EXPECT_EQ(actual, expected) << LineDiff(expected, actual);
}

TEST(DecodeSourceBytesTest, RtfIsRecognisedAfterDecoding) {
  EXPECT_EQ(DecodeSourceBytes(Utf16File(u"{\\rtf1 \\u937?x\\par \\'80}", false)), "?x\r\n\x80");
  EXPECT_EQ(DecodeSourceBytes("\xEF\xBB\xBF{\\rtf1 \xC3\xA9\\u339?}"), "\xE9\x9C");
  // Raw Windows-1252 bytes in an RTF file keep their meaning, undefined ones included.
  EXPECT_EQ(DecodeSourceBytes("{\\rtf1 caf\xE9\x81\\par}"), "caf\xE9\x81\r\n");
  // Not at the very start: an ordinary text.
  EXPECT_EQ(DecodeSourceBytes(" {\\rtf1 x}"), " {\\rtf1 x}");
}

TEST(DecodeSourceBytesTest, LargeInputIsLinear) {
  std::u16string line = u"<item algoitem=\"x ← élève\" code=\"5#x#1\"/>\n";
  std::u16string text;
  for (int i = 0; i < 100000; ++i) text += line;
  const std::string decoded = DecodeSourceBytes(Utf16File(text, false));
  EXPECT_EQ(decoded.size(), (line.size() + 1) * 100000);
  EXPECT_EQ(decoded.substr(0, line.size() + 1),
            Cp("<item algoitem=\"x ? élève\" code=\"5#x#1\"/>\r\n"));
}

class ReadSourceFileTest : public testing::ScratchDirTest {
 protected:
  static std::string ReadError(const fs::path& path) {
    return testing::ErrorMessage([&path] { ReadSourceFile(path); });
  }
  static std::string Message(const fs::path& fullPath, const std::string& reason) {
    return "Impossible d'ouvrir le fichier \"" + fullPath.string() + "\". " + reason;
  }
};

TEST_F(ReadSourceFileTest, ReadsAndDecodesTheWholeFile) {
  EXPECT_EQ(ReadSourceFile(Write("doc.alg", Utf16File(u"où\nÀ", true))), "o\xF9\r\n\xC0");
  EXPECT_EQ(ReadSourceFile(Write("empty.alg", "")), "");
}

TEST_F(ReadSourceFileTest, LargeFileArrivesByteForByte) {
  std::string bytes;
  for (int i = 0; bytes.size() < (8u << 20); ++i) {
    bytes += "ligne " + std::to_string(i) + " \xE9\xE0\x80\r\n";
  }
  const std::string text = ReadSourceFile(Write("large.alg", bytes));
  EXPECT_TRUE(text == bytes) << "sizes " << text.size() << " and " << bytes.size();
}

TEST_F(ReadSourceFileTest, MissingFile) {
  EXPECT_EQ(ReadError(dir_ / "absent.alg"),
            Message(dir_ / "absent.alg", "Le fichier spécifié est introuvable."));
}

TEST_F(ReadSourceFileTest, RelativePathIsShownInFull) {
  EXPECT_EQ(ReadError("./sans_dossier_tortuval/../absent.alg"),
            Message(fs::current_path() / "absent.alg", "Le fichier spécifié est introuvable."));
}

TEST_F(ReadSourceFileTest, FileUsedAsAFolder) {
  const fs::path path = Write("doc.alg", "x") / "inner.alg";
  EXPECT_EQ(ReadError(path), Message(path, "Le chemin d'accès spécifié est introuvable."));
}

TEST_F(ReadSourceFileTest, Directory) {
  EXPECT_EQ(ReadError(dir_), Message(dir_, "Le chemin désigne un dossier, pas un fichier."));
}

TEST_F(ReadSourceFileTest, UnreadableFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads any file";
  const fs::path path = Write("locked.alg", "x");
  fs::permissions(path, fs::perms::none);
  EXPECT_EQ(ReadError(path), Message(path, "Accès refusé."));
}

}  // namespace
}  // namespace tortuval::convert
