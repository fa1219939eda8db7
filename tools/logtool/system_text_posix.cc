#include <errno.h>
#include <iconv.h>

#include <cstdlib>

#include "tools/logtool/system_text.h"

namespace logtool {
namespace {

const char* iconvName(unsigned codePage) {
  switch (codePage) {
    case kUtf8CodePage:
      return "UTF-8";
    case kJapaneseCodePage:
      return "CP932";
    case kWesternCodePage:
      return "CP1252";
    default:
      return nullptr;
  }
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

}  // namespace

bool codePageToUtf8(std::string_view text, unsigned codePage, std::string* utf8) {
  utf8->clear();
  const char* name = iconvName(codePage);
  const iconv_t converter = name ? iconv_open("UTF-8", name) : reinterpret_cast<iconv_t>(-1);
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    for (std::size_t at = 0; at < text.size(); ++at) {
      const auto byte = static_cast<unsigned char>(text[at]);
      if (byte < 0x80) {
        utf8->push_back(text[at]);
      } else {
        utf8->append(kReplacement);
      }
    }
    return false;
  }
  bool valid = true;
  std::string input(text);
  char* in = &input[0];
  std::size_t inLeft = input.size();
  char buffer[256];
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    utf8->append(buffer, static_cast<std::size_t>(out - buffer));
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // An invalid or cut-short sequence: one byte of it as U+FFFD.
      valid = false;
      utf8->append(kReplacement);
      ++in;
      --inLeft;
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(converter);
  return valid;
}

unsigned systemAnsiCodePage() { return 0; }

std::string userLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') continue;
    const std::string locale(value);
    return locale.substr(0, locale.find_first_of("_.@"));
  }
  return std::string();
}

}  // namespace logtool
