// The log as it is gathered: written straight into its file through shared
// mapped views, one chunk at a time, so that the pages are the file's and
// reach the disk even when the host dies, with the next chunk mapped ahead and
// the slow calls made off the writer's thread; or, where no file can be mapped, a
// list of large chunks in memory, so that growing never copies what is
// already held. A log that loses its mapping midway keeps what the file holds
// as its first part and gathers the rest in memory.
#ifndef LOGGER_LOGGER_LOG_BUFFER_H_
#define LOGGER_LOGGER_LOG_BUFFER_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/file_handle.h"
#include "platform/view_worker.h"

namespace logger {

class LogBuffer {
 public:
  // The size of a fresh chunk; a larger piece gets a chunk of its own size.
  static constexpr std::size_t kChunkSize = std::size_t{1} << 20;

  // How far the view mapped ahead reaches back into the one before it, at
  // the least: a piece of up to this size that does not fit at the end of a
  // view starts in the view ahead.
  static constexpr std::size_t kAheadOverlap = std::size_t{64} << 10;

  // A position in the log, to go back to.
  struct Mark {
    std::size_t chunkCount;  // the chunks in memory
    std::size_t used;        // bytes used of the last of them
    uint64_t fileLength;     // the log's bytes in its file
  };

  LogBuffer() = default;
  LogBuffer(const LogBuffer&) = delete;
  LogBuffer& operator=(const LogBuffer&) = delete;
  ~LogBuffer() { clear(); }

  // Room for at least size bytes in a row at the end of the log, not yet part
  // of it; throws std::bad_alloc when no memory is left.
  char* reserve(std::size_t size) {
    if (static_cast<std::size_t>(limit_ - end_) >= size) return end_;
    return startChunk(size);
  }

  // Makes the bytes written into the reserved room up to end part of the log.
  void commit(const char* end) { end_ += end - end_; }

  // Adds text at the end of the log; throws std::bad_alloc when no memory is left.
  void append(std::string_view text);

  // The current end of the log.
  Mark mark() const;

  // Drops everything written after mark.
  void truncate(Mark mark);

  // Empties the log and gives its memory back; a file it was written into is
  // closed as it is.
  void clear();

  // Writes the empty log into file from now on, mapped chunk by chunk; takes
  // the file and returns true when its first chunk could be mapped, else
  // leaves it with the caller and goes on in memory.
  bool mapInto(platform::FileHandle* file);

  // True while the log has a file, which holds its first fileLength() bytes.
  bool hasFile() const { return file_.isOpen(); }

  // The log's bytes in its file; those after them are in memory.
  uint64_t fileLength() const;

  // Ends the mapping and hands the file over, cut back to fileLength() bytes
  // where it can be; where it cannot, the room reserved past them stays,
  // zero bytes, where readers of the log stop. The part in memory stays.
  platform::FileHandle releaseFile();

  // Forgets the file and the views without touching them, and empties the
  // log: for a process that holds a copy of another's (a forked child).
  void disown();

  // Calls write(data, size) for each piece of the log in memory, in order,
  // until one returns false; returns whether all succeeded.
  template <typename Write>
  bool forEachPiece(Write write) const {
    for (std::size_t index = 0; index < chunks_.size(); ++index) {
      const std::size_t used = usedOf(index);
      if (used > 0 && !write(chunks_[index].data.get(), used)) return false;
    }
    return true;
  }

 private:
  struct Chunk {
    std::unique_ptr<char[]> data;
    std::size_t used;  // kept up to date for every chunk but the last
    std::size_t capacity;
  };

  // The part of the file mapped now, the log's end inside it.
  struct View {
    char* data = nullptr;
    std::size_t size = 0;
    uint64_t offset = 0;  // where it starts in the file
  };

  // The bytes used of the index-th chunk in memory.
  std::size_t usedOf(std::size_t index) const {
    if (index + 1 < chunks_.size()) return chunks_[index].used;
    return static_cast<std::size_t>(end_ - chunks_[index].data.get());
  }
  // Room for size bytes past a full chunk: the next part of the file mapped,
  // or, when it cannot be, a chunk in memory; throws std::bad_alloc.
  char* startChunk(std::size_t size);

  // Room for size bytes in a new chunk in memory; throws std::bad_alloc.
  char* startMemoryChunk(std::size_t size);

  // Moves the log's end at logEnd into the view ahead, when that could be
  // mapped and has room for size bytes from there; false when not.
  bool moveIntoViewAhead(uint64_t logEnd, std::size_t size);

  // Maps the file from the log's end at logEnd on, with room for size bytes,
  // in place of both views; false when the disk or the system refuses.
  bool mapView(uint64_t logEnd, std::size_t size);

  // Has the part of the file after the view, overlapping its end, mapped
  // ahead by the worker.
  void askForViewAhead();

  // True while the log's end is in a mapped view of the file.
  bool mapped() const { return view_.data != nullptr; }

  // Has the view and the view ahead unmapped and forgets them.
  void unmapViews();

  // Unmaps both views and ends the worker's thread; the log's end is then
  // nowhere.
  void endMapping();

  std::vector<Chunk> chunks_;
  platform::FileHandle file_;
  View view_;
  View ahead_;  // the part of the file after view_, asked for; its data is the worker's
  platform::ViewWorker viewWorker_;
  uint64_t fileLength_ = 0;  // the log's bytes in the file, once mapping ended
  char* end_ = nullptr;      // the log's end, in the last chunk or the view
  char* limit_ = nullptr;    // the end of the room there
};

}  // namespace logger

#endif  // LOGGER_LOGGER_LOG_BUFFER_H_
