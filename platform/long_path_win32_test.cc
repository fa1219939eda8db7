#include "platform/long_path_win32.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

TEST(LongPathTest, LongAbsolutePathsGetThePrefixOfTheirKind) {
  const std::wstring deep = L"\\" + std::wstring(250, L'd') + L"\\Log.csv";
  EXPECT_EQ(longPathName(L"C:" + deep), L"\\\\?\\C:" + deep);
  EXPECT_EQ(longPathName(L"\\\\server\\share" + deep), L"\\\\?\\UNC\\server\\share" + deep);
  // Already in the long form, or relative: as they are.
  for (const std::wstring& path : {L"\\\\?\\C:" + deep, L"\\\\?\\UNC\\server\\share" + deep,
                                   L"\\\\.\\pipe" + deep, L"folder" + deep}) {
    EXPECT_EQ(longPathName(path), path);
  }
  // Short enough for the functions as they are.
  EXPECT_EQ(longPathName(L"C:\\sim\\Log.csv"), L"C:\\sim\\Log.csv");
  EXPECT_EQ(longPathName(L"\\\\server\\share\\Log.csv"), L"\\\\server\\share\\Log.csv");
}

}  // namespace
}  // namespace platform
