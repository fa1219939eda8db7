// The log gathered in memory: a list of large chunks, so that growing never
// copies what is already held and no frame pays for a long copy.
#ifndef LOGGER_LOGGER_LOG_BUFFER_H_
#define LOGGER_LOGGER_LOG_BUFFER_H_

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace logger {

class LogBuffer {
 public:
  // The size of a fresh chunk; a larger piece gets a chunk of its own size.
  static constexpr std::size_t kChunkSize = std::size_t{1} << 20;

  // A position in the log, to go back to.
  struct Mark {
    std::size_t chunkCount;
    std::size_t used;
  };

  // Room for at least size bytes in a row at the end of the log, not yet part
  // of it; throws std::bad_alloc when no memory is left.
  char* reserve(std::size_t size) {
    if (!chunks_.empty() && chunks_.back().capacity - chunks_.back().used >= size) {
      return cursor();
    }
    return startChunk(size);
  }

  // Makes the bytes written into the reserved room up to end part of the log.
  void commit(const char* end) {
    chunks_.back().used = static_cast<std::size_t>(end - chunks_.back().data.get());
  }

  // Adds text at the end of the log; throws std::bad_alloc when no memory is left.
  void append(std::string_view text);

  // The current end of the log.
  Mark mark() const;

  // Drops everything written after mark.
  void truncate(Mark mark);

  // Empties the log and gives its memory back.
  void clear() { chunks_.clear(); }

  // Calls write(data, size) for each piece of the log, in order, until one
  // returns false; returns whether all succeeded.
  template <typename Write>
  bool forEachPiece(Write write) const {
    for (const Chunk& chunk : chunks_) {
      if (chunk.used > 0 && !write(chunk.data.get(), chunk.used)) return false;
    }
    return true;
  }

 private:
  struct Chunk {
    std::unique_ptr<char[]> data;
    std::size_t used;
    std::size_t capacity;
  };

  char* cursor() { return chunks_.back().data.get() + chunks_.back().used; }
  char* startChunk(std::size_t size);

  std::vector<Chunk> chunks_;
};

}  // namespace logger

#endif  // LOGGER_LOGGER_LOG_BUFFER_H_
