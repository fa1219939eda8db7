#include "logger/log_buffer.h"

#include <algorithm>
#include <cstring>

namespace logger {

char* LogBuffer::startChunk(std::size_t size) {
  const std::size_t capacity = std::max(size, kChunkSize);
  // Left uninitialised: the pages are touched only as the log fills them.
  std::unique_ptr<char[]> data(new char[capacity]);
  if (chunks_.size() == chunks_.capacity()) chunks_.reserve(chunks_.size() * 2 + 16);
  chunks_.push_back(Chunk{std::move(data), 0, capacity});
  return cursor();
}

void LogBuffer::append(std::string_view text) {
  while (!text.empty()) {
    char* at = reserve(1);
    const Chunk& last = chunks_.back();
    const std::size_t piece = std::min(text.size(), last.capacity - last.used);
    std::memcpy(at, text.data(), piece);
    commit(at + piece);
    text.remove_prefix(piece);
  }
}

LogBuffer::Mark LogBuffer::mark() const {
  if (chunks_.empty()) return Mark{0, 0};
  return Mark{chunks_.size(), chunks_.back().used};
}

void LogBuffer::truncate(Mark mark) {
  chunks_.resize(std::min(chunks_.size(), mark.chunkCount));
  if (!chunks_.empty()) chunks_.back().used = mark.used;
}

}  // namespace logger
