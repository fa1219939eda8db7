#include "tools/simhost/log_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace simhost {

std::set<std::filesystem::path> findLogs(const std::filesystem::path& directory) {
  std::set<std::filesystem::path> logs;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("Log_", 0) == 0 && entry.path().extension() == ".csv") logs.insert(entry.path());
  }
  return logs;
}

int64_t countDataRows(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  const int64_t lines =
      std::count(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>(), '\n');
  return std::max<int64_t>(lines - 1, 0);
}

}  // namespace simhost
