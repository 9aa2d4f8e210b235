#include "core/values/value_document.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tempodial {
namespace {

using namespace std::string_literals;

// The first two lines of every value document, with and without the f5 entry.
const std::string kFontsF0ToF4 =
    R"({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fnil MS Sans Serif;}{\f1\fnil\fcharset2 Symbol;})"
    R"({\f2\fswiss\fprq2 System;}{\f3\fswiss Arial;}{\f4\fnil Arial;}})"
    "\r\n"
    R"({\colortbl\red0\green0\blue0;})"
    "\r\n";
const std::string kFontsF0ToF5 =
    R"({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fnil MS Sans Serif;}{\f1\fnil\fcharset2 Symbol;})"
    R"({\f2\fswiss\fprq2 System;}{\f3\fswiss Arial;}{\f4\fnil Arial;}{\f5\fswiss MS Sans Serif;}})"
    "\r\n"
    R"({\colortbl\red0\green0\blue0;})"
    "\r\n";
const std::string kEnd = "\r\n\\par }\r\n";

// The document for `body` (already escaped) in the clock box font.
std::string clockDocument(const std::string& body) {
  return kFontsF0ToF4 + R"(\deflang2057\pard\plain\f3\fs18 )" + body + kEnd;
}

bool isValidUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80   ? 1
                         : lead < 0xC2 ? 0
                         : lead < 0xE0 ? 2
                         : lead < 0xF0 ? 3
                         : lead < 0xF5 ? 4
                                       : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

TEST(ValueDocumentWriteTest, SecondsFileHoldingZeroIsByteExact) {
  const std::string expected =
      "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}"
      "{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2 System;}{\\f3\\fswiss Arial;}"
      "{\\f4\\fnil Arial;}}\r\n"
      "{\\colortbl\\red0\\green0\\blue0;}\r\n"
      "\\deflang2057\\pard\\plain\\f3\\fs18 0\r\n"
      "\\par }\r\n";
  EXPECT_EQ(writeValueDocument("0", kClockBoxFont), expected);
}

struct BoxCase {
  const char* name;
  BoxFont font;
  std::string expected;
};

class BoxStyleTest : public testing::TestWithParam<BoxCase> {};

TEST_P(BoxStyleTest, WritesTheBoxFontTableAndSize) {
  EXPECT_EQ(writeValueDocument("12.5", GetParam().font), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, BoxStyleTest,
    testing::Values(BoxCase{"ClockBox", kClockBoxFont,
                            kFontsF0ToF4 + R"(\deflang2057\pard\plain\f3\fs18 12.5)" + kEnd},
                    BoxCase{"CostBox", kCostBoxFont,
                            kFontsF0ToF4 + R"(\deflang2057\pard\plain\f3\fs29 12.5)" + kEnd},
                    BoxCase{"SansSerifBoxHasSixthFont", kSansSerifBoxFont,
                            kFontsF0ToF5 + R"(\deflang2057\pard\plain\f5\fs17 12.5)" + kEnd},
                    BoxCase{"OptionsArialBoxHasSixthFont", kOptionsArialBoxFont,
                            kFontsF0ToF5 + R"(\deflang2057\pard\plain\f3\fs17 12.5)" + kEnd}),
    [](const testing::TestParamInfo<BoxCase>& info) { return info.param.name; });

struct EscapeCase {
  const char* name;
  std::string text;
  std::string body;
};

class WriteEscapeTest : public testing::TestWithParam<EscapeCase> {};

TEST_P(WriteEscapeTest, EscapesTheText) {
  EXPECT_EQ(writeValueDocument(GetParam().text, kClockBoxFont), clockDocument(GetParam().body));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WriteEscapeTest,
    testing::Values(
        EscapeCase{"EmptyTextEndsInTheSizeDelimiter", "", ""},
        EscapeCase{"PoundSignIsCodePageEscape", "\u00A35", R"(\'a35)"},
        EscapeCase{"EuroSignIsCodePageEightyHex", "\u20AC", R"(\'80)"},
        EscapeCase{"TypographicPunctuationUsesCodePageSlots",
                   "\u2018\u2019\u201C\u201D\u2013\u2014", R"(\'91\'92\'93\'94\'96\'97)"},
        EscapeCase{"LatinOneUpperHalfIsLowerCaseHex", "\u00E9 \u00FF\u00A0", R"(\'e9 \'ff\'a0)"},
        EscapeCase{"BackslashesAreDoubled", R"(C:\Program Files\x.exe)",
                   R"(C:\\Program Files\\x.exe)"},
        EscapeCase{"BracesAreEscaped", "{a}", R"(\{a\})"},
        EscapeCase{"LineBreakStartsParagraphLine", "a\nb", "a\r\n\\par b"},
        EscapeCase{"LeadingAndDoubledLineBreaks", "\nx\n\n", "\r\n\\par x\r\n\\par \r\n\\par "},
        EscapeCase{"TabIsTabWord", "a\tb", R"(a\tab b)"},
        EscapeCase{"CarriageReturnIsNotALineBreak", "a\r\nb", "a\\u13?\r\n\\par b"},
        EscapeCase{"GreekIsUnicodeEscape", "\u03A9", R"(\u937?)"},
        EscapeCase{"CodeUnitAboveSignedRangeIsNegative", "\uAC00\u4E2D", R"(\u-21504?\u20013?)"},
        EscapeCase{"CharacterBeyondBmpIsSurrogatePair", "\U0001F600", R"(\u-10179?\u-8704?)"},
        EscapeCase{"DigitsAndQuestionMarkAfterEscapesStayText", "\u20AC5?\u03A97?",
                   R"(\'805?\u937?7?)"},
        EscapeCase{"ControlCharacterIsUnicodeEscape", "\x01\x7F", R"(\u1?\u127?)"},
        EscapeCase{"NulIsUnicodeEscape", "a\0b"s, R"(a\u0?b)"},
        EscapeCase{"UnassignedCodePageSlotIsUnicodeEscape", "\u0081\u009D", R"(\u129?\u157?)"},
        EscapeCase{"InvalidByteIsReplacementCharacter",
                   "a\xFF"
                   "b",
                   R"(a\u-3?b)"},
        EscapeCase{"Utf8EncodedSurrogateIsReplaced", "\xED\xA0\x80", R"(\u-3?\u-3?\u-3?)"},
        EscapeCase{"OverlongSequenceIsReplaced", "\xC0\xAF", R"(\u-3?\u-3?)"},
        EscapeCase{"SequenceCutAtEndIsReplaced", "\xE2\x82", R"(\u-3?\u-3?)"}),
    [](const testing::TestParamInfo<EscapeCase>& info) { return info.param.name; });

// Pieces of text the writer must escape in different ways, put next to each
// other so that escapes meet digits, question marks, blanks and line breaks.
const std::vector<std::string> kPieces = {
    "{",    "}",      "\\",     "\u00A3", "\u20AC", "a",          "Z",          "0",
    "7",    "?",      " ",      "  ",     "\n",     "\n\n",       "\r",         "\r\n",
    "\t",   "\u03A9", "\u0416", "\u4E2D", "\uAC00", "\U0001F600", "\U0010FFFF", "\x01",
    "\x7F", "\u0081", "\u00A0", "\u00FF", "\u2011", "\uFFFD",     "par",        "\\par",
    "\\u",  "'",      "\\'",    "-",      ".",      "e"};

TEST(ValueDocumentRoundTripTest, RandomTextsReadBackExactly) {
  std::mt19937 random(7177);
  std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  const BoxFont fonts[] = {kClockBoxFont, kCostBoxFont, kSansSerifBoxFont, kOptionsArialBoxFont};
  for (int i = 0; i < 5000; ++i) {
    std::string text;
    for (int n = length(random); n > 0; --n) text += kPieces[piece(random)];
    const Result<std::string> read = readValueDocument(writeValueDocument(text, fonts[i % 4]));
    ASSERT_TRUE(read.ok()) << read.reason() << " for " << testing::PrintToString(text);
    ASSERT_EQ(read.value(), text);
  }
}

TEST(ValueDocumentRoundTripTest, EveryCharacterReadsBackExactly) {
  std::string text;
  // Every code point below U+0800 and a spread of the rest, in one document.
  for (char32_t c = 0; c <= 0x10FFFF; c += (c < 0x800 ? 1 : c < 0x10000 ? 0x3F : 0x3FF)) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    if (c < 0x80) {
      text.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      text.push_back(static_cast<char>(0xC0 | (c >> 6)));
      text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      text.push_back(static_cast<char>(0xE0 | (c >> 12)));
      text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      text.push_back(static_cast<char>(0xF0 | (c >> 18)));
      text.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  const std::string document = writeValueDocument(text, kSansSerifBoxFont);
  ASSERT_LE(document.size(), kMaxDocumentBytes);
  const Result<std::string> read = readValueDocument(document);
  ASSERT_TRUE(read.ok()) << read.reason();
  EXPECT_EQ(read.value(), text);
}

struct ForeignCase {
  const char* name;
  std::string document;
  std::string text;
};

class ForeignDocumentTest : public testing::TestWithParam<ForeignCase> {};

TEST_P(ForeignDocumentTest, ReadsTheText) {
  const Result<std::string> read = readValueDocument(GetParam().document);
  ASSERT_TRUE(read.ok()) << read.reason();
  EXPECT_EQ(read.value(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    OtherWriters, ForeignDocumentTest,
    testing::Values(
        ForeignCase{
            "WordPadDocument",
            R"({\rtf1\ansi\ansicpg1252\deff0\nouicompat\deflang2057)"
            R"({\fonttbl{\f0\fnil\fcharset0 Calibri;}{\f1\fswiss\fcharset0 Arial;}})"
            "\r\n"
            R"({\colortbl ;\red255\green0\blue0;\red0\green0\blue255;})"
            "\r\n"
            R"({\stylesheet{ Normal;}{\s1\b heading 1;}})"
            "\r\n"
            R"({\*\generator Riched20 10.0.19041}\viewkind4\uc1 )"
            "\r\n"
            R"(\pard\sa200\sl276\slmult1\f0\fs22\lang2057\cf1 Cost \u8364?12 and \'a34\cf0\par)"
            "\r\n}\r\n\0"s,
            "Cost \u20AC"
            "12 and \u00A3"
            "4"},
        ForeignCase{"WordPadTwoParagraphs",
                    "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}\r\n\\pard\\f0\\fs20 first\\par\r\n"
                    "second\\par\r\n}\r\n",
                    "first\nsecond"},
        ForeignCase{"UnicodeWithoutFallback", R"({\rtf1\ansi\uc0\u163 5\par})",
                    "\u00A3"
                    "5"},
        ForeignCase{"LineTabAndNonBreakingSpace", R"({\rtf1 a\line b\tab c\~d\par})",
                    "a\nb\tc\u00A0d"},
        ForeignCase{"NestedGroupsCarryText", R"({\rtf1 plain {\b bold} {\i{\ul under}}\par})",
                    "plain bold under"},
        ForeignCase{"IgnorableDestinationsCarryNoText",
                    R"({\rtf1{\*\expandedcolortbl;;}{\*\mystery some {nested} text}x\par})", "x"},
        ForeignCase{"InfoHeaderAndFooterCarryNoText",
                    R"({\rtf1{\info{\title T}{\author A}}{\header H}{\footer F}x\par})", "x"},
        ForeignCase{"PictureDataCarriesNoText", R"({\rtf1 a{\pict\wmetafile8 0a7b7d}b\par})", "ab"},
        ForeignCase{"BinaryDataIsNotParsed", R"({\rtf1 a{\pict\bin4 }{x}}b\par})", "ab"},
        ForeignCase{"UnknownControlWordsCarryNoText",
                    R"({\rtf1\f0\fs22\lang2057\cf1\ltrch\fcharset0 x\li-360 y\par})", "xy"},
        ForeignCase{"OnlyOneSpaceDelimitsAControlWord", R"({\rtf1\b  x\par})", " x"},
        ForeignCase{"OnlyTheLastParagraphMarkEndsTheValue", R"({\rtf1 a\par\par})", "a\n"},
        ForeignCase{"TextAfterLastParagraphMarkIsKept", R"({\rtf1 a\par b})", "a\nb"},
        ForeignCase{"FallbackMayBeCodePageEscape", R"({\rtf1\uc1\u8364\'80 x\par})", "\u20AC x"},
        ForeignCase{"WiderFallbackIsSkipped", R"({\rtf1\uc2\u8364 EU5\par})",
                    "\u20AC"
                    "5"},
        ForeignCase{"FallbackCountIsScopedToItsGroup", R"({\rtf1{\uc0\u8364}\u8364?\par})",
                    "\u20AC\u20AC"},
        ForeignCase{"FallbackStopsAtGroupEnd", R"({\rtf1\uc3{\u8364?}x\par})", "\u20ACx"},
        ForeignCase{"SurrogatePairIsCombined", R"({\rtf1\u-10179?\u-8704?\par})", "\U0001F600"},
        ForeignCase{"LoneSurrogateIsReplaced", R"({\rtf1\u-10179?x\u-8704?\par})", "\uFFFDx\uFFFD"},
        ForeignCase{"UnsignedUnicodeParameter", R"({\rtf1\u44032?\par})", "\uAC00"},
        ForeignCase{"RawCodePageBytes", "{\\rtf1 \xA3\x80\xE9}", "\u00A3\u20AC\u00E9"},
        ForeignCase{"UpperCaseHexAndUnassignedCode", R"({\rtf1 \'A3\'81})", "\u00A3\u0081"},
        ForeignCase{"EscapedSpecialCharacters", R"({\rtf1 \\\{\}})", "\\{}"},
        ForeignCase{"ControlSymbolsWithoutText", R"({\rtf1 a\-b\|c\:d\_e})", "abcd\u2011e"},
        ForeignCase{"BackslashBeforeLineEndIsParagraph", "{\\rtf1 a\\\r\nb}", "a\nb"},
        ForeignCase{"DocumentLineEndsCarryNoText", "{\\rtf1 a\r\nb\nc\\par\r\n}", "abc"},
        ForeignCase{"MalformedHexEscapeReadsAsText", R"({\rtf1 \'zz})", "zz"},
        ForeignCase{"LeadingBlankLinesAndTrailingBytes", "\r\n {\\rtf1 x}\r\n\0junk}}"s, "x"}),
    [](const testing::TestParamInfo<ForeignCase>& info) { return info.param.name; });

struct FailureCase {
  const char* name;
  std::string bytes;
};

class ReadFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(ReadFailureTest, IsAReadFailureWithAReason) {
  const Result<std::string> read = readValueDocument(GetParam().bytes);
  EXPECT_FALSE(read.ok());
  EXPECT_FALSE(read.reason().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, ReadFailureTest,
    testing::Values(FailureCase{"EmptyInput", ""}, FailureCase{"PlainText", "hello"},
                    FailureCase{"ByteOrderMarkBeforeDocument", "\xEF\xBB\xBF{\\rtf1 x}"},
                    FailureCase{"OtherControlWordFirst", R"({\rtfx x})"},
                    FailureCase{"CloseBeforeOpen", R"(}{\rtf1 x})"},
                    FailureCase{"MagicOnly", R"({\rtf1)"},
                    FailureCase{"OuterGroupNeverCloses", R"({\rtf1 x)"},
                    FailureCase{"InnerGroupLeavesOuterOpen", R"({\rtf1 {x})"},
                    FailureCase{"BackslashAtEnd", "{\\rtf1 x\\"},
                    FailureCase{"HexEscapeCutShort", R"({\rtf1 \'a)"},
                    FailureCase{"BinaryDataLongerThanDocument", R"({\rtf1 \bin100 x})"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST(ReadFailureLimitsTest, TruncatedDocumentIsAReadFailure) {
  const std::string document = writeValueDocument("a{b}\\ \u00A3\U0001F600\n\nend", kClockBoxFont);
  const std::size_t outerClose = document.rfind('}');
  for (std::size_t length = 0; length < document.size(); ++length) {
    const Result<std::string> read = readValueDocument(document.substr(0, length));
    if (length <= outerClose) {
      EXPECT_FALSE(read.ok()) << "prefix of " << length << " bytes";
      EXPECT_FALSE(read.reason().empty());
    } else {
      ASSERT_TRUE(read.ok()) << read.reason();
      EXPECT_EQ(read.value(), "a{b}\\ \u00A3\U0001F600\n\nend");
    }
  }
}

TEST(ReadFailureLimitsTest, DocumentOneByteOverTheLimitIsRejected) {
  const std::size_t overhead = writeValueDocument("", kClockBoxFont).size();
  const std::string fits(kMaxDocumentBytes - overhead, 'a');
  const std::string largest = writeValueDocument(fits, kClockBoxFont);
  ASSERT_EQ(largest.size(), kMaxDocumentBytes);
  const Result<std::string> read = readValueDocument(largest);
  ASSERT_TRUE(read.ok()) << read.reason();
  EXPECT_EQ(read.value(), fits);

  const Result<std::string> tooLarge =
      readValueDocument(writeValueDocument(fits + "a", kClockBoxFont));
  EXPECT_FALSE(tooLarge.ok());
  EXPECT_FALSE(tooLarge.reason().empty());
}

TEST(ReadFailureLimitsTest, DeepNestingIsRejectedWithoutExhaustingTheStack) {
  const std::string open = "{\\rtf1" + std::string(10'000, '{');
  EXPECT_FALSE(readValueDocument(open).ok());
  const Result<std::string> balanced = readValueDocument(open + "x" + std::string(10'001, '}'));
  EXPECT_FALSE(balanced.ok());
  EXPECT_FALSE(balanced.reason().empty());
}

TEST(ReadFailureLimitsTest, NestingOfOneHundredGroupsIsRead) {
  const auto nested = [](int inner) {
    return "{\\rtf1" + std::string(inner, '{') + "x" + std::string(inner + 1, '}');
  };
  const Result<std::string> deepest = readValueDocument(nested(99));
  ASSERT_TRUE(deepest.ok()) << deepest.reason();
  EXPECT_EQ(deepest.value(), "x");
  EXPECT_FALSE(readValueDocument(nested(100)).ok());
}

TEST(ReadFailureLimitsTest, RandomBytesGiveAReasonOrValidText) {
  std::mt19937 random(4242);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 400);
  // Bytes drawn mostly from the characters that steer the reader.
  const std::string steering = "{}\\'*uc0123456789-? \r\nabfpr";
  std::uniform_int_distribution<std::size_t> steer(0, steering.size() - 1);
  for (int i = 0; i < 3000; ++i) {
    const bool looksLikeRtf = i % 2 == 1;
    std::string bytes = looksLikeRtf ? "{\\rtf1 " : "";
    for (int n = length(random); n > 0; --n) {
      bytes.push_back(looksLikeRtf && i % 4 == 1 ? steering[steer(random)]
                                                 : static_cast<char>(byte(random)));
    }
    const Result<std::string> read = readValueDocument(bytes);
    if (!looksLikeRtf) {
      EXPECT_FALSE(read.ok());
    }
    if (read.ok()) {
      EXPECT_TRUE(isValidUtf8(read.value())) << testing::PrintToString(bytes);
    } else {
      EXPECT_FALSE(read.reason().empty());
    }
  }
}

}  // namespace
}  // namespace tempodial
