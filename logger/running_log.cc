#include "logger/running_log.h"

#include <vector>

#include "logger/run_files.h"

namespace logger {
namespace {

constexpr char kRunningPrefix[] = "Running_";
constexpr char kRunningEnding[] = ".csv.running";

// The length of "Log_YYMMDD-hhmmss".
constexpr std::size_t kLogNameLength = 17;

bool isDigits(const std::string& text, std::size_t from, std::size_t count) {
  if (text.size() < from + count) return false;
  for (std::size_t at = from; at < from + count; ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
  }
  return true;
}

std::string inDirectory(const std::string& directory, const std::string& name) {
  return directory + platform::pathSeparator() + name;
}

// True when one of names, the entries of directory, is a finished log of
// logName that is the very file open in file: a run that ended, or a
// recovery, was cut short between giving the file its finished name and
// taking the running one away.
bool hasFinishedName(const platform::FileHandle& file, const std::string& directory,
                     const std::string& logName, const std::vector<std::string>& names) {
  const std::string ending = ".csv";
  for (const std::string& name : names) {
    if (name.size() < logName.size() + ending.size() ||
        name.compare(0, logName.size(), logName) != 0 ||
        name.compare(name.size() - ending.size(), ending.size(), ending) != 0) {
      continue;
    }
    if (platform::isSameFile(file, inDirectory(directory, name))) return true;
  }
  return false;
}

}  // namespace

std::string runningFileName(const std::string& logName, int attempt) {
  std::string name = kRunningPrefix + logName;
  if (attempt > 1) name += "_" + std::to_string(attempt);
  return name + kRunningEnding;
}

std::string logNameOfRunningFile(const std::string& fileName) {
  const std::size_t prefix = sizeof kRunningPrefix - 1;
  const std::size_t ending = sizeof kRunningEnding - 1;
  if (fileName.size() < prefix + kLogNameLength + ending) return std::string();
  if (fileName.compare(0, prefix, kRunningPrefix) != 0) return std::string();
  if (fileName.compare(fileName.size() - ending, ending, kRunningEnding) != 0) return std::string();
  const std::string logName = fileName.substr(prefix, kLogNameLength);
  if (logName.compare(0, 4, "Log_") != 0 || !isDigits(logName, 4, 6) || logName[10] != '-' ||
      !isDigits(logName, 11, 6)) {
    return std::string();
  }
  const std::size_t rest = fileName.size() - prefix - kLogNameLength - ending;
  if (rest == 0) return logName;
  const std::size_t number = prefix + kLogNameLength;
  if (rest < 2 || fileName[number] != '_' || !isDigits(fileName, number + 1, rest - 1)) {
    return std::string();
  }
  return logName;
}

bool createRunningLog(const std::string& directory, const std::string& logName,
                      platform::FileHandle* file, std::string* path) {
  return takeFirstFreeName([&](int attempt) {
    *path = inDirectory(directory, runningFileName(logName, attempt));
    return platform::createRunningFile(*path, file);
  });
}

bool nameFinishedLog(platform::FileHandle* file, const std::string& path,
                     const std::string& logStem) {
  return takeFirstFreeName([&](int attempt) {
    return platform::renameOpenFile(file, path, logPathForAttempt(logStem, attempt));
  });
}

int64_t lastWholeLineEnd(const platform::FileHandle& file) {
  int64_t end = platform::fileSize(file);
  if (end < 0) return -1;
  char block[65536];
  while (end > 0) {
    const std::size_t size =
        end < int64_t{sizeof block} ? static_cast<std::size_t>(end) : sizeof block;
    const int64_t start = end - static_cast<int64_t>(size);
    if (platform::readFileAt(file, start, block, size) != static_cast<std::ptrdiff_t>(size)) {
      return -1;
    }
    for (std::size_t at = size; at > 0; --at) {
      if (block[at - 1] == '\n') return start + static_cast<int64_t>(at);
    }
    end = start;
  }
  return 0;
}

void recoverRunningLogs(const std::string& directory) {
  const std::vector<std::string> names = platform::listDirectory(directory);
  for (const std::string& name : names) {
    const std::string logName = logNameOfRunningFile(name);
    if (logName.empty()) continue;
    const std::string path = inDirectory(directory, name);
    platform::FileHandle file = platform::takeOverFile(path);
    if (!file.isOpen()) continue;  // a live run's, or gone
    // Every name goes while the file is held: once it is let go, a new run
    // may create a file of the same name.
    if (hasFinishedName(file, directory, logName, names)) {
      platform::removeOpenFile(&file, path);
      continue;
    }
    const int64_t kept = lastWholeLineEnd(file);
    if (kept == 0) {
      platform::removeOpenFile(&file, path);
    } else if (kept > 0 && platform::truncateFile(file, kept)) {
      nameFinishedLog(&file, path, inDirectory(directory, logName));
    }
  }
}

}  // namespace logger
