#include "logger/log_buffer.h"

#include <algorithm>
#include <cstring>

#include "platform/platform.h"

namespace logger {

char* LogBuffer::startChunk(std::size_t size) {
  if (mapped()) {
    const uint64_t logEnd = view_.offset + static_cast<uint64_t>(end_ - view_.data);
    if (moveIntoViewAhead(logEnd, size) || mapView(logEnd, size)) return end_;
    // No room on the disk or no mapping: the file keeps the whole rows it
    // holds as the log's first part, and the rest is gathered in memory.
    fileLength_ = logEnd;
    endMapping();
  }
  return startMemoryChunk(size);
}

char* LogBuffer::startMemoryChunk(std::size_t size) {
  const std::size_t capacity = std::max(size, kChunkSize);
  // Left uninitialised: the pages are touched only as the log fills them.
  std::unique_ptr<char[]> data(new char[capacity]);
  if (chunks_.size() == chunks_.capacity()) chunks_.reserve(chunks_.size() * 2 + 16);
  if (!chunks_.empty()) chunks_.back().used = usedOf(chunks_.size() - 1);
  end_ = data.get();
  limit_ = end_ + capacity;
  chunks_.push_back(Chunk{std::move(data), 0, capacity});
  return end_;
}

bool LogBuffer::moveIntoViewAhead(uint64_t logEnd, std::size_t size) {
  if (ahead_.size == 0) return false;
  View ahead = ahead_;
  ahead_ = View{};
  ahead.data = viewWorker_.takeViewAhead();
  if (!ahead.data) return false;
  const uint64_t lead = logEnd - ahead.offset;
  if (logEnd < ahead.offset || lead > ahead.size || size > ahead.size - lead) {
    viewWorker_.unmap(ahead.data, ahead.size);
    return false;
  }
  viewWorker_.unmap(view_.data, view_.size);
  view_ = ahead;
  end_ = view_.data + lead;
  limit_ = view_.data + view_.size;
  askForViewAhead();
  return true;
}

bool LogBuffer::mapView(uint64_t logEnd, std::size_t size) {
  // The view starts at the granule that holds the log's end, so that the
  // next row follows the last one with no gap; the bytes of that granule
  // already written are the same pages seen through the new view.
  const std::size_t granularity = platform::mappingGranularity();
  const uint64_t offset = logEnd - logEnd % granularity;
  const std::size_t lead = static_cast<std::size_t>(logEnd - offset);
  if (size > SIZE_MAX - lead - granularity) return false;
  std::size_t viewSize = std::max(kChunkSize, lead + size);
  viewSize += (granularity - viewSize % granularity) % granularity;
  char* data = platform::mapFileView(file_, static_cast<int64_t>(offset), viewSize);
  if (!data) return false;
  unmapViews();
  view_ = View{data, viewSize, offset};
  end_ = data + lead;
  limit_ = data + viewSize;
  viewWorker_.prepare(view_.data, view_.size);
  askForViewAhead();
  return true;
}

void LogBuffer::askForViewAhead() {
  const std::size_t granularity = platform::mappingGranularity();
  const std::size_t overlap = (kAheadOverlap + granularity - 1) / granularity * granularity;
  if (view_.size < overlap) return;
  ahead_ = View{nullptr, kChunkSize + overlap, view_.offset + (view_.size - overlap)};
  viewWorker_.mapViewAhead(file_, static_cast<int64_t>(ahead_.offset), ahead_.size, overlap);
}

void LogBuffer::unmapViews() {
  if (view_.data) viewWorker_.unmap(view_.data, view_.size);
  if (ahead_.size != 0) viewWorker_.unmap(viewWorker_.takeViewAhead(), ahead_.size);
  view_ = ahead_ = View{};
}

void LogBuffer::endMapping() {
  unmapViews();
  viewWorker_.stop();
  end_ = limit_ = nullptr;
}

void LogBuffer::append(std::string_view text) {
  while (!text.empty()) {
    char* at = reserve(1);
    const std::size_t piece = std::min(text.size(), static_cast<std::size_t>(limit_ - at));
    std::memcpy(at, text.data(), piece);
    commit(at + piece);
    text.remove_prefix(piece);
  }
}

LogBuffer::Mark LogBuffer::mark() const {
  const std::size_t used = chunks_.empty() || mapped() ? 0 : usedOf(chunks_.size() - 1);
  return Mark{chunks_.size(), used, fileLength()};
}

void LogBuffer::truncate(Mark mark) {
  if (mapped()) {
    if (mark.fileLength >= view_.offset) {
      end_ = view_.data + static_cast<std::size_t>(mark.fileLength - view_.offset);
    }
    return;
  }
  chunks_.resize(std::min(chunks_.size(), mark.chunkCount));
  if (chunks_.empty()) {
    end_ = limit_ = nullptr;
    return;
  }
  Chunk& last = chunks_.back();
  end_ = last.data.get() + std::min(mark.used, last.capacity);
  limit_ = last.data.get() + last.capacity;
}

void LogBuffer::clear() {
  chunks_.clear();
  endMapping();
  file_.close();
  fileLength_ = 0;
}

bool LogBuffer::mapInto(platform::FileHandle* file) {
  clear();
  file_ = std::move(*file);
  if (mapView(0, 0)) return true;
  *file = std::move(file_);
  return false;
}

uint64_t LogBuffer::fileLength() const {
  return mapped() ? view_.offset + static_cast<uint64_t>(end_ - view_.data) : fileLength_;
}

platform::FileHandle LogBuffer::releaseFile() {
  if (mapped()) {
    fileLength_ = fileLength();
    endMapping();
  }
  if (file_.isOpen()) {
    static_cast<void>(platform::truncateFile(file_, static_cast<int64_t>(fileLength_)));
  }
  return std::move(file_);
}

void LogBuffer::disown() {
  view_ = ahead_ = View{};
  end_ = limit_ = nullptr;
  chunks_.clear();
  file_.close();
  fileLength_ = 0;
}

}  // namespace logger
