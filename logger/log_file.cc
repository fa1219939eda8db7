#include "logger/log_file.h"

#include <algorithm>
#include <cstdint>

namespace logger {

bool writeLogFile(const LogBuffer& log, const platform::FileHandle& file) {
  const bool whole = log.forEachPiece([&file](const char* data, std::size_t size) {
    return platform::writeFile(file, data, size);
  });
  if (whole) return true;
  // What the file held before is kept whole: rows never straddle it.
  const int64_t before = static_cast<int64_t>(log.fileLength());
  const int64_t written = platform::fileSize(file);
  if (written >= before) {
    const int64_t kept = before + static_cast<int64_t>(wholeLinesLength(
                                      log, static_cast<std::size_t>(written - before)));
    if (kept < written) platform::truncateFile(file, kept);
  }
  return false;
}

std::size_t wholeLinesLength(const LogBuffer& log, std::size_t size) {
  std::size_t offset = 0;
  std::size_t length = 0;
  log.forEachPiece([&](const char* data, std::size_t pieceSize) {
    const std::size_t considered = std::min(pieceSize, size - offset);
    for (std::size_t at = considered; at > 0; --at) {
      if (data[at - 1] == '\n') {
        length = offset + at;
        break;
      }
    }
    offset += considered;
    return offset < size;
  });
  return length;
}

}  // namespace logger
