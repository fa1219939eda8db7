// The work a view worker is handed and has not yet begun: a few jobs at
// most, oldest first. Not locked: the worker's own lock guards it.
#ifndef LOGGER_PLATFORM_VIEW_JOBS_H_
#define LOGGER_PLATFORM_VIEW_JOBS_H_

#include <cstddef>
#include <cstdint>

#include "platform/file_handle.h"

namespace platform {

struct ViewJob {
  enum Kind { kMapAhead, kPrepare, kUnmap } kind;
  char* view;
  std::size_t size;
  const FileHandle* file;  // the file to map, for kMapAhead
  int64_t offset;          // where the view starts in it
  std::size_t sharedLead;  // bytes at its start the writer may be writing
};

class ViewJobs {
 public:
  // The jobs that may wait at once; beyond them, the caller does the work.
  static constexpr int kCapacity = 4;

  int size() const { return count_; }
  bool empty() const { return count_ == 0; }
  bool full() const { return count_ == kCapacity; }
  const ViewJob& operator[](int index) const { return jobs_[index]; }

  // Adds job after the others; the caller checked that the list is not full.
  void add(const ViewJob& job) { jobs_[count_++] = job; }

  // Takes the index-th job out, the later ones moving up.
  void remove(int index) {
    for (int i = index; i + 1 < count_; ++i) jobs_[i] = jobs_[i + 1];
    --count_;
  }

  // Takes the oldest job out and returns it; the list must not be empty.
  ViewJob takeOldest() {
    const ViewJob job = jobs_[0];
    remove(0);
    return job;
  }

  void clear() { count_ = 0; }

 private:
  ViewJob jobs_[kCapacity];
  int count_ = 0;
};

}  // namespace platform

#endif  // LOGGER_PLATFORM_VIEW_JOBS_H_
