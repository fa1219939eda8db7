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
  if (!ahead_.data || logEnd < ahead_.offset) return false;
  const uint64_t lead = logEnd - ahead_.offset;
  if (lead > ahead_.size || size > ahead_.size - lead) return false;
  unmap(&view_);
  view_ = ahead_;
  ahead_ = View{};
  end_ = view_.data + lead;
  limit_ = view_.data + view_.size;
  mapViewAhead();
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
  unmap(&view_);
  unmap(&ahead_);
  view_ = View{data, viewSize, offset};
  end_ = data + lead;
  limit_ = data + viewSize;
  viewWorker_.prepare(view_.data, view_.size);
  mapViewAhead();
  return true;
}

void LogBuffer::mapViewAhead() {
  const std::size_t granularity = platform::mappingGranularity();
  const std::size_t overlap = (kAheadOverlap + granularity - 1) / granularity * granularity;
  if (view_.size < overlap) return;
  const uint64_t offset = view_.offset + (view_.size - overlap);
  const std::size_t size = kChunkSize + overlap;
  char* data = platform::mapFileView(file_, static_cast<int64_t>(offset), size);
  if (!data) return;
  ahead_ = View{data, size, offset};
  viewWorker_.prepare(ahead_.data, ahead_.size);
}

void LogBuffer::unmap(View* view) {
  if (!view->data) return;
  viewWorker_.unmap(view->data, view->size);
  *view = View{};
}

void LogBuffer::endMapping() {
  unmap(&view_);
  unmap(&ahead_);
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
  if (file_.isOpen()) platform::truncateFile(file_, static_cast<int64_t>(fileLength_));
  return std::move(file_);
}

}  // namespace logger
