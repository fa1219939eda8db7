#include "tests/test_host_win32.h"

#include "tests/module_fixture.h"

namespace testing_support {

DWORD runTestAsHost(const std::string& test, const std::vector<EnvironmentVariable>& environment) {
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(program) + L"\" \"" +
                             builtModulePath().wstring() + L"\" \"" +
                             expectedLogDirectory().wstring() + L"\" --gtest_filter=" +
                             std::wstring(test.begin(), test.end()) +
                             L" --gtest_also_run_disabled_tests --gtest_catch_exceptions=0";
  for (const auto& [name, value] : environment)
    SetEnvironmentVariableA(name.c_str(), value.c_str());
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  DWORD exitCode = kHostNotStarted;
  if (CreateProcessW(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (const auto& variable : environment) SetEnvironmentVariableA(variable.first.c_str(), nullptr);
  return exitCode;
}

}  // namespace testing_support
