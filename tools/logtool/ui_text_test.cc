#include "tools/logtool/ui_text.h"

#include <gtest/gtest.h>

#include <set>

#include "logger/unicode_text.h"

namespace logtool {
namespace {

// The "{N}" a text holds.
std::multiset<std::string> placeholders(const std::string& text) {
  std::multiset<std::string> found;
  for (std::size_t at = text.find('{'); at != std::string::npos; at = text.find('{', at + 1)) {
    found.insert(text.substr(at, 3));
  }
  return found;
}

TEST(UiTextTest, EveryTextIsInBothTablesAndTheJapaneseIsJapanese) {
  const std::pair<UiText, const char*> texts[] = {
#define LOGTOOL_UI_TEXT_PAIR(name) {UiText::name, #name},
      LOGTOOL_UI_TEXTS(LOGTOOL_UI_TEXT_PAIR)
#undef LOGTOOL_UI_TEXT_PAIR
  };
  for (const auto& [id, name] : texts) {
    const char* english = tableText(id, Language::kEnglish);
    const char* japanese = tableText(id, Language::kJapanese);
    ASSERT_NE(english, nullptr) << name;
    ASSERT_NE(japanese, nullptr) << name << " is missing from the Japanese table";
    EXPECT_NE(std::string(japanese), english) << name << " is still English";
    EXPECT_TRUE(logger::holdsNonAscii(japanese)) << name << " is not Japanese: " << japanese;
    EXPECT_TRUE(logger::isUtf8(japanese)) << name;
    EXPECT_EQ(placeholders(japanese), placeholders(english)) << name;
  }
}

TEST(UiTextTest, FillingPutsValuesInTheirPlaces) {
  EXPECT_EQ(fillText(UiText::kFormatNote, Language::kEnglish, {"decimal-point", "3"}),
            "format: decimal-point, 3 columns");
  EXPECT_EQ(fillText(UiText::kEventAt, Language::kJapanese, {"A", "B"}),
            "B \xE3\x81\xA7"
            "A");
  EXPECT_EQ(languageNamed("JA"), Language::kJapanese);
  EXPECT_EQ(languageNamed("en"), Language::kEnglish);
  EXPECT_EQ(languageNamed("de"), std::nullopt);
}

}  // namespace
}  // namespace logtool
