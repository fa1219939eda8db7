// Letter case of plain ASCII text, as the classic locale sees it, whatever
// locale the host has set: only a to z and A to Z change.
#ifndef LOGGER_PLATFORM_ASCII_CASE_H_
#define LOGGER_PLATFORM_ASCII_CASE_H_

#include <string_view>

namespace platform {

// c with A to Z made a to z; every other byte as it is.
constexpr char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// c with a to z made A to Z; every other byte as it is.
constexpr char upperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when a and b differ at most in the case of ASCII letters.
constexpr bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t at = 0; at < a.size(); ++at) {
    if (lowerAscii(a[at]) != lowerAscii(b[at])) return false;
  }
  return true;
}

}  // namespace platform

#endif  // LOGGER_PLATFORM_ASCII_CASE_H_
