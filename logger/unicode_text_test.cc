#include "logger/unicode_text.h"

#include <gtest/gtest.h>

namespace logger {
namespace {

TEST(UnicodeTextTest, Utf16BecomesUtf8InBothByteOrders) {
  // "A", U+00E4, U+901F (a CJK character), U+1F683 (a pair of surrogates).
  const std::string little("A\0\xE4\0\x1F\x90\x3D\xD8\x83\xDE", 10);
  const std::string big("\0A\0\xE4\x90\x1F\xD8\x3D\xDE\x83", 10);
  const std::string expected = "A\xC3\xA4\xE9\x80\x9F\xF0\x9F\x9A\x83";
  EXPECT_EQ(utf16ToUtf8(little, false), expected);
  EXPECT_EQ(utf16ToUtf8(big, true), expected);
}

TEST(UnicodeTextTest, BrokenUtf16GivesReplacementsAndDropsAnOddByte) {
  const std::string replacement = "\xEF\xBF\xBD";
  // A lone high surrogate before "A", a lone low one, a high one at the end.
  EXPECT_EQ(utf16ToUtf8(std::string("\x3D\xD8"
                                    "A\0",
                                    4),
                        false),
            replacement + "A");
  EXPECT_EQ(utf16ToUtf8(std::string("\x83\xDE", 2), false), replacement);
  EXPECT_EQ(utf16ToUtf8(std::string("B\0\x3D\xD8", 4), false), "B" + replacement);
  EXPECT_EQ(utf16ToUtf8(std::string("B\0C", 3), false), "B");
  EXPECT_EQ(utf16ToUtf8("", false), "");
}

TEST(UnicodeTextTest, Utf8IsToldFromAnsiCodePages) {
  EXPECT_TRUE(isUtf8("plain ASCII"));
  EXPECT_TRUE(isUtf8("T\xC3\xBCren zu"));                // "Türen zu"
  EXPECT_TRUE(isUtf8("\xE9\x80\x9F\xE5\xBA\xA6 km/h"));  // "速度 km/h"
  EXPECT_TRUE(isUtf8("\xF0\x9F\x9A\x83"));
  EXPECT_FALSE(isUtf8("T\xFCren zu"));            // code page 1252
  EXPECT_FALSE(isUtf8("\x91\xAC\x93\x78 km/h"));  // "速度 km/h" in code page 932
  EXPECT_FALSE(isUtf8("\xC0\xAF"));               // overlong "/"
  EXPECT_FALSE(isUtf8("\xED\xA0\x80"));           // a surrogate
  EXPECT_FALSE(isUtf8("\xF4\x90\x80\x80"));       // above U+10FFFF
  EXPECT_FALSE(isUtf8("\xE9\x80"));               // cut short
  EXPECT_FALSE(holdsNonAscii("Speed km/h"));
  EXPECT_TRUE(holdsNonAscii("T\xFCren"));
}

}  // namespace
}  // namespace logger
