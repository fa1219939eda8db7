#include "platform/ini_text.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

TEST(IniTextTest, SectionAndKeyNamesIgnoreCaseAndSurroundingBlanks) {
  EXPECT_EQ(findIniInt("[frame]\nSKIP=3", "Frame", "Skip             ", 60), 3);
  EXPECT_EQ(findIniInt("\t[Frame]\t\n\tSkip\t=\t4\t", " Frame ", "Skip", 60), 4);
  EXPECT_EQ(findIniInt("[Frame]\nSkipper=5", "Frame", "Skip", 60), 60);
}

TEST(IniTextTest, ValuesReadAsTheProfileReadReadsThem) {
  EXPECT_EQ(findIniInt("[F]\nK=2147483647", "F", "K", 0), 2147483647);
  EXPECT_EQ(findIniInt("[F]\nK=-2147483648", "F", "K", 0), -2147483647 - 1);
  EXPECT_EQ(findIniInt("[F]\nK=4294967297", "F", "K", 0), 1);
  EXPECT_EQ(findIniInt("[F]\nK=0x1F", "F", "K", 0), 31);
  EXPECT_EQ(findIniInt("[F]\nK='7'", "F", "K", 0), 7);
  EXPECT_EQ(findIniInt("[F]\nK=\"", "F", "K", 0), 0);
  EXPECT_EQ(findIniInt("[F]\nK=12,5", "F", "K", 0), 12);
}

TEST(IniTextTest, BrokenTextNeverReadsOutOfBounds) {
  EXPECT_EQ(findIniInt("[", "F", "K", 9), 9);
  EXPECT_EQ(findIniInt("[]", "", "K", 9), 9);
  EXPECT_EQ(findIniInt("[F", "F", "K", 9), 9);
  EXPECT_EQ(findIniInt("[F]\n=", "F", "", 9), 9);
  EXPECT_EQ(findIniInt("[F]\n \n\n=5", "F", "", 9), 5);  // empty lines hold no empty key
  EXPECT_EQ(findIniInt(std::string("[F]\nK=1\0002", 9), "F", "K", 9), 1);
}

// "[F]\nK=9" as UTF-16 in either byte order, with the byte-order mark.
const std::string kLittleEndian(
    "\xFF\xFE[\0F\0]\0\n\0K\0=\0"
    "9\0",
    16);
const std::string kBigEndian(
    "\xFE\xFF\0[\0F\0]\0\n\0K\0=\0"
    "9",
    16);

TEST(IniTextTest, AnOddLastByteOfUtf16TextIsAUnitOfItsOwn) {
  EXPECT_EQ(findIniInt(kLittleEndian, "F", "K", 0), 9);
  EXPECT_EQ(findIniInt(kLittleEndian + "5", "F", "K", 0), 95);
  EXPECT_EQ(findIniInt(kBigEndian, "F", "K", 0), 9);
  EXPECT_EQ(findIniInt(kBigEndian + "5", "F", "K", 0), 9);  // 0x3500, no digit
  EXPECT_EQ(findIniInt("\xFF\xFE\x35", "F", "K", 7), 7);
}

}  // namespace
}  // namespace platform
