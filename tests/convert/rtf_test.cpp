#include "convert/rtf.h"

#include <gtest/gtest.h>

#include <string>

namespace tortuval::convert {
namespace {

TEST(RtfTest, RecognisesOnlyTheRtfHeader) {
  EXPECT_TRUE(IsRtf("{\\rtf1\\ansi x}"));
  EXPECT_TRUE(IsRtf("{\\rtf"));
  EXPECT_FALSE(IsRtf("{\\rt"));
  EXPECT_FALSE(IsRtf(" {\\rtf1"));
  EXPECT_FALSE(IsRtf("{\\RTF1"));
  EXPECT_FALSE(IsRtf("<?xml version=\"1.0\"?>"));
}

struct RtfRow {
  const char* name;
  std::string rtf;
  std::string expected;  // UTF-8
};

TEST(RtfTest, PlainText) {
  const RtfRow rows[] = {
      {"paragraphs and lines", "{\\rtf1 a\\par b\\line c}", "a\r\nb\r\nc"},
      {"source line breaks ignored", "{\\rtf1 ab\r\ncd\ne\rf}", "abcdef"},
      {"backslash at line end is a paragraph", "{\\rtf1 a\\\r\nb}", "a\r\nb"},
      {"one space ends a control word", "{\\rtf1\\b gras\\b0  x}", "gras x"},
      {"parameter ends a control word", "{\\rtf1\\fs22x\\li-120y}", "xy"},
      {"space after a control symbol is text", "{\\rtf1 \\'e9 t\\{ }", "\xC3\xA9 t{ "},
      {"escaped characters", "{\\rtf1 \\\\ \\{ \\}}", "\\ { }"},
      {"tab and typographic words", "{\\rtf1 a\\tab b\\emdash\\lquote c\\rquote}",
       "a\tb\xE2\x80\x94\xE2\x80\x98"
       "c\xE2\x80\x99"},
      {"hex bytes are Windows-1252", "{\\rtf1 \\'c9\\'80\\'9c\\'81}",
       "\xC3\x89\xE2\x82\xAC\xC5\x93\xC2\x81"},
      {"raw UTF-8 passes through", "{\\rtf1 \xC3\xA9t\xC3\xA9}", "\xC3\xA9t\xC3\xA9"},
      {"text after the document ignored", "{\\rtf1 a}b{c}", "a"},
      {"unknown words ignored", "{\\rtf1\\pard\\qc\\nowidctlpar x}", "x"},
  };
  for (const RtfRow& row : rows) {
    EXPECT_EQ(RtfToPlainUtf8(row.rtf), row.expected) << row.name;
  }
}

TEST(RtfTest, SkippedGroups) {
  const RtfRow rows[] = {
      {"font table", "{\\rtf1{\\fonttbl{\\f0\\fnil Tahoma;}{\\f1 Arial;}}x}", "x"},
      {"colour table", "{\\rtf1{\\colortbl ;\\red0\\green0\\blue255;}x}", "x"},
      {"style sheet", "{\\rtf1{\\stylesheet{\\s0 Normal;}}x}", "x"},
      {"information", "{\\rtf1{\\info{\\title Titre}{\\author A}}x}", "x"},
      {"ignorable destination", "{\\rtf1{\\*\\generator Msftedit 5.41;}x}", "x"},
      {"picture with hex data", "{\\rtf1{\\pict\\wmetafile8 0100ff}x}", "x"},
      {"picture with binary data", "{\\rtf1{\\pict\\bin4 {}\\}}x}", "x"},
      {"nested groups inherit skipping", "{\\rtf1{\\*\\x{a{b}}c}d}", "d"},
      {"formatting groups keep their text", "{\\rtf1 a{\\b b}{\\i c}d}", "abcd"},
  };
  for (const RtfRow& row : rows) {
    EXPECT_EQ(RtfToPlainUtf8(row.rtf), row.expected) << row.name;
  }
}

TEST(RtfTest, UnicodeCharacters) {
  const RtfRow rows[] = {
      {"default fallback of one", "{\\rtf1 \\u233?t\\u232?}", "\xC3\xA9t\xC3\xA8"},
      {"negative is 65536 less", "{\\rtf1 \\u-4064?}", "\xEF\x80\xA0"},
      {"surrogate pair", "{\\rtf1 \\u-10179?\\u-8704?x}", "\xF0\x9F\x98\x80x"},
      {"lone high surrogate", "{\\rtf1 \\u-10179?x}", "?x"},
      {"lone low surrogate", "{\\rtf1 \\u-8704?x}", "?x"},
      {"high surrogate at end", "{\\rtf1 \\u-10179?}", "?"},
      {"huge parameter", "{\\rtf1 \\u99999999999999999999999?x}", "?x"},
      {"fallback of two with hex", "{\\rtf1\\uc2\\u8364\\'80\\'80x}",
       "\xE2\x82\xAC"
       "x"},
      {"no fallback", "{\\rtf1\\uc0\\u233 x}", "\xC3\xA9x"},
      {"fallback counts a control word", "{\\rtf1\\uc1\\u233\\'e9\\uc1\\u232\\b x}",
       "\xC3\xA9\xC3\xA8x"},
      {"fallback counts a UTF-8 character", "{\\rtf1 \\u233\xC3\xA9x}", "\xC3\xA9x"},
      {"fallback length is kept per group", "{\\rtf1{\\uc2\\u233??}\\u233?x}", "\xC3\xA9\xC3\xA9x"},
      {"fallback stops at a brace", "{\\rtf1\\uc3\\u233{x}y}", "\xC3\xA9xy"},
      {"without parameter ignored", "{\\rtf1 \\u x}", "x"},
  };
  for (const RtfRow& row : rows) {
    EXPECT_EQ(RtfToPlainUtf8(row.rtf), row.expected) << row.name;
  }
}

TEST(RtfTest, MalformedInputEndsQuietly) {
  const RtfRow rows[] = {
      {"unclosed groups", "{\\rtf1 {a{b", "ab"},
      {"truncated hex escape", "{\\rtf1 a\\'", "a"},
      {"hex escape with one digit", "{\\rtf1 a\\'4", "a4"},
      {"hex escape with no hex digits", "{\\rtf1 a\\'zzb}", "azzb"},
      {"trailing backslash", "{\\rtf1 a\\", "a"},
      {"truncated parameter", "{\\rtf1 a\\u-", "a-"},
      {"binary longer than the input", "{\\rtf1 a\\bin999 xyz", "a"},
      {"huge fallback", "{\\rtf1\\uc999999999999\\u233 abc}d", "\xC3\xA9"},
      {"empty", "", ""},
  };
  for (const RtfRow& row : rows) {
    EXPECT_EQ(RtfToPlainUtf8(row.rtf), row.expected) << row.name;
  }
}

TEST(RtfTest, DeepNestingKeepsCountingBraces) {
  constexpr int kDepth = 200000;
  const std::string rtf =
      "{\\rtf1 " + std::string(kDepth, '{') + "x" + std::string(kDepth, '}') + "y}z";
  EXPECT_EQ(RtfToPlainUtf8(rtf), "xy");
  EXPECT_EQ(RtfToPlainUtf8("{\\rtf1 " + std::string(kDepth, '{') + "x"), "x");
}

}  // namespace
}  // namespace tortuval::convert
