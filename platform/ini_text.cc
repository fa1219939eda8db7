#include "platform/ini_text.h"

#include <cstring>
#include <optional>
#include <string>

#include "platform/ascii_case.h"
#include "platform/ini_utf16.h"
#include "platform/platform.h"

namespace platform {
namespace {

// Byte 26, the old end-of-file mark, counts as a blank too.
bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The text up to its first NUL: the profile read keeps names and values as
// NUL-terminated strings.
std::string_view untilNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// The profile read hands over at most this many characters of a value.
constexpr std::size_t kValueLimit = 29;

// Reads a value as the Windows profile read does: optional sign, an optional
// 0b, 0o or 0x base prefix, then digits of that base; 32-bit wrap-around.
int32_t parseProfileInteger(std::string_view value) {
  value = value.substr(0, kValueLimit);
  std::size_t at = 0;
  while (at < value.size() && static_cast<unsigned char>(value[at]) <= ' ') ++at;
  bool negative = false;
  if (at < value.size() && (value[at] == '-' || value[at] == '+')) negative = value[at++] == '-';
  uint32_t base = 10;
  if (at + 1 < value.size() && value[at] == '0') {
    const char prefix = value[at + 1];
    base = prefix == 'b' ? 2 : prefix == 'o' ? 8 : prefix == 'x' ? 16 : 10;
    if (base != 10) at += 2;
  }
  uint32_t total = 0;
  for (; at < value.size(); ++at) {
    const char c = lowerAscii(value[at]);
    uint32_t digit = base;
    if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
    if (c >= 'a' && c <= 'f') digit = static_cast<uint32_t>(c - 'a' + 10);
    if (digit >= base) break;
    total = total * base + digit;
  }
  if (negative) total = 0u - total;
  return static_cast<int32_t>(total);
}

// The value text after quotes matching at both ends are taken off.
std::string_view unquote(std::string_view value) {
  if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The text of an INI file with any byte-order mark taken off, UTF-16 read
// into *decoded.
std::string_view decodedText(std::string_view text, std::string* decoded) {
  if (decodeUtf16Ini(text, decoded)) return *decoded;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return text;
}

// The value text under key in section of the decoded INI text, unquoted; none
// when the section or the key is missing.
std::optional<std::string_view> findValue(std::string_view text, std::string_view section,
                                          std::string_view key) {
  section = trim(section);
  key = trim(key);
  bool inSection = false;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    std::string_view line = trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty()) continue;  // also what lies between the CR and the LF of a line end
    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      if (close != std::string_view::npos) {
        // Only the first section of the name is searched.
        if (inSection) return std::nullopt;
        inSection = equalIgnoringAsciiCase(untilNul(trim(line.substr(1, close - 1))), section);
        continue;
      }
    }
    if (!inSection) continue;
    const std::size_t equals = line.find('=');
    if (!equalIgnoringAsciiCase(untilNul(trim(line.substr(0, equals))), key)) continue;
    if (equals == std::string_view::npos) return std::nullopt;
    return unquote(untilNul(trim(line.substr(equals + 1))));
  }
  return std::nullopt;
}

// The whole text of the file at path; false when it cannot be read.
bool readWholeFile(const std::string& path, std::string* text) {
  const FileHandle file = openForReading(path);
  if (!file.isOpen()) return false;
  char buffer[65536];
  std::ptrdiff_t count;
  while ((count = readFile(file, buffer, sizeof buffer)) > 0) {
    text->append(buffer, static_cast<std::size_t>(count));
  }
  return count == 0;
}

}  // namespace

int32_t findIniInt(std::string_view text, std::string_view section, std::string_view key,
                   int32_t defaultValue) {
  std::string decoded;
  const std::optional<std::string_view> value =
      findValue(decodedText(text, &decoded), section, key);
  return !value || value->empty() ? defaultValue : parseProfileInteger(*value);
}

std::string findIniString(std::string_view text, std::string_view section, std::string_view key) {
  std::string decoded;
  return std::string(findValue(decodedText(text, &decoded), section, key).value_or(""));
}

int32_t readIniFileInt(const std::string& path, std::string_view section, std::string_view key,
                       int32_t defaultValue) {
  std::string text;
  return readWholeFile(path, &text) ? findIniInt(text, section, key, defaultValue) : defaultValue;
}

std::string readIniFileString(const std::string& path, std::string_view section,
                              std::string_view key) {
  std::string text;
  return readWholeFile(path, &text) ? findIniString(text, section, key) : std::string();
}

}  // namespace platform
