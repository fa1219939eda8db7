// UTF-8 text as the UTF-16 that Windows' wide functions take, for the
// Windows sources of the module and of the hosts that load it.
#ifndef LOGGER_PLATFORM_WIDE_TEXT_WIN32_H_
#define LOGGER_PLATFORM_WIDE_TEXT_WIN32_H_

#include <windows.h>

#include <string>

namespace platform {

// text in UTF-8 as UTF-16; empty when it is not valid UTF-8.
inline std::wstring widened(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, &wide[0], length);
  return wide;
}

}  // namespace platform

#endif  // LOGGER_PLATFORM_WIDE_TEXT_WIN32_H_
