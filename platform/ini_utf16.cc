#include "platform/ini_utf16.h"

namespace platform {

bool decodeUtf16Ini(std::string_view text, std::string* bytes) {
  const bool littleEndian = text.substr(0, 2) == "\xFF\xFE";
  if (!littleEndian && text.substr(0, 2) != "\xFE\xFF") return false;
  bytes->clear();
  bytes->reserve(text.size() / 2);
  for (std::size_t at = 2; at < text.size(); at += 2) {
    const unsigned first = static_cast<unsigned char>(text[at]);
    const unsigned second = at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0;
    const unsigned unit = littleEndian ? first | second << 8 : first << 8 | second;
    bytes->push_back(unit < 0x80 ? static_cast<char>(unit) : '\x80');
  }
  return true;
}

}  // namespace platform
