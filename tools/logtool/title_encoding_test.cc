#include "tools/logtool/title_encoding.h"

#include <gtest/gtest.h>

#include "tools/logtool/system_text.h"

namespace logtool {
namespace {

// "速度 km/h" and "Türen zu" in each encoding.
const std::string kSpeedUtf8 = "\xE9\x80\x9F\xE5\xBA\xA6 km/h";
const std::string kSpeed932 = "\x91\xAC\x93\x78 km/h";
const std::string kDoorsUtf8 = "T\xC3\xBCren zu";
const std::string kDoors1252 = "T\xFCren zu";

TEST(TitleEncodingTest, ThePlatformConvertsEachCodePage) {
  std::string utf8;
  EXPECT_TRUE(codePageToUtf8(kSpeed932, kJapaneseCodePage, &utf8));
  EXPECT_EQ(utf8, kSpeedUtf8);
  EXPECT_TRUE(codePageToUtf8(kDoors1252, kWesternCodePage, &utf8));
  EXPECT_EQ(utf8, kDoorsUtf8);
  EXPECT_TRUE(codePageToUtf8(kSpeedUtf8, kUtf8CodePage, &utf8));
  EXPECT_EQ(utf8, kSpeedUtf8);
  // "€" at 0x80 and the half-width katakana "ｱ" at 0xB1 of code page 932.
  EXPECT_TRUE(codePageToUtf8("\x80", kWesternCodePage, &utf8));
  EXPECT_EQ(utf8, "\xE2\x82\xAC");
  EXPECT_TRUE(codePageToUtf8("\xB1", kJapaneseCodePage, &utf8));
  EXPECT_EQ(utf8, "\xEF\xBD\xB1");
  EXPECT_FALSE(codePageToUtf8(kDoors1252, kUtf8CodePage, &utf8));
  EXPECT_EQ(utf8.substr(0, 1), "T");
  EXPECT_EQ(utf8.substr(utf8.size() - 6), "ren zu");
}

TEST(TitleEncodingTest, TheGuessTellsUtf8AndTheCodePagesApart) {
  const std::vector<std::string> ascii = {"Time", "Speed"};
  EXPECT_EQ(guessTitleCodePage(false, ascii, 0), kUtf8CodePage);
  EXPECT_EQ(guessTitleCodePage(false, {"Time", kSpeedUtf8}, 0), kUtf8CodePage);
  EXPECT_EQ(guessTitleCodePage(false, {"Time", kSpeed932}, 0), kJapaneseCodePage);
  // Not valid code page 932: a lead byte at the title's end.
  EXPECT_EQ(guessTitleCodePage(false, {kDoors1252, "\xE9"}, 0), kWesternCodePage);
  // The mark wins over the bytes; the system's code page over the guess.
  EXPECT_EQ(guessTitleCodePage(true, {kSpeed932}, 0), kUtf8CodePage);
  EXPECT_EQ(guessTitleCodePage(false, {kSpeed932}, kWesternCodePage), kWesternCodePage);
  EXPECT_EQ(titlesAsUtf8({kSpeed932, "BC"}, kJapaneseCodePage),
            (std::vector<std::string>{kSpeedUtf8, "BC"}));
}

TEST(TitleEncodingTest, EncodingNamesAreKnownInAnyCase) {
  EXPECT_EQ(codePageNamed("utf-8"), kUtf8CodePage);
  EXPECT_EQ(codePageNamed("CP932"), kJapaneseCodePage);
  EXPECT_EQ(codePageNamed("cp1252"), kWesternCodePage);
  EXPECT_EQ(codePageNamed("latin1"), std::nullopt);
  EXPECT_EQ(codePageName(kJapaneseCodePage), "cp932");
}

}  // namespace
}  // namespace logtool
