#include "tools/logtool/title_encoding.h"

#include <algorithm>

#include "logger/unicode_text.h"
#include "platform/ascii_case.h"
#include "tools/logtool/system_text.h"

namespace logtool {
namespace {

struct NamedCodePage {
  const char* name;
  unsigned codePage;
};

constexpr NamedCodePage kCodePageNames[] = {
    {"utf-8", kUtf8CodePage},
    {"cp932", kJapaneseCodePage},
    {"cp1252", kWesternCodePage},
};

bool validIn(const std::string& text, unsigned codePage) {
  std::string utf8;
  return codePageToUtf8(text, codePage, &utf8);
}

}  // namespace

std::optional<unsigned> codePageNamed(std::string_view name) {
  for (const NamedCodePage& known : kCodePageNames) {
    if (platform::equalIgnoringAsciiCase(name, known.name)) return known.codePage;
  }
  return std::nullopt;
}

std::string codePageName(unsigned codePage) {
  for (const NamedCodePage& known : kCodePageNames) {
    if (codePage == known.codePage) return known.name;
  }
  return "cp" + std::to_string(codePage);
}

unsigned guessTitleCodePage(bool utf8Marked, const std::vector<std::string>& titles,
                            unsigned systemCodePage) {
  const auto all = [&titles](auto test) { return std::all_of(titles.begin(), titles.end(), test); };
  if (utf8Marked || all([](const std::string& title) { return logger::isUtf8(title); })) {
    return kUtf8CodePage;
  }
  if (systemCodePage != 0) return systemCodePage;
  if (all([](const std::string& title) { return validIn(title, kJapaneseCodePage); })) {
    return kJapaneseCodePage;
  }
  return kWesternCodePage;
}

std::vector<std::string> titlesAsUtf8(const std::vector<std::string>& titles, unsigned codePage) {
  std::vector<std::string> converted(titles.size());
  for (std::size_t i = 0; i < titles.size(); ++i) {
    codePageToUtf8(titles[i], codePage, &converted[i]);
  }
  return converted;
}

}  // namespace logtool
