#include "logger/unicode_text.h"

namespace logger {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(char32_t code, std::string* text) {
  if (code < 0x80) {
    text->push_back(static_cast<char>(code));
    return;
  }
  if (code < 0x800) {
    text->push_back(static_cast<char>(0xC0 | code >> 6));
  } else {
    if (code < 0x10000) {
      text->push_back(static_cast<char>(0xE0 | code >> 12));
    } else {
      text->push_back(static_cast<char>(0xF0 | code >> 18));
      text->push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
    }
    text->push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
  }
  text->push_back(static_cast<char>(0x80 | (code & 0x3F)));
}

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

}  // namespace

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  const std::size_t count = bytes.size() / 2;
  const auto unitAt = [&](std::size_t index) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[2 * index]);
    const auto second = static_cast<unsigned char>(bytes[2 * index + 1]);
    return bigEndian ? char32_t{first} << 8 | second : char32_t{second} << 8 | first;
  };
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t index = 0; index < count; ++index) {
    const char32_t unit = unitAt(index);
    if (isHighSurrogate(unit) && index + 1 < count && isLowSurrogate(unitAt(index + 1))) {
      appendUtf8(0x10000 + ((unit - 0xD800) << 10) + (unitAt(index + 1) - 0xDC00), &text);
      ++index;
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      appendUtf8(kReplacement, &text);
    } else {
      appendUtf8(unit, &text);
    }
  }
  return text;
}

bool isUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length;
    char32_t code;
    if (lead < 0x80) {
      ++at;
      continue;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      length = 2;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      length = 3;
      code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      length = 4;
      code = lead & 0x07;
    } else {
      return false;
    }
    if (text.size() - at < length) return false;
    for (std::size_t next = 1; next < length; ++next) {
      const auto byte = static_cast<unsigned char>(text[at + next]);
      if ((byte & 0xC0) != 0x80) return false;
      code = code << 6 | (byte & 0x3F);
    }
    const char32_t shortest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (code < shortest || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return false;
    at += length;
  }
  return true;
}

bool holdsNonAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

}  // namespace logger
