#include <windows.h>

#include "tools/logtool/system_text.h"

namespace logtool {

bool codePageToUtf8(std::string_view text, unsigned codePage, std::string* utf8) {
  utf8->clear();
  if (text.empty()) return true;
  const int size = static_cast<int>(text.size());
  int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  const bool valid = length > 0;
  // Text that is not valid in the code page is converted as Windows does
  // without the check, each byte it cannot read as the code page's default.
  const DWORD flags = valid ? MB_ERR_INVALID_CHARS : 0;
  if (!valid) length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return false;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), size, &wide[0], length);
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  utf8->resize(static_cast<std::size_t>(bytes > 0 ? bytes : 0));
  if (bytes > 0) {
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, &(*utf8)[0], bytes, nullptr, nullptr);
  }
  return valid;
}

unsigned systemAnsiCodePage() { return GetACP(); }

std::string userLanguage() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const LANGID language = GetUserDefaultUILanguage();
  if (LCIDToLocaleName(MAKELCID(language, SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) <= 0) {
    return std::string();
  }
  std::string code;
  for (const wchar_t* at = name; *at != L'\0' && *at != L'-'; ++at) {
    code.push_back(static_cast<char>(*at));
  }
  return code;
}

}  // namespace logtool
