#include "logger/log_file.h"

#include <algorithm>
#include <cstdint>

namespace logger {
namespace {

// Writes zero bytes, where readers of the log stop, over size bytes of file
// from offset on, as far as it can.
void eraseBytes(const platform::FileHandle& file, int64_t offset, std::size_t size) {
  static const char kZeros[4096] = {};
  while (size > 0) {
    const std::size_t piece = std::min(size, sizeof kZeros);
    if (platform::writeFileAt(file, offset, kZeros, piece) != piece) return;
    offset += static_cast<int64_t>(piece);
    size -= piece;
  }
}

}  // namespace

bool writeLogFile(const LogBuffer& log, const platform::FileHandle& file) {
  // Placed after the file's part, not where the writing position happens to
  // be: a file that could not be cut back has room past its part.
  const int64_t before = static_cast<int64_t>(log.fileLength());
  std::size_t written = 0;
  const bool whole = log.forEachPiece([&](const char* data, std::size_t size) {
    const std::size_t count =
        platform::writeFileAt(file, before + static_cast<int64_t>(written), data, size);
    written += count;
    return count == size;
  });
  if (whole) return true;
  // What the file held before is kept whole: rows never straddle it.
  const std::size_t kept = wholeLinesLength(log, written);
  if (kept < written && !platform::truncateFile(file, before + static_cast<int64_t>(kept))) {
    eraseBytes(file, before + static_cast<int64_t>(kept), written - kept);
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
